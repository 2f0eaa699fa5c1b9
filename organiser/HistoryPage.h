#pragma once

#include "organiser/HistoryStore.h"

#include <QWidget>
#include <functional>

class QAbstractItemView;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QToolButton;
class QTreeView;
class THistoryFilter;

// The "History" page of the side panel: every page visited, by day.
class THistoryPage : public QWidget
{
    Q_OBJECT
public:
    explicit THistoryPage(QWidget *parent = nullptr);

    void LoadHistory();
    void AddTodayNode();
    // Called by each browser window's document complete with that window's page title.
    void RecordVisit(const QString &locationName);
    void SaveHistory();
    void clearLabel();

    QAbstractItemView *treeView() const;
    QLabel *label() const;
    QToolButton *clearButton() const { return THistClrBtn; }
    QLineEdit *filterBox() const { return filter_; }
    THistoryStore &store() { return store_; }
    // History.Ini in the program folder, whatever the case of its name there.
    QString historyFile() const;

    // Asks a Yes/No question before Clear and Delete; tests answer without a modal box.
    void setConfirm(std::function<bool(const QString &)> confirm) { confirm_ = std::move(confirm); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void THistClrBtnClick();
    void TreeView5Click();
    void TreeView5DblClick();
    void TreeView5KeyDown(const QKeyEvent *event);
    void filterChanged(const QString &words);
    // The store's node the user has selected, or an invalid index.
    QModelIndex selectedNode() const;
    bool ask(const QString &question);

    THistoryStore store_;
    THistoryFilter *proxy_ = nullptr;
    QToolButton *THistClrBtn = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *filter_ = nullptr;
    QTreeView *TreeView5 = nullptr;
    std::function<bool(const QString &)> confirm_;
};
