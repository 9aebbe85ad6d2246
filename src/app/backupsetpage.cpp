#include "app/backupsetpage.h"

#include "app/directoryedit.h"
#include "app/widgetstyle.h"
#include "config/settings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace quorbin::app {
namespace {

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// One row of the FTP parameters: label and disabled field with its text before a set is loaded.
QLineEdit* ftpField(QGridLayout* grid, int row, const char* name, const QString& label, const QString& text)
{
    QWidget* parent = grid->parentWidget();
    grid->addWidget(new QLabel(label, parent), row, 0);
    QLineEdit* field = placeLineEdit(parent, name);
    field->setText(text);
    field->setEnabled(false);
    grid->addWidget(field, row, 1);
    return field;
}

}  // namespace

BackupSetPage::BackupSetPage(QWidget* parent) : QWidget(parent)
{
    QWidget* page = this;
    page->setObjectName("TabSheet1");
    auto* pageGrid = new QGridLayout(page);

    QGroupBox* setGroup = group(page, "GroupBox2", tr("Sicherungs-Set"));
    auto* setRow = new QGridLayout(setGroup);
    setRow->addWidget(new QLabel(tr("Datei:"), setGroup), 0, 0);
    Edit1 = placeLineEdit(setGroup, "Edit1");
    Edit1->setEnabled(false);
    Edit1->setToolTip(tr("Name des Sicherungssets"));
    setRow->addWidget(Edit1, 0, 1);
    pageGrid->addWidget(setGroup, 0, 0, 1, 2);

    QGroupBox* settings = group(page, "GroupBox4", tr("Einstellungen"));
    auto* settingsGrid = new QGridLayout(settings);
    settingsGrid->addWidget(new QLabel(tr("Key f. Verschlüsselung:"), settings), 0, 0);
    eschlussel = placeLineEdit(settings, "eschlussel");
    showAsStars(eschlussel);
    settingsGrid->addWidget(eschlussel, 0, 1);
    settingsGrid->addWidget(new QLabel(tr("Ziel:"), settings), 1, 0);
    edZiel = new DirectoryEdit(settings);
    edZiel->setObjectName("edZiel");
    edZiel->setEnabled(false);
    settingsGrid->addWidget(edZiel, 1, 1);

    gbftp = group(settings, "gbftp", tr("FTP-Parameter"));
    auto* ftpGrid = new QGridLayout(gbftp);
    EFTPHost = ftpField(ftpGrid, 0, "EFTPHost", tr("FTP-Hostname"), QString::fromLatin1(kDefaultFtpHost));
    EFTPUsername = ftpField(ftpGrid, 1, "EFTPUsername", tr("Username"), QString());
    EFTPpassw = ftpField(ftpGrid, 2, "EFTPpassw", tr("Kennwort"), QStringLiteral("ruxwend"));
    showAsStars(EFTPpassw);
    eVerzeichnis = ftpField(ftpGrid, 3, "eVerzeichnis", tr("Verzeichnis"), QStringLiteral("DS"));
    EFTPPort = ftpField(ftpGrid, 4, "EFTPPort", tr("Port"), QStringLiteral("21"));
    EProxy = ftpField(ftpGrid, 5, "EProxy", tr("Proxy"), QString());
    EproxyPort = ftpField(ftpGrid, 6, "EproxyPort", tr("Proxy-Port"), QString());
    EBasis = ftpField(ftpGrid, 7, "EBasis", tr("FTP-Basis"), QStringLiteral("private/"));
    CBPassive = checkBox(gbftp, "CBPassive", tr("passiv"));
    CBPassive->setEnabled(false);
    cbdebug = checkBox(gbftp, "cbdebug", tr("Debug"));
    cbdebug->setEnabled(false);
    Button11 = placeButton(gbftp, "Button11", tr("Verbindung testen"));
    // One row for the three, so that the page fits a laptop screen at 120 dpi.
    auto* ftpControls = new QHBoxLayout;
    ftpControls->addWidget(CBPassive);
    ftpControls->addWidget(cbdebug);
    ftpControls->addStretch(1);
    ftpControls->addWidget(Button11);
    ftpGrid->addLayout(ftpControls, 8, 1);
    settingsGrid->addWidget(gbftp, 2, 0, 1, 2);

    MitSSL = checkBox(settings, "MitSSL", tr("Verschlüsselt übertragen"));
    MitVZ = checkBox(settings, "MitVZ", tr("Verzeichnisdienst nutzen Port 86 + 87"));
    auto* transferOptions = new QHBoxLayout;
    transferOptions->addWidget(MitSSL);
    transferOptions->addWidget(MitVZ);
    transferOptions->addStretch(1);
    settingsGrid->addLayout(transferOptions, 3, 0, 1, 2);
    settingsGrid->setRowStretch(5, 1);
    pageGrid->addWidget(settings, 1, 0);

    QGroupBox* exclusions = group(page, "GroupBox5", tr("Ausschluss-Liste"));
    auto* exclusionsColumn = new QGridLayout(exclusions);
    excl = new QPlainTextEdit(exclusions);
    excl->setObjectName("excl");
    excl->setToolTip(
        tr("dateien, deren Name oder Pfad mit einem der hier aufgeführten begriffe "
           "übereinstimmen, werden nict gesichert."));
    exclusionsColumn->addWidget(excl);
    pageGrid->addWidget(exclusions, 1, 1);
    pageGrid->setColumnStretch(0, 1);
    pageGrid->setColumnStretch(1, 1);
}

}  // namespace quorbin::app
