#include "engine/restore.h"

#include "engine/keycipher.h"
#include "engine/storepath.h"
#include "engine/tempfiles.h"
#include "engine/tzip.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/replacefile.h"
#include "platform/userinterface.h"
#include "platform/winpath.h"

#include <QFile>

#include <memory>

namespace quorbin {
namespace {

// Absolute target with its folders made; false when the folders cannot be made.
bool prepareTarget(const QString& target, QString& full)
{
    full = platform::absolutePath(target);
    return platform::createFolders(platform::directoryPart(full));
}

// Whether the existing target may be replaced under the overwrite mode.
bool mayReplace(const QString& existing, int mode)
{
    if (!platform::fileExists(existing))
        return true;
    if (mode == kSkipExisting)
        return false;
    if (mode == kAskBeforeReplacing)
        return ui().ask(existing, QStringLiteral("überschreiben?"), Buttons::YesNo) == Answer::Yes;
    return true;
}

// ExpandToFile's steps, deciphering the container as it is read when a key is given.
int expandToTarget(const QString& source, const QString& target, int mode, const QString& key)
{
    QString full;
    if (!prepareTarget(target, full))
        return -1;
    if (!mayReplace(full, mode) || platform::isSameFile(source, full))
        return -1;
    try {
        const int result = key.isEmpty() ? Zip().Expand(source, full) : Zip().ExpandDeciphered(source, full, key);
        return result == 0 ? 0 : -1;
    } catch (const IoError&) {
        return -1;
    }
}

}  // namespace

int RestoreStoredFile(const QString& source, const QString& target, const QString& key, StatusSink& status,
                      const QString& dateText)
{
    BusyPointer busy;
    const QString userTarget = RestoreBlanks(target);
    if (platform::isSameFile(source, userTarget))
        return -1;  // the store's own file is never a target
    int result = 0;
    if (key.isEmpty()) {
        if (ExpandToFile(source, userTarget, kReplaceExisting) != 0)
            result = -1;
    } else {
        // Deciphered as it is read: no deciphered copy of the stored file has to be written
        // to the temporary directory first, which a large file might not even fit into.
        status.setStatus(QStringLiteral("entschlüsseln: ") + source);
        pumpEvents();
        if (expandToTarget(source, userTarget, kReplaceExisting, key) != 0)
            result = -1;
    }
    // A failed restore left the old target in place; its time stays as well.
    if (result == 0 && !dateText.isEmpty())
        SetFileDateFromText(userTarget, dateText);
    return result;
}

int ExpandToFile(const QString& source, const QString& target, int mode)
{
    return expandToTarget(source, target, mode, QString());
}

int CopyOrExpand(const QString& source, const QString& target, bool copyOnly, int mode)
{
    QString full;
    prepareTarget(target, full);
    const QString checkName = full.endsWith(u'_') ? full.chopped(1) : full;
    if (!mayReplace(checkName, mode))
        return 0;
    if (!platform::fileExists(source))
        return 2;
    if (platform::isSameFile(source, full))
        return 1;  // a copy onto itself would empty the store's file
    if (source.endsWith(u'_') && !copyOnly)
        return Zip().Expand(source, full.chopped(1));
    return CopyPlainFile(source, full) == 0 ? 0 : 1;
}

int CopyPlainFile(const QString& source, const QString& target)
{
    QFile in(platform::toHostPath(source));
    if (!platform::fileExists(source) || !in.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return -1;
    platform::ReplacementFile out(target);
    if (!out.isOpen())
        return -1;
    constexpr qint64 kBuffer = 1 << 20;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBuffer);
    for (;;) {
        const qint64 got = in.read(buffer.get(), kBuffer);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        if (out.file().write(buffer.get(), got) != got)
            return -1;
    }
    if (!out.commit())
        return -1;
    // Like the store's platform, a copy keeps the source's last-write time.
    if (const auto time = platform::lastWriteTime(source))
        platform::setLastWriteTime(target, *time);
    return 0;
}

}  // namespace quorbin
