#include "organiser/HistoryStore.h"

#include "app/TextFile.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The tree as text: "D:" a day, "E:" a page at the top level, two blanks a page under a day.
QStringList dump(const THistoryModel *model)
{
    QStringList out;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex day = model->index(row, 0);
        const bool date = day.data(THistoryItem::KindRole).toInt() == THistoryItem::DateNode;
        out << (date ? QStringLiteral("D:") : QStringLiteral("E:")) + day.data().toString();
        for (int child = 0; child < model->rowCount(day); ++child)
            out << QStringLiteral("  ") + model->index(child, 0, day).data().toString();
    }
    return out;
}

QString writeFile(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath(QStringLiteral("History.Ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write fixture");
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QLocale German(QLocale::German, QLocale::Germany); // dd.MM.yy and HH:mm:ss

} // namespace

// The history file, the tree kept from it, and the rules of recording, deleting and opening.
class HistoryStoreTest : public QObject
{
    Q_OBJECT

private:
    QDateTime now_;
    QTemporaryDir dir_;

    void fixClock(THistoryStore &store)
    {
        store.setLocale(German);
        store.setClock([this] { return now_; });
    }

private slots:
    void init() { now_ = QDateTime(QDate(2008, 3, 15), QTime(10, 40, 57)); }

    void readsFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("tree");
        QTest::newRow("two days") << QByteArray("## 3/14/2008\r\n"
                                                "Start Page - file:///C:/start.htm - 3/14/2008\r\n"
                                                "## 3/15/2008\r\n"
                                                "Notes - file:///C:/notes.htm - 3/15/2008\r\n")
                                  << QStringList{"D:3/14/2008",
                                                 "  Start Page - file:///C:/start.htm - 3/14/2008",
                                                 "D:3/15/2008",
                                                 "  Notes - file:///C:/notes.htm - 3/15/2008"};
        QTest::newRow("hashes without blank are a page")
            << QByteArray("## d\r\n##x\r\n##\r\n#  y\r\n")
            << QStringList{"D:d", "  ##x", "  ##", "  #  y"};
        QTest::newRow("marker alone is a day without text")
            << QByteArray("## \r\npage\r\n") << QStringList{"D:", "  page"};
        QTest::newRow("marker keeps what follows as it is")
            << QByteArray("##  two blanks \r\n") << QStringList{"D: two blanks "};
        QTest::newRow("empty lines are pages")
            << QByteArray("## d\r\n\r\n\r\n## e\r\n") << QStringList{"D:d", "  ", "  ", "D:e"};
        QTest::newRow("days without pages")
            << QByteArray("## a\r\n## b\r\n") << QStringList{"D:a", "D:b"};
        QTest::newRow("pages above the first day stay at the top")
            << QByteArray("lost 1\r\nlost 2\r\n## d\r\np\r\n")
            << QStringList{"E:lost 1", "E:lost 2", "D:d", "  p"};
        QTest::newRow("bare LF and no final line end")
            << QByteArray("## d\np1\r\np2") << QStringList{"D:d", "  p1", "  p2"};
        QTest::newRow("Windows-1252 text") << QByteArray("## d\r\nCaf\xe9 - x\r\n")
                                           << QStringList{"D:d", QString::fromUtf8("  Café - x")};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
    }

    void readsFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, tree);
        QTemporaryDir dir;
        const QString path = writeFile(dir, bytes);
        THistoryStore store;
        QAbstractItemModelTester tester(store.model());
        QVERIFY(!store.LoadHistory(path));
        QCOMPARE(dump(store.model()), tree);

        // Every line comes back as it was read; only the line ends become CR LF.
        const QStringList lines = TextFile::splitLines(bytes);
        QCOMPARE(store.fileLines(), lines);
        QVERIFY(!store.SaveHistory(path));
        QCOMPARE(TextFile::readLines(path).lines, lines);
    }

    void missingAndUnreadableFiles()
    {
        THistoryStore store;
        QVERIFY(!store.LoadHistory(dir_.filePath(QStringLiteral("none.ini"))));
        QCOMPARE(store.model()->rowCount(), 0);
        QVERIFY(store.LoadHistory(dir_.path()).has_value());
        QCOMPARE(store.model()->rowCount(), 0);
    }

    void failedSaveReportsAndKeepsOldFile()
    {
        QTemporaryDir dir;
        const QString path = writeFile(dir, "## old\r\n");
        THistoryStore store;
        store.appendFileLines({"## new"});
        // A file standing where the folder should be: the write cannot even start.
        QVERIFY(store.SaveHistory(path + QStringLiteral("/History.Ini")).has_value());
        QCOMPARE(readFile(path), QByteArray("## old\r\n"));
    }

    // A page titled like a day line must not become a day when the file is read back, nor
    // take the day's later pages with it.
    void titleLikeDayLineStaysAPage()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("History.Ini"));
        THistoryStore store;
        fixClock(store);
        store.AddTodayNode();
        for (const QString &title : {QStringLiteral("## 01 JAN 2020"), QStringLiteral("## "),
                                     QStringLiteral("Later page")})
            QVERIFY(store.RecordVisit(title, QStringLiteral("http://a/")));
        QVERIFY(!store.SaveHistory(path));

        THistoryStore back;
        QVERIFY(!back.LoadHistory(path));
        QCOMPARE(back.model()->rowCount(), 1);
        QCOMPARE(back.model()->rowCount(back.model()->index(0, 0)), 3);
        QCOMPARE(back.fileLines(), store.fileLines());
        const QString shown =
            back.model()->index(0, 0, back.model()->index(0, 0)).data().toString();
        QVERIFY2(shown.startsWith(QStringLiteral("##")) &&
                     shown.contains(QStringLiteral("01 JAN 2020 - http://a/")),
                 qPrintable(shown));
        QCOMPARE(THistoryStore::OpenAddress(shown), QStringLiteral("http://a/"));
    }

    void dateAndEntryTexts()
    {
        THistoryStore store;
        fixClock(store);
        QCOMPARE(store.dateText(), QStringLiteral("15.03.08"));
        QCOMPARE(store.entryText("Notes", "file:///n.htm"),
                 QStringLiteral("Notes - file:///n.htm - 15.03.08 10:40:57"));
        now_ = QDateTime(QDate(2008, 3, 16), QTime(0, 0, 0, 500));
        QCOMPARE(store.entryText("T", "a"), QStringLiteral("T - a - 16.03.08"));
        now_ = QDateTime(QDate(2008, 3, 16), QTime(0, 0, 1));
        QCOMPARE(store.entryText("T", "a"), QStringLiteral("T - a - 16.03.08 00:00:01"));

        // Letters of the date are upper-cased for the day's node, not in the time stamp.
        store.setLocale(QLocale::c());
        QCOMPARE(store.dateText(), QStringLiteral("16 MAR 2008"));
        QVERIFY(store.entryText("T", "a").endsWith(QStringLiteral("16 Mar 2008 00:00:01")));
    }

    void todayNodeFoundOrAdded()
    {
        THistoryStore store;
        QAbstractItemModelTester tester(store.model());
        fixClock(store);
        store.appendFileLines({"## 14.03.08", "a", "b", "## 15.03.08", "c", "## 16.03.08"});
        store.AddTodayNode();
        QCOMPARE(store.TodayIndex(), 3);
        QCOMPARE(store.model()->rowCount(), 3);

        now_ = now_.addDays(2);
        store.AddTodayNode();
        QCOMPARE(store.model()->rowCount(), 4);
        QCOMPARE(store.model()->index(3, 0).data().toString(), QStringLiteral("17.03.08"));
        QCOMPARE(store.TodayIndex(), 6);
    }

    void dateNodeComparedInUpperCase()
    {
        THistoryStore store;
        store.appendFileLines({"stray", "## 15 mar 2008", "## 15 Mar 2008"});
        QCOMPARE(store.FindDateNode("15 MAR 2008"), 1);
        QCOMPARE(store.FindDateNode("16 MAR 2008"), -1);
        // A page line is never a day, even with the day's text.
        QCOMPARE(store.FindDateNode("STRAY"), -1);
    }

    void secondStartSameDayAppends()
    {
        QTemporaryDir dir;
        THistoryStore first;
        fixClock(first);
        first.AddTodayNode();
        QVERIFY(first.RecordVisit("A", "http://a/"));
        QVERIFY(!first.SaveHistory(dir.filePath("History.Ini")));

        now_ = now_.addSecs(3600);
        THistoryStore second;
        fixClock(second);
        QVERIFY(!second.LoadHistory(dir.filePath("History.Ini")));
        second.AddTodayNode();
        QVERIFY(second.RecordVisit("B", "http://b/"));
        QCOMPARE(dump(second.model()),
                 (QStringList{"D:15.03.08", "  A - http://a/ - 15.03.08 10:40:57",
                              "  B - http://b/ - 15.03.08 11:40:57"}));
    }

    void sameSecondRecordedOnce()
    {
        THistoryStore store;
        QAbstractItemModelTester tester(store.model());
        fixClock(store);
        store.AddTodayNode();
        QVERIFY(store.RecordVisit("Notes", "http://n/"));
        now_ = now_.addMSecs(300);
        QVERIFY(!store.RecordVisit("Notes", "http://n/"));
        // Letter case alone does not make another visit.
        QVERIFY(!store.RecordVisit("NOTES", "HTTP://N/"));
        QVERIFY(store.RecordVisit("Other", "http://n/"));
        now_ = now_.addSecs(1);
        QVERIFY(store.RecordVisit("Notes", "http://n/"));
        QCOMPARE(store.model()->rowCount(store.model()->index(0, 0)), 3);
        QCOMPARE(store.FindHistoryEntry("notes - http://n/ - 15.03.08 10:40:57"), 1);
        QCOMPARE(store.FindHistoryEntry("notes - http://n/ - 15.03.08 10:40:58"), 3);
    }

    void duplicatesLookedForFromTodayOn()
    {
        THistoryStore store;
        fixClock(store);
        const QString text = "P - u - 15.03.08 10:40:57";
        store.appendFileLines({"## 14.03.08", text, "## 15.03.08", "## 16.03.08", text});
        store.AddTodayNode();
        QCOMPARE(store.FindHistoryEntry(text.toLower()), 4);
        store.Delete(store.model()->index(2, 0));
        // The copy under an earlier day does not count.
        QCOMPARE(store.FindHistoryEntry(text.toLower()), -1);
        QVERIFY(store.RecordVisit("P", "u"));
    }

    void deleteAndVisit()
    {
        THistoryStore store;
        QAbstractItemModelTester tester(store.model());
        fixClock(store);
        store.appendFileLines({"## 13.03.08", "x", "## 14.03.08", "a", "b"});
        store.AddTodayNode();
        QCOMPARE(store.TodayIndex(), 5);

        // A day goes with all its pages in one step.
        QVERIFY(store.Delete(store.model()->index(1, 0)));
        QCOMPARE(dump(store.model()), (QStringList{"D:13.03.08", "  x", "D:15.03.08"}));
        QCOMPARE(store.TodayIndex(), 2);

        QVERIFY(store.Delete(store.model()->index(0, 0, store.model()->index(0, 0))));
        QVERIFY(store.RecordVisit("V", "v"));
        QCOMPARE(dump(store.model()),
                 (QStringList{"D:13.03.08", "D:15.03.08", "  V - v - 15.03.08 10:40:57"}));
        QVERIFY(!store.Delete(QModelIndex()));
    }

    void deletedTodayMadeAgainByNextVisit()
    {
        THistoryStore store;
        QAbstractItemModelTester tester(store.model());
        fixClock(store);
        store.appendFileLines({"## 14.03.08", "a"});
        store.AddTodayNode();
        QVERIFY(store.RecordVisit("V", "v"));
        QVERIFY(store.Delete(store.model()->index(1, 0)));
        QCOMPARE(store.TodayIndex(), -1);

        now_ = now_.addSecs(5);
        QVERIFY(store.RecordVisit("W", "w"));
        QCOMPARE(dump(store.model()),
                 (QStringList{"D:14.03.08", "  a", "D:15.03.08", "  W - w - 15.03.08 10:41:02"}));
        QCOMPARE(store.TodayIndex(), 2);
    }

    void visitsAfterMidnightStayUnderStartDay()
    {
        THistoryStore store;
        fixClock(store);
        store.AddTodayNode();
        now_ = QDateTime(QDate(2008, 3, 16), QTime(0, 0, 0));
        QVERIFY(store.RecordVisit("Late", "l"));
        QCOMPARE(dump(store.model()), (QStringList{"D:15.03.08", "  Late - l - 16.03.08"}));
    }

    void clearLeavesOnlyToday()
    {
        THistoryStore store;
        QAbstractItemModelTester tester(store.model());
        fixClock(store);
        store.appendFileLines({"stray", "## 14.03.08", "a", "## 15.03.08", "b"});
        store.AddTodayNode();
        store.Clear();
        QCOMPARE(dump(store.model()), QStringList{"D:15.03.08"});
        QCOMPARE(store.TodayIndex(), 0);
        QVERIFY(store.RecordVisit("V", "v"));
        QCOMPARE(store.fileLines(), (QStringList{"## 15.03.08", "V - v - 15.03.08 10:40:57"}));
    }

    // Read on a worker and filled a batch at a time, the tree is the one a plain load makes.
    void loadInBatchesGivesTheWholeFile_data()
    {
        QTest::addColumn<int>("batch");
        QTest::addColumn<int>("leastSteps");
        QTest::newRow("one page a turn") << 1 << 3;
        QTest::newRow("two days a turn") << 5 << 2;
        QTest::newRow("all at once") << 1000 << 1;
    }
    void loadInBatchesGivesTheWholeFile()
    {
        QFETCH(int, batch);
        QFETCH(int, leastSteps);
        const QString path = writeFile(dir_, "stray\r\n## 13.03.08\r\na\r\nb\r\n## 14.03.08\r\n"
                                             "## 15.03.08\r\nc\r\nd\r\ne\r\n## 16.03.08\r\nf\r\n");
        THistoryStore plain;
        QVERIFY(!plain.LoadHistory(path));

        THistoryStore store;
        QAbstractItemModelTester tester(store.model());
        store.beginLoad(path);
        QVERIFY(store.loading());
        store.whenRead().waitForFinished();
        int steps = 1;
        while (!store.fillSome(batch))
            ++steps;
        QVERIFY(steps >= leastSteps);
        QVERIFY(!store.loading());
        QVERIFY(!store.loadError());
        QCOMPARE(dump(store.model()), dump(plain.model()));
    }

    // Whatever reads, changes or saves the history while the file is still being read or
    // filled in sees all of it: a save then must not write back half a history.
    void actingDuringTheLoadSeesTheWholeFile_data()
    {
        QTest::addColumn<int>("filledFirst");
        QTest::addColumn<QString>("action");
        for (const int filled : {-1, 1}) {
            const QByteArray when = filled < 0 ? "while reading, " : "half filled, ";
            QTest::newRow(when + "save") << filled << "save";
            QTest::newRow(when + "visit") << filled << "visit";
            QTest::newRow(when + "today") << filled << "today";
        }
    }
    void actingDuringTheLoadSeesTheWholeFile()
    {
        QFETCH(int, filledFirst);
        QFETCH(QString, action);
        QStringList lines;
        for (int day = 1; day <= 15; ++day) {
            lines << QStringLiteral("## %1.03.08").arg(day, 2, 10, QLatin1Char('0'));
            for (int page = 0; page < 300; ++page)
                lines << QStringLiteral("Page %1 - http://h/%1 - %2.03.08").arg(page).arg(day);
        }
        const QString path = dir_.filePath(QStringLiteral("History.Ini"));
        QVERIFY(!TextFile::writeLines(path, lines));

        THistoryStore store;
        fixClock(store);
        QAbstractItemModelTester tester(store.model());
        store.beginLoad(path);
        if (filledFirst > 0) {
            store.whenRead().waitForFinished();
            QVERIFY(!store.fillSome(filledFirst));
        }
        QStringList expected = lines;
        if (action == "save") {
            QVERIFY(!store.SaveHistory(path));
        } else if (action == "visit") {
            // Today is the file's last day: the visit goes after that day's pages.
            QVERIFY(store.RecordVisit("Late", "http://late/"));
            expected << "Late - http://late/ - 15.03.08 10:40:57";
        } else {
            store.AddTodayNode();
            QCOMPARE(store.TodayIndex(), 14 * 301);
        }
        QVERIFY(!store.loading());
        QVERIFY(store.fillSome(1));
        QCOMPARE(store.fileLines(), expected);
        QCOMPARE(TextFile::readLines(path).lines, lines);
    }

    // The save writes the pages' bytes straight out; the file must be what the lines say,
    // written the way every data file is written.
    void saveWritesTheLinesOfTheTree()
    {
        const QString path = writeFile(dir_, "\xef\xbb\xbfstray\r\n## 13.03.08\r\na\rb\r\n"
                                             "caf\xe9 - x\r\n\xc3\xa9t\xc3\xa9\r\n##\r\n\r\n## \r\n"
                                             "## 14.03.08\r\nlast");
        THistoryStore store;
        fixClock(store);
        QVERIFY(!store.LoadHistory(path));
        store.AddTodayNode();
        QVERIFY(store.RecordVisit("## Hash title", "http://h/"));
        const QString saved = dir_.filePath("saved.ini");
        const QString written = dir_.filePath("written.ini");
        QVERIFY(!store.SaveHistory(saved));
        QVERIFY(!TextFile::writeLines(written, store.fileLines()));
        QCOMPARE(readFile(saved), readFile(written));
        QCOMPARE(store.fileLines().mid(0, 5),
                 (QStringList{"stray", "## 13.03.08", "a\rb", QString::fromUtf8("caf\u00e9 - x"),
                              QString::fromUtf8("\u00e9t\u00e9")}));
        THistoryStore back;
        QVERIFY(!back.LoadHistory(saved));
        QCOMPARE(back.fileLines().size(), store.fileLines().size());
    }

    void loadReportsAnUnreadableFile()
    {
        THistoryStore store;
        store.beginLoad(dir_.path());
        store.finishLoad();
        QVERIFY(store.loadError().has_value());
        QVERIFY(!store.loading());
        QCOMPARE(store.model()->rowCount(), 0);
    }

    void openAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("address");
        // Read from the right-hand end: a title may hold the separator, the time stamp never.
        QTest::newRow("plain entry")
            << "Start Page - file:///C:/Pages/start.htm - 3/14/2008 9:02:11 AM"
            << "file:///C:/Pages/start.htm";
        QTest::newRow("separator in the title")
            << "Self-Help - Books - http://books.example/self-help - 11.12.26 09:02:11"
            << "http://books.example/self-help";
        QTest::newRow("hyphens in title, address and date")
            << "Re-read - http://my-shop.example/a-b - 2008-03-14 09:02:11"
            << "http://my-shop.example/a-b";
        QTest::newRow("empty title") << " - http://t/ - 3/14/2008"
                                     << "http://t/";
        QTest::newRow("empty address") << "Title -  - 3/14/2008"
                                       << "";
        QTest::newRow("separators overlapping") << "a - - b"
                                                << "";
        QTest::newRow("a date node's text") << "3/14/2008"
                                            << "";
        QTest::newRow("one separator only") << "Title - http://t/"
                                            << "";
        QTest::newRow("empty") << ""
                               << "";
    }

    void openAddress()
    {
        QFETCH(QString, text);
        QFETCH(QString, address);
        QCOMPARE(THistoryStore::OpenAddress(text), address);
    }
};

QTEST_MAIN(HistoryStoreTest)
#include "HistoryStoreTest.moc"
