#pragma once
// The double-click window: one stored file, its key, and three commands that each end the
// program when done. A wrong key leaves the window open for another try.
#include "app/widgetsinks.h"

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;

namespace quorbin::app {

class JobRunner;

class TExplF : public QWidget {
    Q_OBJECT
public:
    explicit TExplF(const QString& launchArgument, QWidget* parent = nullptr);
    ~TExplF() override;

    QLabel* Label20;
    QLineEdit* eschlussel;
    QPushButton* Button1;
    QPushButton* Button3;
    QLineEdit* Edit1;
    QPushButton* Button2;
    QProgressBar* pb;  // the restore's progress, for files that take a while
    QStatusBar* sb;
    QLabel* sbPanel0;
    QLabel* sbPanel1;

    void FormCreate();
    void Button1Click();  // open temporarily
    void Button2Click();  // restore to a place the user picks
    void Button3Click();  // cancel; during a restore it stops the restore first

    JobRunner& jobs() { return *jobs_; }

private:
    void createControls();
    void restoreWhereTheUserChooses();
    // Runs the restore as a job; afterwards `succeeded` (on success), then the program ends.
    void restoreThenEnd(const QString& target, bool copyPlainFiles, std::function<void()> succeeded);

    const QString launchArgument_;
    StatusPanelSink status_;
    ProgressBarSink progress_;
    // Last: it stops and waits for a running restore before the widgets go.
    std::unique_ptr<JobRunner> jobs_;
};

}  // namespace quorbin::app
