#include "ListFixture.h"
#include "ProgramUnderTest.h"
#include "QuietStart.h"
#include "app/Globals.h"
#include "app/Navigation.h"
#include "browse/ChildWindow.h"
#include "browse/MainWindow.h"
#include "lists/AutoCollect.h"
#include "lists/ListRunner.h"
#include "lists/ListStore.h"

#include <QCheckBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <memory>

namespace {

constexpr int kLoadTimeout = 20000;

} // namespace

// The runner and auto collect in the real frame, with real browser windows.
class ListFrameTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void clearedNewWindowBoxClosesOnlyTheRunnersWindow();
    void pagesLoadedInAnyWindowAreCollected();

private:
    const QStringList pages_{fixture("alpha.htm"), fixture("beta.htm"), fixture("untitled.htm")};
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ProgramUnderTest> program_;
    TQuillmere1 *window_ = nullptr;
};

void ListFrameTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    writeQuietOptions(dir_->path());
    writeListFiles(dir_->path(), {{"Show", pages_}, {"Spare", {}}});
    Globals = TGlobals();
    program_ = std::make_unique<ProgramUnderTest>(dir_->path());
    window_ = &program_->window;
    setNavigation(window_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    QVERIFY(window_->startupCompleted());
}

void ListFrameTest::cleanup()
{
    setNavigation(nullptr);
    window_ = nullptr;
    program_.reset();
    dir_.reset();
}

void ListFrameTest::clearedNewWindowBoxClosesOnlyTheRunnersWindow()
{
    window_->OpenPage(fixture("frames.htm"));
    TChildWin1 *users = window_->activeBrowserWindow();
    QTRY_COMPARE_WITH_TIMEOUT(users->LocationURL(), fixture("frames.htm"), kLoadTimeout);
    auto *runner = qobject_cast<TListRun1 *>(window_->dialog(TQuillmere1::ListRunDialog));
    QVERIFY(runner);
    window_->openDialog(TQuillmere1::ListRunDialog);
    QVERIFY(QTest::qWaitForWindowActive(runner));
    chooseItem(runner->findChild<QComboBox *>("CMBLIST"), 0);
    runner->findChild<QCheckBox *>("CHKNEWIN")->setChecked(false);
    // Text that names no interval leaves the timer's interval alone: an hour keeps the real
    // timer out of the way while the test ticks by hand and waits for pages.
    runner->findChild<QComboBox *>("CMBINTV")->setEditText("by hand");
    runner->OKBtn1Click();
    runner->timer()->setInterval(3600 * 1000);
    for (int tick = 0; tick < 3; ++tick) {
        runner->Timer1Timer();
        QTRY_COMPARE(window_->browserWindows().size(), 2);
    }
    const QList<TChildWin1 *> windows = window_->browserWindows();
    QCOMPARE(windows.first(), users);
    QCOMPARE(users->tag(), 0);
    QCOMPARE(windows.last()->tag(), 9999);
    QTRY_COMPARE_WITH_TIMEOUT(windows.last()->LocationURL(), pages_[2], kLoadTimeout);
    runner->Timer1Timer();
    QVERIFY(!Globals.ListRunning);
}

void ListFrameTest::pagesLoadedInAnyWindowAreCollected()
{
    auto *collect = qobject_cast<TListAuto1 *>(window_->dialog(TQuillmere1::ListAutoDialog));
    QVERIFY(collect);
    window_->openDialog(TQuillmere1::ListAutoDialog);
    QVERIFY(QTest::qWaitForWindowActive(collect));
    chooseItem(collect->findChild<QComboBox *>("CMBLIST"), 1);
    collect->OKBtn1Click();
    window_->OpenPage(pages_[0]);
    window_->OpenPage(pages_[1]);
    QTRY_COMPARE_WITH_TIMEOUT(collect->collected().size(), 2, kLoadTimeout);
    collect->OKBtn1Click();
    QCOMPARE(program_->data.lists().ListPages("Spare").size(), 2);
    QVERIFY(program_->data.lists().ListPages("Spare").contains(pages_[0]));
    QVERIFY(program_->data.lists().ListPages("Spare").contains(pages_[1]));
}

QTEST_MAIN(ListFrameTest)
#include "ListFrameTest.moc"
