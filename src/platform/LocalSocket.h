// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Local stream sockets (AF_UNIX) named by a path, all without blocking, for
// the few one-line questions running copies of the program ask each other.
// Everything a peer sends is untrusted: a line is taken only up to a limit,
// and a peer that sends more, or stops halfway, is simply dropped. Reads and
// sends pass the fault-injection hook (FaultInjection.h) as Read and Write.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/PosixIo.h"

namespace tovix {

// A socket listening at `path`, readable for the owner alone; not open when
// that fails (a path too long for a socket address, no such directory). A
// socket file already at `path`, left by a process that has ended, is
// replaced; any other file there is left alone.
FileDescriptor ListenLocal(const std::filesystem::path& path);

// The next connection waiting on a listening socket; not open when none waits.
FileDescriptor AcceptLocal(int listening);

enum class ConnectOutcome {
    Connected,
    // A socket file with nobody listening: left by a process that has ended.
    Refused,
    // Nothing at the path.
    Missing,
    // Someone listens but takes no more connections now, or anything else.
    Failed,
};

struct LocalConnection {
    FileDescriptor socket;
    ConnectOutcome outcome;
};

// Connects to the socket at `path` without waiting.
LocalConnection ConnectLocal(const std::filesystem::path& path);

// Sends all of `bytes` if the socket takes them at once (a short line into an
// empty connection always fits); false when it does not or the peer is gone.
bool SendNow(int socket, std::string_view bytes);

// The first line a peer sends, as it arrives in pieces. The line ends at the
// first LF; it and its LF must fit in `limit` bytes.
class LineReceiver {
  public:
    enum class Status {
        Waiting,   // no LF yet, and still room for one
        Complete,  // Line() holds the line
        TooLong,   // `limit` bytes came without an LF
        Ended,     // the peer closed before the line was complete
        Failed,    // the socket failed
    };

    explicit LineReceiver(size_t limit) : limit_(limit) {}

    // Reads what the socket holds now (at most up to the limit).
    Status Receive(int socket);
    // Takes bytes that arrived; what comes after the line is ignored.
    Status Add(std::string_view bytes);
    // The line without its LF, once Complete.
    std::string_view Line() const { return line_; }
    Status Current() const { return status_; }

  private:
    size_t limit_;
    std::string line_;
    Status status_ = Status::Waiting;
};

}  // namespace tovix
