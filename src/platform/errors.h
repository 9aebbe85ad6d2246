#pragma once
#include <QString>
#include <stdexcept>

namespace quorbin {

// An I/O failure that a command does not expect; it reaches the top-level error report.
class IoError : public std::runtime_error {
public:
    explicit IoError(const QString& message) : std::runtime_error(message.toStdString()), text_(message) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

}  // namespace quorbin
