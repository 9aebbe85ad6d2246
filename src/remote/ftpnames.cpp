#include "remote/ftpnames.h"

#include "remote/ftpreplies.h"

namespace quorbin {
namespace {

// A directory as a key: "/a/" and "/a" are one directory.
QString keyOf(const QString& directory)
{
    QString key = directory;
    while (key.size() > 1 && key.endsWith(u'/'))
        key.chop(1);
    return key;
}

bool movesNowhere(const QString& step) { return step.isEmpty() || step == u"."; }

// The directory that a step leads to from `parent`, as the server would resolve it.
QString stepInto(const QString& parent, const QString& step)
{
    if (movesNowhere(step))
        return parent;
    if (step == u"..") {
        const qsizetype slash = parent.lastIndexOf(u'/');
        return slash < 0 ? QString() : slash == 0 ? QStringLiteral("/") : parent.left(slash);
    }
    if (parent.isEmpty())
        return step;
    return parent == u"/" ? parent + step : parent + u'/' + step;
}

}  // namespace

void FtpNames::reset(bool utf8Announced)
{
    utf8_ = utf8Announced;
    known_.clear();
}

void FtpNames::learn(const QString& directory, const QList<FtpListEntry>& entries)
{
    QHash<QString, QByteArray>& names = known_[keyOf(directory)];
    for (const FtpListEntry& entry : entries) {
        if (!movesNowhere(entry.name) && entry.name != u"..")
            names.insert(entry.name, entry.rawName);
    }
}

QString FtpNames::learnPath(const QByteArray& path)
{
    QString parent = path.startsWith('/') ? QStringLiteral("/") : QString();
    QStringList texts;
    for (const QByteArray& bytes : path.split('/')) {
        const QString step = DecodeServerText(bytes);
        if (!movesNowhere(step) && step != u"..")
            known_[parent].insert(step, bytes);
        texts << step;
        parent = stepInto(parent, step);
    }
    return texts.join(u'/');
}

QByteArray FtpNames::spell(const QString& path, const QString& from) const
{
    QString parent = path.startsWith(u'/') ? QStringLiteral("/") : keyOf(from);
    QByteArrayList spelt;
    for (const QString& step : path.split(u'/')) {
        if (movesNowhere(step) || step == u"..") {
            spelt << step.toLatin1();
        } else {
            const auto names = known_.constFind(parent);
            const bool listed = names != known_.cend() && names->contains(step);
            spelt << (listed ? names->value(step) : spellUnknown(step));
        }
        parent = stepInto(parent, step);
    }
    return spelt.join('/');
}

QByteArray FtpNames::spellUnknown(const QString& name) const
{
    return utf8_ ? name.toUtf8() : name.toLatin1();  // toLatin1 writes "?" for the rest
}

}  // namespace quorbin
