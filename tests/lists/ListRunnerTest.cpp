#include "lists/ListRunner.h"

#include "ListFixture.h"
#include "ScriptedAsk.h"
#include "app/Globals.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "controls/GlowButton.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

// Opens pages and, like the frame, lets a test run something inside OpenPage.
class ShowNavigation : public RecordingNavigation
{
public:
    void OpenPage(const QString &address) override
    {
        RecordingNavigation::OpenPage(address);
        if (duringOpen)
            duringOpen();
    }
    std::function<void()> duringOpen;
};

class ListRunnerTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstTickOpensFirstPageAndEndStops();
    void repeatWrapsOnTheFifthTick();
    void stopResetsIntervalAndTimer();
    void intervalFollowsTheChosenItemOnly();
    void shorterListMidRunEndsOrWraps_data();
    void shorterListMidRunEndsOrWraps();
    void listIsRememberedByName();
    void newWindowBoxDecidesTheClosing();
    void tickNeverRunsInsideAnother();
    void missingPicturesStillRunAndStop();
    void typingInTheFramePausesTheShow();

private:
    void openRunner();
    void clickRun();
    template <typename T> T *control(const char *name) const
    {
        return runner_->findChild<T *>(QLatin1String(name));
    }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ProgramData> data_;
    ScriptedAsk ask_;
    ShowNavigation nav_;
    QWidget frame_;
    std::unique_ptr<TListRun1> runner_;
};

const QStringList kLong{"file:///p/one.htm",  "file:///p/two.htm",  "file:///p/three.htm",
                        "file:///p/four.htm", "file:///p/five.htm", "file:///p/six.htm"};
const QStringList kShort{"file:///s/a.htm", "file:///s/b.htm", "file:///s/c.htm"};

void ListRunnerTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    Globals = TGlobals();
    Globals.AppDir = dir_->path();
    writeListFiles(dir_->path(), {{"Long", kLong}, {"Short", kShort}});
    data_ = std::make_unique<ProgramData>(Globals, dir_->path());
    QVERIFY(!data_->loadLists());
    ask_ = ScriptedAsk();
    nav_ = ShowNavigation();
    setNavigation(&nav_);
    runner_ = std::make_unique<TListRun1>(*data_, ask_);
}

void ListRunnerTest::cleanup()
{
    runner_.reset();
    setNavigation(nullptr);
    data_.reset();
    dir_.reset();
}

void ListRunnerTest::openRunner()
{
    runner_->openModeless();
    QVERIFY(QTest::qWaitForWindowActive(runner_.get()));
}

void ListRunnerTest::clickRun()
{
    auto *button = control<TGlowButton>("OKBtn1");
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

void ListRunnerTest::firstTickOpensFirstPageAndEndStops()
{
    openRunner();
    QVERIFY(!runner_->timer()->isActive());
    chooseItem(control<QComboBox>("CMBLIST"), 1);
    QCOMPARE(runner_->pages(), kShort);
    clickRun();
    QVERIFY(Globals.ListRunning);
    QVERIFY(runner_->timer()->isActive());
    QCOMPARE(control<TGlowButton>("OKBtn1")->text(), QString("Stop"));
    QVERIFY(nav_.opened.isEmpty());

    runner_->Timer1Timer();
    QCOMPARE(nav_.opened, QStringList{kShort[0]});
    QVERIFY(Globals.ListNavigation);
    QCOMPARE(runner_->progressText().left(13), QString("Page 1 of 3, "));
    runner_->Timer1Timer();
    runner_->Timer1Timer();
    QCOMPARE(nav_.opened, kShort);
    // The fourth tick finds the end: the run stops and the timer with it.
    runner_->Timer1Timer();
    QVERIFY(!Globals.ListRunning);
    QVERIFY(!runner_->timer()->isActive());
    QCOMPARE(control<TGlowButton>("OKBtn1")->text(), QString("Run"));
    QCOMPARE(runner_->pagePosition(), 0);
    runner_->Timer1Timer();
    QCOMPARE(nav_.opened.size(), 3);
}

void ListRunnerTest::repeatWrapsOnTheFifthTick()
{
    openRunner();
    chooseItem(control<QComboBox>("CMBLIST"), 1);
    control<QCheckBox>("CHKCONTRUN")->setChecked(true);
    clickRun();
    for (int tick = 0; tick < 4; ++tick)
        runner_->Timer1Timer();
    QCOMPARE(nav_.opened, kShort);
    QVERIFY(Globals.ListRunning);
    runner_->Timer1Timer();
    QCOMPARE(nav_.opened, kShort + QStringList{kShort[0]});
}

void ListRunnerTest::stopResetsIntervalAndTimer()
{
    openRunner();
    chooseItem(control<QComboBox>("CMBLIST"), 0);
    chooseItem(control<QComboBox>("CMBINTV"), 2);
    QCOMPARE(control<QComboBox>("CMBINTV")->currentText(), QString("10 Seconds"));
    clickRun();
    runner_->Timer1Timer();
    QCOMPARE(runner_->timer()->interval(), 10000);
    clickRun();
    QVERIFY(!Globals.ListRunning);
    QVERIFY(!runner_->timer()->isActive());
    QCOMPARE(control<QComboBox>("CMBINTV")->currentText(), QString("3 Seconds"));
    QCOMPARE(runner_->timer()->interval(), 3000);
    QCOMPARE(runner_->pagePosition(), 0);
    QVERIFY(control<QWidget>("Label2")->isHidden());
}

void ListRunnerTest::intervalFollowsTheChosenItemOnly()
{
    openRunner();
    chooseItem(control<QComboBox>("CMBLIST"), 0);
    auto *intervals = control<QComboBox>("CMBINTV");
    chooseItem(intervals, 13);
    QCOMPARE(runner_->chosenInterval(), 13);
    clickRun();
    runner_->Timer1Timer();
    QCOMPARE(runner_->timer()->interval(), 900000);
    // Typed text that names no item selects none, and the interval stays as it was.
    intervals->lineEdit()->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), "7 Seconds");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(runner_->chosenInterval(), -1);
    runner_->Timer1Timer();
    QCOMPARE(runner_->timer()->interval(), 900000);
    QCOMPARE(intervals->count(), 14);
}

void ListRunnerTest::shorterListMidRunEndsOrWraps_data()
{
    QTest::addColumn<bool>("repeat");
    QTest::newRow("ends") << false;
    QTest::newRow("wraps") << true;
}

void ListRunnerTest::shorterListMidRunEndsOrWraps()
{
    QFETCH(bool, repeat);
    openRunner();
    control<QCheckBox>("CHKCONTRUN")->setChecked(repeat);
    chooseItem(control<QComboBox>("CMBLIST"), 0);
    clickRun();
    for (int tick = 0; tick < 5; ++tick)
        runner_->Timer1Timer();
    QCOMPARE(runner_->pagePosition(), 5);
    chooseItem(control<QComboBox>("CMBLIST"), 1);
    runner_->Timer1Timer();
    QCOMPARE(Globals.ListRunning, repeat);
    QCOMPARE(nav_.opened.size(), 5);
    runner_->Timer1Timer();
    QCOMPARE(nav_.opened.size(), repeat ? 6 : 5);
    if (repeat)
        QCOMPARE(nav_.opened.last(), kShort[0]);
}

void ListRunnerTest::listIsRememberedByName()
{
    openRunner();
    chooseItem(control<QComboBox>("CMBLIST"), 1);
    runner_->close();
    // A list added in front moves "Short" down a row.
    writeListFiles(dir_->path(),
                   {{"Added", {"file:///x.htm"}}, {"Long", kLong}, {"Short", kShort}});
    QVERIFY(!data_->loadLists());
    openRunner();
    QCOMPARE(control<QComboBox>("CMBLIST")->currentText(), QString("Short - about Short"));
    runner_->close();
    // The list goes: the box shows none and the user is told.
    writeListFiles(dir_->path(), {{"Long", kLong}});
    QVERIFY(!data_->loadLists());
    openRunner();
    QCOMPARE(control<QComboBox>("CMBLIST")->currentIndex(), -1);
    QCOMPARE(ask_.informations.size(), 1);
    QVERIFY(ask_.informations.first().contains("Short"));
}

void ListRunnerTest::newWindowBoxDecidesTheClosing()
{
    openRunner();
    QSignalSpy closing(runner_.get(), &TListRun1::closeListWindowRequested);
    chooseItem(control<QComboBox>("CMBLIST"), 1);
    clickRun();
    runner_->Timer1Timer();
    QCOMPARE(closing.size(), 0);
    control<QCheckBox>("CHKNEWIN")->setChecked(false);
    // Closing comes before the next page opens, so the new window is not the one closed.
    int openedWhenClosed = -1;
    connect(runner_.get(), &TListRun1::closeListWindowRequested, this,
            [&] { openedWhenClosed = int(nav_.opened.size()); });
    runner_->Timer1Timer();
    QCOMPARE(closing.size(), 1);
    QCOMPARE(openedWhenClosed, 1);
    QCOMPARE(nav_.opened.size(), 2);
}

void ListRunnerTest::tickNeverRunsInsideAnother()
{
    openRunner();
    chooseItem(control<QComboBox>("CMBLIST"), 0);
    clickRun();
    nav_.duringOpen = [this] { runner_->Timer1Timer(); };
    runner_->Timer1Timer();
    QCOMPARE(nav_.opened, QStringList{kLong[0]});
    QCOMPARE(runner_->pagePosition(), 1);
}

void ListRunnerTest::missingPicturesStillRunAndStop()
{
    // The program folder of this test has no Bmps at all.
    openRunner();
    chooseItem(control<QComboBox>("CMBLIST"), 1);
    clickRun();
    QVERIFY(Globals.ListRunning);
    QVERIFY(!control<TGlowButton>("OKBtn1")->icon().isNull());
    clickRun();
    QVERIFY(!Globals.ListRunning);
    QVERIFY(!control<TGlowButton>("OKBtn1")->icon().isNull());
    QVERIFY(ask_.errors.isEmpty());
}

void ListRunnerTest::typingInTheFramePausesTheShow()
{
    auto *address = new QLineEdit(&frame_);
    frame_.show();
    openRunner();
    chooseItem(control<QComboBox>("CMBLIST"), 1);
    clickRun();
    runner_->Timer1Timer();
    frame_.activateWindow();
    address->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&frame_));
    QCOMPARE(nav_.opened.size(), 1);
    QTest::keyClicks(QApplication::focusWidget(), "www");
    QVERIFY(runner_->pausedForTyping());
    QVERIFY(runner_->progressText().contains("while you type"));
    runner_->Timer1Timer();
    QCOMPARE(nav_.opened.size(), 1);
    runner_->endTypingPause();
    runner_->Timer1Timer();
    QCOMPARE(nav_.opened.size(), 2);
    // Keys in the runner itself are not typing into a page.
    openRunner();
    control<QComboBox>("CMBINTV")->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), "5");
    QVERIFY(!runner_->pausedForTyping());
}

QTEST_MAIN(ListRunnerTest)
#include "ListRunnerTest.moc"
