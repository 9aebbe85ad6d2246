// Store-path decoding and the drive map. Input: a Windows path text (UTF-8), optionally a NUL
// and then the drive map file's bytes.
//
// Properties: a mapped host path never leaves the folder of its drive or share (relative
// texts: that of the current directory's drive) and holds no "." or ".." step; it reads back
// as a Windows text that maps to it again; the map file's mappings are normalised and survive
// being written and read again.
#include "engine/storepath.h"
#include "platform/drivemap.h"
#include "platform/winpath.h"
#include "sandbox.h"

#include <QDir>

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace quorbin;
using namespace quorbin::platform;
using quorbin::fuzz::sandboxPath;
using quorbin::fuzz::violated;

namespace {

bool isSeparator(QChar c) { return c == u'\\' || c == u'/'; }

// The folders a Windows text may land in, by the map as documented (QUORBIN_DRIVES names C:,
// D: and E:, the file the rest, Z: is "/", every other letter its own folder below the data
// directory, shares below "unc" unless mapped).
QStringList allowedRoots(const QString& text, const QList<DriveMapping>& map)
{
    if (text.size() >= 2 && isSeparator(text.at(0)) && isSeparator(text.at(1))) {
        QStringList roots{sandboxPath("data/quorbin/unc")};
        for (const DriveMapping& m : map)
            if (m.name.startsWith(u'\\'))
                roots << m.hostFolder;
        return roots;
    }
    if (text.size() >= 2 && text.at(1) == u':' && text.at(0).unicode() < 0x80 && text.at(0).isLetter()) {
        const QChar letter = text.at(0).toUpper();
        if (letter == u'C' || letter == u'D' || letter == u'E')
            return {sandboxPath(QString(letter.toLower()))};
        for (const DriveMapping& m : map)
            if (m.name == QString(letter) + u':')
                return {m.hostFolder};
        if (letter == u'Z')
            return {QStringLiteral("/")};
        return {sandboxPath("data/quorbin/drives/" + QString(letter.toLower()))};
    }
    return allowedRoots(currentWindowsDirectory(), map);
}

bool cleanBelow(const QString& host, const QString& root)
{
    QString rest;
    if (root == u"/") {
        if (!host.startsWith(u'/'))
            return false;
        rest = host.mid(1);
    } else if (host == root) {
        return true;
    } else if (host.startsWith(root + u'/')) {
        rest = host.mid(root.size() + 1);
    } else {
        return false;
    }
    if (rest.isEmpty())
        return true;
    const QStringList steps = rest.split(u'/');
    return !steps.contains(QString()) && !steps.contains(u".") && !steps.contains(u"..");
}

void checkMapped(const QString& text, const QList<DriveMapping>& map)
{
    const QString host = toHostPath(text);
    const QStringList roots = allowedRoots(text, map);
    if (std::none_of(roots.begin(), roots.end(), [&](const QString& root) { return cleanBelow(host, root); }))
        violated("a mapped path stays below its root",
                 "text: " + text + "\nhost: " + host + "\nroots: " + roots.join(u" | "));
    const QString back = toWindowsPath(host);
    if (!back.isEmpty() && toHostPath(back) != host)
        violated("a host path reads back as a text that maps to it",
                 "text: " + text + "\nhost: " + host + "\nback: " + back + "\nagain: " + toHostPath(back));
}

QList<DriveMapping> loadMap(const QByteArray& fileBytes)
{
    // Writing the map syncs it to the disk: only a changed map is written.
    static QByteArray lastBytes("\0", 1);
    static QList<DriveMapping> lastMap;
    if (fileBytes == lastBytes)
        return lastMap;
    lastBytes = fileBytes;
    fuzz::writeBytes(driveMapFile(), fileBytes);
    const QList<DriveMapping> map = readDriveMap();
    for (const DriveMapping& m : map) {
        if (normalisedDriveName(m.name) != m.name || !m.hostFolder.startsWith(u'/') ||
            QDir::cleanPath(m.hostFolder) != m.hostFolder)
            violated("mappings read are normalised", m.name + u'=' + m.hostFolder);
    }
    QString error;
    if (!writeDriveMap(map, error))  // also makes the path conversions read the map again
        violated("the drive map can be written", error);
    if (readDriveMap() != map)
        violated("the drive map reads back as written", QString::fromUtf8(fuzz::readBytes(driveMapFile())));
    lastMap = map;
    return map;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Relative texts count from a folder of C:, so they must stay on C:.
    QDir().mkpath(sandboxPath("c/work/sub"));
    QDir::setCurrent(sandboxPath("c/work/sub"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype nul = input.indexOf('\0');
    const QString text = QString::fromUtf8(nul < 0 ? input : input.left(nul));
    const QList<DriveMapping> map = loadMap(nul < 0 ? QByteArray() : input.mid(nul + 1));

    checkMapped(text, map);
    for (const QString& derived : {DecodeStoreFile(text), DecodeStoreDir(text), StoreSetFolder(text)})
        if (!derived.isEmpty())
            checkMapped(derived, map);
    (void)DecodesWhole(text);
    (void)RestoreBlanks(text);
    (void)HasVersionSuffix(text);
    (void)HasContainerExtension(text);
    (void)normalisedDriveName(text);
    (void)isAbsoluteWindowsPath(text);
    (void)looksLikeWindowsPath(text);
    (void)onWholeHostDrive(text);
    return 0;
}
