#include "organiser/OfflineIndexWorker.h"

namespace {

// Files are read in slices this long, so that a search asked meanwhile is answered between
// them.
constexpr int SliceMs = 50;

} // namespace

void TOfflineIndexWorker::setFolder(const QString &dir)
{
    search_.setFolder(dir);
}

void TOfflineIndexWorker::refresh()
{
    if (stepping_)
        return;
    stepping_ = true;
    QMetaObject::invokeMethod(this, &TOfflineIndexWorker::step, Qt::QueuedConnection);
}

void TOfflineIndexWorker::find(const QString &query)
{
    emit found(query, search_.find(query), search_.isComplete());
}

void TOfflineIndexWorker::step()
{
    const bool changed = search_.refresh(SliceMs);
    const bool complete = search_.isComplete();
    stepping_ = !complete;
    if (!complete)
        QMetaObject::invokeMethod(this, &TOfflineIndexWorker::step, Qt::QueuedConnection);
    if (changed || complete)
        emit refreshed(changed, complete);
}
