#pragma once
// Files that must not outlive an interrupted process (half-written targets, work files):
// while tracked, a SIGINT, SIGTERM or SIGHUP removes them before the process ends.
#include <QString>

namespace quorbin::platform {

void trackScratchFile(const QString& hostPath);
void untrackScratchFile(const QString& hostPath);

// Installs the signal handlers; the command line calls it once. The windows end through
// their own session handling instead.
void removeScratchFilesOnSignals();

}  // namespace quorbin::platform
