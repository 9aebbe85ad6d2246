#pragma once
// Everything the lower layers need from a person or the desktop goes through this interface:
// the windows implement it with Qt Widgets, the command line for a terminal, the tests as a
// scripted user.
#include <QString>
#include <optional>

namespace quorbin {

// NoYes: "Ja" and "Nein" with "Nein" the default, for what cannot be undone.
enum class Buttons { Ok, OkCancel, YesNo, NoOk, NoYes };
enum class Answer { Ok, Cancel, Yes, No };

// Whether the buttons answer Yes or No (else Ok or Cancel).
inline bool answersYesOrNo(Buttons buttons) { return buttons == Buttons::YesNo || buttons == Buttons::NoYes; }
enum class Pointer { Normal, Busy };

struct FileDialogRequest {
    QString title;
    QString filter;            // "label|pattern", as the windows write it
    QString fileName;          // proposed name, Windows text
    QString initialDirectory;  // Windows text
    bool confirmOverwrite = false;
    bool mustExist = false;
};

class UserInterface {
public:
    virtual ~UserInterface() = default;

    virtual void showMessage(const QString& text, const QString& caption) = 0;
    virtual Answer ask(const QString& text, const QString& caption, Buttons buttons) = 0;
    virtual std::optional<QString> chooseSaveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> chooseOpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> chooseFolder(const QString& text, const QString& start) = 0;

    virtual Pointer pointer() const = 0;
    virtual void setPointer(Pointer pointer) = 0;
    virtual void beep() = 0;
    // hostPath: the file as this machine names it, for the desktop's "open".
    virtual void openWithDesktop(const QString& hostPath) = 0;
};

// The process's one user interface. Without one installed, a silent one answers Cancel/No.
// Called from a job's worker thread, it puts the call to the installed interface on the
// application's own thread and waits for it there.
UserInterface& ui();
void setUserInterface(UserInterface* userInterface);

// Shows the busy pointer for its lifetime and then puts the previous one back.
class BusyPointer {
public:
    BusyPointer() : previous_(ui().pointer()) { ui().setPointer(Pointer::Busy); }
    ~BusyPointer() { ui().setPointer(previous_); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Pointer previous_;
};

}  // namespace quorbin
