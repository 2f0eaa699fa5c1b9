#pragma once

#include "organiser/OfflineSearch.h"

#include <QObject>

// Lives on the offline index's thread and owns the index: only that thread ever touches it.
class TOfflineIndexWorker : public QObject
{
    Q_OBJECT
public:
    void setFolder(const QString &dir);
    // Starts reading changed files in slices, unless that is already going on.
    void refresh();
    void find(const QString &query);

signals:
    void found(const QString &query, const QList<TOfflineSearch::Hit> &hits, bool complete);
    void refreshed(bool changed, bool complete);

private:
    void step();

    TOfflineSearch search_;
    bool stepping_ = false;
};
