#include "app/Globals.h"
#include "app/TextFile.h"
#include "help/HelpTopics.h"

#include <QDir>
#include <QFile>
#include <QQueue>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QUrl>

// The shipped help: every page a window asks for is there and says something, every link
// inside the help leads to a page that is there, and the contents page reaches them all.
class HelpPagesTest : public QObject
{
    Q_OBJECT

private slots:
    void everyAskedForPageExists_data();
    void everyAskedForPageExists();
    void everyLinkLeadsToAFile();
    void contentsReachesEveryPage();
    void everyPageUsesTheSharedStyleSheet();

private:
    static QDir helpDir() { return QDir(QStringLiteral(QUILLMERE_SOURCE_DIR "/data/Help")); }
    static QString read(const QString &path);
    // The local files a page links to, decoded, without fragments; web addresses left out.
    static QStringList links(const QString &html);
    static QStringList pages();
};

QString HelpPagesTest::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QStringList HelpPagesTest::links(const QString &html)
{
    static const QRegularExpression href(QStringLiteral("(?:href|src)\\s*=\\s*\"([^\"]*)\""),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList result;
    for (const QRegularExpressionMatch &match : href.globalMatch(html)) {
        const QUrl url(match.captured(1));
        if (!url.scheme().isEmpty() || url.path().isEmpty())
            continue;
        result << url.path();
    }
    return result;
}

QStringList HelpPagesTest::pages()
{
    return helpDir().entryList({QStringLiteral("*.htm"), QStringLiteral("*.html")}, QDir::Files);
}

void HelpPagesTest::everyAskedForPageExists_data()
{
    QTest::addColumn<QString>("name");
    // The names the windows' Help buttons, the help window's Home button and the menus use,
    // written as each caller writes them.
    const QStringList callers{
        QStringLiteral("Index.Htm"),
        QStringLiteral("Index.htm"),
        QStringLiteral("web_browser_window.htm"),
        QStringLiteral("set_quillmere_colors.htm"),
        QStringLiteral("set_quillmere_option.htm"),
        QStringLiteral("assigning_buttons_to_web_sites.htm"),
        QStringLiteral("creating_and_using_favorite_list.htm"),
        QStringLiteral("running_a_web_site_list.htm"),
        QStringLiteral("sending files over the internet.htm"),
        QStringLiteral("E-Mail Address List.htm"),
        QStringLiteral("about_quillmere.htm"),
        QString::fromLatin1(Defaults::WelcomePageFile),
    };
    for (const QString &name : callers)
        QTest::newRow(qPrintable(QStringLiteral("caller ") + name)) << name;
    const QStringList topics = HelpTopics::files();
    for (int i = 0; i < topics.size(); ++i)
        QTest::newRow(qPrintable(QStringLiteral("topic %1 ").arg(i) + topics[i])) << topics[i];
}

void HelpPagesTest::everyAskedForPageExists()
{
    QFETCH(QString, name);
    const QString path = TextFile::resolveNoCase(helpDir().path(), name.trimmed());
    QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    const QString text = read(path).remove(tags).simplified();
    QVERIFY2(text.size() > 300, qPrintable(name + QStringLiteral(" says too little")));
}

void HelpPagesTest::everyLinkLeadsToAFile()
{
    // The web view does not forgive letter case, so a link must name the file exactly.
    const QDir dir = helpDir();
    const QStringList present = dir.entryList(QDir::Files);
    for (const QString &page : pages()) {
        for (const QString &target : links(read(dir.filePath(page)))) {
            QVERIFY2(present.contains(target), qPrintable(page + QStringLiteral(" -> ") + target));
            QVERIFY2(QFileInfo(dir.filePath(target)).size() > 0, qPrintable(target));
        }
    }
}

void HelpPagesTest::contentsReachesEveryPage()
{
    const QDir dir = helpDir();
    QSet<QString> reached{QStringLiteral("Index.Htm")};
    QQueue<QString> waiting;
    waiting.enqueue(QStringLiteral("Index.Htm"));
    while (!waiting.isEmpty()) {
        for (const QString &target : links(read(dir.filePath(waiting.dequeue())))) {
            if (target.endsWith(QStringLiteral(".htm")) && !reached.contains(target)) {
                reached.insert(target);
                waiting.enqueue(target);
            }
        }
    }
    for (const QString &page : pages())
        QVERIFY2(reached.contains(page), qPrintable(page + QStringLiteral(" is not linked")));
}

void HelpPagesTest::everyPageUsesTheSharedStyleSheet()
{
    const QDir dir = helpDir();
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("help.css"))).size() > 0);
    for (const QString &page : pages()) {
        const QString html = read(dir.filePath(page));
        QVERIFY2(links(html).contains(QStringLiteral("help.css")), qPrintable(page));
        QVERIFY2(!html.contains(QStringLiteral("<style")), qPrintable(page));
    }
}

QTEST_GUILESS_MAIN(HelpPagesTest)
#include "HelpPagesTest.moc"
