#pragma once

#include <QWidget>

class QAbstractItemView;
class QLabel;

// The "OffLine" page of the side panel: pages saved into the program's WebPages folder.
class TOfflinePage : public QWidget
{
    Q_OBJECT
public:
    explicit TOfflinePage(QWidget *parent = nullptr);

    // Start-up: the folder listed (AppDir + "/WebPages") and the label's caption and width.
    void prepare(const QString &webPagesDir, int labelWidth);
    void LoadOfflinePanel();
    // The browser window's Save: a node with the page title at the end of the tree.
    void AppendSavedNode(const QString &title);

    QAbstractItemView *treeView() const;
    QLabel *label() const;

private:
    QAbstractItemView *view_ = nullptr;
    QLabel *label_ = nullptr;
};
