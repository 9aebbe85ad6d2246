#include "app/remotetreedialog.h"

#include "app/directoryedit.h"
#include "app/pathtext.h"
#include "app/radiogroup.h"
#include "app/treechoice.h"
#include "platform/errors.h"
#include "platform/userinterface.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace quorbin::app {

RemoteTreeDialog::RemoteTreeDialog(const QString& remotePath, QString startDirectory, QWidget* parent)
    : QDialog(parent), startDirectory_(std::move(startDirectory))
{
    setObjectName("RemoteTreeDialog");
    setWindowTitle(tr("Verzeichnis wiederherstellen"));
    auto* column = new QVBoxLayout(this);
    remoteLabel = new QLabel(tr("FTP-Verzeichnis: %1").arg(remotePath), this);
    remoteLabel->setObjectName("remoteLabel");
    remoteLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(remoteLabel);

    Art = NewArtGroup(this);
    column->addWidget(Art);
    column->addWidget(new QLabel(tr("Neues Startverzeichnis:"), this));
    Zieldir = new DirectoryEdit(this);
    Zieldir->setObjectName("Zieldir");
    Zieldir->dialogText = tr("Zielverzeichnis auswählen");
    Zieldir->setEnabled(false);
    column->addWidget(Zieldir);

    Version = NewVersionGroup(this);
    // As the page "Verzeichn. wiederh." starts: today, up to its last minute.
    Erldat = new QDateEdit(QDate::currentDate(), this);
    Erldat->setObjectName("Erldat");
    Erldat->setCalendarPopup(true);
    Erltime = new QLineEdit(this);
    Erltime->setObjectName("Erltime");
    Erltime->setInputMask(QStringLiteral("90:99;_"));
    Erltime->setText(QStringLiteral("23:59"));
    Erltime->setFixedWidth(50);
    auto* versionRow = new QHBoxLayout;
    versionRow->addWidget(Version);
    versionRow->addWidget(Erldat, 0, Qt::AlignVCenter);
    versionRow->addWidget(Erltime, 0, Qt::AlignVCenter);
    column->addLayout(versionRow);

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    column->addWidget(buttons);
    connect(Art, &RadioGroup::clicked, this, [this] { Zieldir->setEnabled(Art->itemIndex() == 1); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void RemoteTreeDialog::accept()
{
    if (takeChoice())
        QDialog::accept();
}

bool RemoteTreeDialog::takeChoice()
{
    const bool newPlace = Art->itemIndex() == 1;
    DirRestoreJob::Options chosen;
    chosen.startDirectory = startDirectory_;
    chosen.rule = VersionRule(Version->itemIndex());
    QString refusal;
    if (newPlace) {
        // A typed host path is the place it names, shown as the Windows path it is.
        const auto newStart = fieldPath(Zieldir->text(), refusal);
        if (!newStart) {
            ui().showMessage(refusal, QString());
            return false;
        }
        Zieldir->setText(*newStart);
        if (!newStart->isEmpty())
            chosen.newStartDirectory = newStart->endsWith(u'\\') ? *newStart : *newStart + u'\\';
    }
    refusal = TreeTargetRefusal(newPlace, chosen.newStartDirectory, chosen.startDirectory);
    if (refusal.isEmpty() && chosen.rule == kVersionBeforeDate) {
        try {
            chosen.versionLimit = VersionLimitOf(Erldat, Erltime);
        } catch (const IoError& error) {
            refusal = error.text();
        }
    }
    if (!refusal.isEmpty()) {
        ui().showMessage(refusal, QString());
        return false;
    }
    options_ = std::move(chosen);
    return true;
}

}  // namespace quorbin::app
