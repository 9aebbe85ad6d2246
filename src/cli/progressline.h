#pragma once
// A one-line progress display on standard error, shown only when it is a terminal.
#include "engine/dirrestore.h"

#include <QElapsedTimer>

namespace quorbin::cli {

class ProgressLine {
public:
    // Counts what lies below the start directory, but only when there is a terminal to show it.
    explicit ProgressLine(const QString& startDirectory);
    void fileDone(qint64 bytes);
    void finish();

private:
    void show();

    StoredFileCount total_;
    StoredFileCount done_;
    QElapsedTimer clock_;
    qint64 lastShown_ = -1000;
    bool enabled_;
};

}  // namespace quorbin::cli
