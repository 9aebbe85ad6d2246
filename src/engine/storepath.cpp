#include "engine/storepath.h"

#include "platform/files.h"

namespace quorbin {
namespace {

const QChar kBlankMark(0x00AF);
const QChar kSkipMark(0x00A7);  // "§": dropped once from the decoded path

// The decoded path; `cut` tells whether the length limits dropped part of it.
QString decodeStorePath(const QString& storePath, bool* cut = nullptr)
{
    const qsizetype server = storePath.indexOf(QStringLiteral("$$"));
    const qsizetype drive = storePath.indexOf(u'$');
    QString whole;
    if (server >= 0) {
        whole = storePath.mid(server);
        whole.replace(0, 2, QStringLiteral("\\\\"));
    } else if (drive >= 0) {
        whole = storePath.mid(drive == 0 ? 0 : drive - 1);
        if (whole.size() >= 2)
            whole[1] = u':';
    }
    const QString r = whole.left(10000);
    const qsizetype mark = r.indexOf(kSkipMark);
    QString decoded = mark >= 0 ? r.left(mark) + r.mid(mark + 1, 1000) : r.left(1000);
    if (cut)
        *cut = decoded.size() + (mark >= 0 ? 1 : 0) != whole.size();
    return decoded;
}

}  // namespace

bool HasContainerExtension(const QString& path) { return platform::extensionPart(path) == u".nxz"; }

QString DecodeStoreFile(const QString& storePath)
{
    if (storePath.isEmpty())
        return {};
    QString r = decodeStorePath(storePath);
    if (HasContainerExtension(r))
        r.chop(kVersionSuffixLength);
    return r;
}

QString DecodeStoreDir(const QString& storePath) { return decodeStorePath(storePath); }

bool DecodesWhole(const QString& storePath)
{
    bool cut = false;
    decodeStorePath(storePath, &cut);
    return !cut;
}

QString StoreSetFolder(const QString& storePath)
{
    const qsizetype server = storePath.indexOf(QStringLiteral("$$"));
    const qsizetype drive = storePath.indexOf(u'$');
    const qsizetype level = server >= 0 ? server : drive - 1;
    if (drive < 0 || level <= 0)
        return storePath;
    return storePath.left(level);
}

QString RestoreBlanks(const QString& text)
{
    QString r = text;
    r.replace(kBlankMark, u' ');
    return r;
}

bool HasVersionSuffix(const QString& name)
{
    if (name.size() < kVersionSuffixLength || !name.endsWith(QStringLiteral(".nxz")))
        return false;
    const qsizetype at = name.size() - kVersionSuffixLength;
    if (name.at(at) != u'.')
        return false;
    for (qsizetype i = at + 1; i < at + 6; ++i)
        if (name.at(i) < u'0' || name.at(i) > u'9')
            return false;
    return true;
}

}  // namespace quorbin
