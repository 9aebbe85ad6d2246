#include "app/drivesdialog.h"

#include "platform/drivemap.h"
#include "platform/userinterface.h"
#include "platform/winpath.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace quorbin::app {
namespace {

enum Column { kName = 0, kFolder = 1 };

// Set on rows that QUORBIN_DRIVES fixes for this run: shown, never written.
constexpr int kFixedRole = Qt::UserRole + 1;
// The folder a row showed when the dialog opened, to tell what the user changed.
constexpr int kShownRole = Qt::UserRole + 2;

bool fixedByEnvironment(QChar letter)
{
    for (const QString& item : qEnvironmentVariable("QUORBIN_DRIVES").split(u';', Qt::SkipEmptyParts))
        if (item.size() > 2 && item.at(1) == u'=' && item.at(0).toUpper() == letter.toUpper())
            return true;
    return false;
}

}  // namespace

DrivesDialog::DrivesDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("DrivesDialog");
    setWindowTitle(tr("Laufwerke"));
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(tr("Wo die Laufwerke und Freigaben der Sicherung auf diesem Rechner liegen. "
                               "Gespeichert in %1.")
                                .arg(platform::driveMapFile()),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    table = new QTableWidget(0, 2, this);
    table->setObjectName("table");
    table->setHorizontalHeaderLabels({tr("Laufwerk"), tr("Ordner auf diesem Rechner")});
    table->verticalHeader()->hide();
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->horizontalHeader()->setSectionResizeMode(kFolder, QHeaderView::Stretch);
    layout->addWidget(table, 1);

    const QList<platform::DriveMapping> saved = platform::readDriveMap();
    for (const QChar letter : platform::knownDriveLetters()) {
        const QString name = QString(letter) + u':';
        appendRow(name, platform::toHostPath(name + u'\\'), fixedByEnvironment(letter));
    }
    for (const platform::DriveMapping& m : saved)
        if (m.name.startsWith(u'\\'))
            appendRow(m.name, m.hostFolder, false);

    auto* row = new QHBoxLayout;
    chooseButton = new QPushButton(tr("Ordner wählen…"), this);
    addButton = new QPushButton(tr("Hinzufügen"), this);
    removeButton = new QPushButton(tr("Entfernen"), this);
    row->addWidget(chooseButton);
    row->addWidget(addButton);
    row->addWidget(removeButton);
    row->addStretch(1);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(chooseButton, &QPushButton::clicked, this, [this] { chooseFolder(); });
    connect(addButton, &QPushButton::clicked, this, [this] { addRow(); });
    connect(removeButton, &QPushButton::clicked, this, [this] { removeRow(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(640, 380);
}

void DrivesDialog::appendRow(const QString& name, const QString& folder, bool fixed)
{
    const int row = table->rowCount();
    table->insertRow(row);
    auto* nameItem = new QTableWidgetItem(name);
    auto* folderItem = new QTableWidgetItem(folder);
    folderItem->setData(kShownRole, folder);
    nameItem->setData(kFixedRole, fixed);
    if (fixed) {
        for (QTableWidgetItem* item : {nameItem, folderItem}) {
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            item->setToolTip(tr("für diesen Lauf durch QUORBIN_DRIVES festgelegt"));
        }
    } else if (!name.isEmpty()) {
        nameItem->setFlags(nameItem->flags() & ~Qt::ItemIsEditable);
    }
    table->setItem(row, kName, nameItem);
    table->setItem(row, kFolder, folderItem);
}

void DrivesDialog::chooseFolder()
{
    const int row = table->currentRow();
    if (row < 0 || table->item(row, kName)->data(kFixedRole).toBool())
        return;
    const QString name = table->item(row, kName)->text();
    const auto chosen =
        ui().chooseFolder(tr("Ordner für %1").arg(name), platform::toWindowsPath(table->item(row, kFolder)->text()));
    if (chosen)
        table->item(row, kFolder)->setText(platform::toHostPath(*chosen));
}

void DrivesDialog::addRow()
{
    appendRow(QString(), QString(), false);
    table->setCurrentCell(table->rowCount() - 1, kName);
    table->editItem(table->item(table->rowCount() - 1, kName));
}

void DrivesDialog::removeRow()
{
    const int row = table->currentRow();
    if (row >= 0 && !table->item(row, kName)->data(kFixedRole).toBool())
        table->removeRow(row);
}

bool DrivesDialog::save()
{
    QList<platform::DriveMapping> mappings;
    const QList<platform::DriveMapping> saved = platform::readDriveMap();
    for (int row = 0; row < table->rowCount(); ++row) {
        const QTableWidgetItem* nameItem = table->item(row, kName);
        const QTableWidgetItem* folderItem = table->item(row, kFolder);
        if (nameItem->data(kFixedRole).toBool()) {
            // The environment hides the file's own entry for this run only: it stays.
            for (const platform::DriveMapping& m : saved)
                if (m.name == nameItem->text())
                    mappings.append(m);
            continue;
        }
        const QString typed = nameItem->text().trimmed();
        const QString folder = folderItem->text().trimmed();
        if (typed.isEmpty() && folder.isEmpty())
            continue;
        const QString name = platform::normalisedDriveName(typed);
        if (name.isEmpty()) {
            ui().showMessage(tr("Kein Laufwerk (D:) und keine Freigabe (\\\\Server\\Freigabe): %1").arg(typed),
                             QString());
            return false;
        }
        if (!folder.startsWith(u'/')) {
            ui().showMessage(tr("Für %1 bitte einen vollständigen Ordner ab / angeben: %2").arg(name, folder),
                             QString());
            return false;
        }
        // A letter shown with its usual folder stays out of the file unless it was there.
        const bool inFile = std::any_of(saved.cbegin(), saved.cend(), [&](const platform::DriveMapping& m) {
            return m.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (folder == folderItem->data(kShownRole).toString() && !inFile && !name.startsWith(u'\\'))
            continue;
        mappings.append({name, folder});
    }
    QString error;
    if (!platform::writeDriveMap(mappings, error)) {
        ui().showMessage(tr("Die Laufwerke konnten nicht gespeichert werden: %1").arg(error), QString());
        return false;
    }
    return true;
}

void DrivesDialog::accept()
{
    if (save())
        QDialog::accept();
}

bool editDriveMap(QWidget* parent)
{
    DrivesDialog dialog(parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace quorbin::app
