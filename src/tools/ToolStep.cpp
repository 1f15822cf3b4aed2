// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ToolStep.h"

#include <new>

#include "components/LightStrings.h"
#include "platform/IoError.h"
#include "platform/MessageText.h"

namespace tovix {
namespace {

void Fail(ToolJob& job, const std::string& caption, const std::string& text) {
    job.reporter.Message(MessageKind::Warning, text, kButtonAbort);
    job.reporter.SetCaption(caption);
    job.Failed = true;
}

}  // namespace

void ShowProgress(ToolJob& job, std::string_view text) {
    job.reporter.SetCaption("  " + std::string(text) + "  ");
}

bool RunStep(ToolJob& job, std::string_view progressText, std::string_view failureMessage,
             const std::function<void()>& work) {
    const std::string caption = job.reporter.Caption();
    if (!progressText.empty()) {
        ShowProgress(job, progressText);
    }
    try {
        work();
    } catch (const StepError& e) {
        Fail(job, caption, e.what());
        return false;
    } catch (const IoError&) {
        Fail(job, caption, PaddedMessage(failureMessage));
        return false;
    } catch (const ListIndexError&) {
        Fail(job, caption, PaddedMessage(failureMessage));
        return false;
    } catch (const std::bad_alloc&) {
        Fail(job, caption, PaddedMessage(failureMessage));
        return false;
    }
    job.reporter.SetCaption(caption);
    return true;
}

}  // namespace tovix
