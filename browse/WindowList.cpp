#include "browse/WindowList.h"

#include "app/PictureTable.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>

WindowList::WindowList(QTreeWidget *tree, QComboBox *addressBox)
    : tree_(tree), addressBox_(addressBox)
{
}

void WindowList::attach(QTreeWidget *tree, QComboBox *addressBox)
{
    tree_ = tree;
    addressBox_ = addressBox;
}

int WindowList::append(const QString &title)
{
    auto *node = new QTreeWidgetItem(tree_, QStringList{title});
    node->setIcon(0, PictureTable::nodeIcon(PictureTable::MainList, PictureTable::WindowNode,
                                            PictureTable::WindowNodeSelected));
    node->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    tree_->setCurrentItem(node);
    // Adding an item must not replace what the user typed in the box.
    const QString typed = addressBox_->currentText();
    addressBox_->addItem(title);
    if (addressBox_->isEditable())
        addressBox_->setEditText(typed);
    return count() - 1;
}

void WindowList::rename(int index, const QString &title)
{
    if (!isValid(index))
        return;
    tree_->topLevelItem(index)->setText(0, title);
    addressBox_->setItemText(index, title);
}

void WindowList::remove(int index)
{
    if (!isValid(index))
        return;
    delete tree_->takeTopLevelItem(index);
    const QString typed = addressBox_->currentText();
    addressBox_->removeItem(index);
    if (addressBox_->isEditable())
        addressBox_->setEditText(typed);
}

bool WindowList::isValid(int index) const
{
    return index >= 0 && index < tree_->topLevelItemCount() && index < addressBox_->count();
}

int WindowList::count() const
{
    return tree_->topLevelItemCount();
}

QString WindowList::text(int index) const
{
    return isValid(index) ? tree_->topLevelItem(index)->text(0) : QString();
}

int WindowList::findNode(const QString &caption) const
{
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        if (tree_->topLevelItem(i)->text(0) == caption)
            return i;
    }
    return -1;
}

int WindowList::findAddressItem(const QString &caption) const
{
    for (int i = 0; i < addressBox_->count(); ++i) {
        if (addressBox_->itemText(i) == caption)
            return i;
    }
    return -1;
}

void WindowList::selectNode(int index)
{
    if (index >= 0 && index < tree_->topLevelItemCount())
        tree_->setCurrentItem(tree_->topLevelItem(index));
}

void WindowList::selectAddressItem(int index)
{
    if (index >= 0 && index < addressBox_->count())
        addressBox_->setCurrentIndex(index);
}
