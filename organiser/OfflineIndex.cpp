#include "organiser/OfflineIndex.h"

#include "organiser/OfflineIndexWorker.h"

TOfflineIndex::TOfflineIndex(QObject *parent) : QObject(parent), worker_(new TOfflineIndexWorker)
{
    thread_.setObjectName(QStringLiteral("offline index"));
    worker_->moveToThread(&thread_);
    connect(worker_, &TOfflineIndexWorker::found, this, &TOfflineIndex::found);
    connect(worker_, &TOfflineIndexWorker::refreshed, this, &TOfflineIndex::refreshed);
    thread_.start(QThread::LowPriority);
}

TOfflineIndex::~TOfflineIndex()
{
    // A file being read is finished first; the slices still queued are dropped.
    thread_.quit();
    thread_.wait();
    delete worker_;
}

void TOfflineIndex::setFolder(const QString &dir)
{
    TOfflineIndexWorker *worker = worker_;
    QMetaObject::invokeMethod(worker, [worker, dir] { worker->setFolder(dir); });
}

void TOfflineIndex::refresh()
{
    TOfflineIndexWorker *worker = worker_;
    QMetaObject::invokeMethod(worker, [worker] { worker->refresh(); });
}

void TOfflineIndex::find(const QString &query)
{
    TOfflineIndexWorker *worker = worker_;
    QMetaObject::invokeMethod(worker, [worker, query] { worker->find(query); });
}
