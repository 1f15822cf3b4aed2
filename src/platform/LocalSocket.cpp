// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LocalSocket.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/FaultInjection.h"

namespace tovix {
namespace {

constexpr int kBacklog = 16;

// The socket address of `path`; false when the path does not fit one.
bool AddressOf(const std::filesystem::path& path, sockaddr_un& address) {
    const std::string& name = path.native();
    if (name.empty() || name.size() >= sizeof address.sun_path) {
        return false;
    }
    address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.c_str(), name.size() + 1);
    return true;
}

FileDescriptor NewSocket() {
    return FileDescriptor(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
}

int Bind(int socket, const sockaddr_un& address) {
    return ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

// Removes the file at `path` when it is a socket (not through a link).
bool RemoveSocketFile(const std::filesystem::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode) &&
           ::unlink(path.c_str()) == 0;
}

}  // namespace

FileDescriptor ListenLocal(const std::filesystem::path& path) {
    sockaddr_un address{};
    if (!AddressOf(path, address)) {
        return {};
    }
    FileDescriptor socket = NewSocket();
    if (!socket.IsOpen()) {
        return {};
    }
    if (Bind(socket.Get(), address) != 0 &&
        (errno != EADDRINUSE || !RemoveSocketFile(path) || Bind(socket.Get(), address) != 0)) {
        return {};
    }
    if (::chmod(path.c_str(), S_IRUSR | S_IWUSR) != 0 || ::listen(socket.Get(), kBacklog) != 0) {
        ::unlink(path.c_str());
        return {};
    }
    return socket;
}

FileDescriptor AcceptLocal(int listening) {
    for (;;) {
        const int socket = ::accept4(listening, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (socket >= 0 || errno != EINTR) {
            return FileDescriptor(socket);
        }
    }
}

LocalConnection ConnectLocal(const std::filesystem::path& path) {
    sockaddr_un address{};
    FileDescriptor socket = NewSocket();
    if (!AddressOf(path, address) || !socket.IsOpen()) {
        return {FileDescriptor(), ConnectOutcome::Failed};
    }
    if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        return {std::move(socket), ConnectOutcome::Connected};
    }
    const ConnectOutcome outcome = errno == ECONNREFUSED ? ConnectOutcome::Refused
                                   : errno == ENOENT     ? ConnectOutcome::Missing
                                                         : ConnectOutcome::Failed;
    return {FileDescriptor(), outcome};
}

bool SendNow(int socket, std::string_view bytes) {
    if (FaultPoint(FaultOperation::Write) != 0) {
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t sent = ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

LineReceiver::Status LineReceiver::Receive(int socket) {
    while (status_ == Status::Waiting) {
        char buffer[1024];
        const size_t room = std::min(sizeof buffer, limit_ - line_.size());
        if (FaultPoint(FaultOperation::Read) != 0) {
            status_ = Status::Failed;
            break;
        }
        const ssize_t got = ::recv(socket, buffer, room, 0);
        if (got > 0) {
            Add(std::string_view(buffer, static_cast<size_t>(got)));
        } else if (got == 0) {
            status_ = Status::Ended;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            break;
        } else if (errno != EINTR) {
            status_ = Status::Failed;
        }
    }
    return status_;
}

LineReceiver::Status LineReceiver::Add(std::string_view bytes) {
    if (status_ != Status::Waiting) {
        return status_;
    }
    const std::string_view fitting = bytes.substr(0, limit_ - line_.size());
    const size_t lf = fitting.find('\n');
    line_.append(fitting.substr(0, lf));
    if (lf != std::string_view::npos) {
        status_ = Status::Complete;
    } else if (line_.size() >= limit_) {
        status_ = Status::TooLong;
    }
    return status_;
}

}  // namespace tovix
