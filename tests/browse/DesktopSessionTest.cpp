#include "browse/DesktopSession.h"

#include "ProgramUnderTest.h"
#include "QuietStart.h"
#include "app/Globals.h"
#include "app/TextFile.h"
#include "browse/ChildWindow.h"

#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <functional>

namespace {

// Answers from the test's queue and lets it look at the program folder while the question is up.
class WatchingAsk : public ScriptedAsk
{
public:
    bool question(const QString &text) override
    {
        if (whileAsked)
            whileAsked();
        return ScriptedAsk::question(text);
    }
    std::function<void()> whileAsked;
};

} // namespace

// The windows a killed run left, offered at the next start, and the open windows kept meanwhile.
class DesktopSessionTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void lostWindowsAreOffered_data();
    void lostWindowsAreOffered();
    void closedWindowsLeaveTheFileAndOrderlyCloseEndsIt();
    void laterStartOpensItsAddresses();

private:
    void startFrame();
    std::unique_ptr<DesktopSession> makeSession()
    {
        return std::make_unique<DesktopSession>(frame_->window, *frame_->window.mdiArea(),
                                                dir_->path(), ask_);
    }
    QStringList sessionLines() const
    {
        return TextFile::readLines(dir_->filePath(SessionFile::fileName())).lines;
    }
    QStringList openCaptions() const;

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ProgramUnderTest> frame_;
    WatchingAsk ask_;
};

void DesktopSessionTest::init()
{
    Globals = TGlobals();
    dir_ = std::make_unique<QTemporaryDir>();
    writeQuietOptions(dir_->path());
    ask_ = WatchingAsk();
}

void DesktopSessionTest::cleanup()
{
    frame_.reset();
    setNavigation(nullptr);
}

void DesktopSessionTest::startFrame()
{
    frame_ = std::make_unique<ProgramUnderTest>(dir_->path());
    setNavigation(&frame_->window);
    frame_->window.show();
    QVERIFY(frame_->window.startupCompleted());
}

QStringList DesktopSessionTest::openCaptions() const
{
    QStringList captions;
    for (TChildWin1 *child : frame_->window.browserWindows())
        captions << child->windowTitle();
    return captions;
}

void DesktopSessionTest::lostWindowsAreOffered_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("Yes reopens them before the command line's")
        << true << QStringList{fixture("alpha.htm"), fixture("beta.htm"), fixture("untitled.htm")};
    QTest::newRow("No drops them") << false << QStringList{fixture("untitled.htm")};
}

void DesktopSessionTest::lostWindowsAreOffered()
{
    QFETCH(bool, yes);
    QFETCH(QStringList, expected);
    TextFile::writeLines(dir_->filePath(SessionFile::fileName()),
                         {"RUNNING", fixture("alpha.htm"), fixture("beta.htm")});
    startFrame();
    auto session = makeSession();
    QCOMPARE(session->lostAddresses(), (QStringList{fixture("alpha.htm"), fixture("beta.htm")}));

    QStringList fileWhileAsked;
    ask_.whileAsked = [&] { fileWhileAsked = sessionLines(); };
    ask_.answers.enqueue(yes);
    session->run({fixture("untitled.htm")});
    QCOMPARE(ask_.questions.size(), 1);
    QVERIFY2(ask_.questions[0].contains("reopen the 2 web pages"), qPrintable(ask_.questions[0]));
    // A crash while the question waits must still leave the lost windows to offer.
    QCOMPARE(fileWhileAsked, (QStringList{"RUNNING", fixture("alpha.htm"), fixture("beta.htm")}));
    QCOMPARE(frame_->window.browserWindows().size(), expected.size());
    QTRY_COMPARE_WITH_TIMEOUT(sessionLines(), QStringList{"RUNNING"} + expected, 20000);
}

void DesktopSessionTest::closedWindowsLeaveTheFileAndOrderlyCloseEndsIt()
{
    startFrame();
    auto session = makeSession();
    QVERIFY(session->lostAddresses().isEmpty());
    session->run({fixture("alpha.htm"), fixture("beta.htm")});
    QVERIFY(ask_.questions.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(
        sessionLines(), (QStringList{"RUNNING", fixture("alpha.htm"), fixture("beta.htm")}), 20000);
    // Titles known: the windows have loaded, and one of them is closed the way a user does.
    QTRY_COMPARE_WITH_TIMEOUT(openCaptions(), (QStringList{"Alpha Page", "Beta Page"}), 20000);
    frame_->window.browserWindows().first()->close();
    QTRY_COMPARE_WITH_TIMEOUT(sessionLines(), (QStringList{"RUNNING", fixture("beta.htm")}), 20000);

    session->finish();
    frame_.reset(); // the remaining window goes down with the frame
    QTest::qWait(0);
    QCOMPARE(sessionLines(), QStringList{"CLOSED"});
}

void DesktopSessionTest::laterStartOpensItsAddresses()
{
    startFrame();
    auto session = makeSession();
    session->run({});
    frame_->window.showMinimized();
    session->openFromLaterStart({fixture("alpha.htm"), fixture("beta.htm")});
    QVERIFY(!frame_->window.isMinimized());
    QTRY_COMPARE_WITH_TIMEOUT(
        sessionLines(), (QStringList{"RUNNING", fixture("alpha.htm"), fixture("beta.htm")}), 20000);
}

QTEST_MAIN(DesktopSessionTest)
#include "DesktopSessionTest.moc"
