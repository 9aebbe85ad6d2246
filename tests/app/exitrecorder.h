#pragma once
// Stands in for the end of the process: records the exit codes the commands ask for.
#include "app/exithook.h"

#include <QList>

namespace quorbin::test {

class ExitRecorder {
public:
    ExitRecorder() : previous_(app::setExitHook([this](int code) { codes << code; })) {}
    ~ExitRecorder() { app::setExitHook(previous_); }
    ExitRecorder(const ExitRecorder&) = delete;
    ExitRecorder& operator=(const ExitRecorder&) = delete;

    QList<int> codes;

private:
    app::ExitHook previous_;
};

}  // namespace quorbin::test
