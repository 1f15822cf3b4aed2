// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A test hook for fault injection: the file helpers (PosixIo.h) count every
// write, flush to the disk, rename and read they make, and a test can have the Nth
// of one kind fail (as an input/output error) or end the process on the spot
// (SIGKILL), to prove that no such fault loses or mixes a user's data.
// Nothing in the program sets a fault; unset, the hook only counts.

namespace tovix {

enum class FaultOperation { Write, Sync, Rename, Read };
enum class FaultAction { Fail, Kill };

// From now on, the `nth` (1-based) operation of `operation` fails or kills;
// clears the counts and any earlier fault.
void InjectFault(FaultOperation operation, long nth, FaultAction action);
// Clears the counts and the fault.
void ClearFaults();
// How many operations of the kind were made since the last InjectFault or
// ClearFaults.
long FaultCount(FaultOperation operation);

// Called by the file helpers before each operation: counts it and returns 0,
// or the errno to fail with (EIO); with FaultAction::Kill it does not return.
int FaultPoint(FaultOperation operation);

}  // namespace tovix
