#include "FixtureServer.h"
#include "ProgramUnderTest.h"
#include "QuietStart.h"
#include "app/Globals.h"
#include "app/TextFile.h"
#include "browse/ChildWindow.h"
#include "browse/MainWindow.h"
#include "browse/PopupPolicy.h"
#include "browse/WebControl.h"
#include "controls/GlowButton.h"
#include "controls/WindowTabBar.h"
#include "help/HelpWindow.h"
#include "organiser/HistoryStore.h"
#include "organiser/OfflinePage.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <memory>

namespace {

constexpr int kLoadTimeout = 20000;

QByteArray titledPage(const QByteArray &title, const QByteArray &script = {})
{
    return "<html><head><title>" + title + "</title></head><body>" + title + "<script>" + script +
           "</script></body></html>";
}

// Keys as a keyboard delivers them: to whatever holds the focus.
void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, key, modifiers);
}

void typeText(const QString &text)
{
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClicks(focus, text);
}

} // namespace

class BrowsingTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void enterKeysOpenTheTypedText_data();
    void enterKeysOpenTheTypedText();
    void addressKeysSelectTheWholeBox_data();
    void addressKeysSelectTheWholeBox();
    void typedTextOpens_data();
    void typedTextOpens();
    void programNavigationReportsOnlyTheNewPage();
    void inPageAddressChangesAddNoHistory();
    void pagesLoadingTogetherKeepTheirOwnAddresses();
    void refreshReloadsThisWindowsPage();
    void standInPagesAreNotRemembered();
    void titleAndStatusFollowTheActivePage();
    void popupsNeedAClickOrAnAllowedSite();
    void failedSaveListsNothingAndSays();
    void cascadeLeavesUsableWindows();
    void allTenButtonsFitTheDesignedWidth();
    void tabsStayBoundedWithManyLongTitles();

private:
    TChildWin1 *open(const QString &address);
    QStringList historyEntries() const;

    std::unique_ptr<QTemporaryDir> appDir_;
    std::unique_ptr<ProgramUnderTest> program_;
    TQuillmere1 *window_ = nullptr;
};

void BrowsingTest::init()
{
    appDir_ = std::make_unique<QTemporaryDir>();
    writeQuietOptions(appDir_->path());
    Globals = TGlobals();
    PopupPolicy::forgetAll();
    program_ = std::make_unique<ProgramUnderTest>(appDir_->path());
    window_ = &program_->window;
    setNavigation(window_);
    window_->show();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_));
    QVERIFY(window_->startupCompleted());
}

void BrowsingTest::cleanup()
{
    setNavigation(nullptr);
    window_ = nullptr;
    program_.reset();
    appDir_.reset();
}

TChildWin1 *BrowsingTest::open(const QString &address)
{
    const int before = window_->windowListView()->topLevelItemCount();
    window_->OpenPage(address);
    TChildWin1 *child = window_->activeBrowserWindow();
    const bool listed = QTest::qWaitFor(
        [&] { return window_->windowListView()->topLevelItemCount() == before + 1; }, kLoadTimeout);
    return listed ? child : nullptr;
}

QStringList BrowsingTest::historyEntries() const
{
    QStringList entries;
    for (const QString &line : program_->data.history().fileLines()) {
        if (!line.startsWith(THistoryStore::DateMarker))
            entries << line;
    }
    return entries;
}

void BrowsingTest::enterKeysOpenTheTypedText_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
}

void BrowsingTest::enterKeysOpenTheTypedText()
{
    QFETCH(int, key);
    RecordingNavigation recorder;
    setNavigation(&recorder);
    window_->addressBox()->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(window_->addressBox()->lineEdit()->hasFocus());
    typeText(QStringLiteral("example.org"));
    pressKey(Qt::Key(key));
    QCOMPARE(recorder.opened, QStringList{"example.org"});
}

void BrowsingTest::addressKeysSelectTheWholeBox_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Ctrl+L") << int(Qt::Key_L) << int(Qt::ControlModifier);
    QTest::newRow("Alt+D") << int(Qt::Key_D) << int(Qt::AltModifier);
    QTest::newRow("F6") << int(Qt::Key_F6) << int(Qt::NoModifier);
}

void BrowsingTest::addressKeysSelectTheWholeBox()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    window_->addressBox()->setEditText(QStringLiteral("http://typed.example/"));
    window_->sidePanel()->setCurrentWidget(window_->windowListView());
    window_->windowListView()->setFocus();
    QTRY_VERIFY(window_->windowListView()->hasFocus());
    pressKey(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(window_->addressBox()->lineEdit()->hasFocus());
    QCOMPARE(window_->addressBox()->lineEdit()->selectedText(),
             QStringLiteral("http://typed.example/"));
}

void BrowsingTest::typedTextOpens_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("opens");
    const QString existing = QStringLiteral(QUILLMERE_SOURCE_DIR "/tests/fixtures/pages/alpha.htm");
    QTest::newRow("existing file") << existing << QUrl::fromLocalFile(existing).toString();
    QTest::newRow("missing file") << "/no/such/page.htm"
                                  << "file:///no/such/page.htm";
    QTest::newRow("www host") << "www.x.org"
                              << "http://www.x.org";
    QTest::newRow("bare host, a file of that name in the working folder") << "x.org"
                                                                          << "http://x.org";
    QTest::newRow("host and port") << "localhost:8080"
                                   << "http://localhost:8080";
    QTest::newRow("blank page") << "about:blank"
                                << "about:blank";
    QTest::newRow("script") << "javascript:alert(1)"
                            << "about:blank";
}

void BrowsingTest::typedTextOpens()
{
    QFETCH(QString, typed);
    QFETCH(QString, opens);
    QTemporaryDir working;
    QFile decoy(working.filePath(QStringLiteral("x.org")));
    QVERIFY(decoy.open(QIODevice::WriteOnly));
    decoy.close();
    const QString before = QDir::currentPath();
    QDir::setCurrent(working.path());
    const QString url = TWebControl::addressToUrl(typed).toString();
    QDir::setCurrent(before);
    QCOMPARE(url, opens);
}

void BrowsingTest::programNavigationReportsOnlyTheNewPage()
{
    FixtureServer server;
    server.setPage("/old", titledPage("Old Page"));
    server.setPage("/new", titledPage("New Page"));
    TChildWin1 *child = open(server.url("/old"));
    QSignalSpy completed(child, &TChildWin1::navigationCompleted);
    Globals.HomePage = server.url("/new");
    child->HomeBtnClick();
    QTRY_COMPARE_WITH_TIMEOUT(child->windowTitle(), QString("New Page"), kLoadTimeout);
    QTest::qWait(300);
    QCOMPARE(completed.size(), 1);
    QCOMPARE(completed.first().value(0).toString(), QString("New Page"));
    QCOMPARE(completed.first().value(1).toString(), server.url("/new"));
    QCOMPARE(historyEntries().size(), 2);
    QVERIFY(historyEntries().last().startsWith("New Page - " + server.url("/new")));
}

void BrowsingTest::inPageAddressChangesAddNoHistory()
{
    FixtureServer server;
    server.setPage("/app",
                   titledPage("App Page", "let n = 0; const t = setInterval(() => {"
                                          " history.replaceState({}, '', '/app?step=' + ++n);"
                                          " if (n == 3) clearInterval(t); }, 50);"));
    TChildWin1 *child = open(server.url("/app"));
    QTRY_COMPARE_WITH_TIMEOUT(Globals.CurrentUrl, server.url("/app?step=3"), kLoadTimeout);
    QCOMPARE(child->LocationURL(), server.url("/app?step=3"));
    QCOMPARE(historyEntries().size(), 1);
}

void BrowsingTest::pagesLoadingTogetherKeepTheirOwnAddresses()
{
    FixtureServer server;
    QStringList expected;
    for (int n = 0; n < 12; ++n) {
        const QString path = QStringLiteral("/page%1").arg(n);
        server.setPage(path, titledPage("Page " + QByteArray::number(n)));
        expected << QStringLiteral("Page %1 - %2").arg(n).arg(server.url(path));
    }
    for (int n = 0; n < 12; ++n)
        window_->OpenPage(server.url(QStringLiteral("/page%1").arg(n)));
    const auto recorded = [this] {
        QStringList pages;
        for (const QString &entry : historyEntries())
            pages << entry.section(QStringLiteral(" - "), 0, 1);
        pages.sort();
        return pages;
    };
    expected.sort();
    QTRY_COMPARE_WITH_TIMEOUT(recorded(), expected, kLoadTimeout);
}

void BrowsingTest::refreshReloadsThisWindowsPage()
{
    FixtureServer server;
    server.setPage("/mine", titledPage("Mine"));
    server.setPage("/other", titledPage("Other"));
    TChildWin1 *mine = open(server.url("/mine"));
    open(server.url("/other"));
    QCOMPARE(Globals.CurrentUrl, server.url("/other"));
    server.requests.clear();
    mine->RefreshBtnClick();
    QTRY_VERIFY_WITH_TIMEOUT(server.requests.contains("/mine"), kLoadTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(Globals.CurrentUrl, server.url("/mine"), kLoadTimeout);
    QCOMPARE(mine->windowTitle(), QString("Mine"));
    QVERIFY(!server.requests.contains("/other"));
}

void BrowsingTest::standInPagesAreNotRemembered()
{
    QDir(appDir_->path()).mkpath(QStringLiteral("Help"));
    TextFile::writeLines(appDir_->path() + QStringLiteral("/Help/topic.htm"),
                         {QStringLiteral("<html><head><title>Topic</title></head></html>")});
    TChildWin1 *page = open(fixture("alpha.htm"));
    QCOMPARE(Globals.LastPage, fixture("alpha.htm"));
    // Help pages have a window of their own, never a browser window.
    window_->ShowHelp(QStringLiteral("topic.htm"));
    QCOMPARE(window_->browserWindows().size(), 1);
    delete HelpWin1.data();
    window_->addressBox()->setEditText(QString());
    Globals.CurrentUrl.clear();
    window_->TGoBtnClick();
    QTest::qWait(500);
    QCOMPARE(Globals.LastPage, fixture("alpha.htm"));
    QCOMPARE(historyEntries().size(), 1);
    Q_UNUSED(page);
}

void BrowsingTest::titleAndStatusFollowTheActivePage()
{
    QCOMPARE(window_->windowTitle(), QString("Quillmere"));
    TChildWin1 *alpha = open(fixture("alpha.htm"));
    QTRY_COMPARE(window_->windowTitle(), QString("Alpha Page - Quillmere"));
    TChildWin1 *beta = open(fixture("beta.htm"));
    QTRY_COMPARE(window_->windowTitle(), QString("Beta Page - Quillmere"));
    window_->mdiArea()->setActiveSubWindow(alpha);
    QCOMPARE(window_->windowTitle(), QString("Alpha Page - Quillmere"));
    alpha->close();
    beta->close();
    QTRY_VERIFY(window_->browserWindows().isEmpty());
    QCOMPARE(window_->windowTitle(), QString("Quillmere"));
    QCOMPARE(window_->statusPagePanel()->text(), QString());
    QCOMPARE(window_->addressBox()->currentText(), QString());
}

void BrowsingTest::popupsNeedAClickOrAnAllowedSite()
{
    FixtureServer server;
    server.setPage("/target", titledPage("Target"));
    server.setPage("/pushy", titledPage("Pushy", "for (let i = 0; i < 5; ++i)"
                                                 " window.open('/target');"));
    open(server.url("/pushy"));
    auto *allow = window_->findChild<QToolButton *>(QStringLiteral("AllowPopups"));
    QVERIFY(allow);
    QTRY_VERIFY_WITH_TIMEOUT(allow->isVisible(), kLoadTimeout);
    QVERIFY(allow->text().contains("blocked"));
    QVERIFY(allow->text().contains("127.0.0.1"));
    QCOMPARE(window_->browserWindows().size(), 1);

    QTest::mouseClick(allow, Qt::LeftButton);
    QVERIFY(!allow->isVisible());
    window_->activeBrowserWindow()->RefreshBtnClick();
    QTRY_COMPARE_WITH_TIMEOUT(window_->browserWindows().size(), 6, kLoadTimeout);
}

void BrowsingTest::failedSaveListsNothingAndSays()
{
    TChildWin1 *child = open(fixture("alpha.htm"));
    const QAbstractItemModel *offline = window_->offlinePage()->treeView()->model();
    const int nodes = offline->rowCount();
    ScriptedAsk &ask = program_->ask;
    ask.files << appDir_->path() + "/no-such-folder/deeper/page.htm";
    child->SaveBtnClick();
    QTRY_COMPARE_WITH_TIMEOUT(ask.errors.size(), 1, kLoadTimeout);
    QVERIFY(ask.errors.first().contains("page.htm"));
    QCOMPARE(offline->rowCount(), nodes);

    // A good save lists its page only once the file is written.
    const QString good = appDir_->path() + "/WebPages/good.htm";
    ask.files << good;
    child->SaveBtnClick();
    QTRY_COMPARE_WITH_TIMEOUT(offline->rowCount(), nodes + 1, kLoadTimeout);
    QVERIFY(QFileInfo(good).size() > 0);
}

void BrowsingTest::cascadeLeavesUsableWindows()
{
    // Room for a browser window's ten buttons beside the side panel.
    window_->resize(1200, 900);
    for (int i = 0; i < 3; ++i)
        window_->OpenPage(fixture("alpha.htm"));
    window_->menuAction(QStringLiteral("&Cascade"))->trigger();
    const QSize area = window_->mdiArea()->viewport()->size();
    for (TChildWin1 *child : window_->browserWindows()) {
        QVERIFY2(child->height() >= area.height() / 2,
                 qPrintable(QString::number(child->height())));
        // The title bar of every window stays in reach.
        QVERIFY(window_->mdiArea()->viewport()->rect().contains(child->geometry().topLeft()));
    }
}

void BrowsingTest::allTenButtonsFitTheDesignedWidth()
{
    TChildWin1 *child = open(fixture("alpha.htm"));
    child->showNormal();
    child->resize(706, 397);
    QTRY_COMPARE(child->width(), 706);
    QToolBar *bar = child->toolBar();
    for (TGlowButton *button : child->toolButtons()) {
        QVERIFY2(button->isVisible(), qPrintable(button->text()));
        QVERIFY2(bar->rect().contains(button->geometry()), qPrintable(button->text()));
    }
}

void BrowsingTest::tabsStayBoundedWithManyLongTitles()
{
    const QString longTitle = QString(200, u'W');
    for (int i = 0; i < 30; ++i) {
        window_->OpenPage(QStringLiteral("about:blank"));
        window_->activeBrowserWindow()->setWindowTitle(longTitle + QString::number(i));
    }
    QTabBar *tabs = window_->windowTabBar()->tabBar();
    QCOMPARE(tabs->count(), 30);
    for (int i = 0; i < tabs->count(); ++i) {
        QVERIFY(tabs->tabRect(i).width() <= 240);
        QCOMPARE(tabs->tabToolTip(i), longTitle + QString::number(i));
    }
    QTRY_VERIFY2(tabs->tabRect(tabs->currentIndex()).intersects(tabs->rect()),
                 qPrintable(QStringLiteral("tab %1 at %2 of bar %3 wide, visible %4")
                                .arg(tabs->currentIndex())
                                .arg(tabs->tabRect(tabs->currentIndex()).x())
                                .arg(tabs->width())
                                .arg(tabs->isVisible())));

    // A huge title is cut before it reaches the tab, the tip and the frame's caption.
    const QString huge(2 * 1024 * 1024, u'x');
    window_->activeBrowserWindow()->setWindowTitle(huge);
    QVERIFY(tabs->tabText(tabs->currentIndex()).size() < 1000);
    QVERIFY(tabs->tabToolTip(tabs->currentIndex()).size() < 5000);
    QVERIFY(window_->windowTitle().size() < 1000);
}

QTEST_MAIN(BrowsingTest)
#include "BrowsingTest.moc"
