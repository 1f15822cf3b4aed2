// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/CopyInstances.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QEventLoop>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>
#include <optional>

#include "platform/LocalSocket.h"
#include "platform/qt/GuardedConnect.h"

namespace tovix {
namespace {

// A failure while asking or answering is one of switching copies.
constexpr char kWhat[] = "FocusSelectAnother";

// Requests and replies are one short line each, LF included; anything longer
// is refused.
constexpr size_t kMaxRequest = 512;
constexpr size_t kMaxReply = 4096;
// Connections being answered at once, and how long one may take to send its
// request: a peer that connects and says nothing holds no more than that.
constexpr int kMaxAnswerers = 32;
constexpr int kRequestTimeoutMs = 3000;
const QByteArray kTitleRequest = "title";
const QByteArray kFrontRequest = "front";
const QByteArray kFrontReply = "ok";
// "lookup E <base64 of the CP932 text>" (E or J), answered kFrontReply when
// looked up.
const QByteArray kLookupRequest = "lookup ";

QByteArray LookupRequest(Direction direction, const std::string& text) {
    return kLookupRequest + (direction == Direction::Japanese ? "J " : "E ") +
           QByteArray::fromStdString(text).toBase64();
}

int64_t Now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::optional<std::filesystem::path>& DirOverride() {
    static std::optional<std::filesystem::path> dir;
    return dir;
}

// The display this process draws on, as a file name: copies on another X
// server or Wayland compositor are on another desktop.
std::string DesktopName() {
    const QString platform = QGuiApplication::platformName();
    QByteArray display;
    if (platform == QStringLiteral("xcb")) {
        display = qgetenv("DISPLAY");
        // ":0" and ":0.0" are the same server.
        const qsizetype colon = display.lastIndexOf(':');
        const qsizetype dot = display.lastIndexOf('.');
        if (colon >= 0 && dot > colon) {
            display.truncate(dot);
        }
    } else if (platform == QStringLiteral("wayland")) {
        display = qgetenv("WAYLAND_DISPLAY");
    }
    std::string name = platform.toStdString() + "-" + display.toStdString();
    for (char& c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.';
        if (!plain) {
            c = '_';
        }
    }
    return name;
}

std::filesystem::path UserRuntimeDir() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        return std::filesystem::path(runtime) / "tovix";
    }
    return std::filesystem::path("/tmp") / ("tovix-" + std::to_string(getuid()));
}

// A connection whose peer's first line is awaited, read as it comes.
class LineConnection : public QObject {
  public:
    LineConnection(FileDescriptor socket, size_t limit, QObject* parent)
        : QObject(parent),
          socket_(std::move(socket)),
          receiver_(limit),
          readable_(socket_.Get(), QSocketNotifier::Read) {}

    int Socket() const { return socket_.Get(); }

    // `done` gets the line once it is whole, or nullptr once it cannot be;
    // nothing more is read from then on, so that `done` may run events.
    void OnLine(Reporter& reporter, std::function<void(const QByteArray*)> done) {
        GuardedConnect(&readable_, &QSocketNotifier::activated, this, reporter, kWhat,
                       [this, done = std::move(done)] {
                           const LineReceiver::Status status = receiver_.Receive(socket_.Get());
                           if (status == LineReceiver::Status::Waiting) {
                               return;
                           }
                           readable_.setEnabled(false);
                           const std::string_view line = receiver_.Line();
                           const QByteArray bytes(line.data(), static_cast<qsizetype>(line.size()));
                           done(status == LineReceiver::Status::Complete ? &bytes : nullptr);
                       });
    }

  private:
    FileDescriptor socket_;
    LineReceiver receiver_;
    QSocketNotifier readable_;
};

}  // namespace

bool MakePrivateDir(const std::filesystem::path& dir) {
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat status {};
    if (lstat(dir.c_str(), &status) != 0) {
        return false;
    }
    return S_ISDIR(status.st_mode) && status.st_uid == getuid() && (status.st_mode & 077) == 0;
}

std::filesystem::path CopyRegistryDir() {
    if (DirOverride()) {
        return *DirOverride();
    }
    const std::filesystem::path base = UserRuntimeDir();
    if (!MakePrivateDir(base)) {
        return {};
    }
    const std::filesystem::path dir = base / DesktopName();
    return MakePrivateDir(dir) ? dir : std::filesystem::path();
}

void SetCopyRegistryDir(const std::filesystem::path& dir) {
    DirOverride() = dir;
}

CopyRegistry::CopyRegistry(std::filesystem::path dir, QString name, Window window,
                           Reporter& reporter, QObject* parent)
    : QObject(parent),
      dir_(std::move(dir)),
      name_(std::move(name)),
      window_(std::move(window)),
      reporter_(reporter),
      lastActive_(Now()) {
    if (dir_.empty() || !MakePrivateDir(dir_)) {
        dir_.clear();
        return;
    }
    listening_ = ListenLocal(dir_ / name_.toStdString());
    if (!listening_.IsOpen()) {
        return;
    }
    waiting_ = new QSocketNotifier(listening_.Get(), QSocketNotifier::Read, this);
    GuardedConnect(waiting_, &QSocketNotifier::activated, this, reporter_, kWhat,
                   [this] { AcceptWaiting(); });
}

CopyRegistry::~CopyRegistry() {
    // The connections being answered count themselves in this object, and
    // the notifiers watch descriptors closed with it: they go first.
    const QObjectList children = this->children();
    qDeleteAll(children);
    if (listening_.IsOpen()) {
        std::error_code ec;
        std::filesystem::remove(dir_ / name_.toStdString(), ec);
    }
}

bool CopyRegistry::Listening() const {
    return listening_.IsOpen();
}

void CopyRegistry::MarkActive() {
    lastActive_ = Now();
}

void CopyRegistry::AcceptWaiting() {
    for (;;) {
        FileDescriptor socket = AcceptLocal(listening_.Get());
        if (!socket.IsOpen()) {
            return;
        }
        if (answerers_ >= kMaxAnswerers) {
            continue;
        }
        // A request too long, cut short or too slow in coming gets no answer.
        auto* answerer = new LineConnection(std::move(socket), kMaxRequest, this);
        ++answerers_;
        connect(answerer, &QObject::destroyed, this, [this] { --answerers_; });
        QTimer::singleShot(kRequestTimeoutMs, answerer, &QObject::deleteLater);
        answerer->OnLine(reporter_, [this, answerer](const QByteArray* request) {
            if (request != nullptr) {
                if (const QByteArray reply = Answer(*request); !reply.isEmpty()) {
                    SendNow(answerer->Socket(), (reply + '\n').toStdString());
                }
            }
            answerer->deleteLater();
        });
    }
}

QByteArray CopyRegistry::Answer(const QByteArray& request) {
    if (request == kTitleRequest) {
        return QByteArray::number(static_cast<qlonglong>(lastActive_)) + ' ' +
               window_.title().toUtf8().toBase64();
    }
    if (request == kFrontRequest) {
        window_.bringToFront();
        return kFrontReply;
    }
    if (request.startsWith(kLookupRequest) && request.size() > kLookupRequest.size() + 2 &&
        window_.lookUp) {
        const QByteArray body = request.mid(kLookupRequest.size()).trimmed();
        const Direction direction = body.startsWith("J ")   ? Direction::Japanese
                                    : body.startsWith("E ") ? Direction::English
                                                            : Direction::None;
        const std::string text = QByteArray::fromBase64(body.mid(2)).toStdString();
        if (direction != Direction::None && window_.lookUp(direction, text)) {
            return kFrontReply;
        }
    }
    return {};
}

std::vector<QString> CopyRegistry::OtherNames() const {
    std::vector<QString> names;
    if (dir_.empty()) {
        return names;
    }
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir_, ec)) {
        const QString name = QString::fromStdString(entry.path().filename().string());
        if (name != name_ && entry.is_socket(ec)) {
            names.push_back(name);
        }
    }
    return names;
}

void CopyRegistry::RemoveStale(const QString& name) const {
    const std::filesystem::path path = dir_ / name.toStdString();
    std::error_code ec;
    if (std::filesystem::is_socket(std::filesystem::symlink_status(path, ec))) {
        std::filesystem::remove(path, ec);
    }
}

std::map<QString, QByteArray> CopyRegistry::Ask(const std::vector<QString>& names,
                                                const QByteArray& request) {
    std::map<QString, QByteArray> replies;
    QEventLoop loop;
    size_t pending = 0;
    std::vector<std::unique_ptr<LineConnection>> questions;
    const std::string line = (request + '\n').toStdString();
    for (const QString& name : names) {
        LocalConnection connection = ConnectLocal(dir_ / name.toStdString());
        if (connection.outcome == ConnectOutcome::Refused) {
            RemoveStale(name);
        }
        if (connection.outcome != ConnectOutcome::Connected ||
            !SendNow(connection.socket.Get(), line)) {
            continue;
        }
        ++pending;
        questions.push_back(
            std::make_unique<LineConnection>(std::move(connection.socket), kMaxReply, nullptr));
        questions.back()->OnLine(reporter_,
                                 [&replies, &loop, &pending, name](const QByteArray* reply) {
                                     if (reply != nullptr) {
                                         replies[name] = reply->trimmed();
                                     }
                                     if (--pending == 0) {
                                         loop.quit();
                                     }
                                 });
    }
    if (pending > 0) {
        QTimer::singleShot(timeoutMs_, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return replies;
}

std::vector<RunningCopy> CopyRegistry::Enumerate() {
    std::vector<RunningCopy> copies = {
        {name_, window_.title ? window_.title() : QString(), lastActive_, true}};
    for (const auto& [name, reply] : Ask(OtherNames(), kTitleRequest)) {
        const qsizetype blank = reply.indexOf(' ');
        bool number = false;
        const qlonglong lastActive = reply.left(blank).toLongLong(&number);
        if (blank < 0 || !number) {
            continue;
        }
        copies.push_back({name, QString::fromUtf8(QByteArray::fromBase64(reply.mid(blank + 1))),
                          lastActive, false});
    }
    std::stable_sort(copies.begin(), copies.end(), [](const RunningCopy& a, const RunningCopy& b) {
        return a.lastActive > b.lastActive;
    });
    return copies;
}

std::unique_ptr<CopyRegistry> CopyRegistry::Asker(std::filesystem::path dir, Reporter& reporter) {
    auto asker =
        std::make_unique<CopyRegistry>(std::filesystem::path(), QString(), Window{}, reporter);
    asker->dir_ = MakePrivateDir(dir) ? std::move(dir) : std::filesystem::path();
    return asker;
}

bool CopyRegistry::HandOverLookup(Direction direction, const std::string& text) {
    for (const RunningCopy& copy : Enumerate()) {
        if (copy.self) {
            continue;
        }
        const auto replies = Ask({copy.name}, LookupRequest(direction, text));
        const auto reply = replies.find(copy.name);
        if (reply != replies.end() && reply->second == kFrontReply) {
            return true;
        }
    }
    return false;
}

bool CopyRegistry::BringToFront(const RunningCopy& copy) {
    if (copy.self) {
        window_.bringToFront();
        return true;
    }
    const auto replies = Ask({copy.name}, kFrontRequest);
    const auto reply = replies.find(copy.name);
    return reply != replies.end() && reply->second == kFrontReply;
}

}  // namespace tovix
