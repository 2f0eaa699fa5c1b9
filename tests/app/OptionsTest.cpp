#include "app/Options.h"

#include "app/Startup.h"
#include "app/TextFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString writeFile(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath("Options.INI");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

QByteArray fullFile()
{
    return "http://start/\r\nhttp://last/\r\nhttp://search/\r\n/pics/main.png\r\n"
           "10\r\n20\r\n700\r\n900\r\n1\r\n2\r\n3\r\n4\r\nme@example.org\r\n"
           "a1\r\na2\r\na3\r\na4\r\na5\r\na6\r\na7\r\na8\r\na9\r\na10\r\n"
           "TRUE\r\nFALSE\r\ntrue\r\nTrue\r\n";
}

struct Loaded
{
    TGlobals g;
    MainWindowRect rect;
    bool ok = false;
};

Loaded load(const QByteArray &bytes)
{
    QTemporaryDir dir;
    Loaded result;
    Options::SetDefaultOptions(result.g);
    result.ok = Options::LoadOptions(writeFile(dir, bytes), result.g, result.rect);
    return result;
}

} // namespace

class OptionsTest : public QObject
{
    Q_OBJECT
private slots:
    void readsEveryLine();
    void defaults();
    void badNumberStopsReading();
    void shortFileCountsAsRead();
    void flags_data();
    void flags();
    void integersAndTexts_data();
    void integersAndTexts();
    void missingFileFailsAndClearsLastPage();
    void survivesAnyBytes();
    void roundTrip();
    void maximizedLine_data();
    void maximizedLine();
    void failedSaveKeepsOldFile();
    void rememberedPages_data();
    void rememberedPages();
    void currentListFromFirstNode_data();
    void currentListFromFirstNode();
};

void OptionsTest::readsEveryLine()
{
    const Loaded l = load(fullFile());
    QVERIFY(l.ok);
    QCOMPARE(l.g.StartPage, QString("http://start/"));
    QCOMPARE(l.g.LastPage, QString("http://last/"));
    QCOMPARE(l.g.SearchPage, QString("http://search/"));
    QCOMPARE(l.g.MainPicture, QString("/pics/main.png"));
    QCOMPARE(l.rect.WindowLeft, 10);
    QCOMPARE(l.rect.WindowTop, 20);
    QCOMPARE(l.rect.WindowHeight, 700);
    QCOMPARE(l.rect.WindowWidth, 900);
    QCOMPARE((QList<int>{l.g.HelpLeft, l.g.HelpTop, l.g.HelpHeight, l.g.HelpWidth}),
             (QList<int>{1, 2, 3, 4}));
    QCOMPARE(l.g.FromAddress, QString("me@example.org"));
    QCOMPARE(l.g.ToAddresses[0], QString("a1"));
    QCOMPARE(l.g.ToAddresses[9], QString("a10"));
    QVERIFY(l.g.BoldText);
    QVERIFY(!l.g.GridLines);
    QVERIFY(l.g.MaximizeWindows);
    QVERIFY(l.g.StartTips);
}

void OptionsTest::defaults()
{
    TGlobals g;
    g.StartPage = "keep";
    g.ToAddresses[3] = "gone";
    g.GridLines = true;
    Options::SetDefaultOptions(g);
    QCOMPARE(g.StartPage, QString("keep"));
    QVERIFY(g.ToAddresses[3].isEmpty());
    QVERIFY(!g.GridLines);
    QCOMPARE((QList<int>{g.HelpLeft, g.HelpTop, g.HelpHeight, g.HelpWidth}),
             (QList<int>{450, 100, 400, 600}));
    QVERIFY(!g.SearchPage.isEmpty());
}

void OptionsTest::badNumberStopsReading()
{
    const Loaded l = load("s\r\nl\r\nq\r\np\r\nletters\r\n5\r\n6\r\n7\r\n");
    QVERIFY(!l.ok);
    QCOMPARE(l.g.MainPicture, QString("p"));
    QCOMPARE(l.rect.WindowTop, 0);
    QCOMPARE(l.rect.WindowWidth, 0);
    QCOMPARE(l.g.HelpLeft, 450);
    QCOMPARE(l.g.HelpWidth, 600);
    QVERIFY(!l.g.BoldText && !l.g.StartTips);

    // What start-up writes back at once: the four texts as read, the flags false.
    QTemporaryDir dir;
    const QString path = dir.filePath("Options.INI");
    QVERIFY(!Options::SaveOptions(path, l.g, l.rect));
    const QStringList lines = TextFile::readLines(path).lines;
    QCOMPARE(lines.size(), 27);
    QCOMPARE(lines.mid(0, 4), (QStringList{"s", "l", "q", "p"}));
    QCOMPARE(lines.mid(23), (QStringList{"FALSE", "FALSE", "FALSE", "FALSE"}));
}

void OptionsTest::shortFileCountsAsRead()
{
    TGlobals g;
    Options::SetDefaultOptions(g);
    g.BoldText = g.StartTips = true;
    MainWindowRect rect{5, 5, 5, 5};
    QTemporaryDir dir;
    QVERIFY(Options::LoadOptions(writeFile(dir, "a\r\nb\r\nc\r\nd\r\n"), g, rect));
    QCOMPARE(rect.WindowLeft, 0);
    QCOMPARE(rect.WindowWidth, 0);
    QCOMPARE(g.HelpLeft, 0);
    QCOMPARE(g.HelpWidth, 0);
    QVERIFY(g.FromAddress.isEmpty() && g.ToAddresses[9].isEmpty());
    QVERIFY(!g.BoldText && !g.StartTips);
}

void OptionsTest::flags_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("on");
    for (const char *yes : {"TRUE", "true", "True", "tRuE"})
        QTest::newRow(yes) << QByteArray(yes) << true;
    for (const char *no : {"FALSE", "yes", "1", "", " TRUE", "TRUE "})
        QTest::newRow(QByteArray("'") + no + "'") << QByteArray(no) << false;
}

void OptionsTest::flags()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, on);
    QByteArray file = fullFile();
    file = file.left(file.indexOf("TRUE\r\nFALSE"));
    const Loaded l = load(file + text + "\r\n" + text + "\r\n" + text + "\r\n" + text + "\r\n");
    QVERIFY(l.ok);
    QCOMPARE(l.g.BoldText, on);
    QCOMPARE(l.g.GridLines, on);
    QCOMPARE(l.g.MaximizeWindows, on);
    QCOMPARE(l.g.StartTips, on);
}

void OptionsTest::integersAndTexts_data()
{
    QTest::addColumn<QByteArray>("line5");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("left");
    QTest::newRow("blanks around") << QByteArray("  -20  ") << true << -20;
    QTest::newRow("tab before") << QByteArray("\t7") << true << 7;
    QTest::newRow("plus sign") << QByteArray("+12") << true << 12;
    QTest::newRow("rest skipped") << QByteArray("15 px") << true << 15;
    QTest::newRow("blank line") << QByteArray("") << true << 0;
    QTest::newRow("max") << QByteArray("2147483647") << true << 2147483647;
    QTest::newRow("min") << QByteArray("-2147483648") << true << int(-2147483648LL);
    QTest::newRow("overflow") << QByteArray("2147483648") << false << 0;
    QTest::newRow("letters after digits") << QByteArray("12ab") << false << 0;
    QTest::newRow("hex") << QByteArray("0x10") << false << 0;
}

void OptionsTest::integersAndTexts()
{
    QFETCH(QByteArray, line5);
    QFETCH(bool, ok);
    QFETCH(int, left);
    const Loaded l = load("  start  \r\nl\r\ns\r\np\r\n" + line5 + "\r\n");
    QCOMPARE(l.ok, ok);
    QCOMPARE(l.g.StartPage, QString("  start  "));
    QCOMPARE(l.rect.WindowLeft, left);
}

void OptionsTest::missingFileFailsAndClearsLastPage()
{
    TGlobals g;
    g.LastPage = "http://old/";
    MainWindowRect rect;
    QVERIFY(!Options::LoadOptions("/nonexistent/Options.INI", g, rect));
    QVERIFY(g.LastPage.isEmpty());
}

void OptionsTest::survivesAnyBytes()
{
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk += char((i * 7919) % 256);
    const QByteArray huge(1 << 20, 'x');
    for (const QByteArray &bytes : {junk, huge, QByteArray("\0\0\0\r\n\0", 6),
                                    QByteArray("\xff\xfe\xc3(\r\n"), QByteArray(100000, '\n')}) {
        const Loaded l = load(bytes);
        Q_UNUSED(l);
    }
    const Loaded l = load(huge + "\r\nsecond");
    QCOMPARE(l.g.StartPage.size(), huge.size());
    QCOMPARE(l.g.LastPage, QString("second"));
}

void OptionsTest::roundTrip()
{
    TGlobals g;
    Options::SetDefaultOptions(g);
    g.StartPage = QString::fromUtf8(" http://x/?a=b&c=\xc3\xa9 ");
    g.LastPage = "file:///tmp/a page.htm";
    g.MainPicture = "/home/u/pic.png";
    g.FromAddress = "me@x";
    for (int i = 0; i < 10; ++i)
        g.ToAddresses[i] = QString("to%1@x").arg(i);
    g.BoldText = g.MaximizeWindows = true;
    g.HelpLeft = -5;
    MainWindowRect rect{-8, 0, 600, 2000};
    QTemporaryDir dir;
    const QString path = dir.filePath("Options.INI");
    QVERIFY(!Options::SaveOptions(path, g, rect));
    TGlobals back;
    MainWindowRect backRect;
    QVERIFY(Options::LoadOptions(path, back, backRect));
    QCOMPARE(back.StartPage, g.StartPage);
    QCOMPARE(back.LastPage, g.LastPage);
    QCOMPARE(back.MainPicture, g.MainPicture);
    QCOMPARE(back.ToAddresses, g.ToAddresses);
    QCOMPARE(back.HelpLeft, -5);
    QCOMPARE(backRect.WindowLeft, -8);
    QCOMPARE(backRect.WindowWidth, 2000);
    QVERIFY(back.BoldText && back.MaximizeWindows && !back.GridLines && !back.StartTips);
}

void OptionsTest::maximizedLine_data()
{
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<int>("lines");
    QTest::newRow("normal window keeps 27 lines") << false << 27;
    QTest::newRow("maximised window adds line 28") << true << 28;
}

void OptionsTest::maximizedLine()
{
    QFETCH(bool, maximized);
    QFETCH(int, lines);
    TGlobals g;
    Options::SetDefaultOptions(g);
    g.StartTips = true;
    MainWindowRect rect{30, 20, 500, 700, maximized};
    QTemporaryDir dir;
    const QString path = dir.filePath("Options.INI");
    QVERIFY(!Options::SaveOptions(path, g, rect));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count("\r\n"), lines);
    TGlobals back;
    MainWindowRect backRect{0, 0, 0, 0, !maximized};
    QVERIFY(Options::LoadOptions(path, back, backRect));
    QCOMPARE(backRect.Maximized, maximized);
    // The normal rectangle is what comes back when the user restores the window.
    QCOMPARE(backRect.WindowLeft, 30);
    QCOMPARE(backRect.WindowWidth, 700);
    QVERIFY(back.StartTips);
}

void OptionsTest::failedSaveKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Options.INI");
    TGlobals g;
    g.StartPage = "first";
    MainWindowRect rect;
    QVERIFY(!Options::SaveOptions(path, g, rect));
    QFile(dir.path()).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    g.StartPage = "second";
    const auto error = Options::SaveOptions(path, g, rect);
    QFile(dir.path()).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!error)
        QSKIP("running as a user who may write anywhere");
    QCOMPARE(TextFile::readLines(path).lines.value(0), QString("first"));
    QCOMPARE(TextFile::readLines(path).lines.size(), 27);
}

void OptionsTest::rememberedPages_data()
{
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("pages");
    QTest::newRow("first start") << ""
                                 << "http://s/"
                                 << "file:///w.htm" << QStringList{"http://s/", "file:///w.htm"};
    QTest::newRow("all three") << "http://l/"
                               << "http://s/"
                               << "http://st/"
                               << QStringList{"http://l/", "http://s/", "http://st/"};
    QTest::newRow("start is last but for case")
        << "HTTP://A/"
        << "http://s/"
        << "http://a/" << QStringList{"HTTP://A/", "http://s/"};
    QTest::newRow("search equal to last still opens")
        << "http://s/"
        << "http://s/"
        << "" << QStringList{"http://s/", "http://s/"};
    QTest::newRow("all empty") << ""
                               << ""
                               << "" << QStringList{};
}

void OptionsTest::rememberedPages()
{
    QFETCH(QString, last);
    QFETCH(QString, search);
    QFETCH(QString, start);
    QFETCH(QStringList, pages);
    TGlobals g;
    g.LastPage = last;
    g.SearchPage = search;
    g.StartPage = start;
    QCOMPARE(Startup::rememberedPages(g), pages);
}

void OptionsTest::currentListFromFirstNode_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("list");
    QTest::newRow("one letter") << "A - things"
                                << "A";
    QTest::newRow("name") << "News - daily reading"
                          << "News";
    QTest::newRow("no dash") << "News"
                             << "";
    QTest::newRow("dash first") << "- x"
                                << "";
    QTest::newRow("dash second") << "a-x"
                                 << "";
    QTest::newRow("empty") << ""
                           << "";
}

void OptionsTest::currentListFromFirstNode()
{
    QFETCH(QString, node);
    QFETCH(QString, list);
    QCOMPARE(Startup::currentListFromFirstNode(node), list);
}

QTEST_GUILESS_MAIN(OptionsTest)
#include "OptionsTest.moc"
