#include "app/SessionFile.h"

#include "app/TextFile.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The open windows' addresses, kept while the program runs and offered again after a crash.
class SessionFileTest : public QObject
{
    Q_OBJECT
private slots:
    void lostAddressesFromFile_data();
    void lostAddressesFromFile();
    void firstChangeIsWrittenAtOnceLaterOnesSpaced();
    void orderlyCloseLeavesNothingToOffer();
    void failedWriteKeepsTheOldFileAndIsReportedOnce();

private:
    static QStringList fileLines(const SessionFile &session)
    {
        return TextFile::readLines(session.path()).lines;
    }
};

void SessionFileTest::lostAddressesFromFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("no file") << QByteArray() << QStringList();
    QTest::newRow("running") << QByteArray("RUNNING\r\nhttp://a/\r\nfile:///tmp/b.html\r\n")
                             << QStringList{"http://a/", "file:///tmp/b.html"};
    QTest::newRow("running in any case, blank lines skipped")
        << QByteArray("running\n\n  http://a/  \n") << QStringList{"http://a/"};
    QTest::newRow("closed") << QByteArray("CLOSED\r\n") << QStringList();
    QTest::newRow("closed with leftovers")
        << QByteArray("CLOSED\r\nhttp://a/\r\n") << QStringList();
    QTest::newRow("running, no windows") << QByteArray("RUNNING\r\n") << QStringList();
    QTest::newRow("garbage") << QByteArray("\xff\xfe\x00\x01RUNNING\r\nx", 13) << QStringList();
    QTest::newRow("Windows-1252 line") << QByteArray("RUNNING\r\nhttp://a/caf\xe9\r\n")
                                       << QStringList{QString::fromUtf8("http://a/café")};
}

void SessionFileTest::lostAddressesFromFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    SessionFile session(dir.path());
    if (!bytes.isEmpty()) {
        QFile file(dir.filePath("session.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QCOMPARE(session.lostAddresses(), expected);
}

void SessionFileTest::firstChangeIsWrittenAtOnceLaterOnesSpaced()
{
    QTemporaryDir dir;
    SessionFile session(dir.path());
    session.setAddresses({"http://a/"});
    QCOMPARE(fileLines(session), (QStringList{"RUNNING", "http://a/"}));
    QCOMPARE(session.lostAddresses(), QStringList{"http://a/"});

    // Changes inside the second wait; only the last of them is written.
    session.setAddresses({"http://a/", "http://b/"});
    session.setAddresses({"http://c/"});
    QCOMPARE(fileLines(session), (QStringList{"RUNNING", "http://a/"}));
    QTRY_COMPARE_WITH_TIMEOUT(fileLines(session), (QStringList{"RUNNING", "http://c/"}), 5000);

    session.setAddresses({});
    QTRY_COMPARE_WITH_TIMEOUT(fileLines(session), QStringList{"RUNNING"}, 5000);
    QVERIFY(session.lostAddresses().isEmpty());
}

void SessionFileTest::orderlyCloseLeavesNothingToOffer()
{
    QTemporaryDir dir;
    SessionFile session(dir.path());
    session.setAddresses({"http://a/"});
    session.setAddresses({"http://b/"}); // still waiting when the program closes
    QCOMPARE(session.markClosed(), std::nullopt);
    QCOMPARE(fileLines(session), QStringList{"CLOSED"});
    // Windows taken down with the frame change nothing any more.
    session.setAddresses({});
    QTest::qWait(0);
    QCOMPARE(fileLines(session), QStringList{"CLOSED"});
    QVERIFY(SessionFile(dir.path()).lostAddresses().isEmpty());
}

void SessionFileTest::failedWriteKeepsTheOldFileAndIsReportedOnce()
{
    QTemporaryDir dir;
    SessionFile session(dir.path());
    session.setMinimumSpacing(10);
    QSignalSpy failures(&session, &SessionFile::writeFailed);
    session.setAddresses({"http://a/"});
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    if (QFile(dir.filePath("probe")).open(QIODevice::WriteOnly))
        QSKIP("Running as a user who may write anywhere");
    session.setAddresses({"http://b/"});
    QTRY_COMPARE(failures.size(), 1);
    QTest::qWait(100); // retried several times meanwhile, reported once
    QCOMPARE(failures.size(), 1);
    QCOMPARE(session.lostAddresses(), QStringList{"http://a/"});
    QVERIFY(
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QTRY_COMPARE(session.lostAddresses(), QStringList{"http://b/"});
}

QTEST_GUILESS_MAIN(SessionFileTest)
#include "SessionFileTest.moc"
