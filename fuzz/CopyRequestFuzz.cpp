// SPDX-License-Identifier: GPL-3.0-or-later
// The line another running copy sends, received from a local socket: any
// bytes, sent in pieces (each piece's length taken from the input), with a
// limit taken from the first byte. Checks: the receiver stops at the first
// LF within the limit and returns exactly the bytes before it; without an LF
// in the limit it refuses the line as too long; a peer that stops early
// leaves it waiting, or ended once the peer closes; it never holds more than
// the limit.

#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "platform/LocalSocket.h"

namespace {

using tovix::LineReceiver;
using tovix::fuzz::Check;
using Status = LineReceiver::Status;

// What the receiver must make of `sent` with `limit`, the peer closing after.
Status Expected(std::string_view sent, size_t limit, bool closed) {
    const size_t lf = sent.substr(0, limit).find('\n');
    if (lf != std::string_view::npos) {
        return Status::Complete;
    }
    if (sent.size() >= limit) {
        return Status::TooLong;
    }
    return closed ? Status::Ended : Status::Waiting;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const size_t limit = 1 + data[0] % 64;
    const bool closes = (data[1] & 1) != 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 2, size - 2);

    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, ends) != 0) {
        return 0;
    }
    const tovix::FileDescriptor ours(ends[0]);
    tovix::FileDescriptor peer(ends[1]);
    LineReceiver received(limit);
    LineReceiver added(limit);
    // Pieces: a length byte (1..16), then that many bytes.
    std::string_view rest = input;
    std::string sent;
    while (!rest.empty()) {
        const size_t length = 1 + static_cast<unsigned char>(rest[0]) % 16;
        const std::string_view piece = rest.substr(1, length);
        rest.remove_prefix(std::min(rest.size(), length + 1));
        if (::send(peer.Get(), piece.data(), piece.size(), 0) !=
            static_cast<ssize_t>(piece.size())) {
            return 0;
        }
        sent.append(piece);
        received.Receive(ours.Get());
        added.Add(piece);
    }
    if (closes) {
        peer.Close();
    }
    const Status status = received.Receive(ours.Get());
    Check(status == Expected(sent, limit, closes), "the receiver's verdict");
    Check(added.Current() == Expected(sent, limit, false), "the verdict on bytes added");
    Check(received.Line().size() < limit || status != Status::Complete, "a line within the limit");
    if (status == Status::Complete) {
        Check(received.Line() == std::string_view(sent).substr(0, sent.find('\n')),
              "the bytes before the first LF");
        Check(added.Line() == received.Line(), "the same line either way");
    }
    return 0;
}
