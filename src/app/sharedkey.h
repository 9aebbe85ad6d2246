#pragma once
// The key field's text for jobs on a worker thread: the field writes it, a walk reads it anew
// for every file, so a key typed during a walk applies from the next file on.
#include <QString>

#include <mutex>

namespace quorbin::app {

class SharedKey {
public:
    void set(const QString& key)
    {
        const std::lock_guard lock(mutex_);
        key_ = key;
    }
    QString get() const
    {
        const std::lock_guard lock(mutex_);
        return key_;
    }

private:
    mutable std::mutex mutex_;
    QString key_;
};

}  // namespace quorbin::app
