#include "app/directorylist.h"

#include "app/drivecombo.h"
#include "app/filelist.h"
#include "platform/dirsearch.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <QHeaderView>
#include <QStyle>
#include <algorithm>

namespace quorbin::app {
namespace {

bool hasDriveLetter(const QString& text) { return text.size() >= 2 && text.at(1) == u':' && text.at(0).isLetter(); }

// "c:" and "c:\x\" as the list holds them: the root with its "\", every other directory without.
QString normalised(QString directory)
{
    directory.replace(u'/', u'\\');
    while (directory.size() > 3 && directory.endsWith(u'\\'))
        directory.chop(1);
    if (directory.size() == 2)
        directory += u'\\';
    return directory;
}

QStringList subdirectoriesOf(const QString& directory)
{
    QStringList names;
    for (const platform::DirEntry& entry : platform::findEntries(joinedPath(directory, QStringLiteral("*.*")))) {
        const bool folder = entry.directory || (entry.symlink && platform::directoryExists(joinedPath(directory, entry.name)));
        if (folder && !entry.hidden)
            names << entry.name;
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

QTreeWidgetItem* directoryItem(const QString& text, const QString& path, const QIcon& icon)
{
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setIcon(0, icon);
    item->setData(0, Qt::UserRole, path);
    return item;
}

}  // namespace

QString driveCurrentDirectory(QChar letter)
{
    const QString current = platform::currentWindowsDirectory();
    if (hasDriveLetter(current) && current.at(0).toUpper() == letter.toUpper())
        return normalised(current);
    return QString(letter) + QStringLiteral(":\\");
}

DirectoryListBox::DirectoryListBox(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(12);
    // The path is always open; only activation moves.
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setStyleSheet(QStringLiteral("QTreeView::branch { image: none; }"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        setDirectory(item->data(0, Qt::UserRole).toString());
    });
    directory_ = QStringLiteral("c:\\");
    fill();
}

void DirectoryListBox::setDriveCombo(DriveComboBox* combo)
{
    driveCombo_ = combo;
    driveCombo_->setDrive(directory_.at(0));
    connect(combo, &DriveComboBox::drivePicked, this, [this](QChar letter) {
        if (letter != directory_.at(0).toUpper())
            setDirectory(driveCurrentDirectory(letter));
    });
}

void DirectoryListBox::setFileList(FileListBox* list)
{
    fileList_ = list;
    fileList_->setDirectory(directory_);
}

bool DirectoryListBox::setDirectory(const QString& directory)
{
    if (!hasDriveLetter(directory) || !platform::knownDriveLetters().contains(directory.at(0).toUpper()))
        return false;
    const QString wanted = normalised(directory);
    show(platform::directoryExists(wanted) ? wanted : driveCurrentDirectory(wanted.at(0)));
    return true;
}

void DirectoryListBox::show(const QString& directory)
{
    if (directory.compare(directory_, Qt::CaseInsensitive) == 0)
        return;
    directory_ = directory;
    fill();
    if (driveCombo_)
        driveCombo_->setDrive(directory_.at(0));
    if (fileList_)
        fileList_->setDirectory(directory_);
    emit directoryChanged(directory_);
}

void DirectoryListBox::fill()
{
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QString path = directory_.left(3);
    QTreeWidgetItem* current = directoryItem(path, path, openIcon);
    addTopLevelItem(current);
    for (const QString& name : directory_.mid(3).split(u'\\', Qt::SkipEmptyParts)) {
        path = joinedPath(path, name);
        auto* next = directoryItem(name, path, openIcon);
        current->addChild(next);
        current = next;
    }
    for (const QString& name : subdirectoriesOf(directory_))
        current->addChild(directoryItem(name, joinedPath(directory_, name), closedIcon));
    expandAll();
    setCurrentItem(current);
}

}  // namespace quorbin::app
