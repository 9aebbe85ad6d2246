#include "app/storecheck.h"

#include "app/jobhost.h"
#include "app/sharedkey.h"
#include "engine/dirrestore.h"
#include "platform/files.h"
#include "platform/userinterface.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <memory>
#include <mutex>

namespace quorbin::app {
namespace {

QString summaryText(const QString& directory, qint64 files, qsizetype bad, const JobResult& result)
{
    const QString text =
        result.kind == ErrorKind::Cancelled
            ? QCoreApplication::translate("App",
                                          "%1: %2 Dateien gelesen, %3 fehlerhaft (abgebrochen, nicht alles geprüft)")
        : bad == 0 ? QCoreApplication::translate(
                         "App", "%1: %2 Dateien gelesen, %3 fehlerhaft: alle Dateien lassen sich wiederherstellen")
                   : QCoreApplication::translate("App", "%1: %2 Dateien gelesen, %3 fehlerhaft");
    return text.arg(directory, QString::number(files), QString::number(bad));
}

// What the walk tells from its thread, read by the window's thread once the job ended.
struct Findings {
    std::mutex lock;
    QList<StoreCheckResults::BadFile> bad;
    qint64 files = 0;
};

}  // namespace

StoreCheckResults::StoreCheckResults(const QString& directory, const QList<BadFile>& bad, qint64 fileCount,
                                     const JobResult& result, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("StoreCheckResults");
    setWindowTitle(tr("Sicherung prüfen"));
    auto* layout = new QVBoxLayout(this);
    summary = new QLabel(summaryText(directory, fileCount, bad.size(), result), this);
    summary->setWordWrap(true);
    layout->addWidget(summary);
    files = new QTableWidget(int(bad.size()), 2, this);
    files->setHorizontalHeaderLabels({tr("Datei"), tr("Ursache")});
    files->setEditTriggers(QAbstractItemView::NoEditTriggers);
    files->verticalHeader()->hide();
    for (int row = 0; row < bad.size(); ++row) {
        files->setItem(row, 0, new QTableWidgetItem(bad.at(row).path));
        files->setItem(row, 1, new QTableWidgetItem(bad.at(row).cause));
    }
    files->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    files->resizeColumnToContents(1);
    layout->addWidget(files, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
    resize(760, 420);
}

void StoreCheck::start(const QString& directory)
{
    if (directory.trimmed().isEmpty() || !platform::directoryExists(directory)) {
        ui().showMessage(QCoreApplication::translate("App",
                                                     "Verzeichnis nicht gefunden: %1\nBitte auf der Seite \"Verzeichn. "
                                                     "wiederh.\" ein Verzeichnis der Sicherung wählen!")
                             .arg(directory),
                         QString());
        return;
    }
    if (host_.refuseWhileBusy())
        return;
    host_.clearLog();
    host_.showLog();
    auto findings = std::make_shared<Findings>();
    DirRestoreJob::Options options;
    options.startDirectory = directory;
    options.rule = kNewestVersion;
    options.verifyOnly = true;
    options.key = [key = host_.key()] { return key->get(); };
    options.fileDone = [findings](const QString& shownPath, const JobResult& result) {
        const std::lock_guard hold(findings->lock);
        ++findings->files;
        if (!result.ok())
            findings->bad.append({shownPath, result.message});
    };
    // Listed with the bad files, but not counted as one: its files are unknown.
    options.folderUnread = [findings](const QString& folder, const JobResult& result) {
        const std::lock_guard hold(findings->lock);
        findings->bad.append(
            {folder, QCoreApplication::translate("App", "%1 (Ordner, die Dateien darin ungeprüft)").arg(result.message)});
    };
    host_.runJob(std::make_unique<DirRestoreJob>(std::move(options)),
                 [this, directory, findings](const JobResult& result) {
                     const std::lock_guard hold(findings->lock);
                     if (results_)
                         results_->close();
                     results_ = new StoreCheckResults(directory, findings->bad, findings->files, result, window_);
                     results_->setAttribute(Qt::WA_DeleteOnClose);
                     results_->show();
                 });
}

}  // namespace quorbin::app
