#include "platform/userinterface.h"

namespace quorbin {
namespace {

class SilentUser : public UserInterface {
public:
    void showMessage(const QString&, const QString&) override {}
    Answer ask(const QString&, const QString&, Buttons buttons) override
    {
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
    std::optional<QString> chooseSaveFile(const FileDialogRequest&) override { return {}; }
    std::optional<QString> chooseOpenFile(const FileDialogRequest&) override { return {}; }
    std::optional<QString> chooseFolder(const QString&, const QString&) override { return {}; }
    Pointer pointer() const override { return current_; }
    void setPointer(Pointer pointer) override { current_ = pointer; }
    void beep() override {}
    void openWithDesktop(const QString&) override {}
    void processEvents() override {}

private:
    Pointer current_ = Pointer::Normal;
};

UserInterface* installed = nullptr;

}  // namespace

UserInterface& ui()
{
    static SilentUser silent;
    return installed ? *installed : silent;
}

void setUserInterface(UserInterface* userInterface) { installed = userInterface; }

}  // namespace quorbin
