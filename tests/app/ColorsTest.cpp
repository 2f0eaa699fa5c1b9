#include "app/Colors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A value in every field that no default and no file below uses.
constexpr qint32 Untouched = 0x123456;

QList<qint32> fields(const TGlobals &g)
{
    QList<qint32> values;
    for (qint32 TGlobals::*field : Colors::FileOrder)
        values << g.*field;
    return values;
}

TGlobals defaults()
{
    TGlobals g;
    for (qint32 TGlobals::*field : Colors::FileOrder)
        g.*field = Untouched;
    Colors::SetDefaultColors(g);
    return g;
}

QByteArray linesOf(const QList<qint32> &values)
{
    QByteArray bytes;
    for (qint32 value : values)
        bytes += QByteArray::number(value) + "\r\n";
    return bytes;
}

// 1, -2, 3, -4 ... : every line different, signs mixed.
QList<qint32> distinct(int count)
{
    QList<qint32> values;
    for (int i = 1; i <= count; ++i)
        values << (i % 2 ? i * 1000 : -16777216 - i);
    return values;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class ColorsTest : public QObject
{
    Q_OBJECT
private slots:
    void defaultsInFileForm();
    void load_data();
    void load();
    void roundTripWritesSignedDecimalLines();
    void findsAndKeepsTheFileNameSpelling();
    void failedSaveReportsAndKeepsOldFile();
};

void ColorsTest::defaultsInFileForm()
{
    const TGlobals g = defaults();
    const QList<qint32> expected{-16777211, 8421504, -16777208, -16777194, Untouched, -16777208,
                                 12632256,  0,       16777215,  0,         16777215,  0,
                                 -16777211, 8421504, -16777208, 32896,     8421504,   8388608,
                                 -16777211, 8421504, 0};
    QCOMPARE(fields(g), expected);
}

void ColorsTest::load_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QList<qint32>>("expected");

    const QList<qint32> base = fields(defaults());
    const QList<qint32> all = distinct(21);

    QTest::newRow("all 21 lines") << linesOf(all) << true << all;

    QList<qint32> ten = distinct(10);
    QList<qint32> tenThenZero = ten;
    tenThenZero.resize(21, 0);
    QTest::newRow("10 lines: 11 to 21 read as 0") << linesOf(ten) << true << tenThenZero;

    QList<qint32> badAt4 = all.mid(0, 3) + base.mid(3);
    QByteArray bad = linesOf(all.mid(0, 3)) + "blue\r\n" + linesOf(all.mid(4));
    QTest::newRow("a bad number stops the reading") << bad << false << badAt4;

    QByteArray tooBig = linesOf(all.mid(0, 3)) + "4294967295\r\n" + linesOf(all.mid(4));
    QTest::newRow("a number past 32 bits stops the reading") << tooBig << false << badAt4;

    QByteArray blanks = "   -16777211   \n\t12\r\n" + linesOf(all.mid(2));
    QList<qint32> blanksRead = all;
    blanksRead[0] = -16777211;
    blanksRead[1] = 12;
    QTest::newRow("blanks around a number, LF line ends") << blanks << true << blanksRead;

    QTest::newRow("empty file reads as all 0") << QByteArray() << true << QList<qint32>(21, 0);

    QByteArray binary("\xff\xfe\x00\x01garbage", 11);
    QTest::newRow("binary bytes stop at once") << binary << false << base;
}

void ColorsTest::load()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(QList<qint32>, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(Colors::FileName);
    writeFile(path, bytes);
    TGlobals g = defaults();
    QCOMPARE(Colors::LoadColors(path, g), ok);
    QCOMPARE(fields(g), expected);
}

void ColorsTest::roundTripWritesSignedDecimalLines()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(Colors::FileName);
    TGlobals g;
    Colors::SetDefaultColors(g);
    g.ToolbarEndColor = 255;
    g.ButtonTextColor = std::numeric_limits<qint32>::min();
    QVERIFY(!Colors::SaveColors(path, g));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("-16777211\r\n8421504\r\n-16777208\r\n-16777194\r\n255\r\n"));
    QVERIFY(bytes.endsWith("\r\n8421504\r\n-2147483648\r\n"));
    QCOMPARE(bytes.count("\r\n"), 21);

    TGlobals back;
    QVERIFY(Colors::LoadColors(path, back));
    QCOMPARE(fields(back), fields(g));

    // A missing file keeps whatever the fields held.
    TGlobals untouched = defaults();
    QVERIFY(!Colors::LoadColors(dir.filePath("nothing/Colors.Ini"), untouched));
    QCOMPARE(fields(untouched), fields(defaults()));
}

void ColorsTest::findsAndKeepsTheFileNameSpelling()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("COLORS.INI"), linesOf(distinct(21)));
    TGlobals g;
    QVERIFY(Colors::LoadColors(dir.filePath(Colors::FileName), g));
    QCOMPARE(fields(g), distinct(21));

    QVERIFY(!Colors::SaveColors(dir.filePath(Colors::FileName), defaults()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"COLORS.INI"});
}

void ColorsTest::failedSaveReportsAndKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(Colors::FileName);
    writeFile(path, linesOf(distinct(21)));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const auto error = Colors::SaveColors(path, defaults());
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!error)
        QSKIP("running with rights that ignore folder permissions");
    TGlobals g;
    QVERIFY(Colors::LoadColors(path, g));
    QCOMPARE(fields(g), distinct(21));
}

QTEST_GUILESS_MAIN(ColorsTest)
#include "ColorsTest.moc"
