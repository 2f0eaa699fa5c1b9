#pragma once

#include <QModelIndex>
#include <QModelIndexList>

class QAbstractItemModel;

// "Position among all nodes in display order": a tree read top to bottom with every node
// counted, expanded or not (a parent before its children). Column 0 only.
namespace TreeOrder {

// The node and everything below it.
int subtreeSize(const QModelIndex &index);
// 0 for the first node of the tree, -1 for an invalid index.
int position(const QModelIndex &index);
// The node at a position, invalid when the tree has no such position.
QModelIndex at(const QAbstractItemModel &model, int position);
QModelIndexList flatten(const QAbstractItemModel &model);

} // namespace TreeOrder
