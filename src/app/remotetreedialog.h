#pragma once
// "Verzeichnis wiederherstellen…" on the page "FTP-Ütra": the target and the version rule for
// one directory of the mirror, chosen as on the page "Verzeichn. wiederh.", and checked before
// anything connects.
#include "engine/dirrestore.h"

#include <QDialog>

class QDateEdit;
class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace quorbin::app {

class DirectoryEdit;
class RadioGroup;

class RemoteTreeDialog : public QDialog {
    Q_OBJECT
public:
    // `remotePath` is what the dialog names; `startDirectory` the store path it stands for.
    RemoteTreeDialog(const QString& remotePath, QString startDirectory, QWidget* parent = nullptr);

    QLabel* remoteLabel;
    RadioGroup* Art;
    DirectoryEdit* Zieldir;
    RadioGroup* Version;
    QDateEdit* Erldat;
    QLineEdit* Erltime;
    QDialogButtonBox* buttons;

    // The walk as chosen (no key); valid after the dialog was accepted.
    const DirRestoreJob::Options& options() const { return options_; }
    // Closes only with a choice the walk takes; after a refusal (told) it stays open.
    void accept() override;

private:
    bool takeChoice();

    const QString startDirectory_;
    DirRestoreJob::Options options_;
};

}  // namespace quorbin::app
