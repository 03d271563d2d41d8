// Plays a process of another user on a local socket, for the single-instance tests; run
// as root. "serve PATH UID" binds PATH, takes UID and listens, prints "ready", then
// answers every request as Quireon would and prints "took" for each. "send PATH UID FILE"
// takes UID, then sends FILE as a launch would and prints "answered" if it was taken.
#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
bool becomeUser(uid_t uid) {
    return ::setgid(gid_t(uid)) == 0 && ::setuid(uid) == 0;
}

sockaddr_un addressOf(const char *path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path, sizeof address.sun_path - 1);
    return address;
}

// Everything the peer sends before it closes or stops for a while.
QByteArray readFrom(int fd, int timeoutMs) {
    QByteArray data;
    char buffer[4096];
    pollfd ready{fd, POLLIN, 0};
    while (::poll(&ready, 1, timeoutMs) > 0) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        data.append(buffer, n);
    }
    return data;
}

int serve(const char *path, uid_t uid) {
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const sockaddr_un address = addressOf(path);
    // Bound by root in root's folder, but listening as the other user: that is who a
    // peer's credentials name.
    if (::bind(server, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 ||
        !becomeUser(uid) || ::listen(server, 8) != 0)
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        const int client = ::accept(server, nullptr, nullptr);
        if (!readFrom(client, 500).isEmpty() && ::write(client, "ok\n", 3) == 3) {
            std::printf("took\n");
            std::fflush(stdout);
        }
        ::close(client);
    }
}

int sendAs(const char *path, uid_t uid, const QString &file) {
    const int client = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const sockaddr_un address = addressOf(path);
    if (!becomeUser(uid) ||
        ::connect(client, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
        return 1;
    QByteArray body, request;
    QDataStream bodyStream(&body, QIODevice::WriteOnly), requestStream(&request, QIODevice::WriteOnly);
    bodyStream << QStringList{file};
    requestStream << quint32(body.size());
    request += body;
    // Quireon may close the connection before the request is written: that too is a
    // request not answered, not a broken pipe.
    const bool written = ::send(client, request.constData(), size_t(request.size()), MSG_NOSIGNAL) == request.size();
    std::printf(written && readFrom(client, 2000).startsWith("ok\n") ? "answered\n" : "not answered\n");
    return 0;
}
} // namespace

int main(int argc, char *argv[]) {
    const QByteArray mode = argc > 3 ? argv[1] : "";
    if (mode == "serve")
        return serve(argv[2], uid_t(std::atoi(argv[3])));
    if (mode == "send" && argc > 4)
        return sendAs(argv[2], uid_t(std::atoi(argv[3])), QString::fromLocal8Bit(argv[4]));
    std::fprintf(stderr, "usage: stranger_peer serve PATH UID | send PATH UID FILE\n");
    return 2;
}
