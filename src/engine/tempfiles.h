#pragma once
// Temporary names and the desktop's "open" for the restore commands.
#include <QString>

namespace quorbin {

// The user's temporary directory, ending in "\". When there is none usable, tells the user
// "Kann Pfad zu den temporären Dateien nicht finden" and answers "c:\".
QString TempDirectory();

// A new, empty work file "~tm….tmp" in the temporary directory. Throws IoError when none
// can be made.
QString NewWorkFileName();

// The temporary open file of a user file name: "§tmp" + its extension.
QString TempOpenFileName(const QString& userFileName);

// Asks the desktop to open the file. The other arguments are kept for the callers' sake;
// the desktop decides the window.
void ShellOpenFile(const QString& file, const QString& parameters, const QString& directory, int showCommand);

}  // namespace quorbin
