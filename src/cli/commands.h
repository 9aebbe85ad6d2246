#pragma once
#include <QString>
#include <QStringList>

namespace quorbin::cli {

struct Command {
    const char* name;
    const char* summary;
    const char* help;
    int (*run)(QStringList arguments);  // the arguments after the command's name
};

int runDecode(QStringList arguments);
int runFile(QStringList arguments);

extern const char* const kDecodeHelp;
extern const char* const kFileHelp;

}  // namespace quorbin::cli
