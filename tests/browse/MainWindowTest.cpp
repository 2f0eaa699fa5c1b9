#include "browse/MainWindow.h"

#include "FixtureServer.h"
#include "ProgramUnderTest.h"
#include "QuietStart.h"
#include "app/Globals.h"
#include "app/LastCharPos.h"
#include "app/TextFile.h"
#include "browse/ChildWindow.h"
#include "browse/WebControl.h"
#include "controls/WindowTabBar.h"
#include "organiser/OfflinePage.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>
#include <memory>

namespace {

constexpr int kLoadTimeout = 20000;

QStringList nodeTexts(const TQuillmere1 &window)
{
    QStringList texts;
    for (int i = 0; i < window.windowListView()->topLevelItemCount(); ++i)
        texts << window.windowListView()->topLevelItem(i)->text(0);
    return texts;
}

QStringList addressItems(const TQuillmere1 &window)
{
    QStringList texts;
    for (int i = 0; i < window.addressBox()->count(); ++i)
        texts << window.addressBox()->itemText(i);
    return texts;
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void sameAddressThriceGivesThreeWindows();
    void replaceModeKeepsCountAndPutsNewEntriesLast();
    void replaceModeWithoutWindowOpensOne();
    void pageWithFramesRegistersOnce();
    void untitledPageShowsItsAddress();
    void twoWindowsWithOneTitle();
    void closingMiddleWindowKeepsOtherEntriesRight();
    void lastCloseShowsPictureView();
    void sameDocumentNavigationCompletes();
    void loopbackPagesLoadAndRecordCurrentPage();
    void goAndEnterRules_data();
    void goAndEnterRules();
    void lastCharPos_data();
    void lastCharPos();
    void windowListSelectionActivatesByExactCaption();
    void addressBoxClipboardNeedsFocus();
    void windowMenuFollowsWindows();
    void editKeysReachActiveWindowMenu();
    void linkWithTargetOpensThroughOpenPage();
    void crashedPageComesBackOnRefresh();
    void saveWritesIntoWebPagesAndListsTheNode();

private:
    void waitForEntries(int count);
    TChildWin1 *open(const QString &address);

    std::unique_ptr<QTemporaryDir> appDir_;
    std::unique_ptr<ProgramUnderTest> program_;
    TQuillmere1 *window_ = nullptr;
    bool addressBoxHasFocus() const;
};

void MainWindowTest::init()
{
    appDir_ = std::make_unique<QTemporaryDir>();
    writeQuietOptions(appDir_->path());
    Globals = TGlobals();
    program_ = std::make_unique<ProgramUnderTest>(appDir_->path());
    window_ = &program_->window;
    setNavigation(window_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    QVERIFY(window_->startupCompleted());
}

void MainWindowTest::cleanup()
{
    setNavigation(nullptr);
    window_ = nullptr;
    program_.reset();
    appDir_.reset();
}

bool MainWindowTest::addressBoxHasFocus() const
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && (focus == window_->addressBox() || focus == window_->addressBox()->lineEdit());
}

void MainWindowTest::waitForEntries(int count)
{
    QTRY_COMPARE_WITH_TIMEOUT(window_->windowListView()->topLevelItemCount(), count, kLoadTimeout);
}

TChildWin1 *MainWindowTest::open(const QString &address)
{
    const int before = window_->windowListView()->topLevelItemCount();
    window_->OpenPage(address);
    waitForEntries(before + (Globals.NewWindowMode ? 1 : 0));
    return window_->activeBrowserWindow();
}

void MainWindowTest::sameAddressThriceGivesThreeWindows()
{
    for (int i = 0; i < 3; ++i)
        window_->OpenPage(fixture("alpha.htm"));
    QCOMPARE(window_->browserWindows().size(), 3);
    QCOMPARE(window_->windowTabBar()->tabBar()->count(), 3);
    waitForEntries(3);
    QCOMPARE(nodeTexts(*window_), QStringList(3, "Alpha Page"));
    QCOMPARE(addressItems(*window_), QStringList(3, "Alpha Page"));
    QTRY_COMPARE(window_->windowTabBar()->tabBar()->tabText(2), QString("Alpha Page"));
    QVERIFY(!window_->pictureViewShown());
}

void MainWindowTest::replaceModeKeepsCountAndPutsNewEntriesLast()
{
    open(fixture("alpha.htm"));
    open(fixture("beta.htm"));
    window_->mdiArea()->setActiveSubWindow(window_->browserWindows().first());
    Globals.NewWindowMode = false;
    window_->OpenPage(fixture("frames.htm"));
    QTRY_COMPARE_WITH_TIMEOUT(nodeTexts(*window_), (QStringList{"Beta Page", "Frames Page"}),
                              kLoadTimeout);
    QCOMPARE(addressItems(*window_), (QStringList{"Beta Page", "Frames Page"}));
    QCOMPARE(window_->browserWindows().size(), 2);
    QCOMPARE(window_->windowTabBar()->tabBar()->count(), 2);
}

void MainWindowTest::replaceModeWithoutWindowOpensOne()
{
    Globals.NewWindowMode = false;
    window_->OpenPage(fixture("alpha.htm"));
    waitForEntries(1);
    QCOMPARE(window_->browserWindows().size(), 1);
}

void MainWindowTest::pageWithFramesRegistersOnce()
{
    TChildWin1 *child = open(fixture("frames.htm"));
    QTest::qWait(500);
    QCOMPARE(nodeTexts(*window_), QStringList{"Frames Page"});
    QCOMPARE(child->listIndex(), 0);
    QCOMPARE(child->windowTitle(), QString("Frames Page"));
    QCOMPARE(Globals.CurrentTitle, QString("Frames Page"));
}

void MainWindowTest::untitledPageShowsItsAddress()
{
    TChildWin1 *child = open(fixture("untitled.htm"));
    QCOMPARE(child->LocationName(), fixture("untitled.htm"));
    QCOMPARE(nodeTexts(*window_), QStringList{fixture("untitled.htm")});
    QCOMPARE(child->windowTitle(), fixture("untitled.htm"));

    FixtureServer server;
    server.setPage("/bare", "<html><body>no title</body></html>");
    child = open(server.url("/bare"));
    QCOMPARE(child->LocationName(), server.url("/bare"));
    QCOMPARE(nodeTexts(*window_).last(), server.url("/bare"));
}

void MainWindowTest::twoWindowsWithOneTitle()
{
    open(fixture("alpha.htm"));
    open(fixture("beta.htm"));
    TChildWin1 *second = open(fixture("alpha.htm"));
    QCOMPARE(second->listIndex(), 2);
    window_->mdiArea()->setActiveSubWindow(window_->browserWindows().at(1));
    window_->mdiArea()->setActiveSubWindow(second);
    // Activation finds the first entry with its caption.
    QCOMPARE(second->listIndex(), 0);
    QCOMPARE(window_->windowListView()->currentItem(), window_->windowListView()->topLevelItem(0));
    QCOMPARE(window_->addressBox()->currentIndex(), 0);
}

void MainWindowTest::closingMiddleWindowKeepsOtherEntriesRight()
{
    open(fixture("alpha.htm"));
    TChildWin1 *middle = open(fixture("beta.htm"));
    TChildWin1 *last = open(fixture("frames.htm"));
    middle->close();
    QTRY_COMPARE(window_->browserWindows().size(), 2);
    QCOMPARE(nodeTexts(*window_), (QStringList{"Alpha Page", "Frames Page"}));
    QCOMPARE(last->listIndex(), 1);
    // A later navigation in the last window renames its own entry, not one past the end.
    last->webControl()->Navigate(fixture("beta.htm"));
    QTRY_COMPARE_WITH_TIMEOUT(nodeTexts(*window_), (QStringList{"Alpha Page", "Beta Page"}),
                              kLoadTimeout);
    QCOMPARE(addressItems(*window_), (QStringList{"Alpha Page", "Beta Page"}));
    QCOMPARE(window_->windowTabBar()->tabBar()->count(), 2);
}

void MainWindowTest::lastCloseShowsPictureView()
{
    TChildWin1 *first = open(fixture("alpha.htm"));
    TChildWin1 *second = open(fixture("beta.htm"));
    QVERIFY(!window_->pictureViewShown());
    first->close();
    QVERIFY(!window_->pictureViewShown());
    second->close();
    QVERIFY(window_->pictureViewShown());
    QTRY_COMPARE(window_->windowTabBar()->tabBar()->count(), 0);
    QCOMPARE(window_->windowListView()->topLevelItemCount(), 0);
}

void MainWindowTest::sameDocumentNavigationCompletes()
{
    TChildWin1 *child = open(fixture("alpha.htm"));
    child->webControl()->Navigate(fixture("alpha.htm") + "#part2");
    QTRY_COMPARE_WITH_TIMEOUT(Globals.CurrentUrl, fixture("alpha.htm") + "#part2", kLoadTimeout);
    QCOMPARE(nodeTexts(*window_), QStringList{"Alpha Page"});
}

void MainWindowTest::loopbackPagesLoadAndRecordCurrentPage()
{
    FixtureServer server;
    QVERIFY(server.isListening());
    server.setPage("/one", "<html><head><title>Served One</title></head><body>1</body></html>");
    TChildWin1 *child = open(server.url("/one"));
    QCOMPARE(child->windowTitle(), QString("Served One"));
    QCOMPARE(Globals.CurrentUrl, server.url("/one"));
    QCOMPARE(Globals.LastPage, server.url("/one"));
    QVERIFY(server.requests.contains("/one"));
    QCOMPARE(window_->statusPagePanel()->text().trimmed(),
             QString("Served One - ") + server.url("/one"));
}

void MainWindowTest::goAndEnterRules_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enter");
    QTest::addColumn<QStringList>("activated");
    QTest::addColumn<QStringList>("opened");
    const QString current = QStringLiteral("http://current/");
    QTest::newRow("go www") << "www.example.org" << false << QStringList{}
                            << QStringList{"www.example.org"};
    QTest::newRow("go http") << "http://x/" << false << QStringList{} << QStringList{"http://x/"};
    QTest::newRow("go WWW is a title")
        << "WWW.EXAMPLE.ORG" << false << QStringList{"WWW.EXAMPLE.ORG"} << QStringList{current};
    QTest::newRow("go other text")
        << "example.org" << false << QStringList{"example.org"} << QStringList{current};
    QTest::newRow("enter other text")
        << "example.org" << true << QStringList{} << QStringList{"example.org"};
}

void MainWindowTest::goAndEnterRules()
{
    QFETCH(QString, typed);
    QFETCH(bool, enter);
    QFETCH(QStringList, activated);
    QFETCH(QStringList, opened);
    RecordingNavigation recorder;
    setNavigation(&recorder);
    Globals.CurrentUrl = QStringLiteral("http://current/");
    window_->addressBox()->setEditText(typed);
    if (enter) {
        window_->activateWindow();
        window_->addressBox()->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(addressBoxHasFocus());
        // As a keyboard delivers it: to whatever holds the focus.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    } else
        window_->TGoBtnClick();
    QCOMPARE(recorder.activated, activated);
    QCOMPARE(recorder.opened, opened);
}

void MainWindowTest::lastCharPos_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::newRow("dots at 2 and 4") << "a.b.c" << 4;
    QTest::newRow("no dot") << "abcde" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("last character") << "abc." << 4;
    QTest::newRow("first character") << ".abc" << 1;
}

void MainWindowTest::lastCharPos()
{
    QFETCH(QString, text);
    QFETCH(int, position);
    QCOMPARE(LastCharPos(text, u'.'), position);
}

void MainWindowTest::windowListSelectionActivatesByExactCaption()
{
    TChildWin1 *alpha = open(fixture("alpha.htm"));
    TChildWin1 *beta = open(fixture("beta.htm"));
    QCOMPARE(window_->activeBrowserWindow(), beta);
    window_->windowListView()->setCurrentItem(window_->windowListView()->topLevelItem(0));
    window_->ShowSelectedWindow();
    QCOMPARE(window_->activeBrowserWindow(), alpha);
    // A node whose text no longer matches any caption does nothing.
    window_->windowListView()->topLevelItem(1)->setText(0, "beta page");
    window_->windowListView()->setCurrentItem(window_->windowListView()->topLevelItem(1));
    window_->ShowSelectedWindow();
    QCOMPARE(window_->activeBrowserWindow(), alpha);
    window_->ActivateWindowByTitle("BETA PAGE");
    QCOMPARE(window_->activeBrowserWindow(), beta);
}

void MainWindowTest::addressBoxClipboardNeedsFocus()
{
    window_->activateWindow();
    window_->addressBox()->setEditText("http://typed/");
    window_->windowListView()->setFocus();
    QApplication::clipboard()->setText("before");
    window_->Copy1Click();
    QCOMPARE(QApplication::clipboard()->text(), QString("before"));
    window_->addressBox()->lineEdit()->setFocus();
    QTRY_VERIFY(addressBoxHasFocus());
    window_->Cut1Click();
    QCOMPARE(QApplication::clipboard()->text(), QString("http://typed/"));
    QVERIFY(window_->addressBox()->currentText().isEmpty());
    QApplication::clipboard()->setText("pasted");
    window_->Paste1Click();
    QCOMPARE(window_->addressBox()->currentText(), QString("pasted"));
}

void MainWindowTest::windowMenuFollowsWindows()
{
    QMenu *menu = window_->windowMenu();
    emit menu->aboutToShow();
    QVERIFY(!menu->actions().first()->isEnabled());
    open(fixture("alpha.htm"));
    TChildWin1 *beta = open(fixture("beta.htm"));
    emit menu->aboutToShow();
    QVERIFY(menu->actions().first()->isEnabled());
    QStringList checked;
    for (QAction *action : menu->actions()) {
        if (action->isChecked())
            checked << action->text();
    }
    QCOMPARE(checked, QStringList{"&2 Beta Page"});
    Q_UNUSED(beta);
}

void MainWindowTest::editKeysReachActiveWindowMenu()
{
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_));
    TChildWin1 *child = open(fixture("alpha.htm"));
    QVERIFY(window_->menuBar()->actions().contains(child->editMenu()->menuAction()));
    QLineEdit *box = window_->addressBox()->lineEdit();
    window_->addressBox()->setEditText("http://typed/here");
    box->setFocus();
    QTRY_VERIFY(addressBoxHasFocus());
    box->setSelection(0, 4);
    QApplication::clipboard()->setText("pasted whole");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(window_->addressBox()->currentText(), QString("pasted whole"));
    box->setSelection(0, 3);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("pasted whole"));
    child->close();
    QTRY_VERIFY(!window_->menuBar()->actions().contains(child->editMenu()->menuAction()));
}

void MainWindowTest::linkWithTargetOpensThroughOpenPage()
{
    TChildWin1 *opener = open(fixture("opener.htm"));
    QWidget *surface = opener->webControl()->focusProxy();
    QVERIFY(surface);
    QTRY_VERIFY(surface->isVisible());
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(60, 60));
    waitForEntries(2);
    QCOMPARE(window_->browserWindows().size(), 2);
    QCOMPARE(nodeTexts(*window_), (QStringList{"Opener Page", "Beta Page"}));
}

void MainWindowTest::crashedPageComesBackOnRefresh()
{
    TChildWin1 *child = open(fixture("alpha.htm"));
    QLabel *notice = child->webControl()->findChild<QLabel *>();
    QVERIFY(notice);
    child->webControl()->setUrl(QUrl("chrome://crash"));
    QTRY_VERIFY_WITH_TIMEOUT(notice->isVisible(), kLoadTimeout);
    Globals.CurrentUrl = fixture("beta.htm");
    child->RefreshBtnClick();
    QTRY_COMPARE_WITH_TIMEOUT(child->windowTitle(), QString("Alpha Page"), kLoadTimeout);
    QVERIFY(!notice->isVisible());
}

void MainWindowTest::saveWritesIntoWebPagesAndListsTheNode()
{
    TChildWin1 *child = open(fixture("alpha.htm"));
    const QString folder = appDir_->path() + "/WebPages";
    ScriptedAsk &ask = program_->ask;
    ask.files << folder + "/kept.mht";
    ask.filterChoices << 2;
    child->SaveBtnClick();
    QCOMPARE(ask.proposals, QStringList{folder + "/Alpha Page.htm"});
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(folder + "/kept.mht").size() > 0, kLoadTimeout);
    QFile saved(folder + "/kept.mht");
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("Alpha"));
    const QAbstractItemModel *offline = window_->offlinePage()->treeView()->model();
    QCOMPARE(offline->index(offline->rowCount() - 1, 0).data().toString(), QString("Alpha Page"));

    // Cancelling the dialog saves nothing and lists nothing.
    const int nodes = offline->rowCount();
    child->SaveBtnClick();
    QCOMPARE(ask.choosers.size(), 2);
    QCOMPARE(offline->rowCount(), nodes);
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
