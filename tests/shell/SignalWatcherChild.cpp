// A program that takes signals the way Quillmere does, for SignalWatcherTest to send them to.
//   hang:  catches signals, then never runs its event loop (a shutdown that is stuck)
//   early: a signal raised before the watcher exists must still reach it
//   hup:   a hang-up ignored by the starter stays ignored; a SIGTERM still ends the program
#include "shell/SignalWatcher.h"

#include <QCoreApplication>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

void say(const char *text)
{
    std::fputs(text, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int runLoop(QCoreApplication &app, SignalWatcher &watcher)
{
    QObject::connect(&watcher, &SignalWatcher::terminationRequested, &app, [&app](int number) {
        std::printf("terminated by %d\n", number);
        std::fflush(stdout);
        app.quit();
    });
    QTimer::singleShot(5000, &app, [&app] {
        say("no signal arrived");
        app.exit(1);
    });
    return app.exec();
}

} // namespace

int main(int argc, char **argv)
{
    const char *mode = argc > 1 ? argv[1] : "";
    SignalWatcher::catchSignals();
    if (std::strcmp(mode, "early") == 0)
        ::raise(SIGTERM);
    QCoreApplication app(argc, argv);
    SignalWatcher watcher;
    if (std::strcmp(mode, "hang") == 0) {
        say("ready");
        for (;;)
            ::pause();
    }
    if (std::strcmp(mode, "hup") == 0) {
        ::raise(SIGHUP);
        QTimer::singleShot(100, [] { ::raise(SIGTERM); });
    }
    return runLoop(app, watcher);
}
