#include "platform/winpath.h"

#include "platform/drivemap.h"

#include <QDir>
#include <QStringList>
#include <QtGlobal>

namespace quorbin::platform {
namespace {

QString dataHome()
{
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (home.isEmpty())
        home = QDir::homePath() + "/.local/share";
    return QDir::cleanPath(home);
}

QString quorbinDataDir() { return dataHome() + "/quorbin"; }
QString uncRoot() { return quorbinDataDir() + "/unc"; }

bool isSeparator(QChar c) { return c == u'\\' || c == u'/'; }

bool isDriveLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// The roots that QUORBIN_DRIVES gives, by upper-case letter. Read again only when the
// variable's text changed: every path a walk touches is converted.
struct DriveOverrides {
    QByteArray text;
    QString roots[26];
};

QString overriddenRoot(QChar letter)
{
    thread_local DriveOverrides cache{QByteArray("\0", 1), {}};
    const QByteArray text = qgetenv("QUORBIN_DRIVES");
    if (text != cache.text) {
        cache = DriveOverrides{text, {}};
        for (const QString& item : QString::fromLocal8Bit(text).split(u';', Qt::SkipEmptyParts)) {
            const qsizetype eq = item.indexOf(u'=');
            if (eq != 1 || !isDriveLetter(item.at(0)))
                continue;
            QString& root = cache.roots[item.at(0).toUpper().unicode() - u'A'];
            if (root.isEmpty())  // the first mention of a letter counts
                root = QDir::cleanPath(item.mid(2).trimmed());
        }
    }
    return isDriveLetter(letter) ? cache.roots[letter.toUpper().unicode() - u'A'] : QString();
}

// The map of the settings file, read again when this process changed it or the file's place
// moved (XDG_CONFIG_HOME).
struct FileMap {
    int generation = -1;
    QString file;
    QString roots[26];
    QList<DriveMapping> shares;
};

const FileMap& fileMap()
{
    thread_local FileMap cache;
    // The file's place is worked out again only when the variables it comes from changed.
    thread_local QByteArray placeText("\0", 1);
    thread_local QString file;
    if (const QByteArray text = qgetenv("XDG_CONFIG_HOME") + '\0' + qgetenv("HOME"); text != placeText) {
        placeText = text;
        file = driveMapFile();
    }
    if (cache.generation != driveMapGeneration() || cache.file != file) {
        cache = FileMap{driveMapGeneration(), file, {}, {}};
        for (const DriveMapping& m : readDriveMap()) {
            if (m.name.startsWith(u'\\'))
                cache.shares << m;
            else if (cache.roots[m.name.at(0).unicode() - u'A'].isEmpty())
                cache.roots[m.name.at(0).unicode() - u'A'] = m.hostFolder;
        }
    }
    return cache;
}

// The root the user chose for the letter: QUORBIN_DRIVES, else the settings file.
QString userRoot(QChar letter)
{
    QString overridden = overriddenRoot(letter);
    if (!overridden.isEmpty() || !isDriveLetter(letter))
        return overridden;
    return fileMap().roots[letter.toUpper().unicode() - u'A'];
}

// The folder of a mapped share, or nothing.
QString shareRoot(const QString& server, const QString& share)
{
    const QString name = "\\\\" + server + u'\\' + share;
    for (const DriveMapping& m : fileMap().shares)
        if (m.name.compare(name, Qt::CaseInsensitive) == 0)
            return m.hostFolder;
    return {};
}

QString driveRoot(QChar letter)
{
    QString chosen = userRoot(letter);
    if (!chosen.isEmpty())
        return chosen;
    if (letter.toUpper() == u'Z')
        return QStringLiteral("/");
    return quorbinDataDir() + "/drives/" + letter.toLower();
}

// Resolves "." and ".." by name; ".." at the root stays at the root.
QStringList normalisedSegments(const QStringList& segments)
{
    QStringList out;
    for (const QString& s : segments) {
        if (s.isEmpty() || s == u".")
            continue;
        if (s == u"..") {
            if (!out.isEmpty())
                out.removeLast();
            continue;
        }
        out << s;
    }
    return out;
}

QStringList splitSegments(QStringView text)
{
    QStringList parts;
    QString current;
    for (QChar c : text) {
        if (isSeparator(c)) {
            parts << current;
            current.clear();
        } else {
            current += c;
        }
    }
    parts << current;
    return parts;
}

QString joinHost(const QString& root, const QStringList& segments)
{
    if (segments.isEmpty())
        return root;
    return (root.endsWith(u'/') ? root : root + u'/') + segments.join(u'/');
}

bool hostPathIsBelow(const QString& path, const QString& root)
{
    if (root == u"/")
        return true;
    return path == root || path.startsWith(root + u'/');
}

}  // namespace

bool isAbsoluteWindowsPath(const QString& text)
{
    const auto separator = [](QChar c) { return c == u'\\' || c == u'/'; };
    if (text.size() >= 3 && text.at(0).isLetter() && text.at(0).unicode() < 0x80 && text.at(1) == u':' &&
        separator(text.at(2)))
        return true;
    if (text.size() < 5 || !separator(text.at(0)) || !separator(text.at(1)))
        return false;
    // A server and a share, both named.
    const qsizetype shareStart = text.indexOf(u'\\', 2);
    return shareStart > 2 && shareStart + 1 < text.size() && !separator(text.at(shareStart + 1));
}

bool looksLikeWindowsPath(const QString& text)
{
    if (text.size() >= 2 && isDriveLetter(text.at(0)) && text.at(1) == u':')
        return true;
    return text.size() >= 2 && isSeparator(text.at(0)) && isSeparator(text.at(1));
}

QString currentWindowsDirectory() { return toWindowsPath(QDir::currentPath()); }

QString toHostPath(const QString& windowsPath)
{
    const QString& p = windowsPath;
    if (p.size() >= 2 && isSeparator(p.at(0)) && isSeparator(p.at(1))) {
        // \\server\share\rest: server and share are fixed levels, ".." stops at the share. A "."
        // or ".." where the server or share belongs names neither and is passed over, so that
        // "\\..\nas\daten" is the share \\nas\daten, mapped as the user chose.
        QStringList segments = splitSegments(QStringView(p).mid(2));
        segments.removeAll(QString());
        QStringList cleanHead;
        qsizetype headEnd = 0;
        for (; headEnd < segments.size() && cleanHead.size() < 2; ++headEnd)
            if (segments.at(headEnd) != u"." && segments.at(headEnd) != u"..")
                cleanHead << segments.at(headEnd);
        const QStringList tail = normalisedSegments(segments.mid(headEnd));
        if (cleanHead.size() == 2)
            if (const QString mapped = shareRoot(cleanHead.at(0), cleanHead.at(1)); !mapped.isEmpty())
                return joinHost(mapped, tail);
        return joinHost(uncRoot(), cleanHead + tail);
    }
    if (p.size() >= 2 && isDriveLetter(p.at(0)) && p.at(1) == u':')
        return joinHost(driveRoot(p.at(0)), normalisedSegments(splitSegments(QStringView(p).mid(2))));
    const QString current = currentWindowsDirectory();
    if (current.isEmpty()) {
        // The working directory lies on no drive: a relative text is taken against it as it is.
        QString relative = p;
        relative.replace(u'\\', u'/');
        return QDir::cleanPath(QDir::currentPath() + u'/' + relative);
    }
    if (!p.isEmpty() && isSeparator(p.at(0))) {
        if (current.startsWith(u"\\\\")) {
            const QStringList s = splitSegments(QStringView(current).mid(2));
            return toHostPath("\\\\" + s.mid(0, 2).join(u'\\') + p);
        }
        return toHostPath(current.left(2) + p);
    }
    return toHostPath(current + u'\\' + p);
}

QString toWindowsPath(const QString& hostPath)
{
    const QString path = QDir::cleanPath(QDir(QDir::currentPath()).absoluteFilePath(hostPath));
    QString bestRoot;
    QString bestPrefix;
    auto consider = [&](const QString& root, const QString& prefix) {
        if (hostPathIsBelow(path, root) && root.size() > bestRoot.size()) {
            bestRoot = root;
            bestPrefix = prefix;
        }
    };
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        consider(driveRoot(QChar(letter)), QString(QChar(letter)) + u':');
    consider(uncRoot(), QStringLiteral("\\"));
    for (const DriveMapping& share : fileMap().shares)
        consider(share.hostFolder, share.name);
    if (bestRoot.isEmpty())
        return {};
    if (bestPrefix.startsWith(u"\\\\")) {  // a mapped share
        QString rest = path.mid(bestRoot.size() + 1);
        rest.replace(u'/', u'\\');
        return rest.isEmpty() ? bestPrefix : bestPrefix + u'\\' + rest;
    }

    QString rest = bestRoot == u"/" ? path.mid(1) : path.mid(bestRoot.size() + 1);
    rest.replace(u'/', u'\\');
    if (bestPrefix == u"\\")
        return QStringLiteral("\\\\") + rest;
    return bestPrefix + u'\\' + rest;
}

QString windowsDirectory()
{
    QString dir = qEnvironmentVariable("QUORBIN_WINDIR");
    if (dir.isEmpty()) {
        QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        if (config.isEmpty())
            config = QDir::homePath() + "/.config";
        dir = config + "/quorbin";
    }
    return toWindowsPath(dir);
}

bool onWholeHostDrive(const QString& windowsPath)
{
    if (windowsPath.size() < 2 || !isDriveLetter(windowsPath.at(0)) || windowsPath.at(1) != u':')
        return false;
    const QChar letter = windowsPath.at(0);
    return userRoot(letter).isEmpty() && driveRoot(letter) == u"/";
}

QList<QChar> knownDriveLetters()
{
    QList<QChar> letters;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const QChar c(letter);
        if (c == u'Z' || !userRoot(c).isEmpty() || QDir(driveRoot(c)).exists())
            letters << c;
    }
    return letters;
}

}  // namespace quorbin::platform
