// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Guard.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

#include "platform/IoError.h"
#include "support/RecordingReporter.h"

namespace tovix {
namespace {

// Whatever a command throws ends as one error message naming the command and
// the reason, and nothing escapes the guard.
TEST(GuardTest, EveryFailureBecomesOneMessage) {
    struct Case {
        const char* what;
        std::function<void()> call;
        std::string reason;
    };
    const Case cases[] = {
        {"DicEdit1Change", [] { throw std::bad_alloc(); }, "メモリが足りません。"},
        {"Button5Click", [] { throw IoError("/d/E.001", EIO); }, "/d/E.001: Input/output error"},
        {"FormKeyDown", [] { throw std::runtime_error("code page 932 decoding failed"); },
         "code page 932 decoding failed"},
        {"AppMessage", [] { throw 7; }, "原因のわからない失敗です。"},
    };
    for (const Case& c : cases) {
        test::RecordingReporter reporter;
        EXPECT_FALSE(Guarded(reporter, c.what, c.call));
        ASSERT_EQ(reporter.messages.size(), 1u) << c.what;
        EXPECT_EQ(reporter.messages[0].kind, MessageKind::Error);
        EXPECT_EQ(reporter.messages[0].buttons, kButtonOk);
        EXPECT_EQ(reporter.messages[0].text,
                  std::string("   ") + c.what +
                      " の\r\n   処理を続けられませんでした: " + c.reason + "          ");
    }
    test::RecordingReporter quiet;
    EXPECT_TRUE(Guarded(quiet, "Button6Click", [] {}));
    EXPECT_TRUE(quiet.messages.empty());
}

// A reporter that fails as well must not take the program down.
TEST(GuardTest, FailingReporterIsSurvived) {
    class Throwing : public test::RecordingReporter {
        MessageResult Message(MessageKind, const std::string&, MessageButtons) override {
            throw std::bad_alloc();
        }
    } reporter;
    EXPECT_FALSE(Guarded(reporter, "MenuExitClick", [] { throw std::bad_alloc(); }));
}

}  // namespace
}  // namespace tovix
