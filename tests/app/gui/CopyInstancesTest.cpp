// SPDX-License-Identifier: GPL-3.0-or-later
// Running copies finding each other: each listens on a local socket, the
// others ask for its title and bring it to the front.

#include "app/gui/CopyInstances.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QTest>

#include "WindowTestSupport.h"
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
