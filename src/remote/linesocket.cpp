#include "remote/linesocket.h"

#include "platform/userinterface.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quorbin {
namespace {

const int kPumpIntervalMs = 25;

// Waits for the events with the window kept alive; false on time-out.
bool waitFor(int fd, short events, QDeadlineTimer deadline, short& revents)
{
    for (;;) {
        const int slice = deadline.isForever() ? kPumpIntervalMs
                                               : int(std::min<qint64>(kPumpIntervalMs, deadline.remainingTime()));
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, std::max(slice, 0));
        if (ready > 0) {
            revents = entry.revents;
            return true;
        }
        if (ready < 0 && errno != EINTR)
            return false;
        if (deadline.hasExpired())
            return false;
        pumpEvents();
    }
}

}  // namespace

LineSocket::~LineSocket() { close(); }

bool LineSocket::connectTo(const QString& host, quint16 port)
{
    close();
    addrinfo hints{};
    hints.ai_family = AF_INET;  // IPv4 like the FTP connection
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.toUtf8().constData(), QByteArray::number(port).constData(), &hints, &found) != 0)
        return false;
    for (addrinfo* address = found; address; address = address->ai_next) {
        fd_ = ::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address->ai_protocol);
        if (fd_ < 0)
            continue;
        if (::connect(fd_, address->ai_addr, address->ai_addrlen) == 0)
            break;
        short revents = 0;
        int error = 0;
        socklen_t length = sizeof error;
        // No time limit of its own: the system's connect time-out decides.
        if (errno == EINPROGRESS && waitFor(fd_, POLLOUT, QDeadlineTimer(QDeadlineTimer::Forever), revents) &&
            ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0)
            break;
        close();
    }
    ::freeaddrinfo(found);
    return fd_ >= 0;
}

bool LineSocket::send(const QByteArray& bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
            continue;
        }
        short revents = 0;
        if (n < 0 && (errno == EAGAIN || errno == EINTR) && waitFor(fd_, POLLOUT, QDeadlineTimer(10000), revents))
            continue;
        return false;
    }
    return true;
}

LineSocket::Read LineSocket::readLine(int timeoutMs, int maxLength, QByteArray& line)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const qsizetype end = buffer_.indexOf('\n');
        if (end > maxLength || (end < 0 && buffer_.size() > maxLength))
            return Read::TooLong;
        if (end >= 0) {
            line = buffer_.left(end);
            buffer_.remove(0, end + 1);
            if (line.endsWith('\r'))
                line.chop(1);
            return Read::Line;
        }
        pollfd entry{fd_, POLLIN, 0};
        const int ready = ::poll(&entry, 1, int(std::max<qint64>(deadline.remainingTime(), 0)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return Read::Idle;
        char chunk[4096];
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
            return Read::Closed;
        if (n > 0)
            buffer_.append(chunk, n);
    }
}

void LineSocket::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    buffer_.clear();
}

}  // namespace quorbin
