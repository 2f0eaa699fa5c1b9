#pragma once

#include "organiser/OfflineIndex.h"

#include <QStandardItemModel>
#include <QString>

// The saved pages of AppDir/WebPages: the nodes the OffLine page shows, and the full-text index
// of the files behind them.
class TOfflineStore
{
public:
    TOfflineStore() = default;
    TOfflineStore(const TOfflineStore &) = delete;
    TOfflineStore &operator=(const TOfflineStore &) = delete;

    void setFolder(const QString &webPagesDir);
    QString folder() const { return folder_; }

    QStandardItemModel *model() { return &model_; }
    const QStandardItemModel *model() const { return &model_; }
    // Read and searched on its own thread: the page only asks and shows the answers.
    TOfflineIndex &index() { return index_; }

    // One node per saved page in the folder, replacing the nodes there were.
    void LoadOfflinePanel();
    // The browser window's Save: a node with the page title at the end.
    void AppendSavedNode(const QString &title);
    // The file a node's text opens.
    QString pathForNode(const QString &text) const;

private:
    void appendNode(const QString &text);

    QString folder_;
    QStandardItemModel model_;
    TOfflineIndex index_;
};
