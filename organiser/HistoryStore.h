#pragma once

#include "organiser/HistoryItem.h"

#include <QDateTime>
#include <QLocale>
#include <QPersistentModelIndex>
#include <QStandardItemModel>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The browsing history by day: History.Ini and its working copy, a tree of date nodes, each
// holding the pages visited that day, oldest first.
class THistoryStore
{
public:
    static inline const QString FileName = QStringLiteral("History.Ini");
    static inline const QString DateMarker = QStringLiteral("## ");

    THistoryStore();

    QStandardItemModel *model() { return &model_; }
    const QStandardItemModel *model() const { return &model_; }

    // Tests and benchmarks fix the moment and the locale; the program uses the clock and the
    // user's locale.
    void setClock(std::function<QDateTime()> now) { now_ = std::move(now); }
    void setLocale(const QLocale &locale) { locale_ = locale; }

    // Appends the nodes the file holds; a missing file leaves the tree as it is.
    std::optional<QString> LoadHistory(const QString &path);
    std::optional<QString> SaveHistory(const QString &path) const;
    // One line per node in display order, date nodes behind the marker.
    QStringList fileLines() const;
    void appendFileLines(const QStringList &lines);

    // Finds or makes the node of the current day, which takes the visits from now on.
    void AddTodayNode();
    int FindDateNode(const QString &upperDateText) const;
    int FindHistoryEntry(const QString &lowerText) const;
    // Returns whether an entry was added: the same title and address within one second is
    // recorded once.
    bool RecordVisit(const QString &title, const QString &address);
    void Clear();
    bool Delete(const QModelIndex &index);
    int TodayIndex() const;

    QString dateText() const;
    QString entryText(const QString &title, const QString &address) const;
    // The address part of an entry's text; empty when the text holds no address.
    static QString OpenAddress(const QString &nodeText);
    // Position of a node among all nodes in display order (0 = first), -1 when invalid.
    int flatPosition(const QModelIndex &index) const;

private:
    QDateTime now() const;
    int dateRow(const QString &upperDateText) const;

    QStandardItemModel model_;
    QPersistentModelIndex today_;
    std::function<QDateTime()> now_;
    QLocale locale_ = QLocale::system();
};
