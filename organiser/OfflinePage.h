#pragma once

#include "organiser/OfflineSearch.h"

#include <QWidget>

class ProgramData;
class QAbstractItemView;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QStandardItemModel;
class QTimer;
class QTreeView;

// The "OffLine" page of the side panel: pages saved into the program's WebPages folder, a view
// of the offline store of the program's data.
class TOfflinePage : public QWidget
{
    Q_OBJECT
public:
    explicit TOfflinePage(ProgramData &data, QWidget *parent = nullptr);

    // Start-up: the label's caption names the folder listed. The label follows the page's width
    // through the layout, so labelWidth only sets its starting width.
    void prepare(int labelWidth);
    void applyColors();

    QAbstractItemView *treeView() const;
    QLabel *label() const;
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
    void openResult(QListWidgetItem *item);

    ProgramData &data_;
    QTreeView *view_ = nullptr;
    QLabel *label_ = nullptr;
    QLineEdit *searchBox_ = nullptr;
    QListWidget *results_ = nullptr;
    QTimer *searchDelay_ = nullptr;
};
