#include "app/filelist.h"

#include "platform/dirsearch.h"
#include "platform/files.h"

#include <QStyle>
#include <algorithm>

namespace quorbin::app {
namespace {

bool byNameCaseBlind(const platform::DirEntry& a, const platform::DirEntry& b)
{
    return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
}

}  // namespace

QString joinedPath(const QString& directory, const QString& name)
{
    return directory.endsWith(u'\\') ? directory + name : directory + u'\\' + name;
}

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
}

void FileListBox::setDirectory(const QString& directory)
{
    directory_ = directory;
    fill();
}

void FileListBox::fill()
{
    clear();
    QList<platform::DirEntry> found = platform::findEntries(joinedPath(directory_, QStringLiteral("*.*")));
    std::sort(found.begin(), found.end(), byNameCaseBlind);
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon fileIcon = style()->standardIcon(QStyle::SP_FileIcon);
    for (const platform::DirEntry& entry : found) {
        const bool folder = entry.directory || (entry.symlink && platform::directoryExists(joinedPath(directory_, entry.name)));
        addItem(new QListWidgetItem(folder ? folderIcon : fileIcon, entry.name));
    }
}

QString FileListBox::selectedPath() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? QString() : joinedPath(directory_, selected.first()->text());
}

bool FileListBox::selectName(const QString& name)
{
    const QList<QListWidgetItem*> matches = findItems(name, Qt::MatchExactly);
    if (matches.isEmpty())
        return false;
    setCurrentItem(matches.first());
    return true;
}

}  // namespace quorbin::app
