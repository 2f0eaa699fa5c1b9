// The floor for the start-up, memory and idle figures: bare Qt WebEngine windows loading the
// pages, each one a visible top-level view of the browser window's size, cascaded over the
// screen the way the browser windows cascade inside the main window.
#include <QApplication>
#include <QScreen>
#include <QUrl>
#include <QWebEngineView>

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QUrl url(args.value(1));
    const int windows = args.value(2, QStringLiteral("1")).toInt();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize size(706, 397);
    for (int i = 0; i < windows; ++i) {
        auto *view = new QWebEngineView;
        view->setAttribute(Qt::WA_DeleteOnClose);
        view->setGeometry(QRect(area.topLeft() + QPoint(24, 24) * i, size).intersected(area));
        view->load(url);
        view->show();
        view->raise();
    }
    return app.exec();
}
