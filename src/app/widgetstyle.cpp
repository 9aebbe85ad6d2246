#include "app/widgetstyle.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

namespace quorbin::app {

QGroupBox* group(QWidget* parent, const char* name, const QString& title)
{
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

namespace {

template <class Control>
Control* named(Control* control, const char* name, const QRect& geometry)
{
    control->setObjectName(QString::fromLatin1(name));
    if (geometry.isValid())
        control->setGeometry(geometry);
    return control;
}

}  // namespace

void useProductFont(QWidget* window)
{
    QFont font = window->font();
    font.setPointSize(8);
    window->setFont(font);
}

QLabel* placeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    return named(new QLabel(text, parent), name, geometry);
}

QLineEdit* placeLineEdit(QWidget* parent, const char* name, const QRect& geometry)
{
    return named(new QLineEdit(parent), name, geometry);
}

QPushButton* placeButton(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    return named(new QPushButton(text, parent), name, geometry);
}

void showAsStars(QLineEdit* edit)
{
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
}

QLabel* addStatusPanel(QStatusBar* bar, const char* name, int width)
{
    auto* panel = new QLabel(bar);
    panel->setObjectName(QString::fromLatin1(name));
    // At least the design's width; a wider window gives long status texts the room.
    panel->setMinimumWidth(width);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->addWidget(panel, 1);
    return panel;
}

}  // namespace quorbin::app
