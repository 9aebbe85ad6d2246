#include "platform/dirsearch.h"

#include "platform/files.h"
#include "platform/winpath.h"

#include <dirent.h>
#include <sys/stat.h>

namespace quorbin::platform {
namespace {

// Greedy matching with one backtrack point: linear in practice, whatever the pattern holds.
bool globMatches(QStringView pattern, QStringView name)
{
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

}  // namespace

bool wildcardMatches(const QString& pattern, const QString& name)
{
    if (pattern == u"*.*" || pattern == u"*")
        return true;
    const QString p = pattern.toCaseFolded();
    const QString n = name.toCaseFolded();
    if (globMatches(p, n))
        return true;
    // Windows lets a trailing ".*" match a name without an extension.
    return p.endsWith(u".*") && globMatches(QStringView(p).chopped(2), n);
}

QList<DirEntry> findEntries(const QString& pattern)
{
    const QString directory = directoryPart(pattern);
    const QString namePattern = namePart(pattern);
    const QByteArray hostDir = toHostPath(directory.isEmpty() ? QStringLiteral(".") : directory).toLocal8Bit();

    QList<DirEntry> entries;
    DIR* dir = opendir(hostDir.constData());
    if (!dir)
        return entries;
    while (const dirent* d = readdir(dir)) {
        const QString name = QString::fromLocal8Bit(d->d_name);
        if (name == u"." || name == u".." || !wildcardMatches(namePattern, name))
            continue;
        DirEntry e;
        e.name = name;
        e.hidden = name.startsWith(u'.');
        struct stat st {};
        const QByteArray full = hostDir + '/' + d->d_name;
        if (lstat(full.constData(), &st) == 0) {
            e.symlink = S_ISLNK(st.st_mode);
            e.directory = S_ISDIR(st.st_mode);
            e.readOnly = (st.st_mode & S_IWUSR) == 0;
        } else {
            e.directory = true;  // attributes unknown: searched as a directory, which yields nothing
        }
        entries << e;
    }
    closedir(dir);
    return entries;
}

}  // namespace quorbin::platform
