#pragma once
// The user interface of quorbin-restore: questions on the terminal, messages on stderr.
#include "platform/userinterface.h"

namespace quorbin::cli {

class TerminalUser : public UserInterface {
public:
    void showMessage(const QString& text, const QString& caption) override;
    Answer ask(const QString& text, const QString& caption, Buttons buttons) override;
    std::optional<QString> chooseSaveFile(const FileDialogRequest&) override { return {}; }
    std::optional<QString> chooseOpenFile(const FileDialogRequest&) override { return {}; }
    std::optional<QString> chooseFolder(const QString&, const QString&) override { return {}; }
    Pointer pointer() const override { return pointer_; }
    void setPointer(Pointer pointer) override { pointer_ = pointer; }
    void beep() override;
    void openWithDesktop(const QString& hostPath) override;

private:
    Pointer pointer_ = Pointer::Normal;
};

}  // namespace quorbin::cli
