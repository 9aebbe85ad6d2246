#pragma once
// The platform's user interface with Qt Widgets: message boxes, file dialogs, the busy pointer,
// the beep and the desktop's "open".
#include "platform/userinterface.h"


namespace quorbin::app {

class QtUserInterface : public UserInterface {
public:
    QtUserInterface();
    ~QtUserInterface() override;

    void showMessage(const QString& text, const QString& caption) override;
    Answer ask(const QString& text, const QString& caption, Buttons buttons) override;
    // The dialogs answer Windows texts, as every caller speaks them.
    std::optional<QString> chooseSaveFile(const FileDialogRequest& request) override;
    std::optional<QString> chooseOpenFile(const FileDialogRequest& request) override;
    std::optional<QString> chooseFolder(const QString& text, const QString& start) override;

    Pointer pointer() const override { return pointer_; }
    void setPointer(Pointer pointer) override;
    void beep() override;
    void openWithDesktop(const QString& hostPath) override;

private:
    std::optional<QString> chooseFile(const FileDialogRequest& request, bool save);

    Pointer pointer_ = Pointer::Normal;
};

// "label|pattern|label|pattern" as the windows write it, as a Qt name filter list.
QStringList qtNameFilters(const QString& filter);

}  // namespace quorbin::app
