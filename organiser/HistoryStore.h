#pragma once

#include "organiser/HistoryModel.h"

#include <QDateTime>
#include <QFuture>
#include <QLocale>
#include <QPersistentModelIndex>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

// The browsing history by day: History.Ini and its working copy, a tree of date nodes, each
// holding the pages visited that day, oldest first.
class THistoryStore
{
public:
    static inline const QString FileName = QStringLiteral("History.Ini");
    static inline const QString DateMarker = QStringLiteral("## ");

    THistoryStore();

    THistoryModel *model() { return &model_; }
    const THistoryModel *model() const { return &model_; }

    // Tests and benchmarks fix the moment and the locale; the program uses the clock and the
    // user's locale.
    void setClock(std::function<QDateTime()> now) { now_ = std::move(now); }
    void setLocale(const QLocale &locale) { locale_ = locale; }

    // Appends the nodes the file holds; a missing file leaves the tree as it is.
    std::optional<QString> LoadHistory(const QString &path);
    std::optional<QString> SaveHistory(const QString &path);
    // One line per node in display order, date nodes behind the marker.
    QStringList fileLines();
    void appendFileLines(const QStringList &lines);

    // LoadHistory in steps: a worker thread reads the file and makes its nodes, then
    // fillSome() moves them into the tree a batch at a time. Whatever else reads or changes
    // the tree first takes all the rest at once, so nothing acts on, or writes back, half a
    // history.
    void beginLoad(const QString &path);
    // Finishes when the worker has read the file; at once when nothing is being read.
    QFuture<void> whenRead() const { return QFuture<void>(reading_); }
    // Moves about `pages` more pages of a read file into the tree. True when the whole file is
    // in (or no load is going on), false while the worker reads or nodes remain.
    bool fillSome(int pages);
    bool loading() const { return loading_; }
    // Waits for the worker and moves every remaining node into the tree.
    void finishLoad();
    // Why the last load could not read the file.
    std::optional<QString> loadError() const { return loadError_; }

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
    struct Nodes;
    static std::shared_ptr<Nodes> readNodes(const QString &path);
    static std::shared_ptr<Nodes> nodesOf(const QStringList &lines);
    void appendNodes(Nodes &nodes, int pages);
    QByteArray fileBytes();
    QDateTime now() const;
    int dateRow(const QString &upperDateText) const;

    THistoryModel model_;
    QPersistentModelIndex today_;
    std::function<QDateTime()> now_;
    QLocale locale_ = QLocale::system();
    QFuture<std::shared_ptr<Nodes>> reading_;
    bool loading_ = false;
    std::optional<QString> loadError_;
};
