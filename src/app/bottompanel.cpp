// The bottom panel: progress bar, transfer fields and the status bar.
#include "app/tquorbin.h"
#include "app/widgetstyle.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStatusBar>

#include <algorithm>

namespace quorbin::app {

namespace {

const QColor kMoneyGreen(192, 220, 192);

}  // namespace

QFrame* Tquorbin::createBottomPanel()
{
    auto* panel = new QFrame;
    panel->setObjectName("Panel2");
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(1, 1, 1, 1);
    grid->setSpacing(1);

    pb = new QProgressBar(panel);
    pb->setObjectName("pb");
    pb->setFixedWidth(482);
    pb->setRange(0, 100);
    pb->setValue(0);
    pb->setTextVisible(false);
    grid->addWidget(pb, 0, 0);
    pro = placeLineEdit(panel, "pro");
    pro->setEnabled(false);
    grid->addWidget(pro, 0, 1);
    total = placeLineEdit(panel, "total");
    total->setEnabled(false);
    grid->addWidget(total, 0, 2);

    sb = new QStatusBar(panel);
    sb->setObjectName("sb");
    sb->setSizeGripEnabled(false);
    sb->setAutoFillBackground(true);
    QPalette green = sb->palette();
    green.setColor(QPalette::Window, kMoneyGreen);
    sb->setPalette(green);
    sbPanel0 = addStatusPanel(sb, "sbPanel0", 800);
    grid->addWidget(sb, 1, 0, 1, 3);
    // The design's 20 pixels a row, more where larger fonts (120 dpi) need them.
    const int row = std::max(20, panel->fontMetrics().height() + 5);
    for (QWidget* w : {static_cast<QWidget*>(pb), static_cast<QWidget*>(pro), static_cast<QWidget*>(total),
                       static_cast<QWidget*>(sb)})
        w->setFixedHeight(row);
    panel->setFixedHeight(2 * row + 4);
    return panel;
}

}  // namespace quorbin::app
