#pragma once
// A TCP client connection that reads LF-terminated lines with a time limit per read, for the
// directory service. Lets pending window events run while it connects.
#include <QByteArray>
#include <QString>

namespace quorbin {

class LineSocket {
public:
    LineSocket() = default;
    ~LineSocket();
    LineSocket(const LineSocket&) = delete;
    LineSocket& operator=(const LineSocket&) = delete;

    // False when the host is unknown or the connection is refused or fails.
    bool connectTo(const QString& host, quint16 port);
    bool send(const QByteArray& bytes);

    enum class Read { Line, Idle, Closed, TooLong };
    // Waits at most timeoutMs for a complete line; `line` then holds it without LF (and
    // without a CR before the LF). A line of more than maxLength bytes before its LF is
    // TooLong.
    Read readLine(int timeoutMs, int maxLength, QByteArray& line);

    void close();

private:
    int fd_ = -1;
    QByteArray buffer_;
};

}  // namespace quorbin
