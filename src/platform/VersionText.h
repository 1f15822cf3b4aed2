// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What `--version` prints, the same for the viewer and the tools: the
// program's name and version, the licence and the warranty notice that the
// GNU GPL asks a program to show.

#include <string>
#include <string_view>

namespace tovix {

std::string VersionText(std::string_view program);

}  // namespace tovix
