#include "app/remotetree.h"

#include "remote/remotebrowser.h"

namespace quorbin::app {

RemoteTree::RemoteTree(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

QTreeWidgetItem* RemoteTree::selectedNode() const { return selectedItems().value(0, nullptr); }

QPersistentModelIndex RemoteTree::handleOf(QTreeWidgetItem* node) const
{
    return node ? QPersistentModelIndex(indexFromItem(node)) : QPersistentModelIndex();
}

QTreeWidgetItem* RemoteTree::nodeOf(const QPersistentModelIndex& handle) const
{
    return handle.isValid() ? itemFromIndex(handle) : nullptr;
}

void RemoteTree::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (onDoubleClick)
        onDoubleClick();
}

QTreeWidgetItem* addRemoteNode(QTreeWidget* tree, QTreeWidgetItem* parent, const QString& text)
{
    auto* node = parent ? new QTreeWidgetItem(parent, {text}) : new QTreeWidgetItem(tree, {text});
    dlGetImageIndex(node);
    dlGetSelectedIndex(node);
    return node;
}

QStringList remoteNodePath(const QTreeWidgetItem* node)
{
    QStringList path;
    for (; node; node = node->parent())
        path.prepend(node->text(0));
    return path;
}

void dlGetImageIndex(QTreeWidgetItem* node)
{
    if (IsMarkedNode(node->text(0)))
        node->setData(0, kImageIndexRole, 2);
}

void dlGetSelectedIndex(QTreeWidgetItem* node)
{
    if (IsMarkedNode(node->text(0)))
        node->setData(0, kSelectedIndexRole, 3);
}

}  // namespace quorbin::app
