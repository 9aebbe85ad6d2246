#pragma once
// The directory service beside the FTP server: asked before the login to prepare the zipped
// listing "Aktdir.zip" of the store directory.
#include "remote/ftpsettings.h"
#include "platform/reporter.h"

namespace quorbin {

// Runs the exchange when the settings ask for the service; true when it ended with "fertig".
// Never fails: every problem reads as "not reachable".
bool QueryDirectoryService(const FtpSettings& settings, StatusSink& status, LogSink& log);

}  // namespace quorbin
