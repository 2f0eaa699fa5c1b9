#include "mail/ZipExtractor.h"
#include "mail/ZipMaker.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <sys/stat.h>
#include <zip.h>

// Archives sent and received: bare names, atomic writes, and unpacking that archives made by
// strangers cannot turn against the disk.
class ZipTest : public QObject
{
    Q_OBJECT
private slots:
    void deriveZipName_data();
    void deriveZipName();
    void packsBareNamesAndNumbersClashes();
    void failedWriteKeepsOldArchive();
    void refusesToOverwriteAnInput();
    void roundTrip();
    void hostileMembersStayInside();
    void linkInsideFolderIsNotFollowed();
    void bombStops();
    void tooManyMembersStops();
    void notAnArchive();

private:
    QTemporaryDir tmp_;
    QString write(const QString &relative, const QByteArray &bytes);
};

QString ZipTest::write(const QString &relative, const QByteArray &bytes)
{
    const QString path = tmp_.filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write fixture %s", qPrintable(path));
    return path;
}

namespace {

// Member names and sizes of an archive, in archive order.
QStringList listing(const QString &zipPath)
{
    QStringList names;
    int code = 0;
    zip_t *z = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY, &code);
    if (!z)
        return {QStringLiteral("<unreadable>")};
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, zip_uint64_t(i), 0, &st);
        names << QStringLiteral("%1=%2").arg(QString::fromUtf8(st.name)).arg(st.size);
    }
    zip_discard(z);
    return names;
}

// Writes an archive with hand-made members, the way a hostile sender would.
class ArchiveWriter
{
public:
    explicit ArchiveWriter(const QString &path)
    {
        int code = 0;
        zip_ = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    }
    zip_int64_t add(const QByteArray &name, const QByteArray &data, mode_t mode = S_IFREG | 0644)
    {
        buffers_.append(data);
        zip_source_t *s =
            zip_source_buffer(zip_, buffers_.last().constData(), zip_uint64_t(data.size()), 0);
        const zip_int64_t i = zip_file_add(zip_, name.constData(), s, ZIP_FL_ENC_RAW);
        zip_file_set_external_attributes(zip_, zip_uint64_t(i), 0, ZIP_OPSYS_UNIX,
                                         zip_uint32_t(mode) << 16);
        return i;
    }
    zip_int64_t addZeros(const QByteArray &name, qint64 size)
    {
        zeros_ = size;
        zip_source_t *s = zip_source_function(zip_, &ArchiveWriter::zeros, this);
        const zip_int64_t i = zip_file_add(zip_, name.constData(), s, 0);
        zip_set_file_compression(zip_, zip_uint64_t(i), ZIP_CM_DEFLATE, 1);
        return i;
    }
    bool close() { return zip_close(zip_) == 0; }

private:
    static zip_int64_t zeros(void *self, void *data, zip_uint64_t len, zip_source_cmd_t cmd)
    {
        auto *w = static_cast<ArchiveWriter *>(self);
        switch (cmd) {
        case ZIP_SOURCE_OPEN:
            w->left_ = w->zeros_;
            return 0;
        case ZIP_SOURCE_READ: {
            const qint64 n = std::min<qint64>(qint64(len), w->left_);
            std::memset(data, 0, size_t(n));
            w->left_ -= n;
            return n;
        }
        case ZIP_SOURCE_STAT: {
            auto *st = static_cast<zip_stat_t *>(data);
            zip_stat_init(st);
            st->size = zip_uint64_t(w->zeros_);
            st->valid |= ZIP_STAT_SIZE;
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ERROR:
            return 2 * sizeof(int);
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ,
                                                  ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                                  ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
        default:
            return 0;
        }
    }
    zip_t *zip_ = nullptr;
    QList<QByteArray> buffers_;
    qint64 zeros_ = 0;
    qint64 left_ = 0;
};

QStringList filesUnder(const QString &dir)
{
    QStringList found;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(dir).relativeFilePath(it.next());
    found.sort();
    return found;
}

} // namespace

void ZipTest::deriveZipName_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("zip");
    QTest::newRow("dot in a folder is not the cut") << "/home/u/My.Docs/pic.jpg"
                                                    << "/home/u/My.Docs/pic.Zip";
    QTest::newRow("hidden folder") << "/home/u/.cache/x.tar.gz"
                                   << "/home/u/.cache/x.Zip";
    QTest::newRow("no dot in the name") << "/d/readme"
                                        << "/d/readme.Zip";
    QTest::newRow("leading dot belongs to the name") << "/d/.profile"
                                                     << "/d/.profile.Zip";
    QTest::newRow("bare name") << "a.b.c"
                               << "a.Zip";
}

void ZipTest::deriveZipName()
{
    QFETCH(QString, first);
    QFETCH(QString, zip);
    QCOMPARE(ZipMaker::deriveZipName(first), zip);
}

void ZipTest::packsBareNamesAndNumbersClashes()
{
    const QStringList files{write("one/a.jpg", "first a"), write("two/a.jpg", "second a!"),
                            write("one/b.txt", "bee"), write("three/A.JPG", "upper")};
    const QString zip = tmp_.filePath("out.zip");
    QCOMPARE(ZipMaker::MakeZipFile(files, zip), std::nullopt);
    QCOMPARE(listing(zip), (QStringList{"a.jpg=7", "a (2).jpg=9", "b.txt=3", "A (3).JPG=5"}));
}

void ZipTest::failedWriteKeepsOldArchive()
{
    const QString zip = tmp_.filePath("keep.zip");
    QCOMPARE(ZipMaker::MakeZipFile({write("k/old.txt", "old")}, zip), std::nullopt);
    const auto error =
        ZipMaker::MakeZipFile({write("k/new.txt", "new"), tmp_.filePath("k/missing.txt")}, zip);
    QVERIFY(error && error->contains("missing.txt"));
    QCOMPARE(listing(zip), QStringList{"old.txt=3"});
}

void ZipTest::refusesToOverwriteAnInput()
{
    const QString first = write("same/readme", "text");
    const auto error = ZipMaker::MakeZipFile({first}, first);
    QVERIFY(error.has_value());
    QFile f(first);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("text"));
}

void ZipTest::roundTrip()
{
    const QStringList files{write("r/a.jpg", "AAAA"), write("r/b.jpg", QByteArray(100000, 'b'))};
    const QString zip = tmp_.filePath("r/photos.zip");
    QCOMPARE(ZipMaker::MakeZipFile(files, zip), std::nullopt);
    const auto result = ZipExtractor().extract(zip, tmp_.filePath("r/photos"));
    QCOMPARE(result.error, std::nullopt);
    QCOMPARE(result.extracted, (QStringList{"a.jpg", "b.jpg"}));
    QCOMPARE(QFileInfo(tmp_.filePath("r/photos/b.jpg")).size(), 100000);
}

void ZipTest::hostileMembersStayInside()
{
    const QString outside = tmp_.filePath("h/outside-target");
    const QString zip = tmp_.filePath("h/hostile.zip");
    QDir().mkpath(tmp_.filePath("h"));
    ArchiveWriter w(zip);
    w.add("../escaped", "x");
    w.add("sub/../../escaped2", "x");
    w.add(QFile::encodeName(outside), "x");
    w.add("..\\win-escaped", "x");
    w.add("C:\\abs.txt", "x");
    w.add("link", QFile::encodeName(outside), S_IFLNK | 0777);
    w.add("device", "", S_IFCHR | 0644);
    w.add("fifo", "", S_IFIFO | 0644);
    w.add("ok.txt", "fine");
    w.add("sub/inner.txt", "inner");
    w.add("win\\file.txt", "odd");
    QVERIFY(w.close());

    const auto result = ZipExtractor().extract(zip, tmp_.filePath("h/unpacked"));
    QCOMPARE(result.error, std::nullopt);
    QCOMPARE(result.extracted, (QStringList{"ok.txt", "sub/inner.txt", "win/file.txt"}));
    QCOMPARE(result.refused.size(), 8);
    QCOMPARE(filesUnder(tmp_.filePath("h")),
             (QStringList{"hostile.zip", "unpacked", "unpacked/ok.txt", "unpacked/sub",
                          "unpacked/sub/inner.txt", "unpacked/win", "unpacked/win/file.txt"}));
}

void ZipTest::linkInsideFolderIsNotFollowed()
{
    const QString away = tmp_.filePath("l/away");
    QDir().mkpath(away);
    QDir().mkpath(tmp_.filePath("l/unpacked"));
    QVERIFY(QFile::link(away, tmp_.filePath("l/unpacked/sub")));
    const QString zip = tmp_.filePath("l/link.zip");
    ArchiveWriter w(zip);
    w.add("sub/planted.txt", "x");
    QVERIFY(w.close());
    const auto result = ZipExtractor().extract(zip, tmp_.filePath("l/unpacked"));
    QVERIFY(result.extracted.isEmpty());
    QCOMPARE(result.refused.size(), 1);
    QVERIFY(QDir(away).isEmpty());
}

void ZipTest::bombStops()
{
    const QString zip = tmp_.filePath("b/bomb.zip");
    QDir().mkpath(tmp_.filePath("b"));
    ArchiveWriter w(zip);
    w.add("first.txt", "small");
    w.addZeros("zeros.bin", qint64(1) << 30);
    QVERIFY(w.close());
    QVERIFY(QFileInfo(zip).size() < 10 * 1024 * 1024);

    const auto result = ZipExtractor().extract(zip, tmp_.filePath("b/out"));
    QVERIFY(result.error.has_value());
    QVERIFY2(result.error->contains("fill the disk"), qPrintable(*result.error));
    QCOMPARE(filesUnder(tmp_.filePath("b/out")), QStringList{"first.txt"});
}

void ZipTest::tooManyMembersStops()
{
    const QString zip = tmp_.filePath("m/many.zip");
    QDir().mkpath(tmp_.filePath("m"));
    ArchiveWriter w(zip);
    for (int i = 0; i < 5; ++i)
        w.add(QByteArray::number(i), "x");
    QVERIFY(w.close());
    const auto result =
        ZipExtractor({.maxTotalBytes = 1000, .maxMembers = 4}).extract(zip, tmp_.filePath("m/out"));
    QVERIFY(result.error.has_value());
    QVERIFY(filesUnder(tmp_.filePath("m/out")).isEmpty());
}

void ZipTest::notAnArchive()
{
    const QString bogus = write("n/bogus.zip", "PK\x03\x04 not really");
    const auto result = ZipExtractor().extract(bogus, tmp_.filePath("n/bogus"));
    QVERIFY(result.error.has_value());
    QVERIFY(result.extracted.isEmpty());
}

QTEST_GUILESS_MAIN(ZipTest)
#include "ZipTest.moc"
