// SPDX-License-Identifier: GPL-3.0-or-later
// Running copies finding each other: each listens on a local socket, the
// others ask for its title and bring it to the front.

#include "app/gui/CopyInstances.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QTest>
#include <optional>

#include "WindowTestSupport.h"
#include "platform/FaultInjection.h"
#include "platform/LocalSocket.h"
#include "support/TempDir.h"

namespace tovix {
namespace {

// A socket file with no copy behind it (`listening` false: the copy died) or
// with one that never answers (a copy busy with a long step).
class DeadSocket {
  public:
    DeadSocket(const std::filesystem::path& path, bool listening) {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
        EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        if (listening) {
            ::listen(fd_, 4);
        } else {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~DeadSocket() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    DeadSocket(const DeadSocket&) = delete;
    DeadSocket& operator=(const DeadSocket&) = delete;

  private:
    int fd_ = -1;
};

struct FakeCopy {
    FakeCopy(const std::filesystem::path& dir, const char* name, const char* title,
             Direction direction = Direction::None)
        : registry(dir, name,
                   {[title] { return QString::fromUtf8(title); }, [this] { ++fronts; },
                    [this, direction](Direction asked, const std::string& text) {
                        if (asked != direction) {
                            return false;
                        }
                        lookedUp.push_back(text);
                        return true;
                    }},
                   reporter) {}

    int fronts = 0;
    std::vector<std::string> lookedUp;
    test::RecordingReporter reporter;
    CopyRegistry registry;
};

std::vector<QString> Names(const std::vector<RunningCopy>& copies) {
    std::vector<QString> names;
    for (const RunningCopy& copy : copies) {
        names.push_back(copy.name);
    }
    return names;
}

TEST(CopyInstancesTest, CopiesAreListedMostRecentlyActiveFirst) {
    test::TempDir dir;
    const std::filesystem::path copies = dir / "copies";
    FakeCopy a(copies, "100", "Tovix (ﾒｲﾝ)  /d/E.DIC");
    FakeCopy b(copies, "200", "Tovix (ﾒｲﾝ)  /d/J 辞書.DIC");
    FakeCopy c(copies, "300", "辞書読込中");
    ASSERT_TRUE(a.registry.Listening());
    a.registry.MarkActive();
    c.registry.MarkActive();
    b.registry.MarkActive();

    DeadSocket died(copies / "400", false);
    DeadSocket busy(copies / "500", true);
    a.registry.SetTimeout(300);
    const std::vector<RunningCopy> list = a.registry.Enumerate();
    EXPECT_EQ(Names(list), (std::vector<QString>{"200", "300", "100"}));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].title, QStringLiteral("Tovix (ﾒｲﾝ)  /d/J 辞書.DIC"));
    EXPECT_FALSE(list[0].self);
    EXPECT_TRUE(list[2].self);
    // The socket of the copy that died is gone; the busy one stays.
    EXPECT_FALSE(std::filesystem::exists(copies / "400"));
    EXPECT_TRUE(std::filesystem::exists(copies / "500"));

    EXPECT_TRUE(a.registry.BringToFront(list[0]));
    EXPECT_EQ(b.fronts, 1);
    EXPECT_TRUE(a.registry.BringToFront(list[2]));
    EXPECT_EQ(a.fronts, 1);
    EXPECT_EQ(c.fronts, 0);
}

// `tovix --lookup`: an asker that nobody lists hands the word to the copy of
// its direction; with none of that direction running, nobody takes it.
TEST(CopyInstancesTest, LookupGoesToACopyOfItsDirection) {
    test::TempDir dir;
    const std::filesystem::path copies = dir / "copies";
    FakeCopy english(copies, "100", "Tovix (ﾒｲﾝ)  /d/E.DIC", Direction::English);
    FakeCopy japanese(copies, "200", "Tovix (ﾒｲﾝ)  /d/J.DIC", Direction::Japanese);
    test::RecordingReporter reporter;
    const auto asker = CopyRegistry::Asker(copies, reporter);
    const std::string word = Utf8ToCp932("さかな ソ\\");
    EXPECT_TRUE(asker->HandOverLookup(Direction::Japanese, word));
    EXPECT_EQ(japanese.lookedUp, std::vector<std::string>{word});
    EXPECT_TRUE(english.lookedUp.empty());

    FakeCopy none(dir / "others", "300", "Tovix (ﾒｲﾝ)", Direction::English);
    EXPECT_FALSE(
        CopyRegistry::Asker(dir / "others", reporter)->HandOverLookup(Direction::Japanese, word));
    EXPECT_TRUE(reporter.messages.empty());
}

TEST(CopyInstancesTest, OnlyAPrivateDirectoryIsUsed) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "open");
    ::chmod((dir / "open").c_str(), 0755);
    std::filesystem::create_directory(dir / "private");
    ::chmod((dir / "private").c_str(), 0700);
    std::filesystem::create_directory_symlink(dir / "private", dir / "link");
    test::WriteBytes(dir / "file", "");
    struct Case {
        const char* name;
        bool usable;
    };
    const Case cases[] = {
        {"open", false}, {"private", true}, {"link", false}, {"file", false}, {"new", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MakePrivateDir(dir / c.name), c.usable) << c.name;
    }
    struct stat status {};
    ASSERT_EQ(::stat((dir / "new").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);

    int fronts = 0;
    test::RecordingReporter reporter;
    CopyRegistry alone(dir / "open", "1",
                       {[] { return QStringLiteral("Tovix"); }, [&] { ++fronts; }, nullptr},
                       reporter);
    EXPECT_FALSE(alone.Listening());
    EXPECT_TRUE(std::filesystem::is_empty(dir / "open"));
    const std::vector<RunningCopy> list = alone.Enumerate();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_TRUE(list[0].self);
}

// What a copy sends back to a peer that connects and sends `bytes` (shutting
// its side when `close`), up to the copy's closing the connection; nothing
// when the copy keeps it open for two seconds.
std::optional<std::string> Exchange(const std::filesystem::path& socket, const std::string& bytes,
                                    bool close = false) {
    LocalConnection connection = ConnectLocal(socket);
    EXPECT_EQ(connection.outcome, ConnectOutcome::Connected);
    const int fd = connection.socket.Get();
    EXPECT_TRUE(bytes.empty() || SendNow(fd, bytes));
    if (close) {
        ::shutdown(fd, SHUT_WR);
    }
    std::string reply;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 2000) {
        QTest::qWait(1);
        char buffer[8192];
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got == 0) {
            return reply;
        }
        if (got > 0) {
            reply.append(buffer, static_cast<size_t>(got));
        }
    }
    return std::nullopt;
}

// Another copy's bytes are untrusted: a request is one line of at most 512
// bytes, answered as it stands or not at all, and whatever comes does not
// keep the copy from answering the next one.
TEST(CopyInstancesTest, APeerGetsTheSameRepliesAndNothingForBadRequests) {
    test::TempDir dir;
    const std::filesystem::path copies = dir / "copies";
    FakeCopy copy(copies, "100", "Tovix (ﾒｲﾝ)  /d/J.DIC", Direction::Japanese);
    const std::string word = Utf8ToCp932("さかな");
    const std::string title =
        " " + QStringLiteral("Tovix (ﾒｲﾝ)  /d/J.DIC").toUtf8().toBase64().toStdString() + "\n";
    struct Case {
        const char* name;
        std::string sent;
        bool close;
        std::string reply;  // "T" for the title line
    };
    const Case cases[] = {
        {"title", "title\n", false, "T"},
        {"front", "front\n", false, "ok\n"},
        {"lookup", "lookup J " + QByteArray::fromStdString(word).toBase64().toStdString() + "\n",
         false, "ok\n"},
        {"lookup of the other direction", "lookup E YQ==\n", false, ""},
        {"lookup of no direction", "lookup X YQ==\n", false, ""},
        {"lookup without a word", "lookup J\n", false, ""},
        {"unknown request", "quit\n", false, ""},
        {"CR LF", "title\r\n", false, ""},
        {"binary", std::string("\0\xff\x81\n", 4), false, ""},
        {"half a line, then closed", "tit", true, ""},
        {"nothing, then closed", "", true, ""},
        {"a line of 511 bytes and its LF", std::string(511, 'a') + "\n", false, ""},
        {"600 bytes without an LF", std::string(600, 't'), false, ""},
        {"a lookup too long", "lookup J " + std::string(600, 'Q') + "\n", false, ""},
        {"two requests: only the first counts", "front\ntitle\n", false, "ok\n"},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> reply = Exchange(copies / "100", c.sent, c.close);
        ASSERT_TRUE(reply.has_value()) << c.name;
        if (c.reply == "T") {
            ASSERT_GT(reply->size(), title.size()) << c.name;
            EXPECT_EQ(reply->substr(reply->size() - title.size()), title) << c.name;
            EXPECT_GT(std::stoll(*reply), 0) << c.name;
        } else {
            EXPECT_EQ(*reply, c.reply) << c.name;
        }
    }
    EXPECT_EQ(copy.fronts, 2);
    EXPECT_EQ(copy.lookedUp, std::vector<std::string>{word});

    // A peer that connects and says nothing holds nobody up.
    LocalConnection idle = ConnectLocal(copies / "100");
    ASSERT_EQ(idle.outcome, ConnectOutcome::Connected);
    FakeCopy other(copies, "200", "Tovix (ﾒｲﾝ)");
    EXPECT_EQ(Names(other.registry.Enumerate()), (std::vector<QString>{"200", "100"}));
    EXPECT_TRUE(copy.reporter.messages.empty());
}

// A failed read or send on either side loses that one answer, nothing more.
TEST(CopyInstancesTest, AFailedReadOrSendLeavesTheCopyOutOnce) {
    test::TempDir dir;
    const std::filesystem::path copies = dir / "copies";
    FakeCopy a(copies, "100", "Tovix (ﾒｲﾝ)  /d/E.DIC");
    FakeCopy b(copies, "200", "Tovix (ﾒｲﾝ)  /d/J.DIC");
    a.registry.SetTimeout(300);
    const std::vector<QString> both = {"100", "200"};
    b.registry.MarkActive();
    a.registry.MarkActive();
    // Asking: a sends (write 1), b reads (read 1) and replies (write 2), a
    // reads the reply (read 2).
    for (const FaultOperation operation : {FaultOperation::Read, FaultOperation::Write}) {
        for (long nth = 1; nth <= 2; ++nth) {
            InjectFault(operation, nth, FaultAction::Fail);
            EXPECT_EQ(Names(a.registry.Enumerate()), std::vector<QString>{"100"})
                << static_cast<int>(operation) << " " << nth;
            ClearFaults();
            EXPECT_EQ(Names(a.registry.Enumerate()), both);
        }
    }
    EXPECT_TRUE(a.reporter.messages.empty());
    EXPECT_TRUE(b.reporter.messages.empty());
}

using SwitchingTest = test::WindowTest;

TEST_F(SwitchingTest, SwitchingGoesToTheCopyUsedLeastRecently) {
    auto a = StartShown({});
    auto b = StartShown({});
    auto c = StartShown({});
    c->setWindowTitle(QStringLiteral("辞書読込中"));
    for (TForm1* window : {c.get(), b.get(), a.get()}) {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    // Only the windows whose title begins with "Tovix" count.
    a->FocusSelectAnother();
    EXPECT_TRUE(QTest::qWaitForWindowActive(b.get()));
    b->FocusSelectAnother();
    EXPECT_TRUE(QTest::qWaitForWindowActive(a.get()));
    c.reset();
    b.reset();
    a->FocusSelectAnother();
    EXPECT_TRUE(a->isActiveWindow());
    EXPECT_TRUE(reporter.messages.empty());
}

}  // namespace
}  // namespace tovix
