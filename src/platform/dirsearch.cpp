#include "platform/dirsearch.h"

#include "platform/files.h"
#include "platform/hostnames.h"
#include "platform/winpath.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
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

DirListing listEntries(const QString& pattern)
{
    const QString directory = directoryPart(pattern);
    const QString namePattern = namePart(pattern);
    const QString hostDir = toHostPath(directory.isEmpty() ? QStringLiteral(".") : directory);
    const QByteArray hostDirBytes = hostBytes(hostDir);

    DirListing listing;
    DIR* dir = opendir(hostDirBytes.constData());
    if (!dir) {
        listing.error = errno;
        return listing;
    }
    for (;;) {
        errno = 0;  // readdir tells the end and a failure apart only by it
        const dirent* d = readdir(dir);
        if (!d)
            break;
        const QByteArray raw(d->d_name);
        if (raw == "." || raw == "..")
            continue;
        const EntryName name = decodeEntryName(hostDir, raw);
        if (!wildcardMatches(namePattern, name.text))
            continue;
        DirEntry e;
        e.name = name.text;
        e.ambiguousName = name.ambiguous;
        e.hidden = name.text.startsWith(u'.');
        struct stat st {};
        // By the open directory: no path to resolve again for every entry.
        if (fstatat(dirfd(dir), d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
            e.symlink = S_ISLNK(st.st_mode);
            e.directory = S_ISDIR(st.st_mode);
            e.readOnly = (st.st_mode & S_IWUSR) == 0;
            if (S_ISREG(st.st_mode)) {
                e.size = qint64(st.st_size);
                e.lastWriteSeconds = qint64(st.st_mtim.tv_sec);
            }
        } else {
            e.directory = true;  // attributes unknown: searched as a directory, which then fails
        }
        listing.entries << e;
    }
    if (errno != 0)
        listing.error = errno;  // the listing broke off
    closedir(dir);
    return listing;
}

QList<DirEntry> findEntries(const QString& pattern) { return listEntries(pattern).entries; }

}  // namespace quorbin::platform
