// SPDX-License-Identifier: GPL-3.0-or-later
// Local sockets between copies: the first line a peer sends, taken in
// whatever pieces it arrives, within a limit; listening where a copy that
// died left its socket; what connecting tells about the other end.

#include "platform/LocalSocket.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/TempDir.h"

namespace tovix {
namespace {

using Status = LineReceiver::Status;

TEST(LocalSocketTest, ALineIsTakenWithinItsLimitWhateverThePieces) {
    struct Case {
        const char* name;
        std::vector<std::string> pieces;
        Status status;
        std::string line;
    };
    // Limit 8: a line of 7 bytes and its LF fit, 8 bytes without an LF do not.
    const Case cases[] = {
        {"whole", {"title\n"}, Status::Complete, "title"},
        {"byte by byte", {"t", "i", "t", "l", "e", "\n"}, Status::Complete, "title"},
        {"LF alone in the last piece", {"1234567", "\n"}, Status::Complete, "1234567"},
        {"the rest after the LF is not taken", {"ab\ncd\n", "ef"}, Status::Complete, "ab"},
        {"empty line", {"\n"}, Status::Complete, ""},
        {"CR and NUL are bytes of the line", {std::string("a\r\0b\n", 5)}, Status::Complete,
         std::string("a\r\0b", 4)},
        {"eight bytes without an LF", {"12345678"}, Status::TooLong, ""},
        {"too long in pieces, LF beyond the limit", {"12345", "678\n"}, Status::TooLong, ""},
        {"not yet", {"tit", "le"}, Status::Waiting, ""},
        {"nothing", {}, Status::Waiting, ""},
    };
    for (const Case& c : cases) {
        LineReceiver receiver(8);
        for (const std::string& piece : c.pieces) {
            receiver.Add(piece);
        }
        EXPECT_EQ(receiver.Current(), c.status) << c.name;
        if (c.status == Status::Complete) {
            EXPECT_EQ(receiver.Line(), c.line) << c.name;
        }
        EXPECT_LE(receiver.Line().size(), 8u) << c.name;
    }
}

TEST(LocalSocketTest, ReceivingFromAPeerThatSendsLittleTooMuchOrStops) {
    struct Case {
        const char* name;
        std::string sent;
        bool closes;
        Status status;
    };
    const Case cases[] = {
        {"a line", "front\n", false, Status::Complete},
        {"half a line, then waits", "fro", false, Status::Waiting},
        {"half a line, then closes", "fro", true, Status::Ended},
        {"nothing, then closes", "", true, Status::Ended},
        {"a flood without an LF", std::string(100000, 'x'), false, Status::TooLong},
    };
    for (const Case& c : cases) {
        int ends[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, ends), 0);
        const FileDescriptor ours(ends[0]);
        FileDescriptor peer(ends[1]);
        ASSERT_TRUE(c.sent.empty() || ::send(peer.Get(), c.sent.data(), c.sent.size(), 0) > 0);
        if (c.closes) {
            peer.Close();
        }
        LineReceiver receiver(512);
        EXPECT_EQ(receiver.Receive(ours.Get()), c.status) << c.name;
        EXPECT_LE(receiver.Line().size(), 512u) << c.name;
    }
}

TEST(LocalSocketTest, ListeningReplacesOnlyASocketThatNobodyServes) {
    test::TempDir dir;
    const std::filesystem::path path = dir / "100";
    EXPECT_EQ(ConnectLocal(path).outcome, ConnectOutcome::Missing);
    {
        const FileDescriptor first = ListenLocal(path);
        ASSERT_TRUE(first.IsOpen());
        struct stat status {};
        ASSERT_EQ(::lstat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0600u);
        LocalConnection connection = ConnectLocal(path);
        EXPECT_EQ(connection.outcome, ConnectOutcome::Connected);
        EXPECT_TRUE(AcceptLocal(first.Get()).IsOpen());
        EXPECT_FALSE(AcceptLocal(first.Get()).IsOpen());
    }
    // The listener is gone, its socket file stays: a copy that was killed.
    EXPECT_EQ(ConnectLocal(path).outcome, ConnectOutcome::Refused);
    const FileDescriptor second = ListenLocal(path);
    ASSERT_TRUE(second.IsOpen());
    EXPECT_EQ(ConnectLocal(path).outcome, ConnectOutcome::Connected);

    // A file that is not a socket is not taken over, nor a name too long
    // for a socket address.
    test::WriteBytes(dir / "200", "keep");
    EXPECT_FALSE(ListenLocal(dir / "200").IsOpen());
    EXPECT_EQ(test::ReadBytes(dir / "200"), "keep");
    EXPECT_FALSE(ListenLocal(dir / std::string(120, 'n')).IsOpen());
}

}  // namespace
}  // namespace tovix
