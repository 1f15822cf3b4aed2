// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every tool step. A step takes its file names from the job (Source, Dest,
// Extra, DatName, HeadLimit, TransLimit), shows its progress text, and on
// failure reports its message and sets job.Failed (see ToolStep.h). Files the
// user names are written through job.WritePath and read through job.ReadPath.

#include <string_view>

#include "tools/ToolJob.h"

namespace tovix {

class SortedTable;  // TableSteps.h

// Format converters: [EXM], [PDIC], dictionary file set, work file, pair file.
void ExmToWorkEng(ToolJob& job);
void ExmToWorkJpn(ToolJob& job);
void PdicToWork(ToolJob& job);
void PdicToExm(ToolJob& job);
void TovixToExmEng(ToolJob& job);
void TovixToExmJpn(ToolJob& job);
void TovixToWorkEng(ToolJob& job);
void TovixToWorkJpn(ToolJob& job);
void WorkToPairEng(ToolJob& job);
void WorkToPairJpn(ToolJob& job);
void WorkToPdic(ToolJob& job);
void PairToExm(ToolJob& job);
void SeedNewEng(ToolJob& job);
void SeedNewJpn(ToolJob& job);

// Sorting and joining.
void WorkSort(ToolJob& job);
// WorkSort of the lines of `text` (each ended by CR LF, as a work file would
// hold them) into Dest, with the same progress texts and messages.
void SortTextInto(ToolJob& job, std::string_view text);
// The sort of a Japanese-English work file: the entries of one reading
// together (JpnEntryOrder.h).
void WorkSortJpn(ToolJob& job);
// WorkSort (WorkSortJpn) of Source into Dest, then WorkToPairEng
// (WorkToPairJpn) of Dest into Extra as one step: the pair lines are made
// from the sorted lines while they are written, instead of from Dest read
// back. Progress texts, messages and files are those of the two steps. The
// global table of the sorted lines is built in `table` on the way;
// MakeTableFrom is then the table step (MakeTableEng, MakeTableJpn) of the
// sorted file: it writes the same global table Dest, with the same progress
// texts, without reading the sorted file back.
void WorkSortToPairAndTableEng(ToolJob& job, SortedTable& table);
void WorkSortToPairAndTableJpn(ToolJob& job, SortedTable& table);
void JoinFiles(ToolJob& job);

// Dictionary file set writer.
void MakeTableEng(ToolJob& job);
void MakeTableFrom(ToolJob& job, SortedTable& table);
void MakeTableJpn(ToolJob& job);
void SplitTovixEng(ToolJob& job);
void SplitTovixJpn(ToolJob& job);
void MakePairTableEng(ToolJob& job);
void MakePairTableJpn(ToolJob& job);
void MakeDatEng(ToolJob& job);
void MakeDatJpn(ToolJob& job);

// Gathering duplicate headwords.
void GatherPair(ToolJob& job);
void GatherPairToPdic(ToolJob& job);

// Length check and division.
void CheckExm(ToolJob& job);
void CheckPdic(ToolJob& job);
void DividePdic(ToolJob& job);
void DivideExm(ToolJob& job);

}  // namespace tovix
