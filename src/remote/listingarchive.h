#pragma once
// The zipped listing that the directory service leaves on the server.
#include "remote/ftpsession.h"
#include "platform/reporter.h"

#include <QString>
#include <QStringList>

namespace quorbin {

struct UnpackResult {
    int extracted = 0;
    QStringList refused;  // members left out: outside the target, links, or not writable
};

// Extracts every member into the target directory (Windows texts), keeping member paths.
// Members with absolute names, "..", links, or a link on the way are refused; nothing fails.
UnpackResult UnpackArchive(const QString& zipFile, const QString& targetDirectory);

// The name the listing of a store directory gets in the temporary directory: path
// characters become "_", so it never leaves that directory.
QString LocalListingName(const QString& storeDirectory);

// Fetches storeDirectory + "/Aktdir.zip" into the temporary directory, unpacks it there and
// loads "aktdir.txt" into session.mv. Throws IoError when the listing file cannot be read, and
// FtpError when the client's stop token ends the download.
void LoadListingArchive(FtpSession& session, const QString& tempDirectory, const QString& storeDirectory,
                        StatusSink& status, LogSink& log);

}  // namespace quorbin
