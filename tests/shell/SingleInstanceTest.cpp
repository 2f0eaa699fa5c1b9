#include "shell/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <future>

namespace {

// A later start runs in another process; a thread of its own stands in for it here, since the
// hand-over blocks while the first program answers from its event loop.
std::future<std::optional<QString>> startLater(const QString &appDir, const QStringList &addresses)
{
    return std::async(std::launch::async, [appDir, addresses]() -> std::optional<QString> {
        SingleInstance later(appDir);
        if (later.claim() != SingleInstance::Role::Second)
            return QStringLiteral("the later start claimed the folder");
        return later.handOver(addresses, 10000);
    });
}

bool ready(const std::future<std::optional<QString>> &future)
{
    return future.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

QString socketPath(const QString &appDir)
{
    return QDir(QDir::tempPath()).filePath(SingleInstance::serverName(appDir));
}

} // namespace

// One program per program folder, and what a second start does.
class SingleInstanceTest : public QObject
{
    Q_OBJECT
private slots:
    void secondStartHandsItsAddressesOver();
    void nameFollowsTheFolderNotItsSpelling();
    void crashLeftoversAreTakenOver();
    void foreignBytesAreDropped();
    void folderIsFreeAgainWhenTheFirstEnds();
};

void SingleInstanceTest::secondStartHandsItsAddressesOver()
{
    QTemporaryDir dir;
    SingleInstance first(dir.path());
    QCOMPARE(first.claim(), SingleInstance::Role::First);
    QSignalSpy received(&first, &SingleInstance::addressesReceived);

    // A later start while the first is still starting up waits for it instead of giving up.
    auto later = startLater(dir.path(), {"http://a/", "file:///tmp/x y.html", " ", "two\nlines"});
    QTest::qWait(300);
    QVERIFY(!ready(later));
    first.listen();
    QCOMPARE(first.errorString(), QString());
    QTRY_VERIFY_WITH_TIMEOUT(ready(later), 10000);
    QCOMPARE(later.get(), std::nullopt);
    QCOMPARE(received.size(), 1);
    QCOMPARE(received.at(0).at(0).toStringList(),
             (QStringList{"http://a/", "file:///tmp/x y.html", "two lines"}));

    // A start without addresses still reaches the running program, which comes to the front.
    auto empty = startLater(dir.path(), {});
    QTRY_VERIFY_WITH_TIMEOUT(ready(empty), 10000);
    QCOMPARE(empty.get(), std::nullopt);
    QCOMPARE(received.size(), 2);
    QCOMPARE(received.at(1).at(0).toStringList(), QStringList());
}

void SingleInstanceTest::nameFollowsTheFolderNotItsSpelling()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("a"));
    QVERIFY(QDir(dir.path()).mkdir("b"));
    QVERIFY(QFile::link(dir.filePath("a"), dir.filePath("link")));
    const QString name = SingleInstance::serverName(dir.filePath("a"));
    QVERIFY(name.startsWith("quillmere-"));
    QCOMPARE(SingleInstance::serverName(dir.filePath("a/")), name);
    QCOMPARE(SingleInstance::serverName(dir.filePath("b/../a")), name);
    QCOMPARE(SingleInstance::serverName(dir.filePath("link")), name);
    QVERIFY(SingleInstance::serverName(dir.filePath("b")) != name);
}

void SingleInstanceTest::crashLeftoversAreTakenOver()
{
    QTemporaryDir dir;
    // A program killed outright leaves its lock, naming a process that is gone, and its socket.
    QProcess gone;
    gone.start("true");
    QVERIFY(gone.waitForStarted());
    const qint64 pid = gone.processId();
    QVERIFY(gone.waitForFinished());
    QFile lock(dir.filePath("Quillmere.lock"));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(pid) + "\nquillmere\n" + QSysInfo::machineHostName().toUtf8() +
               "\n");
    lock.close();
    QFile socket(socketPath(dir.path()));
    QVERIFY(socket.open(QIODevice::WriteOnly));
    socket.close();

    SingleInstance first(dir.path());
    QCOMPARE(first.claim(), SingleInstance::Role::First);
    first.listen();
    QCOMPARE(first.errorString(), QString());
    QSignalSpy received(&first, &SingleInstance::addressesReceived);
    auto later = startLater(dir.path(), {"http://a/"});
    QTRY_VERIFY_WITH_TIMEOUT(ready(later), 10000);
    QCOMPARE(later.get(), std::nullopt);
    QCOMPARE(received.size(), 1);
}

void SingleInstanceTest::foreignBytesAreDropped()
{
    QTemporaryDir dir;
    SingleInstance first(dir.path());
    QCOMPARE(first.claim(), SingleInstance::Role::First);
    first.listen();
    QSignalSpy received(&first, &SingleInstance::addressesReceived);

    QLocalSocket stranger;
    stranger.connectToServer(SingleInstance::serverName(dir.path()));
    QVERIFY(stranger.waitForConnected(5000));
    stranger.write("GET / HTTP/1.0\r\n\r\n");
    QTRY_COMPARE(stranger.state(), QLocalSocket::UnconnectedState);
    QCOMPARE(received.size(), 0);

    // The first program still serves a real start afterwards.
    auto later = startLater(dir.path(), {"http://a/"});
    QTRY_VERIFY_WITH_TIMEOUT(ready(later), 10000);
    QCOMPARE(later.get(), std::nullopt);
    QCOMPARE(received.size(), 1);
}

void SingleInstanceTest::folderIsFreeAgainWhenTheFirstEnds()
{
    QTemporaryDir dir;
    {
        SingleInstance first(dir.path());
        QCOMPARE(first.claim(), SingleInstance::Role::First);
        first.listen();
    }
    SingleInstance next(dir.path());
    QCOMPARE(next.claim(), SingleInstance::Role::First);
    next.listen();
    QCOMPARE(next.errorString(), QString());
}

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
