#include "remote/certificatestore.h"

#include "platform/drivemap.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>
#include <mutex>
#include <utility>

namespace quorbin {
namespace {

const qsizetype kFingerprintBytes = 32;

// The connections of a tree restore log in side by side; one change at a time keeps the
// others' lines.
std::mutex storeLock;

QString keyOf(const QString& line)
{
    const qsizetype eq = line.indexOf(u'=');
    return eq > 0 ? line.left(eq).trimmed().toLower() : QString();
}

QStringList readLines()
{
    QFile file(CertificateStoreFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

}  // namespace

QString CertificateStoreFile()
{
    // Beside the drive map, wherever the user's settings are kept.
    return QFileInfo(platform::driveMapFile()).dir().filePath(QStringLiteral("zertifikate.conf"));
}

QString HostAndPort(const QString& host, int port)
{
    const QString name = host.trimmed().toLower();
    return (name.contains(u':') ? u'[' + name + u']' : name) + u':' + QString::number(port);
}

QString StoredCertificate(const QString& hostAndPort)
{
    const std::lock_guard guard(storeLock);
    for (const QString& line : readLines()) {
        if (!line.trimmed().startsWith(u'#') && keyOf(line) == hostAndPort)
            return NormalisedFingerprint(line.mid(line.indexOf(u'=') + 1));
    }
    return {};
}

bool StoreCertificate(const QString& hostAndPort, const QString& fingerprint, QString& error)
{
    const std::lock_guard guard(storeLock);
    QStringList lines = readLines();
    if (lines.isEmpty())
        lines << QStringLiteral("# Zertifikate der FTP-Server, denen quorbin vertraut: Host:Port=SHA-256-Fingerabdruck");
    // The entry keeps its place; one written twice by hand stands once from now on.
    QStringList kept;
    bool replaced = false;
    for (const QString& line : std::as_const(lines)) {
        if (line.trimmed().startsWith(u'#') || keyOf(line) != hostAndPort)
            kept << line;
        else if (!std::exchange(replaced, true))
            kept << hostAndPort + u'=' + fingerprint;
    }
    if (!replaced)
        kept << hostAndPort + u'=' + fingerprint;

    const QString path = CertificateStoreFile();
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        error = QCoreApplication::translate("Remote", "Ordner nicht anlegbar: %1").arg(folder);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write((kept.join(u'\n') + u'\n').toUtf8()) < 0 || !file.commit()) {
        error = file.errorString() + QStringLiteral(": ") + path;
        return false;
    }
    return true;
}

QString NormalisedFingerprint(const QString& text)
{
    QString hex = text.trimmed();
    hex.remove(u':');
    const QByteArray bytes = QByteArray::fromHex(hex.toLatin1());
    const bool allHex = std::all_of(hex.cbegin(), hex.cend(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c.toLower() >= u'a' && c.toLower() <= u'f');
    });
    if (!allHex || hex.size() != 2 * kFingerprintBytes || bytes.size() != kFingerprintBytes)
        return {};
    return QString::fromLatin1(bytes.toHex(':').toUpper());
}

}  // namespace quorbin
