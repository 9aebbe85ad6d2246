#pragma once
#include <QString>
#include <stdexcept>

namespace quorbin {

// A refused or failed FTP operation. The text is the server's reply (without its code) when
// there was one, else the FTP library's own description of what went wrong.
class FtpError : public std::runtime_error {
public:
    explicit FtpError(const QString& text, int replyCode = 0)
        : std::runtime_error(text.toStdString()), text_(text), replyCode_(replyCode)
    {
    }
    const QString& text() const { return text_; }
    // The server's three-digit reply code; 0 when the failure had no reply.
    int replyCode() const { return replyCode_; }

private:
    QString text_;
    int replyCode_;
};

}  // namespace quorbin
