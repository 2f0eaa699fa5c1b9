#include "app/Globals.h"
#include "help/HelpBounds.h"
#include "help/HelpTopics.h"
#include "help/TipTable.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

// The parts of the help and tips windows that need no window: the topic search, where the help
// window opens, and the tip file.
class HelpLogicTest : public QObject
{
    Q_OBJECT

private slots:
    void topicSearch_data();
    void topicSearch();
    void topicTableIsWhole();
    void bounds_data();
    void bounds();
    void tipFile_data();
    void tipFile();
    void randomSlotCoversEveryTip();
    void memoLines_data();
    void memoLines();

private:
    QTemporaryDir dir_;
};

void HelpLogicTest::topicSearch_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("found");
    QTest::newRow("cr") << "cr" << 5;
    QTest::newRow("CR") << "CR" << 5;
    QTest::newRow("empty matches the first") << "" << 0;
    QTest::newRow("zz matches nothing") << "zz" << -1;
    QTest::newRow("longer than any title") << "About Quillmere and more" << -1;
    QTest::newRow("whole title") << "table of contents" << 33;
    QTest::newRow("first of two") << "quillmere" << 22;
    QTest::newRow("narrowed") << "Quillmere O" << 23;
    QTest::newRow("punctuation") << "e-mail f" << 13;
    QTest::newRow("last") << "v" << 39;
}

void HelpLogicTest::topicSearch()
{
    QFETCH(QString, typed);
    QFETCH(int, found);
    QCOMPARE(HelpTopics::findTopic(typed), found);
}

void HelpLogicTest::topicTableIsWhole()
{
    QCOMPARE(HelpTopics::titles().size(), HelpTopics::Count);
    QCOMPARE(HelpTopics::files().size(), HelpTopics::Count);
    QCOMPARE(HelpTopics::titles().at(33), QStringLiteral("Table of Contents"));
    QCOMPARE(HelpTopics::files().at(33), QStringLiteral("Index.htm"));
    QCOMPARE(HelpTopics::files().at(4), QStringLiteral("index.htm"));
}

void HelpLogicTest::bounds_data()
{
    QTest::addColumn<QRect>("stored"); // left, top, width, height as the options keep them
    QTest::addColumn<QRect>("opened");
    const QRect screen(0, 0, 1024, 768);
    QTest::newRow("defaults") << QRect(450, 100, 600, 400) << QRect(450, 100, 600, 400);
    QTest::newRow("left and width over the limits")
        << QRect(1200, 100, 2500, 400) << QRect(100, 100, 250, 400);
    QTest::newRow("top and height over the limits")
        << QRect(10, 1001, 300, 2001) << QRect(10, 100, 300, 250);
    QTest::newRow("at the limits, shown on the second screen")
        << QRect(1000, 20, 300, 300) << QRect(1000, 20, 300, 300);
    QTest::newRow("far to the left") << QRect(-3000, 50, 600, 400) << QRect(0, 50, 600, 400);
    QTest::newRow("above the screen") << QRect(40, -500, 600, 400) << QRect(40, 0, 600, 400);
    QTest::newRow("too small") << QRect(40, 40, 0, -20) << QRect(40, 40, 250, 200);
    QTest::newRow("partly off but grabbable")
        << QRect(900, 300, 600, 400) << QRect(900, 300, 600, 400);
    QTest::newRow("bigger than the screen and off it")
        << QRect(-1900, 100, 1900, 1900) << QRect(0, 0, 1024, 768);
}

void HelpLogicTest::bounds()
{
    QFETCH(QRect, stored);
    QFETCH(QRect, opened);
    TGlobals g;
    g.HelpLeft = stored.left();
    g.HelpTop = stored.top();
    g.HelpWidth = stored.width();
    g.HelpHeight = stored.height();
    const QList<QRect> screens{QRect(0, 0, 1024, 768), QRect(1024, 0, 800, 600)};
    QCOMPARE(HelpBounds::onScreen(HelpBounds::limited(g), screens), opened);
}

void HelpLogicTest::tipFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("tips");
    QStringList many;
    QByteArray manyBytes;
    for (int i = 1; i <= 75; ++i) {
        manyBytes += "tip " + QByteArray::number(i) + "\r\n";
        if (i <= TTipTable::MaxTips)
            many << QStringLiteral("tip %1").arg(i);
    }
    QTest::newRow("three lines") << QByteArray("one\r\ntwo|2b\r\nthree\r\n")
                                 << QStringList{"one", "two|2b", "three"};
    QTest::newRow("last line without an end")
        << QByteArray("one\r\ntwo") << QStringList{"one", "two"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("more than seventy lines") << manyBytes << many;
    QTest::newRow("a Windows byte")
        << QByteArray("caf\xe9\r\n") << QStringList{QStringLiteral("caf\u00e9")};
}

void HelpLogicTest::tipFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, tips);
    const QString path = dir_.filePath(QStringLiteral("TipHelp.Txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    TTipTable table;
    table.load(path);
    QCOMPARE(table.count(), tips.size());
    for (int i = 0; i < tips.size(); ++i)
        QCOMPARE(table.tip(i + 1), tips[i]);
    QCOMPARE(table.tip(0), QString());
    QCOMPARE(table.tip(tips.size() + 1), QString());

    // A file that went away leaves no tips from the load before.
    QVERIFY(QFile::remove(path));
    table.load(path);
    QCOMPARE(table.count(), 0);
    QCOMPARE(table.randomSlot(), 0);
}

void HelpLogicTest::randomSlotCoversEveryTip()
{
    const QString path = dir_.filePath(QStringLiteral("three.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("a\r\nb\r\nc\r\n");
    file.close();
    TTipTable table;
    table.load(path);
    QSet<int> seen;
    for (int i = 0; i < 300; ++i) {
        const int slot = table.randomSlot();
        QVERIFY(slot >= 1 && slot <= 3);
        seen.insert(slot);
    }
    QCOMPARE(seen.size(), 3);
}

void HelpLogicTest::memoLines_data()
{
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("two paragraphs")
        << "First part|Second part" << QStringList{"", "", "First part", "", "", "Second part"};
    QTest::newRow("one paragraph") << "Whole line" << QStringList{"", "", "Whole line"};
    QTest::newRow("empty paragraph kept")
        << "a||b" << QStringList{"", "", "a", "", "", "", "", "", "b"};
}

void HelpLogicTest::memoLines()
{
    QFETCH(QString, tip);
    QFETCH(QStringList, lines);
    QCOMPARE(TTipTable::memoLines(tip), lines);
}

QTEST_GUILESS_MAIN(HelpLogicTest)
#include "HelpLogicTest.moc"
