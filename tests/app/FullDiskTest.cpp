#include "app/Options.h"
#include "app/TextFile.h"
#include "organiser/HistoryStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/mount.h>
#include <unistd.h>

// Writes on a real file system that has run out of room: a small tmpfs the test mounts.
class FullDiskTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void saveFailsAndKeepsOldFile_data();
    void saveFailsAndKeepsOldFile();
    void optionsSurviveFullDisk();

private:
    void fillDisk();
    QByteArray bytesOf(const QString &path);

    QTemporaryDir holder_;
    QString mountPoint_;
    bool mounted_ = false;
};

void FullDiskTest::initTestCase()
{
    if (geteuid() != 0)
        QSKIP("mounting a small tmpfs needs root; the full-disk writes are not tested");
    mountPoint_ = holder_.filePath(QStringLiteral("full"));
    QVERIFY(QDir().mkpath(mountPoint_));
    if (mount("tmpfs", QFile::encodeName(mountPoint_).constData(), "tmpfs", 0, "size=256k") != 0)
        QSKIP("this system does not let root mount a tmpfs; the full-disk writes are not tested");
    mounted_ = true;
}

void FullDiskTest::cleanupTestCase()
{
    if (mounted_)
        umount2(QFile::encodeName(mountPoint_).constData(), MNT_DETACH);
}

// Takes every free block, so the next write of any size fails.
void FullDiskTest::fillDisk()
{
    QFile filler(QDir(mountPoint_).filePath(QStringLiteral("filler")));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
    while (filler.write("x", 1) == 1) {
    }
}

QByteArray FullDiskTest::bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void FullDiskTest::saveFailsAndKeepsOldFile_data()
{
    QTest::addColumn<QStringList>("lines");
    // A short file sits in Qt's buffer until commit; a long one is written while being saved.
    QTest::newRow("short") << QStringList{QStringLiteral("new")};
    QTest::newRow("long") << QStringList(3000, QStringLiteral("a line of the new file"));
}

void FullDiskTest::saveFailsAndKeepsOldFile()
{
    QFETCH(QStringList, lines);
    const QString path = QDir(mountPoint_).filePath(QStringLiteral("Data.Ini"));
    QFile::remove(QDir(mountPoint_).filePath(QStringLiteral("filler")));
    QVERIFY(!TextFile::writeLines(path, {QStringLiteral("old one"), QStringLiteral("old two")}));
    const QByteArray before = bytesOf(path);
    fillDisk();

    const std::optional<QString> error = TextFile::writeLines(path, lines);
    QVERIFY2(error, "a save on a full disk reported success");
    QVERIFY2(error->contains(QStringLiteral("No space left on device")), qPrintable(*error));
    QCOMPARE(bytesOf(path), before);
    // No temporary file is left behind to take the room.
    QCOMPARE(QDir(mountPoint_).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void FullDiskTest::optionsSurviveFullDisk()
{
    const QString path = QDir(mountPoint_).filePath(QStringLiteral("Options.INI"));
    QFile::remove(QDir(mountPoint_).filePath(QStringLiteral("filler")));
    TGlobals saved;
    Options::SetDefaultOptions(saved);
    saved.StartPage = QStringLiteral("https://start.example/");
    MainWindowRect rect{10, 20, 300, 400};
    QVERIFY(!Options::SaveOptions(path, saved, rect));
    fillDisk();

    saved.StartPage = QStringLiteral("https://other.example/");
    QVERIFY(Options::SaveOptions(path, saved, rect));
    TGlobals loaded;
    MainWindowRect back;
    QVERIFY(Options::LoadOptions(path, loaded, back));
    QCOMPARE(loaded.StartPage, QStringLiteral("https://start.example/"));
    QCOMPARE(back.WindowWidth, 400);
}

QTEST_GUILESS_MAIN(FullDiskTest)
#include "FullDiskTest.moc"
