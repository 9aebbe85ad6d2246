#pragma once
// Files that must not outlive an interrupted process (half-written targets, work files): a
// process that has to end before its jobs cleaned up removes the tracked ones first. The table
// takes no lock and allocates nothing while it is emptied.
#include <QString>

namespace quorbin::platform {

// How many files the table holds at once: more than a tree restore's workers ever write.
inline constexpr int kMaxScratchFiles = 128;

// Returns the file's place in the table, for untracking it; -1 when the table is full.
int trackScratchFile(const QString& hostPath);
// Each thread untracks only what it tracked, by its place: a path in the table is read by
// no one but the signal clean-up while it is tracked.
void untrackScratchFile(int place);

// Removes every tracked file; for a process that is about to end without its clean-up.
void removeTrackedScratchFiles();

}  // namespace quorbin::platform
