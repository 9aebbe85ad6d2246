#include "app/versionlist.h"

#include "app/storedfilelist.h"
#include "platform/datetime.h"
#include "platform/files.h"

#include <QHeaderView>

namespace quorbin::app {
namespace {

const int kPathRole = Qt::UserRole;

}  // namespace

VersionList::VersionList(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderLabels({tr("Datum"), tr("Grösse"), tr("gespeichert als")});
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    header()->setStretchLastSection(true);
    header()->setSectionResizeMode(DateColumn, QHeaderView::ResizeToContents);
    header()->setSectionResizeMode(SizeColumn, QHeaderView::ResizeToContents);
}

void VersionList::showFile(const StoredFileVersions* file, const QString& versionPath)
{
    clear();
    if (!file)
        return;
    QTreeWidgetItem* picked = nullptr;
    for (auto version = file->versions.crbegin(); version != file->versions.crend(); ++version) {
        auto* item = new QTreeWidgetItem(this);
        item->setText(DateColumn, platform::userDateTimeText(version->time));
        item->setText(SizeColumn, sizeText(version->size));
        item->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(StoredNameColumn, platform::namePart(version->path));
        item->setData(DateColumn, kPathRole, version->path);
        if (version->path == versionPath)
            picked = item;
    }
    if (topLevelItemCount() > 0)
        setCurrentItem(picked ? picked : topLevelItem(0));
}

QString VersionList::selectedPath() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->data(DateColumn, kPathRole).toString();
}

bool VersionList::selectDate(const QString& dateText)
{
    const QList<QTreeWidgetItem*> matches = findItems(dateText, Qt::MatchExactly, DateColumn);
    if (matches.isEmpty())
        return false;
    setCurrentItem(matches.first());
    return true;
}

}  // namespace quorbin::app
