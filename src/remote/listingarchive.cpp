#include "remote/listingarchive.h"

#include "config/ansitext.h"
#include "remote/ftperror.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>

namespace quorbin {
namespace {

// The listing file as the service writes it; Windows file systems do not tell the two names
// apart, so both are tried here, the lower-case one first.
const QString kListingName = QStringLiteral("aktdir.txt");
const QString kOldListingName = QStringLiteral("Aktdir.txt");

QStringList readListing(const QString& tempDirectory)
{
    QString path = tempDirectory + kListingName;
    if (!platform::fileExists(path) && platform::fileExists(tempDirectory + kOldListingName))
        path = tempDirectory + kOldListingName;
    QFile file(platform::toHostPath(path));
    if (!file.open(QIODevice::ReadOnly))
        throw IoError(QCoreApplication::translate("Remote", "Datei %1 kann nicht geöffnet werden. %2")
                          .arg(path, file.errorString()));
    QString text = config::decodeIniBytes(file.readAll());
    if (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(text.endsWith(QStringLiteral("\r\n")) ? 2 : 1);
    if (text.isEmpty())
        return {};
    return text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
}

// The store directory as one file name of the temporary directory: a set's "verzeichnis" such
// as "..\\..\\home\\x" must not steer the deletes and the download elsewhere.
}  // namespace

QString LocalListingName(const QString& storeDirectory)
{
    // Plain character work: a regular expression matches nothing in a text with a lone
    // surrogate, and the separators would stay.
    QString name = storeDirectory;
    for (QChar& c : name)
        if (c == u'\\' || c == u'/' || c == u':')
            c = u'_';
    return name.isEmpty() || name == u"." || name == u".." ? QStringLiteral("Aktdir") : name;
}

void LoadListingArchive(FtpSession& session, const QString& tempDirectory, const QString& storeDirectory,
                        StatusSink& status, LogSink& log)
{
    status.setStatus(QCoreApplication::translate("Remote", "Lade Verzeichnis "));
    log.appendLine(QCoreApplication::translate("Remote", "Lade Verzeichnis von %1").arg(storeDirectory));
    if (session.client.Busy())
        return;  // another operation runs; its files are not ours to delete
    const QString localName = LocalListingName(storeDirectory);
    const QString zip = tempDirectory + localName + QStringLiteral(".zip");
    // The download refuses to overwrite, so old copies go first.
    for (const QString& old : {zip, tempDirectory + kOldListingName, tempDirectory + kListingName,
                               tempDirectory + localName + QStringLiteral(".txt")})
        platform::removeFile(old);
    // A missing archive shows as a missing listing file below.
    PassOverFailure([&] { session.client.Get(storeDirectory + QStringLiteral("/Aktdir.zip"), zip); });
    status.setStatus(QCoreApplication::translate("Remote", "Verzeichnis entpacken"));
    UnpackArchive(zip, tempDirectory);
    session.mv = readListing(tempDirectory);
    log.appendLine(QCoreApplication::translate("Remote", "Verzeichnis von %1 geladen").arg(storeDirectory));
}

}  // namespace quorbin
