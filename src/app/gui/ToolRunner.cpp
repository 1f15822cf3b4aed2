// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/ToolRunner.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

#include "platform/Guard.h"

namespace tovix {
namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

// Held by a worker thread while Qt takes over a call it posts, and taken by
// the call before it runs (PostToUi).
std::mutex posting;

// Runs `call` later on the thread of `ui`. The call begins only once Qt has
// let go of it on the posting side, so it is always freed on the thread it
// ran on, and the hand-over is one a thread checker sees: Qt's own event
// queue and reference count are locked where it cannot see them.
template <class Call>
void PostToUi(QObject& ui, Call call) {
    const std::lock_guard guard(posting);
    QMetaObject::invokeMethod(
        &ui,
        [call = std::move(call)] {
            { const std::lock_guard taken(posting); }
            call();
        },
        Qt::QueuedConnection);
}

}  // namespace

// The window's reporter, reached from the chain's thread.
class ToolRunner::ThreadReporter : public Reporter {
  public:
    ThreadReporter(Reporter& target, QObject& ui) : target_(target), ui_(ui) {}

    // From the chain's thread the message box is shown on the user-interface
    // thread, and the chain waits for the answer. It waits on a condition of
    // its own rather than in a blocking queued call, whose wait inside Qt a
    // thread checker cannot see.
    MessageResult Message(MessageKind kind, const std::string& text,
                          MessageButtons buttons) override {
        if (OnUiThread()) {
            return target_.Message(kind, text, buttons);
        }
        MessageResult result = MessageResult::None;
        std::exception_ptr failure;
        std::mutex mutex;
        std::condition_variable answeredChanged;
        bool answered = false;
        PostToUi(ui_, [&] {
            try {
                result = target_.Message(kind, text, buttons);
            } catch (...) {
                failure = std::current_exception();
            }
            // Notified under the lock: the chain's thread cannot go on (and
            // end the objects this refers to) before it is let go.
            const std::lock_guard guard(mutex);
            answered = true;
            answeredChanged.notify_one();
        });
        {
            std::unique_lock lock(mutex);
            answeredChanged.wait(lock, [&] { return answered; });
        }
        if (failure) {
            std::rethrow_exception(failure);
        }
        return result;
    }

    // The chain's thread reads the caption it last set, or the one found at
    // the start.
    std::string Caption() const override {
        if (OnUiThread()) {
            return target_.Caption();
        }
        const std::lock_guard guard(mutex_);
        return caption_;
    }

    // A new caption is a new step: its share starts at 0.
    void SetCaption(const std::string& caption) override {
        share_ = 0;
        if (OnUiThread()) {
            target_.SetCaption(caption);
            return;
        }
        {
            const std::lock_guard guard(mutex_);
            caption_ = caption;
        }
        PostToUi(ui_, [this, caption] {
            Guarded(target_, "SetCaption", [&] { target_.SetCaption(caption); });
        });
    }

    void Percent(int percent) override { share_ = percent; }

    // Before the chain starts.
    void Begin() {
        const std::lock_guard guard(mutex_);
        caption_ = target_.Caption();
        share_ = 0;
    }

    int Share() const { return share_; }
    Reporter& Target() { return target_; }

  private:
    bool OnUiThread() const { return QThread::currentThread() == ui_.thread(); }

    Reporter& target_;
    QObject& ui_;
    mutable std::mutex mutex_;
    std::string caption_;
    std::atomic<int> share_{0};
};

ToolRunner::ToolRunner(QMainWindow& window, Reporter& reporter)
    : QObject(&window),
      window_(window),
      reporter_(std::make_unique<ThreadReporter>(reporter, *this)),
      timer_(new QTimer(this)) {
    // Timers fire late as often as not, so the bar is looked at twice as
    // often as it may change, and changed only when its time has come.
    timer_->setInterval(kProgressIntervalMs / 2);
    connect(timer_, &QTimer::timeout, this, [this] { ShowProgress(); });
}

ToolRunner::~ToolRunner() = default;

Reporter& ToolRunner::JobReporter() {
    return *reporter_;
}

ChainResult ToolRunner::Run(const std::function<ChainResult()>& chain) {
    ChainResult result;
    RunWork([&] { result = chain(); });
    return result;
}

// The status bar and its progress bar are made for the first job: the
// window's first paint does not wait for them.
void ToolRunner::MakeBar() {
    bar_ = new QProgressBar;
    bar_->setObjectName(QStringLiteral("ToolProgress"));
    bar_->setRange(0, 100);
    QStatusBar* status = window_.statusBar();
    status->setSizeGripEnabled(false);
    status->addWidget(bar_, 1);
}

void ToolRunner::RunWork(const std::function<void()>& work) {
    if (bar_ == nullptr) {
        MakeBar();
    }
    const std::string caption = reporter_->Target().Caption();
    reporter_->Begin();
    running_ = true;
    bar_->setValue(0);
    sinceProgress_.start();
    window_.statusBar()->show();
    window_.setCursor(Qt::BusyCursor);
    qApp->installEventFilter(this);
    timer_->start();

    std::exception_ptr failure;
    QEventLoop loop;
    bool done = false;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        // Posted after every caption of the chain, so delivered after them.
        PostToUi(*this, [&] {
            done = true;
            loop.quit();
        });
    });
    while (!done) {
        loop.exec();
    }
    worker.join();

    timer_->stop();
    qApp->removeEventFilter(this);
    window_.unsetCursor();
    window_.statusBar()->hide();
    running_ = false;
    if (failure) {
        reporter_->Target().SetCaption(caption);
        std::rethrow_exception(failure);
    }
}

void ToolRunner::ShowProgress() {
    const int share = reporter_->Share();
    if (share != bar_->value() && sinceProgress_.elapsed() >= kProgressIntervalMs) {
        bar_->setValue(share);
        sinceProgress_.start();
    }
}

// While a chain runs, the user's input to the main window goes nowhere.
bool ToolRunner::eventFilter(QObject* watched, QEvent* event) {
    if (!running_ || !IsUserInput(event->type())) {
        return false;
    }
    const auto* widget = qobject_cast<QWidget*>(watched);
    const bool ofWindow =
        widget != nullptr ? widget->window() == &window_ : watched == window_.windowHandle();
    if (ofWindow) {
        event->ignore();
    }
    return ofWindow;
}

}  // namespace tovix
