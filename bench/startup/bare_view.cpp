// The floor for the start-up and memory figures: bare Qt WebEngine windows loading the pages.
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QUrl url(args.value(1));
    const int windows = args.value(2, QStringLiteral("1")).toInt();
    for (int i = 0; i < windows; ++i) {
        auto *view = new QWebEngineView;
        view->setAttribute(Qt::WA_DeleteOnClose);
        view->resize(706, 397);
        view->load(url);
        view->show();
    }
    return app.exec();
}
