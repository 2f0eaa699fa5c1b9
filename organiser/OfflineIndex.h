#pragma once

#include "organiser/OfflineSearch.h"

#include <QObject>
#include <QThread>

class TOfflineIndexWorker;

// The word index of the saved pages, read and searched on a worker thread of its own: asking
// returns at once and the answer comes as a signal, so a huge or hostile saved page never
// holds up the window.
class TOfflineIndex : public QObject
{
    Q_OBJECT
public:
    explicit TOfflineIndex(QObject *parent = nullptr);
    ~TOfflineIndex() override;

    void setFolder(const QString &dir);
    // Reads new and changed files in the background; refreshed() reports the progress.
    void refresh();
    // Searches what is indexed so far; the answer comes as found().
    void find(const QString &query);

signals:
    // complete is false while files are still waiting to be read.
    void found(const QString &query, const QList<TOfflineSearch::Hit> &hits, bool complete);
    void refreshed(bool changed, bool complete);

private:
    QThread thread_;
    TOfflineIndexWorker *worker_ = nullptr;
};
