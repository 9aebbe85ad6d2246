#pragma once
// A TCP client connection that reads LF-terminated lines with a time limit per read, for the
// directory service. Every wait also ends, within moments, when its stop token is set.
#include <QByteArray>
#include <QString>
#include <stop_token>

namespace quorbin {

class LineSocket {
public:
    explicit LineSocket(std::stop_token stop = {}) : stop_(std::move(stop)) {}
    ~LineSocket();
    LineSocket(const LineSocket&) = delete;
    LineSocket& operator=(const LineSocket&) = delete;

    // False when the host is unknown, the connection is refused or fails, or a stop came.
    bool connectTo(const QString& host, quint16 port);
    bool send(const QByteArray& bytes);

    enum class Read { Line, Idle, Closed, TooLong, Stopped };
    // Waits at most timeoutMs for a complete line; `line` then holds it without LF (and
    // without a CR before the LF). A line of more than maxLength bytes before its LF is
    // TooLong.
    Read readLine(int timeoutMs, int maxLength, QByteArray& line);

    void close();

private:
    std::stop_token stop_;
    int fd_ = -1;
    QByteArray buffer_;
};

}  // namespace quorbin
