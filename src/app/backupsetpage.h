#pragma once
// The page "Sichern": the loaded set's settings, shown but (but for the key and the transfer
// options) not changeable.
#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace quorbin::app {

class DirectoryEdit;

class BackupSetPage : public QWidget {
    Q_OBJECT
public:
    explicit BackupSetPage(QWidget* parent = nullptr);

    QLineEdit* Edit1;
    QLineEdit* eschlussel;
    DirectoryEdit* edZiel;
    QGroupBox* gbftp;
    QLineEdit* EFTPHost;
    QLineEdit* EFTPUsername;
    QLineEdit* EFTPpassw;
    QLineEdit* eVerzeichnis;
    QLineEdit* EFTPPort;
    QLineEdit* EProxy;
    QLineEdit* EproxyPort;
    QLineEdit* EBasis;
    QCheckBox* CBPassive;
    QCheckBox* cbdebug;
    QPushButton* Button11;  // "Verbindung testen": the FTP page's connect sequence
    QPlainTextEdit* excl;
    QCheckBox* MitSSL;
    QCheckBox* MitVZ;
};

}  // namespace quorbin::app
