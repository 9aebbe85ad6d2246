#pragma once
// A page control with its tabs on the left, each 110 × 30 pixels, captions written across.
#include <QTabBar>
#include <QTabWidget>

namespace quorbin::app {

class SideTabBar : public QTabBar {
public:
    explicit SideTabBar(QWidget* parent = nullptr);

protected:
    QSize tabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;
};

class PageControl : public QTabWidget {
public:
    explicit PageControl(QWidget* parent = nullptr);
};

}  // namespace quorbin::app
