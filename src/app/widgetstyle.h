#pragma once
// Small helpers that give controls their names, texts and places as the windows lay them out.
#include <QRect>
#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QWidget;

namespace quorbin::app {

// The windows were laid out for a small 8-point font.
void useProductFont(QWidget* window);

QLabel* placeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry = {});
QLineEdit* placeLineEdit(QWidget* parent, const char* name, const QRect& geometry = {});
QPushButton* placeButton(QWidget* parent, const char* name, const QString& text, const QRect& geometry = {});

QGroupBox* group(QWidget* parent, const char* name, const QString& title);

// Shows every character of the field as "*".
void showAsStars(QLineEdit* edit);

// A fixed-width text panel of a status bar.
QLabel* addStatusPanel(QStatusBar* bar, const char* name, int width);

}  // namespace quorbin::app
