#include "platform/userinterface.h"

#include <QCoreApplication>
#include <QThread>

namespace quorbin {
namespace {

class SilentUser : public UserInterface {
public:
    void showMessage(const QString&, const QString&) override {}
    Answer ask(const QString&, const QString&, Buttons buttons) override
    {
        return answersYesOrNo(buttons) ? Answer::No : Answer::Cancel;
    }
    std::optional<QString> chooseSaveFile(const FileDialogRequest&) override { return {}; }
    std::optional<QString> chooseOpenFile(const FileDialogRequest&) override { return {}; }
    std::optional<QString> chooseFolder(const QString&, const QString&) override { return {}; }
    Pointer pointer() const override { return current_; }
    void setPointer(Pointer pointer) override { current_ = pointer; }
    void beep() override {}
    void openWithDesktop(const QString&) override {}

private:
    Pointer current_ = Pointer::Normal;
};

UserInterface* installed = nullptr;

UserInterface& person()
{
    static SilentUser silent;
    return installed ? *installed : silent;
}

// Dialogs and the person's answers belong to the thread of the application's windows; a job on
// a worker thread waits there while the question is put.
bool onUserThread()
{
    const QCoreApplication* application = QCoreApplication::instance();
    return !application || QThread::currentThread() == application->thread();
}

template <typename Call>
auto onTheUserThread(Call call) -> decltype(call())
{
    if (onUserThread())
        return call();
    if constexpr (std::is_void_v<decltype(call())>) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), call, Qt::BlockingQueuedConnection);
    } else {
        decltype(call()) result{};
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [&] { result = call(); }, Qt::BlockingQueuedConnection);
        return result;
    }
}

class UserThreadInterface : public UserInterface {
public:
    void showMessage(const QString& text, const QString& caption) override
    {
        onTheUserThread([&] { person().showMessage(text, caption); });
    }
    Answer ask(const QString& text, const QString& caption, Buttons buttons) override
    {
        return onTheUserThread([&] { return person().ask(text, caption, buttons); });
    }
    std::optional<QString> chooseSaveFile(const FileDialogRequest& request) override
    {
        return onTheUserThread([&] { return person().chooseSaveFile(request); });
    }
    std::optional<QString> chooseOpenFile(const FileDialogRequest& request) override
    {
        return onTheUserThread([&] { return person().chooseOpenFile(request); });
    }
    std::optional<QString> chooseFolder(const QString& text, const QString& start) override
    {
        return onTheUserThread([&] { return person().chooseFolder(text, start); });
    }
    Pointer pointer() const override
    {
        return onTheUserThread([&] { return person().pointer(); });
    }
    void setPointer(Pointer pointer) override
    {
        onTheUserThread([&] { person().setPointer(pointer); });
    }
    void beep() override
    {
        onTheUserThread([&] { person().beep(); });
    }
    void openWithDesktop(const QString& hostPath) override
    {
        onTheUserThread([&] { person().openWithDesktop(hostPath); });
    }
};

}  // namespace

UserInterface& ui()
{
    static UserThreadInterface userThread;
    return userThread;
}

void setUserInterface(UserInterface* userInterface) { installed = userInterface; }

}  // namespace quorbin
