#include "remote/linesocket.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quorbin {
namespace {

const int kPollSliceMs = 25;  // how long a stop request may wait to be seen

enum class Wait { Ready, TimedOut, Failed, Stopped };

// Waits for the events in short slices, so that a stop request is seen while it waits.
Wait waitFor(int fd, short events, QDeadlineTimer deadline, const std::stop_token& stop)
{
    for (;;) {
        if (stop.stop_requested())
            return Wait::Stopped;
        const int slice = deadline.isForever() ? kPollSliceMs
                                               : int(std::min<qint64>(kPollSliceMs, deadline.remainingTime()));
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, std::max(slice, 0));
        if (ready > 0)
            return Wait::Ready;
        if (ready < 0 && errno != EINTR)
            return Wait::Failed;
        if (deadline.hasExpired())
            return Wait::TimedOut;
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
        int error = 0;
        socklen_t length = sizeof error;
        // No time limit of its own: the system's connect time-out decides.
        if (errno == EINPROGRESS &&
            waitFor(fd_, POLLOUT, QDeadlineTimer(QDeadlineTimer::Forever), stop_) == Wait::Ready &&
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
        if (n < 0 && (errno == EAGAIN || errno == EINTR) &&
            waitFor(fd_, POLLOUT, QDeadlineTimer(10000), stop_) == Wait::Ready)
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
        switch (waitFor(fd_, POLLIN, deadline, stop_)) {
        case Wait::Ready:
            break;
        case Wait::Stopped:
            return Read::Stopped;
        case Wait::TimedOut:
        case Wait::Failed:
            return Read::Idle;
        }
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
