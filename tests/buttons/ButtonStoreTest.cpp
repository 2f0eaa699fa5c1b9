#include "buttons/ButtonStore.h"

#include "app/TextFile.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// WebButtons.Ini as the bar reads it, and the store's rows as the bar shows them.
class ButtonStoreTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;

    void writeFile(const QByteArray &bytes, const QString &name = TButtonStore::FileName)
    {
        QFile file(dir_.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

private slots:
    void init()
    {
        for (const QString &name : QDir(dir_.path()).entryList(QDir::Files))
            QFile::remove(dir_.filePath(name));
    }

    void parseLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("converts");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("address");
        QTest::newRow("plain") << "5##https://a.example/" << true << 5 << "https://a.example/";
        QTest::newRow("separator inside address")
            << "12##https://x.example/#a##b" << true << 12 << "https://x.example/#a##b";
        QTest::newRow("spaces kept")
            << "3## https://b.example/ " << true << 3 << " https://b.example/ ";
        QTest::newRow("no address") << "7##" << true << 7 << "";
        QTest::newRow("zero") << "0##z" << true << 0 << "z";
        QTest::newRow("negative") << "-4##n" << true << -4 << "n";
        QTest::newRow("leading zero") << "05##five" << true << 5 << "five";
        QTest::newRow("no separator") << "5 https://a.example/" << false << 0 << "";
        QTest::newRow("single hash") << "5#https://a.example/" << false << 0 << "";
        QTest::newRow("not a number") << "five##https://a.example/" << false << 0 << "";
        QTest::newRow("nothing before") << "##https://a.example/" << false << 0 << "";
        QTest::newRow("too big for an int") << "99999999999##x" << false << 0 << "";
        QTest::newRow("empty") << "" << false << 0 << "";
    }

    void parseLine()
    {
        QFETCH(QString, line);
        QFETCH(bool, converts);
        const auto parsed = TButtonStore::parseLine(line);
        QCOMPARE(parsed.has_value(), converts);
        if (!converts)
            return;
        QTEST(parsed->number, "number");
        QTEST(parsed->address, "address");
    }

    void load_data()
    {
        QTest::addColumn<QByteArray>("file");
        // "number=address" for each assigned button; every other button is unassigned.
        QTest::addColumn<QStringList>("assigned");
        QTest::newRow("missing file") << QByteArray() << QStringList();
        QTest::newRow("later line wins")
            << QByteArray("4##https://first.example/\r\n4##https://second.example/\r\n")
            << QStringList{"4=https://second.example/"};
        QTest::newRow("out of range numbers change nothing")
            << QByteArray("0##zero\r\n-1##minus\r\n35##over\r\n34##last\r\n1##first\r\n")
            << QStringList{"1=first", "34=last"};
        QTest::newRow("bad lines are skipped and later ones still load")
            << QByteArray("2##two\r\nrubbish\r\nx##y\r\n\r\n\xff\xfe##\r\n9##nine\r\n")
            << QStringList{"2=two", "9=nine"};
        QTest::newRow("empty address still assigns") << QByteArray("6##\r\n") << QStringList{"6="};
        QTest::newRow("order does not matter, LF only, no final line end")
            << QByteArray("30##thirty\n3##three") << QStringList{"3=three", "30=thirty"};
        QTest::newRow("Windows-1252 address") << QByteArray("8##https://caf\xe9.example/\r\n")
                                              << QStringList{"8=https://café.example/"};
    }

    void load()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, assigned);
        if (!file.isNull())
            writeFile(file);
        TButtonStore store;
        QAbstractItemModelTester tester(store.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        store.LoadButtonBar(dir_.path());
        QStringList seen;
        for (int number = 1; number <= TButtonStore::ButtonCount; ++number) {
            QCOMPARE(store.model()->item(number - 1)->text(), QString::number(number));
            if (!store.isAssigned(number)) {
                QCOMPARE(store.ButtonAddress(number), QString());
                continue;
            }
            seen << QStringLiteral("%1=%2").arg(number).arg(store.ButtonAddress(number));
            QCOMPARE(store.hint(number), store.ButtonAddress(number));
        }
        QCOMPARE(seen, assigned);
    }

    void reloadAfterLineRemovedKeepsOldHint()
    {
        writeFile("7##https://seven.example/\r\n8##https://eight.example/\r\n");
        TButtonStore store;
        store.LoadButtonBar(dir_.path());
        QVERIFY(store.isAssigned(7));
        writeFile("8##https://eight.example/\r\n");
        store.LoadButtonBar(dir_.path());
        QVERIFY(!store.isAssigned(7));
        QCOMPARE(store.ButtonAddress(7), QString());
        QCOMPARE(store.hint(7), QStringLiteral("https://seven.example/"));
        QVERIFY(store.isAssigned(8));
    }

    void fileNameIgnoresCase()
    {
        writeFile("1##https://one.example/\n", QStringLiteral("webbuttons.INI"));
        TButtonStore store;
        store.LoadButtonBar(dir_.path());
        QCOMPARE(store.ButtonAddress(1), QStringLiteral("https://one.example/"));
    }

    void save_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QByteArray>("bytes");
        const QStringList empty(TButtonStore::ButtonCount, QString());
        QTest::newRow("all empty") << empty << QByteArray();
        for (int number : {1, 17, 18, 34}) {
            QStringList one = empty;
            one[number - 1] = QStringLiteral("https://a.example/");
            QTest::addRow("only field %d", number)
                << one << QByteArray::number(number) + "##https://a.example/\r\n";
        }
        QStringList mixed = empty;
        mixed[1] = QStringLiteral("   ");
        mixed[2] = QStringLiteral("https://b.example/ ");
        mixed[3] = QStringLiteral("\t\x01 ");
        mixed[4] = QStringLiteral(" https://c.example/");
        mixed[6] = QStringLiteral("https://d.example/\r\n5##https://e.example/");
        QTest::newRow("blanks skipped, spaces kept, no line breaks")
            << mixed
            << QByteArray("3##https://b.example/ \r\n5## https://c.example/\r\n"
                          "7##https://d.example/5##https://e.example/\r\n");
    }

    void save()
    {
        QFETCH(QStringList, fields);
        writeFile("9##https://old.example/\r\n");
        QVERIFY(!TButtonStore::SaveButtonFields(dir_.path(), fields));
        QFile file(dir_.filePath(TButtonStore::FileName));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTEST(file.readAll(), "bytes");
    }

    void saveWritesOverTheNameFoundInAnyCase()
    {
        writeFile("1##https://old.example/\r\n", QStringLiteral("WEBBUTTONS.INI"));
        QStringList fields(TButtonStore::ButtonCount, QString());
        fields[1] = QStringLiteral("https://new.example/");
        QVERIFY(!TButtonStore::SaveButtonFields(dir_.path(), fields));
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList{"WEBBUTTONS.INI"});
        TButtonStore store;
        store.LoadButtonBar(dir_.path());
        QVERIFY(!store.isAssigned(1));
        QCOMPARE(store.ButtonAddress(2), QStringLiteral("https://new.example/"));
    }

    void failedSaveReportsAndWritesNothing()
    {
        QVERIFY(QDir(dir_.path()).mkdir(TButtonStore::FileName));
        const auto error = TButtonStore::SaveButtonFields(
            dir_.path(), QStringList(TButtonStore::ButtonCount, QStringLiteral("x")));
        QVERIFY(error);
        QVERIFY(!error->isEmpty());
        QVERIFY(QFileInfo(dir_.filePath(TButtonStore::FileName)).isDir());
        QVERIFY(QDir(dir_.path()).rmdir(TButtonStore::FileName));
    }

    void assignOutsideRangeIsIgnored()
    {
        TButtonStore store;
        store.AssignButton(35, QStringLiteral("x"));
        store.AssignButton(0, QStringLiteral("x"));
        QCOMPARE(store.ButtonAddress(35), QString());
        QCOMPARE(store.ButtonAddress(0), QString());
        for (int number = 1; number <= TButtonStore::ButtonCount; ++number)
            QVERIFY(!store.isAssigned(number));
    }
};

QTEST_GUILESS_MAIN(ButtonStoreTest)
#include "ButtonStoreTest.moc"
