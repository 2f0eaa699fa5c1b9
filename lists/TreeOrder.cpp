#include "lists/TreeOrder.h"

#include <QAbstractItemModel>

namespace TreeOrder {
namespace {

void appendSubtree(const QAbstractItemModel &model, const QModelIndex &parent, QModelIndexList &out)
{
    const int rows = model.rowCount(parent);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex child = model.index(row, 0, parent);
        out.append(child);
        appendSubtree(model, child, out);
    }
}

} // namespace

int subtreeSize(const QModelIndex &index)
{
    if (!index.isValid())
        return 0;
    const QAbstractItemModel *model = index.model();
    int size = 1;
    const int rows = model->rowCount(index);
    for (int row = 0; row < rows; ++row)
        size += subtreeSize(model->index(row, 0, index));
    return size;
}

int position(const QModelIndex &index)
{
    if (!index.isValid())
        return -1;
    const QAbstractItemModel *model = index.model();
    int pos = 0;
    for (QModelIndex node = index.siblingAtColumn(0); node.isValid(); node = node.parent()) {
        const QModelIndex parent = node.parent();
        for (int row = 0; row < node.row(); ++row)
            pos += subtreeSize(model->index(row, 0, parent));
        if (parent.isValid())
            ++pos; // the parent itself comes before its children
    }
    return pos;
}

QModelIndex at(const QAbstractItemModel &model, int position)
{
    if (position < 0)
        return {};
    QModelIndex parent;
    for (;;) {
        const int rows = model.rowCount(parent);
        int row = 0;
        for (; row < rows; ++row) {
            const QModelIndex node = model.index(row, 0, parent);
            const int size = subtreeSize(node);
            if (position < size) {
                if (position == 0)
                    return node;
                --position;
                parent = node;
                break;
            }
            position -= size;
        }
        if (row == rows)
            return {};
    }
}

QModelIndexList flatten(const QAbstractItemModel &model)
{
    QModelIndexList out;
    appendSubtree(model, QModelIndex(), out);
    return out;
}

} // namespace TreeOrder
