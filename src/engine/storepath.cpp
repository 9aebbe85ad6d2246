#include "engine/storepath.h"

#include "platform/files.h"

namespace quorbin {
namespace {

const QChar kBlankMark(0x00AF);
const QChar kSkipMark(0x00A7);  // "§": dropped once from the decoded path

QString decodeStorePath(const QString& storePath)
{
    const qsizetype server = storePath.indexOf(QStringLiteral("$$"));
    const qsizetype drive = storePath.indexOf(u'$');
    QString r;
    if (server >= 0) {
        r = storePath.mid(server, 10000);
        r.replace(0, 2, QStringLiteral("\\\\"));
    } else if (drive >= 0) {
        r = storePath.mid(drive == 0 ? 0 : drive - 1, 10000);
        if (r.size() >= 2)
            r[1] = u':';
    }
    const qsizetype mark = r.indexOf(kSkipMark);
    if (mark >= 0)
        return r.left(mark) + r.mid(mark + 1, 1000);
    return r.left(1000);
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

QString RestoreBlanks(const QString& text)
{
    QString r = text;
    r.replace(kBlankMark, u' ');
    return r;
}

}  // namespace quorbin
