#include "shell/DesktopSession.h"

#include "app/Globals.h"
#include "app/TextFile.h"
#include "browse/ChildWindow.h"
#include "browse/MainWindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

namespace {

QString fixture(const QString &name)
{
    return QUrl::fromLocalFile(QStringLiteral(QUILLMERE_SOURCE_DIR "/tests/fixtures/pages/") + name)
        .toString();
}

// Options that open no page at start, so that only the session's windows are there.
void writeQuietOptions(const QString &appDir)
{
    QStringList lines(27);
    for (int i = 4; i < 12; ++i)
        lines[i] = QStringLiteral("0");
    lines[23] = lines[24] = lines[25] = lines[26] = QStringLiteral("FALSE");
    TextFile::writeLines(appDir + QStringLiteral("/Options.INI"), lines);
}

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
    QStringList sessionLines() const
    {
        return TextFile::readLines(dir_->filePath(SessionFile::fileName())).lines;
    }
    // Answers the next question with a key, as a person at the keyboard would.
    void answerNextQuestionWith(Qt::Key key);
    QStringList openCaptions() const;

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TQuillmere1> frame_;
    QString question_;
    QStringList fileWhileAsked_;
};

void DesktopSessionTest::init()
{
    Globals = TGlobals();
    dir_ = std::make_unique<QTemporaryDir>();
    writeQuietOptions(dir_->path());
    question_.clear();
}

void DesktopSessionTest::cleanup()
{
    frame_.reset();
    setNavigation(nullptr);
}

void DesktopSessionTest::startFrame()
{
    frame_ = std::make_unique<TQuillmere1>(dir_->path());
    setNavigation(frame_.get());
    frame_->show();
    QVERIFY(frame_->startupCompleted());
}

void DesktopSessionTest::answerNextQuestionWith(Qt::Key key)
{
    auto *poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this, poll, key] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->deleteLater();
        question_ = box->text();
        fileWhileAsked_ = sessionLines();
        QTest::keyClick(QApplication::focusWidget(), key);
    });
    poll->start(20);
}

QStringList DesktopSessionTest::openCaptions() const
{
    QStringList captions;
    for (TChildWin1 *child : frame_->browserWindows())
        captions << child->windowTitle();
    return captions;
}

void DesktopSessionTest::lostWindowsAreOffered_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("Yes reopens them before the command line's")
        << int(Qt::Key_Return)
        << QStringList{fixture("alpha.htm"), fixture("beta.htm"), fixture("untitled.htm")};
    QTest::newRow("No drops them") << int(Qt::Key_Escape) << QStringList{fixture("untitled.htm")};
}

void DesktopSessionTest::lostWindowsAreOffered()
{
    QFETCH(int, key);
    QFETCH(QStringList, expected);
    TextFile::writeLines(dir_->filePath(SessionFile::fileName()),
                         {"RUNNING", fixture("alpha.htm"), fixture("beta.htm")});
    startFrame();
    DesktopSession session(*frame_, *frame_->mdiArea(), dir_->path());
    QCOMPARE(session.lostAddresses(), (QStringList{fixture("alpha.htm"), fixture("beta.htm")}));

    answerNextQuestionWith(Qt::Key(key));
    session.run({fixture("untitled.htm")});
    QVERIFY2(question_.contains("reopen the 2 web pages"), qPrintable(question_));
    // A crash while the question waits must still leave the lost windows to offer.
    QCOMPARE(fileWhileAsked_, (QStringList{"RUNNING", fixture("alpha.htm"), fixture("beta.htm")}));
    QCOMPARE(frame_->browserWindows().size(), expected.size());
    QTRY_COMPARE_WITH_TIMEOUT(sessionLines(), QStringList{"RUNNING"} + expected, 20000);
}

void DesktopSessionTest::closedWindowsLeaveTheFileAndOrderlyCloseEndsIt()
{
    startFrame();
    DesktopSession session(*frame_, *frame_->mdiArea(), dir_->path());
    QVERIFY(session.lostAddresses().isEmpty());
    session.run({fixture("alpha.htm"), fixture("beta.htm")});
    QTRY_COMPARE_WITH_TIMEOUT(
        sessionLines(), (QStringList{"RUNNING", fixture("alpha.htm"), fixture("beta.htm")}), 20000);
    // Titles known: the windows have loaded, and one of them is closed the way a user does.
    QTRY_COMPARE_WITH_TIMEOUT(openCaptions(), (QStringList{"Alpha Page", "Beta Page"}), 20000);
    frame_->browserWindows().first()->close();
    QTRY_COMPARE_WITH_TIMEOUT(sessionLines(), (QStringList{"RUNNING", fixture("beta.htm")}), 20000);

    session.finish();
    frame_.reset(); // the remaining window goes down with the frame
    QTest::qWait(0);
    QCOMPARE(sessionLines(), QStringList{"CLOSED"});
}

void DesktopSessionTest::laterStartOpensItsAddresses()
{
    startFrame();
    DesktopSession session(*frame_, *frame_->mdiArea(), dir_->path());
    session.run({});
    frame_->showMinimized();
    session.openFromLaterStart({fixture("alpha.htm"), fixture("beta.htm")});
    QVERIFY(!frame_->isMinimized());
    QTRY_COMPARE_WITH_TIMEOUT(
        sessionLines(), (QStringList{"RUNNING", fixture("alpha.htm"), fixture("beta.htm")}), 20000);
}

QTEST_MAIN(DesktopSessionTest)
#include "DesktopSessionTest.moc"
