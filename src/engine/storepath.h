#pragma once
// Store paths: where in the store a file lies tells where it came from.
#include <QString>

namespace quorbin {

// The original path of a stored file, without its version suffix; empty when the store path
// has no drive or server level ("X$" or "$$server").
QString DecodeStoreFile(const QString& storePath);

// The original path of a store directory; any extension stays.
QString DecodeStoreDir(const QString& storePath);

// False when the decoders' length limits cut part of the path off: the shortened path could
// name a different file.
bool DecodesWhole(const QString& storePath);

// Every blank mark "¯" back to a blank.
QString RestoreBlanks(const QString& text);

// The folder of a store path that holds its drive and server levels ("D:\\Store\\Set1" of
// "D:\\Store\\Set1\\C$\\Docs"); the path itself when it has no such level.
QString StoreSetFolder(const QString& storePath);

// Stored-file names.
inline constexpr int kVersionSuffixLength = 10;  // ".00001.nxz"
// The suffix of a file's first version, through which the walk restores the file.
inline const QString kFirstVersionSuffix = QStringLiteral(".00001.nxz");
bool HasContainerExtension(const QString& path);  // exactly ".nxz"
// "." + five digits + ".nxz" at the end of the name or path.
bool HasVersionSuffix(const QString& name);

}  // namespace quorbin
