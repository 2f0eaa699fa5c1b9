#include "controls/SchemeFollower.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

namespace {
const QString Name = QStringLiteral("SchemeFollower");

// Only the application object hears of a new desktop palette; widgets are not told.
class DesktopWatcher : public QObject
{
public:
    static DesktopWatcher *instance()
    {
        static QPointer<DesktopWatcher> watcher;
        if (!watcher)
            watcher = new DesktopWatcher;
        return watcher;
    }

    QList<QPointer<TSchemeFollower>> followers;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == QCoreApplication::instance() &&
            event->type() == QEvent::ApplicationPaletteChange) {
            followers.removeAll(nullptr);
            const QList<QPointer<TSchemeFollower>> now = followers;
            for (const QPointer<TSchemeFollower> &follower : now) {
                if (follower)
                    follower->run();
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    DesktopWatcher() : QObject(QCoreApplication::instance())
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
};
} // namespace

TSchemeFollower::TSchemeFollower(QObject *owner) : QObject(owner)
{
    setObjectName(Name);
    DesktopWatcher::instance()->followers.append(this);
}

TSchemeFollower *TSchemeFollower::follow(QObject *owner, std::function<void()> reapply)
{
    auto *follower = owner->findChild<TSchemeFollower *>(Name, Qt::FindDirectChildrenOnly);
    if (!follower)
        follower = new TSchemeFollower(owner);
    follower->reapply_ = std::move(reapply);
    return follower;
}

void TSchemeFollower::run()
{
    // The routine sets palettes, which must not bring it back in.
    if (busy_ || !reapply_)
        return;
    busy_ = true;
    reapply_();
    busy_ = false;
}
