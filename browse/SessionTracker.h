#pragma once

#include <QMdiArea>
#include <QObject>
#include <QPointer>
#include <QStringList>

class SessionFile;

// Keeps the session file in step with the browser windows of the frame: a window opened,
// navigated or closed changes the list of open addresses.
class SessionTracker : public QObject
{
    Q_OBJECT
public:
    SessionTracker(QMdiArea &windows, SessionFile &session, QObject *parent = nullptr);

    // From now on every change is kept, starting with the windows already open.
    void start();

    // The addresses of the open browser windows in the frame's child order.
    QStringList openAddresses() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void follow(QObject *window);
    void record();

    // The frame may go first; windows it takes down still report their end.
    QPointer<QMdiArea> windows_;
    SessionFile &session_;
    bool started_ = false;
};
