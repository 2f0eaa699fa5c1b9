// Quillmere as the program starts, then the same page in further windows through OpenPage,
// for the memory figure with many windows open.
#include "app/AppDir.h"
#include "app/Globals.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "browse/MainWindow.h"
#include "shell/RealAsk.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QString url = args.value(1);
    const int windows = args.value(2, QStringLiteral("1")).toInt();
    const QString appDir = AppDirectory::resolve(QApplication::applicationDirPath());
    ProgramData data(Globals, appDir);
    RealAsk ask;
    TQuillmere1 mainWindow(data, ask);
    Quillmere1 = &mainWindow;
    setNavigation(&mainWindow);
    mainWindow.show();
    for (int i = 0; i < windows; ++i)
        OpenPage(url);
    return app.exec();
}
