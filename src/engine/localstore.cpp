#include "engine/restore.h"
#include "engine/storeaccess.h"
#include "engine/tzip.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <QCoreApplication>

namespace quorbin {
namespace {

// Every name of the directory; a drive ("X:") takes the pattern without a separator.
QString searchPattern(const QString& directory)
{
    return directory.endsWith(u':') ? directory + "*.*" : directory + "\\*.*";
}

class LocalStore : public StoreAccess {
public:
    JobResult list(const QString& directory, QList<platform::DirEntry>& entries) override
    {
        platform::DirListing listing = platform::listEntries(searchPattern(directory));
        entries = std::move(listing.entries);
        if (listing.error == 0)
            return JobResult::success();
        return JobResult::failure(ErrorKind::SourceUnreadable,
                                  QCoreApplication::translate("Engine", "Verzeichnis nicht lesbar: %1")
                                      .arg(platform::systemReason(listing.error)),
                                  platform::hostPathOf(directory));
    }

    JobResult restore(const QString& versionPath, const QString& target, const QString& key, const QDateTime& stamp,
                      const JobContext& context) override
    {
        return RestoreStoredTo(versionPath, target, key, stamp, context);
    }

    JobResult verify(const QString& versionPath, const QString& key, const JobContext& context) override
    {
        return VerifyContainer(versionPath, key, context);
    }

    JobResult copyPlain(const QString& source, const QString& target, const JobContext& context) override
    {
        return CopyUnchanged(source, target, context);
    }
};

}  // namespace

StoreAccess& localStore()
{
    static LocalStore store;
    return store;
}

}  // namespace quorbin
