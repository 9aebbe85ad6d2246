#pragma once
// Files that must not outlive an interrupted process (half-written targets, work files): a
// process that has to end before its jobs cleaned up removes the tracked ones first. The table
// takes no lock and allocates nothing while it is emptied.
#include <QString>

namespace quorbin::platform {

void trackScratchFile(const QString& hostPath);
void untrackScratchFile(const QString& hostPath);

// Removes every tracked file; for a process that is about to end without its clean-up.
void removeTrackedScratchFiles();

}  // namespace quorbin::platform
