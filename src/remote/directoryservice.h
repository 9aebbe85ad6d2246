#pragma once
// The directory service beside the FTP server: asked before the login to prepare the zipped
// listing "Aktdir.zip" of the store directory.
#include "remote/ftpsettings.h"
#include "platform/reporter.h"

#include <stop_token>

namespace quorbin {

// Runs the exchange when the settings ask for the service; true when it ended with "fertig".
// Never fails: every problem reads as "not reachable", and so does a stop request, which ends
// the exchange within moments.
bool QueryDirectoryService(const FtpSettings& settings, StatusSink& status, LogSink& log,
                           std::stop_token stop = {});

}  // namespace quorbin
