#include "app/AppDir.h"
#include "app/Globals.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "shell/SignalWatcher.h"
#include "shell/SplashWindow.h"
#include "browse/MainWindow.h"
#include "shell/RealAsk.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmere"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quillmere"));
    QApplication::setDesktopFileName(QStringLiteral("quillmere"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillmere.svg")));

    auto *splash = new TLoadForm1;
    splash->showNow();

    const QString executableDir = QApplication::applicationDirPath();
    const QString appDir = AppDirectory::resolve(executableDir);
    if (const auto error = AppDirectory::seed(appDir, AppDirectory::shippedDataDir(executableDir)))
        qWarning("%s", qPrintable(*error));

    // The windows that live for the whole run, created hidden in this order; the dialogs take
    // their places after the main window as they are built.
    ProgramData data(Globals, appDir);
    RealAsk ask;
    TQuillmere1 mainWindow(data, ask);
    Quillmere1 = &mainWindow;
    setNavigation(&mainWindow);
    mainWindow.setSplash(splash);

    SignalWatcher watcher;
    QObject::connect(&watcher, &SignalWatcher::terminationRequested, &mainWindow,
                     [&mainWindow] { mainWindow.close(); });

    mainWindow.show();
    const int result = app.exec();
    mainWindow.FormClose();
    Quillmere1 = nullptr;
    return result;
}
