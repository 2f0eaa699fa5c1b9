#pragma once

#include "app/SessionFile.h"
#include "browse/SessionTracker.h"

#include <QObject>
#include <QStringList>

class Ask;
class QMdiArea;
class QWidget;

// What a start brings beyond the remembered pages: the windows a crash or kill left open
// (offered again), the addresses of the command line and of later starts, and the open windows
// kept in the program folder until an orderly close.
class DesktopSession : public QObject
{
    Q_OBJECT
public:
    // Reads what the last run left before anything of this run is written.
    DesktopSession(QWidget &frame, QMdiArea &windows, const QString &appDir, Ask &ask,
                   QObject *parent = nullptr);

    // After the start-up pages: offers the lost windows, opens the command line's addresses and
    // from then on keeps the open windows.
    void run(const QStringList &addresses);

    // A later start's addresses: opened here, and the frame comes to the front.
    void openFromLaterStart(const QStringList &addresses);

    // An orderly close: the next start is the usual one.
    void finish();

    const QStringList &lostAddresses() const { return lost_; }

private:
    bool askToReopen() const;

    QWidget &frame_;
    Ask &ask_;
    SessionFile file_;
    SessionTracker tracker_;
    QStringList lost_;
};
