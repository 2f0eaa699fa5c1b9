#include "app/TextFile.h"

#include "FileSizeLimit.h"
#include "app/CaseFold.h"
#include "app/LocaleFormat.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TextFileTest : public QObject
{
    Q_OBJECT
private slots:
    void splitsLines_data();
    void splitsLines();
    void decodesUtf8AndFallsBackToWindows1252();
    void writesCrLfAtomically();
    void firstLineStartingWithMarkSurvives();
    void failedWriteKeepsOldFile();
    void fullDiskKeepsOldFile();
    void resolvesNamesWithoutCase();
    void foldsAsciiOnly();
    void longTimeHasNoZone();
};

void TextFileTest::splitsLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lf, no final end") << QByteArray("a\nb") << QStringList{"a", "b"};
    QTest::newRow("blank lines kept") << QByteArray("\r\n\r\nx\r\n") << QStringList{"", "", "x"};
    QTest::newRow("lone cr stays") << QByteArray("a\rb\n") << QStringList{"a\rb"};
    QTest::newRow("nul inside") << QByteArray("a\0b\n", 4)
                                << QStringList{QString("a") + QChar(0) + "b"};
    QTest::newRow("byte order mark dropped") << QByteArray("\xef\xbb\xbf"
                                                           "a\r\n")
                                             << QStringList{"a"};
    QTest::newRow("a second mark is a character") << QByteArray("\xef\xbb\xbf\xef\xbb\xbf"
                                                                "a")
                                                  << QStringList{QStringLiteral("\uFEFFa")};
    QTest::newRow("mixed file, a mark and a Windows-1252 line")
        << QByteArray("\xef\xbb\xbf"
                      "caf\xc3\xa9\r\ncaf\xe9\r\n")
        << QStringList{QStringLiteral("café"), QStringLiteral("café")};
}

void TextFileTest::splitsLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(TextFile::splitLines(bytes), lines);
}

void TextFileTest::decodesUtf8AndFallsBackToWindows1252()
{
    QCOMPARE(TextFile::decode("caf\xc3\xa9"), QString::fromUtf8("caf\xc3\xa9"));
    // 0xE9 alone is not UTF-8: Windows-1252 é; 0x80 is the euro sign there.
    QCOMPARE(TextFile::decode("caf\xe9 \x80"), QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac"));
}

void TextFileTest::writesCrLfAtomically()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("x.ini");
    QVERIFY(!TextFile::writeLines(path, {"one", "two\nthree", ""}));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("one\r\ntwo three\r\n\r\n"));
    const TextFile::ReadResult back = TextFile::readLines(path);
    QVERIFY(back.exists && !back.error);
    QCOMPARE(back.lines, (QStringList{"one", "two three", ""}));
}

// The reader drops a byte order mark at the start of a file, so a first line that itself
// begins with U+FEFF lost that character on the way through the file.
void TextFileTest::firstLineStartingWithMarkSurvives()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("x.ini");
    for (const QStringList &lines :
         {QStringList{QStringLiteral("\uFEFF")}, QStringList{QStringLiteral("\uFEFFTitle"), "b"}}) {
        QVERIFY(!TextFile::writeLines(path, lines));
        QCOMPARE(TextFile::readLines(path).lines, lines);
    }
    QVERIFY(!TextFile::writeLines(path, {"plain"}));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("plain\r\n")); // no mark where none is needed
}

void TextFileTest::failedWriteKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.ini");
    QVERIFY(!TextFile::writeLines(path, {"old"}));
    QFile(dir.path()).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    const auto error = TextFile::writeLines(path, {"new"});
    QFile(dir.path()).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!error)
        QSKIP("running as a user who may write anywhere");
    QCOMPARE(TextFile::readLines(path).lines, QStringList{"old"});
}

// The bytes wait in a buffer until the file is closed: a disk that fills up then must not leave a
// cut-off file in place of the old one.
void TextFileTest::fullDiskKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.ini");
    QVERIFY(!TextFile::writeLines(path, {"old"}));
    std::optional<QString> error;
    {
        const FileSizeLimit full(8);
        error = TextFile::writeLines(path, {"a longer line than the disk can take", "and more"});
    }
    QVERIFY(error);
    QVERIFY2(error->contains("keep.ini"), qPrintable(*error));
    QCOMPARE(TextFile::readLines(path).lines, QStringList{"old"});
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.ini"});
}

void TextFileTest::resolvesNamesWithoutCase()
{
    QTemporaryDir dir;
    QVERIFY(!TextFile::writeLines(dir.filePath("WebPageList.INI"), {"x"}));
    QCOMPARE(TextFile::resolveNoCase(dir.path(), "WebPageList.Ini"),
             dir.filePath("WebPageList.INI"));
    QCOMPARE(TextFile::resolveNoCase(dir.path(), "Missing.Ini"), dir.filePath("Missing.Ini"));
    const TextFile::ReadResult missing = TextFile::readLines(dir.filePath("Missing.Ini"));
    QVERIFY(!missing.exists && !missing.error);
    QDir(dir.path()).mkdir("AFolder");
    QVERIFY(TextFile::readLines(dir.filePath("AFolder")).error);
}

void TextFileTest::foldsAsciiOnly()
{
    QCOMPARE(CaseFold::upper(QString::fromUtf8("abc\xc3\xa9")), QString::fromUtf8("ABC\xc3\xa9"));
    QCOMPARE(CaseFold::lower("HTTP://X"), QString("http://x"));
    QVERIFY(CaseFold::sameText("Index.Htm", "INDEX.HTM"));
    QVERIFY(!CaseFold::sameText(QString::fromUtf8("\xc3\xa9"), QString::fromUtf8("\xc3\x89")));
}

void TextFileTest::longTimeHasNoZone()
{
    for (const QLocale &locale : {QLocale(QLocale::English, QLocale::UnitedStates),
                                  QLocale(QLocale::German, QLocale::Germany)}) {
        QVERIFY2(!LocaleFormat::longTimeFormat(locale).contains(u't'),
                 qPrintable(LocaleFormat::longTimeFormat(locale)));
        QVERIFY(LocaleFormat::longTime(QTime(13, 5, 9), locale).contains(QStringLiteral("05")));
    }
    QCOMPARE(LocaleFormat::longTime(QTime(13, 5, 9), QLocale(QLocale::German, QLocale::Germany)),
             QStringLiteral("13:05:09"));
}

QTEST_GUILESS_MAIN(TextFileTest)
#include "TextFileTest.moc"
