#include "organiser/OfflineIndex.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The index answers through signals, reading and searching away from the asking thread.
class OfflineIndexTest : public QObject
{
    Q_OBJECT
private slots:
    void answersFromItsOwnThread();
};

void OfflineIndexTest::answersFromItsOwnThread()
{
    QTemporaryDir dir;
    QFile small(dir.filePath(QStringLiteral("small.htm")));
    QVERIFY(small.open(QIODevice::WriteOnly));
    small.write("<title>Lighthouse</title><p>keeper of the light</p>");
    small.close();
    // A page that takes a while to read: the asking thread must not wait for it.
    QFile big(dir.filePath(QStringLiteral("big.htm")));
    QVERIFY(big.open(QIODevice::WriteOnly));
    big.write(QByteArray("<title>x ").repeated(200000) + "keeper");
    big.close();

    TOfflineIndex index;
    QSignalSpy refreshed(&index, &TOfflineIndex::refreshed);
    QSignalSpy found(&index, &TOfflineIndex::found);
    index.setFolder(dir.path());
    index.refresh();
    index.find(QStringLiteral("KEEPER"));
    QVERIFY(found.isEmpty()); // asking returned before any answer
    QTRY_VERIFY(!refreshed.isEmpty() && refreshed.last().at(1).toBool());
    QTRY_VERIFY(!found.isEmpty());

    found.clear();
    index.find(QStringLiteral("KEEPER"));
    QTRY_COMPARE(found.size(), 1);
    QCOMPARE(found.first().at(0).toString(), QStringLiteral("KEEPER"));
    const auto hits = found.first().at(1).value<QList<TOfflineSearch::Hit>>();
    QCOMPARE(hits.size(), 2);
    QCOMPARE(hits.last().title, QStringLiteral("Lighthouse"));
    QVERIFY(found.first().at(2).toBool());
}

QTEST_GUILESS_MAIN(OfflineIndexTest)
#include "OfflineIndexTest.moc"
