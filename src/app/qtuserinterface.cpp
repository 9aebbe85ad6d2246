#include "app/qtuserinterface.h"

#include "app/errorreport.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QProcess>
#include <QUrl>

namespace quorbin::app {
namespace {

QWidget* dialogParent() { return QApplication::activeWindow(); }

QString captionOr(const QString& caption)
{
    return caption.isEmpty() ? messageCaption() : caption;
}

// A dialog must not show the hourglass of the command that opened it.
class ArrowWhileAsking {
public:
    explicit ArrowWhileAsking(Pointer current) : active_(current == Pointer::Busy)
    {
        if (active_)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~ArrowWhileAsking()
    {
        if (active_)
            QApplication::restoreOverrideCursor();
    }
    ArrowWhileAsking(const ArrowWhileAsking&) = delete;
    ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;

private:
    bool active_;
};

struct ButtonChoice {
    QMessageBox::StandardButton button;
    Answer answer;
    const char* text;
};

QList<ButtonChoice> choicesOf(Buttons buttons)
{
    const ButtonChoice ok{QMessageBox::Ok, Answer::Ok, QT_TRANSLATE_NOOP("App", "OK")};
    const ButtonChoice cancel{QMessageBox::Cancel, Answer::Cancel, QT_TRANSLATE_NOOP("App", "Abbrechen")};
    const ButtonChoice yes{QMessageBox::Yes, Answer::Yes, QT_TRANSLATE_NOOP("App", "Ja")};
    const ButtonChoice no{QMessageBox::No, Answer::No, QT_TRANSLATE_NOOP("App", "Nein")};
    switch (buttons) {
    case Buttons::Ok: return {ok};
    case Buttons::OkCancel: return {ok, cancel};
    case Buttons::YesNo: return {yes, no};
    case Buttons::NoOk: return {no, ok};
    case Buttons::NoYes: return {no, yes};
    }
    return {ok};
}

// What the person picked, as a Windows text.
std::optional<QString> pickedPath(const QString& hostPath)
{
    if (hostPath.isEmpty())
        return {};
    return platform::toWindowsPath(hostPath);
}

QString hostDirectoryOf(const QString& windowsDirectory)
{
    if (windowsDirectory.isEmpty())
        return {};
    const QString host = platform::toHostPath(windowsDirectory);
    return QDir(host).exists() ? host : QString();
}

}  // namespace

QStringList qtNameFilters(const QString& filter)
{
    QStringList filters;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts.at(i + 1);
        pattern.replace(u';', u' ');
        // "*.*" means every file there, also those without a dot here.
        pattern.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        const QString& label = parts.at(i);
        filters << (label.endsWith(u')') ? label.left(label.lastIndexOf(u'(')).trimmed() : label) + " (" + pattern +
                           ")";
    }
    return filters;
}

QtUserInterface::QtUserInterface() { setUserInterface(this); }

QtUserInterface::~QtUserInterface() { setUserInterface(nullptr); }

void QtUserInterface::showMessage(const QString& text, const QString& caption)
{
    ask(text, caption, Buttons::Ok);
}

Answer QtUserInterface::ask(const QString& text, const QString& caption, Buttons buttons)
{
    ArrowWhileAsking arrow(pointer_);
    QMessageBox box(buttons == Buttons::Ok ? QMessageBox::NoIcon : QMessageBox::Question, captionOr(caption), text,
                    QMessageBox::NoButton, dialogParent());
    const QList<ButtonChoice> choices = choicesOf(buttons);
    for (const ButtonChoice& c : choices)
        box.addButton(c.button)->setText(QCoreApplication::translate("App", c.text));
    box.setDefaultButton(choices.first().button);
    for (const ButtonChoice& c : choices)
        if (choices.size() == 1 || c.answer == Answer::Cancel || c.answer == Answer::No)
            box.setEscapeButton(c.button);
    const auto clicked = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const ButtonChoice& c : choices)
        if (c.button == clicked)
            return c.answer;
    return answersYesOrNo(buttons) ? Answer::No : Answer::Cancel;
}

std::optional<QString> QtUserInterface::chooseSaveFile(const FileDialogRequest& request)
{
    return chooseFile(request, true);
}

std::optional<QString> QtUserInterface::chooseOpenFile(const FileDialogRequest& request)
{
    return chooseFile(request, false);
}

std::optional<QString> QtUserInterface::chooseFile(const FileDialogRequest& request, bool save)
{
    ArrowWhileAsking arrow(pointer_);
    QFileDialog dialog(dialogParent(), request.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || !request.mustExist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setNameFilters(qtNameFilters(request.filter));
    const QString directory = hostDirectoryOf(request.initialDirectory);
    if (!directory.isEmpty())
        dialog.setDirectory(directory);
    if (!request.fileName.isEmpty())
        dialog.selectFile(platform::namePart(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return pickedPath(dialog.selectedFiles().first());
}

std::optional<QString> QtUserInterface::chooseFolder(const QString& text, const QString& start)
{
    ArrowWhileAsking arrow(pointer_);
    return pickedPath(QFileDialog::getExistingDirectory(dialogParent(), text, hostDirectoryOf(start)));
}

void QtUserInterface::setPointer(Pointer pointer)
{
    if (pointer == pointer_)
        return;
    pointer_ = pointer;
    if (pointer == Pointer::Busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtUserInterface::beep() { QApplication::beep(); }

void QtUserInterface::openWithDesktop(const QString& hostPath)
{
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(hostPath)))
        QProcess::startDetached(QStringLiteral("xdg-open"), {hostPath});
}

}  // namespace quorbin::app
