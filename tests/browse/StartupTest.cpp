#include "FixtureServer.h"
#include "ProgramUnderTest.h"
#include "app/Globals.h"
#include "app/TextFile.h"
#include "browse/ChildWindow.h"
#include "browse/MainWindow.h"
#include "controls/ClockPanel.h"
#include "organiser/FavoritesPage.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

namespace {

QStringList optionsWith(const QString &start, const QString &last, const QString &search)
{
    QStringList lines(27);
    lines[0] = start;
    lines[1] = last;
    lines[2] = search;
    for (int i = 4; i < 12; ++i)
        lines[i] = QStringLiteral("0");
    lines[23] = lines[24] = lines[25] = lines[26] = QStringLiteral("FALSE");
    return lines;
}

QMap<QString, QDateTime> folderState(const QString &dir)
{
    QMap<QString, QDateTime> state;
    const QFileInfoList entries =
        QDir(dir).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries)
        state.insert(entry.fileName(), entry.lastModified());
    return state;
}

// Counts the paint events each widget of one window receives.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *window) : window_(window) { qApp->installEventFilter(this); }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    QMap<QObject *, int> painted;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Paint && widget && widget->window() == window_)
            ++painted[watched];
        return false;
    }

private:
    QWidget *window_;
};

} // namespace

// Start-up and shutdown of the main window, with page opening recorded instead of performed.
class StartupTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstStartOpensSearchThenStartPage();
    void rememberedPages_data();
    void rememberedPages();
    void unreadableOptionsAreRewrittenAtStart();
    void quietShutdownWritesOnlyOptions();
    void missingWebPagesFolderStopsStartup();
    void startupWindowsReallyOpen();
    void clockTickRepaintsOnlyTheClock();
    void filesStillBeingReadAreKept();

private:
    std::unique_ptr<ProgramUnderTest> start(const QString &appDir);

    RecordingNavigation recorder_;
};

void StartupTest::init()
{
    Globals = TGlobals();
    recorder_ = RecordingNavigation();
}

void StartupTest::cleanup()
{
    setNavigation(nullptr);
}

std::unique_ptr<ProgramUnderTest> StartupTest::start(const QString &appDir)
{
    auto program = std::make_unique<ProgramUnderTest>(appDir);
    setNavigation(&recorder_);
    program->window.show();
    return program;
}

void StartupTest::firstStartOpensSearchThenStartPage()
{
    QTemporaryDir dir;
    auto program = start(dir.path());
    TQuillmere1 *window = &program->window;
    QVERIFY(window->startupCompleted());
    QCOMPARE(recorder_.opened.size(), 2);
    QCOMPARE(recorder_.opened[0], Globals.SearchPage);
    QVERIFY(recorder_.opened[1].endsWith("/Help/Welcome.htm"));
    QVERIFY(QFileInfo(dir.filePath("WebPages")).isDir());
    const QStringList written = TextFile::readLines(dir.filePath("Options.INI")).lines;
    QCOMPARE(written.size(), 27);
    QCOMPARE(written[0], recorder_.opened[1]);
    QCOMPARE(written[2], recorder_.opened[0]);
    QCOMPARE(window->sidePanel()->currentWidget(), static_cast<QWidget *>(window->favoritesPage()));
    QVERIFY(Globals.NewWindowMode);
}

void StartupTest::rememberedPages_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("opened");
    QTest::newRow("start equals last but for case")
        << optionsWith("http://Site/", "http://site/", "http://search/")
        << QStringList{"http://site/", "http://search/"};
    QTest::newRow("all three") << optionsWith("http://start/", "http://last/", "http://search/")
                               << QStringList{"http://last/", "http://search/", "http://start/"};
    QTest::newRow("all empty") << optionsWith("", "", "") << QStringList{};
}

void StartupTest::rememberedPages()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, opened);
    QTemporaryDir dir;
    TextFile::writeLines(dir.filePath("Options.INI"), options);
    auto program = start(dir.path());
    QCOMPARE(recorder_.opened, opened);
    if (opened.isEmpty())
        QVERIFY(program->window.pictureViewShown());
}

void StartupTest::unreadableOptionsAreRewrittenAtStart()
{
    QTemporaryDir dir;
    TextFile::writeLines(dir.filePath("Options.INI"),
                         {"http://s/", "http://l/", "http://q/", "", "letters", "9"});
    auto program = start(dir.path());
    const QStringList written = TextFile::readLines(dir.filePath("Options.INI")).lines;
    QCOMPARE(written.size(), 27);
    QCOMPARE(written.mid(0, 3), (QStringList{"http://s/", "http://l/", "http://q/"}));
    QCOMPARE(written.mid(8, 4), (QStringList{"450", "100", "400", "600"}));
    QCOMPARE(written.mid(23), (QStringList{"FALSE", "FALSE", "FALSE", "FALSE"}));
}

void StartupTest::quietShutdownWritesOnlyOptions()
{
    QTemporaryDir dir;
    TextFile::writeLines(dir.filePath("Options.INI"), optionsWith("", "", ""));
    TextFile::writeLines(dir.filePath("History.Ini"), {"*12/10/2026"});
    TextFile::writeLines(dir.filePath("WebPageList.INI"), {"News - daily"});
    TextFile::writeLines(dir.filePath("Colors.Ini"), {"1"});
    auto program = start(dir.path());
    const QMap<QString, QDateTime> before = folderState(dir.path());
    QTest::qWait(1100);
    program->window.close();
    const QMap<QString, QDateTime> after = folderState(dir.path());
    QCOMPARE(after.keys(), before.keys());
    for (const QString &name : after.keys()) {
        if (name == "Options.INI")
            QVERIFY(after[name] > before[name]);
        else
            QCOMPARE(after[name], before[name]);
    }
}

void StartupTest::missingWebPagesFolderStopsStartup()
{
    QTemporaryDir dir;
    // A file where the folder should be: the folder cannot be made.
    TextFile::writeLines(dir.filePath("WebPages"), {"not a folder"});
    TextFile::writeLines(dir.filePath("Options.INI"), optionsWith("keep", "http://l/", ""));
    auto program = start(dir.path());
    QVERIFY(!program->window.startupCompleted());
    QCOMPARE(program->ask.errors.size(), 1);
    QVERIFY(program->ask.errors[0].contains("WebPages"));
    QVERIFY(recorder_.opened.isEmpty());
    program->window.close();
    // The options never read are not overwritten with defaults.
    QCOMPARE(TextFile::readLines(dir.filePath("Options.INI")).lines.value(0), QString("keep"));
}

void StartupTest::startupWindowsReallyOpen()
{
    FixtureServer server;
    server.setPage("/search", "<html><head><title>Search Here</title></head></html>");
    server.setPage("/start", "<html><head><title>Start Here</title></head></html>");
    QTemporaryDir dir;
    TextFile::writeLines(dir.filePath("Options.INI"),
                         optionsWith(server.url("/start"), "", server.url("/search")));
    ProgramUnderTest program(dir.path());
    TQuillmere1 *window = &program.window;
    setNavigation(window);
    window->show();
    QCOMPARE(window->browserWindows().size(), 2);
    // The start page's window is brought to the front at the end of start-up.
    QCOMPARE(window->activeBrowserWindow(), window->browserWindows().at(1));
    QTRY_COMPARE_WITH_TIMEOUT(window->windowListView()->topLevelItemCount(), 2, 20000);
    QTRY_COMPARE(window->browserWindows().at(0)->windowTitle(), QString("Search Here"));
    QTRY_COMPARE(window->browserWindows().at(1)->windowTitle(), QString("Start Here"));
    QVERIFY(server.requests.contains("/search") && server.requests.contains("/start"));
}

void StartupTest::clockTickRepaintsOnlyTheClock()
{
    QTemporaryDir dir;
    TextFile::writeLines(dir.filePath("Options.INI"), optionsWith("", "", ""));
    auto program = start(dir.path());
    TQuillmere1 *window = &program->window;
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QLabel *clock = window->statusClockPanel();
    // The first tick may still meet start-up's own repaints; the following ones are measured.
    for (int tick = 0; tick < 3; ++tick) {
        PaintCounter counter(window);
        const QString shown = clock->text();
        QTRY_VERIFY_WITH_TIMEOUT(clock->text() != shown && counter.painted.value(clock) > 0, 3000);
        if (tick == 0)
            continue;
        // The focused field's cursor blinks on a timer of its own.
        counter.painted.remove(QApplication::focusWidget());
        QCOMPARE(counter.painted.keys(), QList<QObject *>{clock});
    }
}

// History and lists are read while the first pages load. A visit and a close that come before
// the files have reached their trees must still keep every line of them.
void StartupTest::filesStillBeingReadAreKept()
{
    QTemporaryDir dir;
    TextFile::writeLines(dir.filePath("Options.INI"), optionsWith("", "", ""));
    QStringList history;
    for (int day = 1; day <= 3; ++day) {
        history << QString("## %1/3/08").arg(day);
        for (int page = 0; page < 2000; ++page)
            history << QString("Page %1 - http://h.example/%1 - %2/3/08").arg(page).arg(day);
    }
    TextFile::writeLines(dir.filePath("History.Ini"), history);
    TextFile::writeLines(dir.filePath("WebPageList.INI"), {"News|@|Daily|@||@|"});
    TextFile::writeLines(dir.filePath("WebPageListDtl.INI"), {"News|@|http://n.example/"});
    auto program = start(dir.path());
    program->data.RecordVisit("Late", "http://late.example/");
    program->window.close();
    const QStringList saved = TextFile::readLines(dir.filePath("History.Ini")).lines;
    QCOMPARE(saved.mid(0, history.size()), history);
    QCOMPARE(saved.size(), history.size() + 2);
    QVERIFY(saved.last().startsWith("Late - http://late.example/ - "));
    // The first list became the current one once the lists were read.
    QTRY_COMPARE(Globals.CurrentList, QString("News"));
}

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
