#include "browse/SessionTracker.h"

#include "app/SessionFile.h"
#include "browse/ChildWindow.h"

#include <QChildEvent>
#include <QTimer>

SessionTracker::SessionTracker(QMdiArea &windows, SessionFile &session, QObject *parent)
    : QObject(parent), windows_(&windows), session_(session)
{
    // The frame tells nobody about a new sub-window; it becomes a child of the area's viewport.
    windows_->viewport()->installEventFilter(this);
}

void SessionTracker::start()
{
    started_ = true;
    if (!windows_)
        return;
    for (QObject *window : windows_->subWindowList())
        follow(window);
    record();
}

QStringList SessionTracker::openAddresses() const
{
    QStringList addresses;
    if (!windows_)
        return addresses;
    const QList<QMdiSubWindow *> all = windows_->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow *window : all) {
        const auto *child = qobject_cast<TChildWin1 *>(window);
        if (!child || child->isClosing())
            continue;
        // Until its page has started loading, a new window's caption is the address it opens.
        const QString address = child->LocationURL();
        addresses.append(address.isEmpty() ? child->windowTitle() : address);
    }
    return addresses;
}

bool SessionTracker::eventFilter(QObject *watched, QEvent *event)
{
    if (started_ && event->type() == QEvent::ChildAdded)
        follow(static_cast<QChildEvent *>(event)->child());
    return QObject::eventFilter(watched, event);
}

void SessionTracker::follow(QObject *window)
{
    auto *child = qobject_cast<TChildWin1 *>(window);
    if (!child || child->property("sessionFollowed").toBool())
        return;
    child->setProperty("sessionFollowed", true);
    connect(child, &TChildWin1::navigationCompleted, this, &SessionTracker::record);
    // A closing window stays a child until its deferred deletion; look once it is gone.
    connect(child, &QObject::destroyed, this, &SessionTracker::record, Qt::QueuedConnection);
    // The caption is the address it opens before anything has loaded.
    QTimer::singleShot(0, this, &SessionTracker::record);
}

void SessionTracker::record()
{
    if (!windows_)
        return;
    session_.setAddresses(openAddresses());
}
