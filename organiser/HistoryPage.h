#pragma once

#include <QWidget>

class QAbstractItemView;
class QLabel;

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

private:
    QAbstractItemView *view_ = nullptr;
    QLabel *label_ = nullptr;
};
