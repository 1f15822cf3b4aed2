// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The encoding steps of a command's chain (ChainRun::ReadsText and
// ChainRun::EncodeOutput run them).

#include <string>

#include "tools/TextEncoding.h"
#include "tools/ToolJob.h"

namespace tovix {

// The encoding the user's text file `name` is read in: the job's input
// encoding, or with Auto UTF-8 when the file looks like it, else CP932 (also
// when it cannot be read: the step that reads it then says why).
TextEncoding TextFileEncoding(const ToolJob& job, const std::string& name);

// Writes the UTF-8 file Source as CP932 to the work file Dest.
void DecodeUtf8Text(ToolJob& job, Unconvertible& unconvertible);

// Writes the CP932 file Source as UTF-8 to Dest.
void EncodeUtf8Text(ToolJob& job);

}  // namespace tovix
