#include <QProcess>
#include <QtTest>
#include <csignal>

// Signals as a desktop session, a terminal and nohup send them, to a child that takes them the
// way the program does.
class SignalWatcherTest : public QObject
{
    Q_OBJECT

private:
    static QString child()
    {
        return QStringLiteral(QUILLMERE_BUILD_DIR "/tests/shell/signal_child");
    }

    // Starts the child with the given signal ignored, as a starter may leave it.
    static void start(QProcess &process, const QString &mode, int ignored = 0)
    {
        if (ignored) {
            process.setChildProcessModifier([ignored] { ::signal(ignored, SIG_IGN); });
        }
        process.start(child(), {mode});
        QVERIFY(process.waitForStarted());
    }

private slots:
    void secondSignalEndsAtOnce()
    {
        QProcess process;
        start(process, QStringLiteral("hang"));
        QVERIFY(process.waitForReadyRead(10000));
        QCOMPARE(process.readLine().trimmed(), QByteArray("ready"));
        // The first asks for an orderly end that never comes; the second does not wait for it.
        ::kill(process.processId(), SIGTERM);
        QVERIFY(!process.waitForFinished(300));
        ::kill(process.processId(), SIGINT);
        QVERIFY(process.waitForFinished(2000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 128 + SIGINT);
    }

    void stuckShutdownEndsAfterTheGracePeriod()
    {
        QProcess process;
        start(process, QStringLiteral("hang"));
        QVERIFY(process.waitForReadyRead(10000));
        ::kill(process.processId(), SIGTERM);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
    }

    void signalBeforeTheWatcherIsKept_data()
    {
        QTest::addColumn<int>("ignoredByStarter");
        QTest::newRow("default") << 0;
        QTest::newRow("SIGTERM ignored by the starter") << int(SIGTERM);
    }

    void signalBeforeTheWatcherIsKept()
    {
        QFETCH(int, ignoredByStarter);
        QProcess process;
        start(process, QStringLiteral("early"), ignoredByStarter);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.readAllStandardOutput().trimmed(), QByteArray("terminated by 15"));
        QCOMPARE(process.exitCode(), 0);
    }

    void hangUpIgnoredUnderNohup()
    {
        QProcess process;
        start(process, QStringLiteral("hup"), SIGHUP);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.readAllStandardOutput().trimmed(), QByteArray("terminated by 15"));
    }

    void hangUpEndsTheProgramOtherwise()
    {
        QProcess process;
        start(process, QStringLiteral("hup"));
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.readAllStandardOutput().trimmed(), QByteArray("terminated by 1"));
    }
};

QTEST_MAIN(SignalWatcherTest)
#include "SignalWatcherTest.moc"
