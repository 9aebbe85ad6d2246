#pragma once
// The drive selector: the drive letters of the drive map.
#include <QComboBox>

namespace quorbin::app {

class DriveComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveComboBox(QWidget* parent = nullptr);

    // The shown drive letter, upper case; null when none is shown.
    QChar drive() const;
    // Shows the letter without telling anyone; a letter the map does not know shows nothing.
    void setDrive(QChar letter);

signals:
    // The user picked a drive.
    void drivePicked(QChar letter);

private:
    void fill();
};

}  // namespace quorbin::app
