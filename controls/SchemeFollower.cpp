#include "controls/SchemeFollower.h"

#include <QEvent>

TSchemeFollower::TSchemeFollower(QObject *window) : QObject(window)
{
    setObjectName(QStringLiteral("SchemeFollower"));
    window->installEventFilter(this);
}

TSchemeFollower *TSchemeFollower::follow(QObject *window, std::function<void()> reapply)
{
    auto *follower = window->findChild<TSchemeFollower *>(QStringLiteral("SchemeFollower"),
                                                          Qt::FindDirectChildrenOnly);
    if (!follower)
        follower = new TSchemeFollower(window);
    follower->reapply_ = std::move(reapply);
    return follower;
}

bool TSchemeFollower::eventFilter(QObject *watched, QEvent *event)
{
    // The routine sets widget palettes, which must not bring it back in.
    if (watched == parent() && event->type() == QEvent::ApplicationPaletteChange && !busy_ &&
        reapply_) {
        busy_ = true;
        reapply_();
        busy_ = false;
    }
    return QObject::eventFilter(watched, event);
}
