// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/CopyInstances.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QEventLoop>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>
#include <optional>

#include "platform/qt/GuardedConnect.h"

namespace tovix {
namespace {

// A failure while asking or answering is one of switching copies.
constexpr char kWhat[] = "FocusSelectAnother";

// Requests and replies are one short line each; anything longer is refused.
constexpr qint64 kMaxRequest = 512;
constexpr qint64 kMaxReply = 4096;
const QByteArray kTitleRequest = "title\n";
const QByteArray kFrontRequest = "front\n";
const QByteArray kFrontReply = "ok";
// "lookup E <base64 of the CP932 text>\n" (E or J), answered kFrontReply when
// looked up.
const QByteArray kLookupRequest = "lookup ";

QByteArray LookupRequest(Direction direction, const std::string& text) {
    return kLookupRequest + (direction == Direction::Japanese ? "J " : "E ") +
           QByteArray::fromStdString(text).toBase64() + '\n';
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
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    const QString path = SocketPath(name_);
    if (!server_->listen(path)) {
        // A socket of this name is left by a process that had this id.
        QLocalServer::removeServer(path);
        server_->listen(path);
    }
    GuardedConnect(server_, &QLocalServer::newConnection, this, reporter_, kWhat, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            GuardedConnect(socket, &QLocalSocket::readyRead, this, reporter_, kWhat,
                           [this, socket] { Answer(*socket); });
        }
    });
}

CopyRegistry::~CopyRegistry() {
    if (server_ != nullptr) {
        server_->close();
    }
}

bool CopyRegistry::Listening() const {
    return server_ != nullptr && server_->isListening();
}

void CopyRegistry::MarkActive() {
    lastActive_ = Now();
}

QString CopyRegistry::SocketPath(const QString& name) const {
    return QString::fromStdString((dir_ / name.toStdString()).string());
}

void CopyRegistry::Answer(QLocalSocket& socket) {
    if (!socket.canReadLine()) {
        if (socket.bytesAvailable() > kMaxRequest) {
            socket.disconnectFromServer();
        }
        return;
    }
    const QByteArray request = socket.readLine(kMaxRequest + 1);
    if (request == kTitleRequest) {
        socket.write(QByteArray::number(static_cast<qlonglong>(lastActive_)) + ' ' +
                     window_.title().toUtf8().toBase64() + '\n');
    } else if (request == kFrontRequest) {
        window_.bringToFront();
        socket.write(kFrontReply + '\n');
    } else if (request.startsWith(kLookupRequest) && request.size() > kLookupRequest.size() + 2 &&
               window_.lookUp) {
        const QByteArray body = request.mid(kLookupRequest.size()).trimmed();
        const Direction direction = body.startsWith("J ")   ? Direction::Japanese
                                    : body.startsWith("E ") ? Direction::English
                                                            : Direction::None;
        const std::string text = QByteArray::fromBase64(body.mid(2)).toStdString();
        if (direction != Direction::None && window_.lookUp(direction, text)) {
            socket.write(kFrontReply + '\n');
        }
    }
    socket.disconnectFromServer();
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
    size_t pending = names.size();
    std::vector<std::unique_ptr<QLocalSocket>> sockets;
    for (const QString& name : names) {
        sockets.push_back(std::make_unique<QLocalSocket>());
        QLocalSocket* socket = sockets.back().get();
        auto finished = std::make_shared<bool>(false);
        auto finish = [&loop, &pending, finished] {
            if (!*finished) {
                *finished = true;
                if (--pending == 0) {
                    loop.quit();
                }
            }
        };
        auto read = [&replies, socket, name, finish] {
            if (socket->canReadLine()) {
                replies[name] = socket->readLine(kMaxReply).trimmed();
                finish();
            } else if (socket->bytesAvailable() > kMaxReply) {
                finish();
            }
        };
        GuardedConnect(socket, &QLocalSocket::connected, socket, reporter_, kWhat,
                       [socket, request] { socket->write(request); });
        GuardedConnect(socket, &QLocalSocket::readyRead, socket, reporter_, kWhat, read);
        GuardedConnect(socket, &QLocalSocket::disconnected, socket, reporter_, kWhat,
                       [read, finish] {
                           read();
                           finish();
                       });
        GuardedConnect(socket, &QLocalSocket::errorOccurred, socket, reporter_, kWhat,
                       [this, socket, name, read, finish] {
                           read();
                           if (socket->error() == QLocalSocket::ConnectionRefusedError ||
                               socket->error() == QLocalSocket::ServerNotFoundError) {
                               RemoveStale(name);
                           }
                           finish();
                       });
        socket->connectToServer(SocketPath(name));
    }
    if (pending > 0) {
        QTimer::singleShot(timeoutMs_, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    for (const auto& socket : sockets) {
        socket->disconnect();
        socket->abort();
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
