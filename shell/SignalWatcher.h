#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the user-interface thread, so that a
// session ending or Ctrl+C in a terminal runs the ordinary shutdown instead of losing data.
// A second signal ends the process at once, and a shutdown that hangs is ended after a grace
// period: a signal-driven shutdown always ends.
class SignalWatcher : public QObject
{
    Q_OBJECT
public:
    // Seconds a signal-driven shutdown may take before the process is ended without it.
    static constexpr unsigned GraceSeconds = 10;

    // Catches the signals from now on; what arrives before the watcher exists waits for it.
    // main() calls this first, so that nothing is dropped during start-up. A signal ignored
    // when the program started (SIGHUP under nohup) stays ignored.
    static void catchSignals();

    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *notifier_ = nullptr;
};
