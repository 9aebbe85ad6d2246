#pragma once
// What the harnesses share: one private directory per fuzzing process, with the drive map,
// the temporary directory and the Windows directory pointed into it (as the tests' sandbox
// does), and the way a harness reports a broken property.
#include <QByteArray>
#include <QMap>
#include <QString>

namespace quorbin::fuzz {

// Made on first use and removed when the process exits; laid out as the tests' sandbox
// (fixtures/sandboxenv.h): C:, D: and E: are its "c", "d" and "e", the drive map file lies
// in "config", the Windows directory is "windows", TMPDIR is "tmp".
const QString& sandboxRoot();
QString sandboxPath(const QString& relative);

void writeBytes(const QString& hostPath, const QByteArray& bytes);
QByteArray readBytes(const QString& hostPath);

// Every entry below a host directory (relative path → bytes; folders and links marked as
// such), for "nothing else changed" checks.
QMap<QString, QByteArray> snapshot(const QString& hostDirectory);

// Empties a host directory, keeping the directory itself.
void clearDirectory(const QString& hostDirectory);

// Prints what broke and aborts, so libFuzzer keeps the input.
[[noreturn]] void violated(const char* property, const QString& detail);

}  // namespace quorbin::fuzz
