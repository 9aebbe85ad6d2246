#pragma once
// The double-click window: one stored file, its key, and three commands that each end the
// program when done.
#include "app/widgetsinks.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace quorbin::app {

class TExplF : public QWidget {
    Q_OBJECT
public:
    explicit TExplF(const QString& launchArgument, QWidget* parent = nullptr);

    QLabel* Label20;
    QLineEdit* eschlussel;
    QPushButton* Button1;
    QPushButton* Button3;
    QLineEdit* Edit1;
    QPushButton* Button2;
    QStatusBar* sb;
    QLabel* sbPanel0;
    QLabel* sbPanel1;

    void FormCreate();
    void Button1Click();  // open temporarily
    void Button2Click();  // restore to a place the user picks
    void Button3Click();  // cancel

private:
    void createControls();
    void restoreWhereTheUserChooses();
    void tellRestoreFailed();

    const QString launchArgument_;
    StatusPanelSink status_;
};

}  // namespace quorbin::app
