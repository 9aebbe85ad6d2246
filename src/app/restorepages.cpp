// What the two restore pages do at start-up and when a set is loaded.
#include "app/directorylist.h"
#include "app/dirrestorepage.h"
#include "app/filelist.h"
#include "app/filerestorepage.h"
#include "app/tquorbin.h"

#include <QDate>
#include <QDateEdit>
#include <QLineEdit>
#include <QRegularExpression>

namespace quorbin::app {

void Tquorbin::pointDirectoryListsAt(const QString& directory)
{
    storeDirectory_ = directory;
    filePage->qdir->setDirectory(directory);
    dirPage->zdlbdir->setDirectory(directory);
}

void Tquorbin::prepareRestorePages()
{
    // The file list stays at "c:\" until the directory list moves again.
    filePage->qfile->setDirectory(QStringLiteral("c:\\"));
    QString shortDate = FormatSettings.dateFormat(QLocale::ShortFormat);
    shortDate.replace(QRegularExpression(QStringLiteral("y+")), QStringLiteral("yy"));
    dirPage->Erldat->setDisplayFormat(shortDate);
    dirPage->Erldat->setDate(QDate::currentDate());
    dirPage->Erltime->setText(QStringLiteral("23:59"));
}

}  // namespace quorbin::app
