#include "app/storedfilelist.h"

#include "platform/datetime.h"
#include "platform/files.h"

#include <QHeaderView>
#include <QStyle>

namespace quorbin::app {

QString sizeText(qint64 bytes) { return bytes < 0 ? QString() : QString::number(bytes); }

StoredFileList::StoredFileList(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderLabels({tr("Name"), tr("Datum"), tr("Grösse"), tr("Versionen")});
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    setUniformRowHeights(true);
    // The name takes what the other columns leave; they are as wide as their texts.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    for (int column : {DateColumn, SizeColumn, VersionsColumn})
        header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] { emit fileChosen(selectedFile(), QString()); });
}

void StoredFileList::setDirectory(const QString& directory)
{
    directory_ = directory;
    fill();
}

void StoredFileList::fill()
{
    clear();
    files_.clear();
    const QIcon fileIcon = style()->standardIcon(QStyle::SP_FileIcon);
    for (StoredFileVersions& file : ReadStoreFolder(directory_).files) {
        if (file.storedName.startsWith(u'.'))
            continue;  // hidden, as the folder's other hidden files
        auto* item = new QTreeWidgetItem(this);
        item->setIcon(NameColumn, fileIcon);
        item->setText(NameColumn, file.originalName);
        if (const VersionCandidate* newest = file.newest()) {
            item->setText(DateColumn, platform::userDateTimeText(newest->time));
            item->setText(SizeColumn, sizeText(newest->size));
        } else {
            item->setText(DateColumn, tr("Zeit nicht lesbar"));
        }
        item->setText(VersionsColumn, QString::number(file.versions.size()));
        item->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(VersionsColumn, Qt::AlignRight | Qt::AlignVCenter);
        // The stored name tells two spellings of one name apart, and where it differs from
        // the name shown.
        item->setToolTip(NameColumn, file.plain ? file.storedName : file.storedName + QStringLiteral(".NNNNN.nxz"));
        files_ << std::move(file);
    }
}

const StoredFileVersions* StoredFileList::selectedFile() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (selected.isEmpty())
        return nullptr;
    const int row = indexOfTopLevelItem(selected.first());
    return row >= 0 && row < files_.size() ? &files_.at(row) : nullptr;
}

bool StoredFileList::selectName(const QString& name)
{
    for (qsizetype row = 0; row < files_.size(); ++row) {
        const StoredFileVersions& file = files_.at(row);
        QString version;
        for (const VersionCandidate& candidate : file.versions)
            if (platform::namePart(candidate.path) == name)
                version = candidate.path;
        if (file.originalName == name || !version.isEmpty()) {
            setCurrentItem(topLevelItem(int(row)));
            if (!version.isEmpty())
                emit fileChosen(&file, version);
            return true;
        }
    }
    return false;
}

}  // namespace quorbin::app
