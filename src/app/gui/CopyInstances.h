// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How running copies of the program find each other: every copy listens on a
// local socket, named after its process, in a directory private to the user
// and to the desktop it runs on. Asked, a copy answers its main window's
// title and when that window was last activated, or brings its window to the
// front, or looks up a word handed over (`tovix --lookup`). The sockets are
// plain local stream sockets (platform/LocalSocket.h) watched by the event
// loop, so the program needs no network library. Enumerating lists the copies most
// recently active first, as the desktop stacks their windows; sockets left by copies that died are
// removed on the way. A copy too busy to answer in time is left out.

#include <QObject>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dict/Direction.h"
#include "platform/PosixIo.h"
#include "platform/Reporter.h"

class QSocketNotifier;

namespace tovix {

struct RunningCopy {
    QString name;        // the socket's name in the registry directory
    QString title;       // the copy's main window title
    int64_t lastActive;  // when its window was last activated (monotonic ns)
    bool self;           // this copy
};

class CopyRegistry : public QObject {
    Q_OBJECT

  public:
    struct Window {
        std::function<QString()> title;
        std::function<void()> bringToFront;
        // Looks the CP932 text up when the window shows a dictionary of the
        // direction, and comes to the front; false when it does not.
        std::function<bool(Direction, const std::string&)> lookUp;
    };

    // Listens as `name` in `dir`, which is created private to the user when
    // missing. Without a usable directory the registry knows only this copy.
    // A failure while answering or asking is reported through `reporter`.
    CopyRegistry(std::filesystem::path dir, QString name, Window window, Reporter& reporter,
                 QObject* parent = nullptr);
    // A registry that only asks: it does not listen, and no copy finds it
    // (`tovix --lookup` before it knows whether it needs a window).
    static std::unique_ptr<CopyRegistry> Asker(std::filesystem::path dir, Reporter& reporter);
    ~CopyRegistry() override;

    CopyRegistry(const CopyRegistry&) = delete;
    CopyRegistry& operator=(const CopyRegistry&) = delete;

    bool Listening() const;
    // Records that this copy's window was activated now.
    void MarkActive();
    // Milliseconds to wait for the other copies' answers; default 1000.
    void SetTimeout(int ms) { timeoutMs_ = ms; }

    // This copy and every other one that answered, most recently active
    // first. Pending events other than user input run meanwhile, so that
    // this copy answers the others' questions too.
    std::vector<RunningCopy> Enumerate();
    // Brings the copy's window to the front; this copy does so itself. False
    // when the copy did not confirm in time.
    bool BringToFront(const RunningCopy& copy);
    // Hands the CP932 text to the other copies, most recently active first,
    // until one of that direction looks it up. False when none did.
    bool HandOverLookup(Direction direction, const std::string& text);

  private:
    void AcceptWaiting();
    // The reply to one request line; empty when there is none.
    QByteArray Answer(const QByteArray& request);
    // Sends the one-line request to every named copy; the one-line replies
    // that arrived in time, by name.
    std::map<QString, QByteArray> Ask(const std::vector<QString>& names, const QByteArray& request);
    std::vector<QString> OtherNames() const;
    void RemoveStale(const QString& name) const;

    std::filesystem::path dir_;
    QString name_;
    Window window_;
    Reporter& reporter_;
    FileDescriptor listening_;
    QSocketNotifier* waiting_ = nullptr;
    int answerers_ = 0;
    int64_t lastActive_ = 0;
    int timeoutMs_ = 1000;
};

// The registry directory of this user on this desktop, private to the user:
// under $XDG_RUNTIME_DIR/tovix, else /tmp/tovix-<uid>, one subdirectory per
// display. Empty when no such directory can be had safely.
std::filesystem::path CopyRegistryDir();

// Directs CopyRegistryDir to `dir` from now on (tests use a directory of
// their own so as not to meet the user's running copies).
void SetCopyRegistryDir(const std::filesystem::path& dir);

// Creates `dir` with access for the user alone when it is missing. True when
// it is a directory, not a link, owned by this user and closed to others.
bool MakePrivateDir(const std::filesystem::path& dir);

}  // namespace tovix
