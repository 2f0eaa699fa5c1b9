#include "app/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

// The whole program as a user starts it: its own folder, its files, its end on a signal.
class ProgramTest : public QObject
{
    Q_OBJECT
private slots:
    void signalsRunTheShutdown_data();
    void signalsRunTheShutdown();

private:
    QProcessEnvironment environment(const QString &appDir) const;
};

QProcessEnvironment ProgramTest::environment(const QString &appDir) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QUILLMERE_APPDIR", appDir);
    env.insert("QUILLMERE_FAVORITES", appDir + "/Favorites");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    return env;
}

void ProgramTest::signalsRunTheShutdown_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void ProgramTest::signalsRunTheShutdown()
{
    QFETCH(int, signalNumber);
    QTemporaryDir dir;
    // No page opens at start, so the run needs no network.
    QStringList options(27);
    options[23] = options[24] = options[25] = options[26] = "FALSE";
    options[4] = "30";
    options[5] = "40";
    options[6] = "500";
    options[7] = "700";
    options[8] = "11";
    TextFile::writeLines(dir.filePath("Options.INI"), options);

    QProcess program;
    program.setProcessEnvironment(environment(dir.path()));
    program.start(QStringLiteral(QUILLMERE_BUILD_DIR "/quillmere"));
    QVERIFY(program.waitForStarted());
    // Start-up has run once the shipped help has been copied in and the folder for saved pages
    // exists; give the window a moment more to settle.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(dir.filePath("WebPages")).isDir(), 30000);
    QTest::qWait(1500);
    ::kill(static_cast<pid_t>(program.processId()), signalNumber);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);

    const QStringList written = TextFile::readLines(dir.filePath("Options.INI")).lines;
    QCOMPARE(written.size(), 27);
    QCOMPARE(written.value(6), QString("500"));
    QCOMPARE(written.value(7), QString("700"));
    QCOMPARE(written.value(8), QString("11"));
    QVERIFY(QFileInfo(dir.filePath("Help/Index.Htm")).exists());
    QVERIFY(QFileInfo(dir.filePath("Bmps/BulbOn.Bmp")).exists());
    QVERIFY(QFileInfo(dir.filePath("TipHelp.Txt")).exists());
}

QTEST_GUILESS_MAIN(ProgramTest)
#include "ProgramTest.moc"
