#pragma once

#include <QList>
#include <QModelIndex>
#include <QPersistentModelIndex>
#include <QWidget>

class Ask;
class ProgramData;
class QAbstractItemView;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QTimer;
class QToolButton;
class QTreeView;
class THistoryFilter;

// The "History" page of the side panel: every page visited, by day, a view of the history
// store of the program's data.
class THistoryPage : public QWidget
{
    Q_OBJECT
public:
    THistoryPage(ProgramData &data, Ask &ask, QWidget *parent = nullptr);

    // Error boxes for what the program's data could not read or write.
    void LoadHistory();
    void SaveHistory();
    void clearLabel();
    // The scheme's list colours, bold type and label colour.
    void applyColors();

    QAbstractItemView *treeView() const;
    QLabel *label() const;
    QToolButton *clearButton() const { return THistClrBtn; }
    QLineEdit *filterBox() const { return filter_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void THistClrBtnClick();
    void TreeView5Click();
    void TreeView5DblClick();
    void TreeView5KeyDown(const QKeyEvent *event);
    // Filters by the typed words once typing pauses (or at Enter).
    void applyFilter();
    QList<QPersistentModelIndex> expandedDays() const;
    void rememberPick();
    void restorePick();
    // The store's node the user has selected, or an invalid index.
    QModelIndex selectedNode() const;

    ProgramData &data_;
    Ask &ask_;
    THistoryFilter *proxy_ = nullptr;
    QToolButton *THistClrBtn = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *filter_ = nullptr;
    QTreeView *TreeView5 = nullptr;
    QTimer *filterTimer_ = nullptr;
    // The node the user last selected and the days open before a search began, in the store.
    QPersistentModelIndex picked_;
    QList<QPersistentModelIndex> openDays_;
    bool applyingFilter_ = false;
};
