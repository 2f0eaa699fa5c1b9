#include "shell/DesktopSession.h"

#include "app/Ask.h"
#include "app/Navigation.h"

#include <QWidget>

DesktopSession::DesktopSession(QWidget &frame, QMdiArea &windows, const QString &appDir, Ask &ask,
                               QObject *parent)
    : QObject(parent), frame_(frame), ask_(ask), file_(appDir), tracker_(windows, file_)
{
    lost_ = file_.lostAddresses();
}

void DesktopSession::run(const QStringList &addresses)
{
    // Until the question is answered the old file stays as it is, so a second crash right now
    // still leaves the lost windows to offer.
    if (!lost_.isEmpty() && askToReopen()) {
        for (const QString &address : std::as_const(lost_))
            OpenPage(address);
    }
    for (const QString &address : addresses)
        OpenPage(address);
    tracker_.start();
}

bool DesktopSession::askToReopen() const
{
    const QString text =
        lost_.size() == 1
            ? QStringLiteral("Quillmere was not closed properly. Do You want to reopen the web "
                             "page that was open?\n\n%1")
                  .arg(lost_.first())
            : QStringLiteral("Quillmere was not closed properly. Do You want to reopen the %1 "
                             "web pages that were open?")
                  .arg(lost_.size());
    return ask_.question(text);
}

void DesktopSession::openFromLaterStart(const QStringList &addresses)
{
    for (const QString &address : addresses)
        OpenPage(address);
    if (frame_.isMinimized())
        frame_.showNormal();
    frame_.raise();
    frame_.activateWindow();
}

void DesktopSession::finish()
{
    if (const auto error = file_.markClosed())
        qWarning("%s", qPrintable(*error));
}
