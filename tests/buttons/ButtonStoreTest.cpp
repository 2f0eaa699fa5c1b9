#include "buttons/ButtonStore.h"

#include "app/TextFile.h"

#include <QAbstractItemModelTester>
#include <QFile>
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
