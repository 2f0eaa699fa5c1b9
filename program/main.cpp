#include "app/AppDir.h"
#include "app/CommandLine.h"
#include "app/Globals.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "browse/DesktopSession.h"
#include "browse/MainWindow.h"
#include "shell/RealAsk.h"
#include "shell/SignalWatcher.h"
#include "shell/SingleInstance.h"
#include "shell/SplashWindow.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTimer>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Before anything else: a signal during start-up must end the program, not be dropped.
    SignalWatcher::catchSignals();

    // Read before the application object, so that --help and --version need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine = CommandLine::parse(arguments, QDir::currentPath());
    if (commandLine.action() != CommandLine::Action::Run) {
        std::fputs(qPrintable(commandLine.output()), commandLine.exitCode() == 0 ? stdout : stderr);
        return commandLine.exitCode();
    }
    if (!commandLine.appDir().isEmpty())
        qputenv("QUILLMERE_APPDIR", QFile::encodeName(commandLine.appDir()));

    // The resources sit in a static library, which registers nothing by itself.
    Q_INIT_RESOURCE(quillmere);
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmere"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quillmere"));
    QApplication::setApplicationVersion(CommandLine::version());
    QApplication::setDesktopFileName(QStringLiteral("quillmere"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillmere.svg")));

    const QString executableDir = QApplication::applicationDirPath();
    const QString appDir = AppDirectory::resolve(executableDir);
    if (const auto error = AppDirectory::seed(appDir, AppDirectory::shippedDataDir(executableDir)))
        qWarning("%s", qPrintable(*error));

    // One program per program folder: a later start gives its addresses to the running one.
    SingleInstance instance(appDir);
    if (instance.claim() == SingleInstance::Role::Second) {
        const auto error = instance.handOver(commandLine.addresses());
        if (error)
            std::fprintf(stderr, "%s\n", qPrintable(*error));
        return error ? 1 : 0;
    }

    auto *splash = new TLoadForm1;
    splash->showNow();

    // The windows that live for the whole run, created hidden in this order; the dialogs take
    // their places after the main window as they are built.
    ProgramData data(Globals, appDir);
    RealAsk ask;
    TQuillmere1 mainWindow(data, ask);
    Quillmere1 = &mainWindow;
    setNavigation(&mainWindow);
    mainWindow.setSplash(splash);

    DesktopSession session(mainWindow, *mainWindow.mdiArea(), appDir, ask);
    QObject::connect(&instance, &SingleInstance::addressesReceived, &session,
                     &DesktopSession::openFromLaterStart);

    // Nobody answers a box while a signal ends the program: the loops are told to end first,
    // so no box or dialog opened on the way out waits, and the saves report to the log.
    bool terminating = false;
    SignalWatcher watcher;
    QObject::connect(&watcher, &SignalWatcher::terminationRequested, &mainWindow,
                     [&mainWindow, &ask, &terminating] {
                         terminating = true;
                         ask.setUnattended(true);
                         QCoreApplication::exit(0);
                         mainWindow.close();
                     });

    mainWindow.show();
    // Later starts wait until the start-up pages are open; then their addresses come in order.
    QTimer::singleShot(0, &session, [&instance, &session, &commandLine] {
        instance.listen();
        session.run(commandLine.addresses());
    });
    // A signal taken while start-up showed a box has ended the run already: the main loop
    // would never hear of it.
    const int result = terminating ? 0 : app.exec();
    mainWindow.FormClose();
    session.finish();
    Quillmere1 = nullptr;
    return result;
}
