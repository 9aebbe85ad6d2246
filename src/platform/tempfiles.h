#pragma once
// The user's private temporary directory and uniquely named files in it.
#include <QString>
#include <optional>

namespace quorbin::platform {

// ${TMPDIR:-/tmp}/quorbin-<uid> as a Windows text ending in "\", created 0700. Nothing when it
// cannot be made, is a symlink, is no directory or belongs to someone else.
std::optional<QString> userTempDirectory();

// A new, empty file named prefix + hex number + ".tmp" in the temporary directory, created
// atomically without following symlinks. Nothing when that is impossible.
std::optional<QString> createTempFile(const QString& prefix);

}  // namespace quorbin::platform
