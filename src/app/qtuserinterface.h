#pragma once
// The platform's user interface with Qt Widgets: message boxes, file dialogs, the busy pointer,
// the beep, the desktop's "open" and the event pump.
#include "platform/userinterface.h"

#include <QElapsedTimer>

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
    void processEvents() override;

private:
    std::optional<QString> chooseFile(const FileDialogRequest& request, bool save);

    Pointer pointer_ = Pointer::Normal;
    QElapsedTimer sinceLastPump_;
};

// "label|pattern|label|pattern" as the windows write it, as a Qt name filter list.
QStringList qtNameFilters(const QString& filter);

}  // namespace quorbin::app
