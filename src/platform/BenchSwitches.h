// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Switches for the benchmarks alone, which measure what a safety measure
// costs by running the same work without it. Nothing else may call them.

namespace tovix {

// Whether StagedReplacement::Commit flushes the staged files and writes its
// journal (the default), or only renames the files one by one.
void SetSafeReplacementForBench(bool safe);

// Whether the builds of Japanese-English sets write the written-form file
// (the default); defined by the tools (ChainRun.cpp).
void SetWrittenFormsForBench(bool write);

}  // namespace tovix
