#pragma once

#include "organiser/OfflineIndex.h"

#include <QWidget>

class QAbstractItemView;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QStandardItemModel;
class QTimer;
class QTreeView;

// The "OffLine" page of the side panel: pages saved into the program's WebPages folder.
class TOfflinePage : public QWidget
{
    Q_OBJECT
public:
    explicit TOfflinePage(QWidget *parent = nullptr);

    // Start-up: the folder listed (AppDir + "/WebPages") and the label's caption. The label
    // follows the page's width through the layout, so labelWidth only sets its starting width.
    void prepare(const QString &webPagesDir, int labelWidth);
    void LoadOfflinePanel();
    // The browser window's Save: a node with the page title at the end of the tree.
    void AppendSavedNode(const QString &title);

    QAbstractItemView *treeView() const;
    QLabel *label() const;
    QStandardItemModel *model() const { return model_; }
    QString folder() const { return folder_; }
    // The full-text search box and its list of matching pages.
    QLineEdit *searchBox() const { return searchBox_; }
    QListWidget *resultList() const { return results_; }
    // Runs the search for the box's text now instead of after the typing pause.
    void runSearch();

    void TreeView4Click();
    void TreeView4DblClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showResults(const QString &query, const QList<TOfflineSearch::Hit> &hits, bool complete);
    void indexRefreshed(bool changed);
    void appendNode(const QString &text);
    void openResult(QListWidgetItem *item);

    QString folder_;
    QTreeView *view_ = nullptr;
    QStandardItemModel *model_ = nullptr;
    QLabel *label_ = nullptr;
    QLineEdit *searchBox_ = nullptr;
    QListWidget *results_ = nullptr;
    QTimer *searchDelay_ = nullptr;
    // Read and searched on its own thread: the page only asks and shows the answers.
    TOfflineIndex index_;
};
