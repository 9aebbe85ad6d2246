#include "app/pagecontrol.h"

#include <QStyleOptionTab>
#include <QStylePainter>

namespace quorbin::app {

SideTabBar::SideTabBar(QWidget* parent) : QTabBar(parent)
{
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    setCursor(Qt::PointingHandCursor);
}

// 110 × 30 as designed, wider when a caption needs it in this font.
QSize SideTabBar::tabSizeHint(int index) const
{
    return {qMax(110, fontMetrics().horizontalAdvance(tabText(index)) + 16), 30};
}

// The style would turn the captions of side tabs on end; they are drawn across instead.
void SideTabBar::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
        if (!isTabVisible(i))
            continue;
        QStyleOptionTab option;
        initStyleOption(&option, i);
        painter.drawControl(QStyle::CE_TabBarTabShape, option);
        painter.drawItemText(option.rect, Qt::AlignCenter, option.palette, isTabEnabled(i), option.text,
                             QPalette::WindowText);
    }
}

PageControl::PageControl(QWidget* parent) : QTabWidget(parent)
{
    setTabBar(new SideTabBar(this));
    setTabPosition(QTabWidget::West);
}

}  // namespace quorbin::app
