#pragma once
// The encoding steps of a command's chain (ChainRun::ReadsText and
// ChainRun::EncodeOutput run them).

#include "tools/TextEncoding.h"
#include "tools/ToolJob.h"

namespace tovix {

struct TextDecoding {
    TextEncoding encoding = TextEncoding::Cp932;  // as the file was read
    Unconvertible unconvertible;
};

// Source is a user's text file; `native` the encoding of its format. Finds
// its encoding (the job's input encoding, or the file's look) and, when it is
// UTF-8, writes it as CP932 to the work file Dest.
void DecodeText(ToolJob& job, TextEncoding native, TextDecoding& result);

// Writes the CP932 file Source as UTF-8 to Dest.
void EncodeUtf8Text(ToolJob& job);

}  // namespace tovix
