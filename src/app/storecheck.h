#pragma once
// "Sicherung prüfen": every stored file below a store directory read through as a job, each
// bad one listed with its cause when the job ends.
#include "platform/job.h"

#include <QDialog>
#include <QPointer>
#include <QString>

class QLabel;
class QTableWidget;

namespace quorbin::app {

class JobHost;

// The list of bad files and the summary; stays open beside the window.
class StoreCheckResults : public QDialog {
    Q_OBJECT
public:
    struct BadFile {
        QString path;
        QString cause;
    };
    StoreCheckResults(const QString& directory, const QList<BadFile>& bad, qint64 fileCount, const JobResult& result,
                      QWidget* parent);

    QLabel* summary;
    QTableWidget* files;
};

class StoreCheck {
public:
    StoreCheck(JobHost& host, QWidget* window) : host_(host), window_(window) {}
    // Starts the check of the directory (refused with a message when none is chosen or another
    // job runs); the results open when it ends.
    void start(const QString& directory);
    // The results of the last check that ended, while they are open.
    StoreCheckResults* results() const { return results_; }

private:
    JobHost& host_;
    QWidget* window_;
    QPointer<StoreCheckResults> results_;
};

}  // namespace quorbin::app
