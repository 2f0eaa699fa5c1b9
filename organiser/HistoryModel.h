#pragma once

#include "organiser/HistoryItem.h"

#include <QAbstractItemModel>
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <memory>
#include <vector>

// The history tree: days at the top level, each with the pages visited that day. A long
// history holds a hundred thousand pages, so a day keeps its pages' texts as UTF-8, one after
// another in one buffer, instead of an object and a string per page.
class THistoryModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    struct Day
    {
        QString text; // the date text, or a page's text for a page at the top level
        bool date = true;
        QByteArray bytes;    // the pages' texts, one after another
        QList<quint32> ends; // where each page's text ends in bytes
        int row = 0;         // kept up to date by the model

        int pageCount() const { return int(ends.size()); }
        QByteArrayView page(int index) const;
        void appendPage(QByteArrayView utf8);
        void removePage(int index);
    };
    using Days = std::vector<std::unique_ptr<Day>>;

    explicit THistoryModel(QObject *parent = nullptr);
    ~THistoryModel() override;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

    // The top-level node of row, with its pages.
    const Day &day(int row) const { return *days_[size_t(row)]; }
    int dayCount() const { return int(days_.size()); }
    QString text(const QModelIndex &index) const;
    bool isDate(const QModelIndex &index) const;

    // Moves days (with their pages) to the end of the top level in one insertion.
    void appendDays(Days &days, size_t from, size_t to);
    void appendDay(const QString &text);
    void appendPage(int dayRow, const QString &text);

private:
    const Day *dayOf(const QModelIndex &index) const;

    Days days_;
};
