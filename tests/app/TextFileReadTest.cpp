#include "app/Options.h"
#include "app/TextFile.h"
#include "organiser/Shortcut.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// What the text-file module makes of the bytes and the kinds of file it is handed.
class TextFileReadTest : public QObject
{
    Q_OBJECT
private slots:
    void decodesEachLineOnItsOwn_data();
    void decodesEachLineOnItsOwn();
    void refusesWhatIsNoDataFile_data();
    void refusesWhatIsNoDataFile();
    void bigShortcutIsNoShortcut();
    void mixedFileSurvivesSave();
    void smallReadTakesLittleMemory();
    void readsPastTheSizeTheFileTells();
};

void TextFileReadTest::decodesEachLineOnItsOwn_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    const QString zurich = QString::fromUtf8("Z\xc3\xbcrich");
    QTest::newRow("one Windows-1252 line among UTF-8 ones")
        << QByteArray("Z\xc3\xbcrich\r\nZ\xfcrich\r\nZ\xc3\xbcrich\r\n")
        << QStringList{zurich, zurich, zurich};
    QTest::newRow("euro sign in Windows-1252, line without an end")
        << QByteArray("\xe2\x82\xac\n\x80") << QStringList{QString(QChar(0x20AC)), QChar(0x20AC)};
    QTest::newRow("cut UTF-8 sequence at a line end")
        << QByteArray("ok \xc3\xa9\n\xc3\nnext")
        << QStringList{QString::fromUtf8("ok \xc3\xa9"), QString(QChar(0xC3)), "next"};
    QTest::newRow("byte order mark dropped on the first line only")
        << QByteArray("\xef\xbb\xbf"
                      "a\xe9\n\xef\xbb\xbf"
                      "b")
        << QStringList{QString::fromUtf8("a\xc3\xa9"), QString(QChar(0xFEFF)) + "b"};
    QTest::newRow("encoded surrogate is not UTF-8")
        << QByteArray("\xed\xa0\x80\n")
        << QStringList{QString(QChar(0xED)) + QChar(0xA0) + QChar(0x20AC)};
}

void TextFileReadTest::decodesEachLineOnItsOwn()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(TextFile::splitLines(bytes), lines);
}

void TextFileReadTest::refusesWhatIsNoDataFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder") << "folder"
                            << "folder";
    QTest::newRow("pipe without a writer") << "fifo"
                                           << "not an ordinary file";
    QTest::newRow("endless device") << "device"
                                    << "not an ordinary file";
    QTest::newRow("too big for settings") << "big"
                                          << "too large";
}

void TextFileReadTest::refusesWhatIsNoDataFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Options.INI"));
    if (kind == u"folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == u"fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == u"device") {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(TextFile::SettingsLimit + 1));
    }
    const TextFile::ReadResult read = TextFile::readLines(path, TextFile::SettingsLimit);
    QVERIFY(read.exists);
    QVERIFY(read.error);
    QVERIFY2(read.error->contains(reason), qPrintable(*read.error));
    QVERIFY(read.lines.isEmpty());

    // The options keep their defaults instead of hanging or filling memory.
    TGlobals globals;
    Options::SetDefaultOptions(globals);
    MainWindowRect rect;
    QVERIFY(!Options::LoadOptions(path, globals, rect));
    QCOMPARE(globals.HelpWidth, 600);
}

void TextFileReadTest::bigShortcutIsNoShortcut()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Huge.url"));
    QVERIFY(!TextFile::writeLines(path, ShortcutLines(QStringLiteral("http://a.example/"))));
    QCOMPARE(ReadShortcutUrl(path), QStringLiteral("http://a.example/"));
    QFile file(path);
    QVERIFY(file.resize(80 << 20)); // the tail is a hole: nothing is really written
    std::optional<QString> error;
    QCOMPARE(ReadShortcutUrl(path, &error), QString());
    QVERIFY(error && error->contains(QStringLiteral("too large")));
}

// The shutdown writes back what was read: a mixed file must not come back as mojibake.
void TextFileReadTest::mixedFileSurvivesSave()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Mixed.Ini"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Z\xc3\xbcrich\r\nZ\xfcrich\r\n");
    file.close();
    QVERIFY(!TextFile::writeLines(path, TextFile::readLines(path).lines));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("Z\xc3\xbcrich\r\nZ\xc3\xbcrich\r\n"));
}

// Reading a few bytes used to ask for the whole limit (256 MB for a data file) at once: under
// a memory limit that failed, and under the fuzzers' address checker it cost seconds a read.
void TextFileReadTest::smallReadTakesLittleMemory()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("the address checker reserves more address space than any limit set here");
#endif
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Small.Ini"));
    QVERIFY(!TextFile::writeLines(path, {QStringLiteral("one"), QStringLiteral("two")}));
    rlimit was = {};
    QCOMPARE(getrlimit(RLIMIT_AS, &was), 0);
    QFile status(QStringLiteral("/proc/self/statm"));
    QVERIFY(status.open(QIODevice::ReadOnly));
    const qint64 inUse = status.readAll().split(' ').value(0).toLongLong() * getpagesize();
    rlimit tight = was;
    tight.rlim_cur = rlim_t(inUse + (128 << 20));
    QCOMPARE(setrlimit(RLIMIT_AS, &tight), 0);
    const TextFile::ReadResult read = TextFile::readLines(path);
    QCOMPARE(setrlimit(RLIMIT_AS, &was), 0);
    QVERIFY(!read.error);
    QCOMPARE(read.lines, (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
}

// A file may grow while it is read, and some tell no size at all (those of /proc).
void TextFileReadTest::readsPastTheSizeTheFileTells()
{
    const QString path = QStringLiteral("/proc/self/status");
    if (!QFileInfo(path).isFile())
        QSKIP("no /proc here");
    const TextFile::BytesResult read = TextFile::readBytes(path);
    QVERIFY(!read.error);
    QVERIFY2(read.bytes.contains("Name:"), read.bytes.constData());
    const TextFile::BytesResult capped = TextFile::readBytes(path, 16);
    QVERIFY(capped.error && capped.error->contains(QStringLiteral("too large")));
}

QTEST_GUILESS_MAIN(TextFileReadTest)
#include "TextFileReadTest.moc"
