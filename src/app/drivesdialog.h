#pragma once
// "Laufwerke…": where each drive letter and server share of the store's Windows paths lies on
// this machine, changed or added with a folder chooser and kept in the drive map's file.
#include <QDialog>

class QPushButton;
class QTableWidget;

namespace quorbin::app {

class DrivesDialog : public QDialog {
    Q_OBJECT
public:
    explicit DrivesDialog(QWidget* parent = nullptr);

    QTableWidget* table;  // "Laufwerk", "Ordner auf diesem Rechner"
    QPushButton* chooseButton;
    QPushButton* addButton;
    QPushButton* removeButton;

    // "Ordner wählen…" for the selected row.
    void chooseFolder();
    // A new row for a letter or share the user types.
    void addRow();
    void removeRow();
    // Writes the rows the user set; false (after telling why) when a row is wrong or the
    // file cannot be written.
    bool save();
    void accept() override;

private:
    void appendRow(const QString& name, const QString& folder, bool fixed);
};

// Opens the dialog; true when the user saved a changed map.
bool editDriveMap(QWidget* parent);

}  // namespace quorbin::app
