#include "engine/tempfiles.h"

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/tempfiles.h"
#include "platform/userinterface.h"
#include "platform/winpath.h"

#include <QCoreApplication>

namespace quorbin {

QString TempDirectory()
{
    if (const auto dir = platform::userTempDirectory())
        return *dir;
    ui().showMessage(QCoreApplication::translate("Engine", "Kann Pfad zu den temporären Dateien nicht finden"),
                     QString());
    return QStringLiteral("c:\\");
}

QString NewWorkFileName()
{
    if (const auto path = platform::createTempFile(QStringLiteral("~tm")))
        return *path;
    throw IoError(QCoreApplication::translate("Engine", "Kann keine temporäre Arbeitsdatei anlegen"));
}

QString TempOpenFileName(const QString& userFileName)
{
    return TempDirectory() + QStringLiteral("§tmp") + platform::extensionPart(userFileName);
}

void ShellOpenFile(const QString& file, const QString&, const QString&, int) { platform::shellOpen(file); }

}  // namespace quorbin
