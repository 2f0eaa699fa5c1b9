#include "organiser/OfflineStore.h"

#include "app/PictureTable.h"
#include "organiser/OfflineFolder.h"

void TOfflineStore::setFolder(const QString &webPagesDir)
{
    folder_ = webPagesDir;
    index_.setFolder(webPagesDir);
}

void TOfflineStore::LoadOfflinePanel()
{
    model_.clear();
    for (const QString &name : OfflineFolder::list(folder_))
        appendNode(name);
}

void TOfflineStore::AppendSavedNode(const QString &title)
{
    appendNode(title);
}

QString TOfflineStore::pathForNode(const QString &text) const
{
    return OfflineFolder::pathForNode(folder_, text);
}

void TOfflineStore::appendNode(const QString &text)
{
    auto *node = new QStandardItem(
        PictureTable::nodeIcon(PictureTable::ListPictures, PictureTable::PageNode), text);
    node->setEditable(false);
    node->setToolTip(text);
    model_.appendRow(node);
}
