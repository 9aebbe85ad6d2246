#include "app/drivecombo.h"

#include "platform/winpath.h"

#include <QStyle>

namespace quorbin::app {

DriveComboBox::DriveComboBox(QWidget* parent) : QComboBox(parent)
{
    fill();
    setCurrentIndex(-1);
    connect(this, &QComboBox::activated, this, [this](int index) { emit drivePicked(itemData(index).toChar()); });
}

void DriveComboBox::fill()
{
    clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (QChar letter : platform::knownDriveLetters())
        addItem(icon, QString(letter) + u':', letter);
}

QChar DriveComboBox::drive() const { return currentIndex() < 0 ? QChar() : currentData().toChar(); }

void DriveComboBox::setDrive(QChar letter)
{
    const QChar upper = letter.toUpper();
    // A drive may have been added to the map since the list was filled.
    if (findData(upper) < 0)
        fill();
    setCurrentIndex(findData(upper));
}

}  // namespace quorbin::app
