#pragma once
#include "config/settings.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace quorbin::cli {

struct Command {
    const char* name;
    const char* summary;
    const char* help;
    int (*run)(QStringList arguments);  // the arguments after the command's name
};

int runDecode(QStringList arguments);
int runFile(QStringList arguments);
int runSet(QStringList arguments);
int runVersions(QStringList arguments);
int runDir(QStringList arguments);
int runFtp(QStringList arguments);
int runVerify(QStringList arguments);
int runFind(QStringList arguments);

extern const char* const kDecodeHelp;
extern const char* const kFileHelp;
extern const char* const kSetHelp;
extern const char* const kVersionsHelp;
extern const char* const kDirHelp;
extern const char* const kFtpHelp;
extern const char* const kVerifyHelp;
extern const char* const kFindHelp;

// The backup set that a command-line argument names; nothing (and why, in error) when the
// file cannot be read.
std::optional<BackupSet> readSetArgument(const QString& argument, QString& error);

// The key by precedence: --key-file, else the set's key, else $QUORBIN_KEY.
std::optional<QString> keyFromOptions(const std::optional<QString>& keyFile, const std::optional<QString>& setFile,
                                      QString& error);

}  // namespace quorbin::cli
