#pragma once
// Turning one stored file back into a user file, and the small file services that every
// restore shares. A failure never destroys an existing target: new content is written beside
// it and put in its place only when complete.
#include "platform/reporter.h"

#include <QString>

namespace quorbin {

// Overwrite modes of ExpandToFile and CopyOrExpand; any other value replaces without a check.
inline constexpr int kSkipExisting = 1;
inline constexpr int kAskBeforeReplacing = 2;
inline constexpr int kReplaceExisting = -1;

// 0 restored; -1 not (missing or damaged source, wrong key, target not writable).
int RestoreStoredFile(const QString& source, const QString& target, const QString& key, StatusSink& status,
                      const QString& dateText);

// 0 expanded; -1 skipped, target folders failed, or the expansion failed.
int ExpandToFile(const QString& source, const QString& target, int mode);

// Copies a store entry, or expands it when its name ends in "_" and copyOnly is false.
// 0 done or skipped; -1 expansion failed; 1 target not created or copy failed; 2 source
// cannot be opened.
int CopyOrExpand(const QString& source, const QString& target, bool copyOnly, int mode);

// 0 copied (content and last-write time), -1 failed.
int CopyPlainFile(const QString& source, const QString& target);

}  // namespace quorbin
