#pragma once
// The tree of remote directories on the page "FTP-Ütra": one node per directory the user has
// seen. A double-click anywhere on it, also beside the nodes, lists again.
#include <QPersistentModelIndex>
#include <QStringList>
#include <QTreeWidget>
#include <functional>

namespace quorbin::app {

// Image indexes of the store's marked nodes; no image set is attached, so they stay unseen.
inline constexpr int kImageIndexRole = Qt::UserRole;
inline constexpr int kSelectedIndexRole = Qt::UserRole + 1;

class RemoteTree : public QTreeWidget {
public:
    explicit RemoteTree(QWidget* parent = nullptr);

    std::function<void()> onDoubleClick;

    // The selected node, or none.
    QTreeWidgetItem* selectedNode() const;
    // A handle on a node that turns invalid when the node goes, for commands that let window
    // events run (and so the tree change) before they act on the node.
    QPersistentModelIndex handleOf(QTreeWidgetItem* node) const;
    QTreeWidgetItem* nodeOf(const QPersistentModelIndex& handle) const;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A new node for a directory, below `parent` or at the top level when there is none.
QTreeWidgetItem* addRemoteNode(QTreeWidget* tree, QTreeWidgetItem* parent, const QString& text);
// The node texts from the top-level ancestor down to the node.
QStringList remoteNodePath(const QTreeWidgetItem* node);

// The icon callbacks: image index 2 and selected-image index 3 on a marked node ("§").
void dlGetImageIndex(QTreeWidgetItem* node);
void dlGetSelectedIndex(QTreeWidgetItem* node);

}  // namespace quorbin::app
