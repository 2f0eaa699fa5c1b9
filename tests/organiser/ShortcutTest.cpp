#include "organiser/Shortcut.h"

#include "app/Globals.h"
#include "organiser/FavoritesFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class ShortcutTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void readsTheFourthLine_data();
    void readsTheFourthLine();
    void otherExtensionsAreNotOpened();
    void unreadableShortcutReportsItsError();
    void nameRules_data();
    void nameRules();
    void longTitleStillFitsOneFileName();
    void writeThenReadGivesBackTheAddress_data();
    void writeThenReadGivesBackTheAddress();
    void writeReplacesAndWritesTheFourLines();
    void writeFailsWithoutAFolder();
    void favoritesFolderIsCreated();

private:
    QString writeFile(const QString &name, const QByteArray &bytes);
    std::unique_ptr<QTemporaryDir> dir_;
};

void ShortcutTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    Globals = TGlobals{};
}

QString ShortcutTest::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = dir_->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

void ShortcutTest::readsTheFourthLine_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("address");

    const QByteArray ours = "[Default]\r\nBASEURL=http://a.example/\r\n"
                            "[InternetShortcut]\r\nURL=http://a.example/\r\n";
    QTest::newRow("as written") << "a.Url" << ours << "http://a.example/";
    QTest::newRow("lower case extension") << "a.url" << ours << "http://a.example/";
    QTest::newRow("upper case extension") << "a.URL" << ours << "http://a.example/";
    QTest::newRow("mixed case extension") << "a.uRl" << ours << "http://a.example/";
    QTest::newRow("dots before the extension") << "my.site.url" << ours << "http://a.example/";
    QTest::newRow("query string keeps its =")
        << "q.Url"
        << QByteArray("[Default]\nBASEURL=x\n[InternetShortcut]\nURL=http://s.example/?q=a&b=c\n")
        << "http://s.example/?q=a&b=c";
    QTest::newRow("two-line file of another program")
        << "two.Url" << QByteArray("[InternetShortcut]\r\nURL=http://b.example/\r\n") << "";
    QTest::newRow("fourth line without =")
        << "n.Url" << QByteArray("a\nb\nc\n  http://c.example/ \t\n") << "http://c.example/";
    QTest::newRow("blanks and controls around the line")
        << "t.Url" << QByteArray("a\nb\nc\n\t URL=http://d.example/ \x01\r\n")
        << "http://d.example/";
    QTest::newRow("whatever the fourth line holds")
        << "w.Url"
        << QByteArray("[InternetShortcut]\nURL=http://e.example/\nIDList=\nIconIndex=1\n") << "1";
    QTest::newRow("Windows-1252 bytes")
        << "cp.Url" << QByteArray("a\nb\nc\nURL=http://f.example/caf\xe9\n")
        << QString::fromUtf8("http://f.example/caf\xc3\xa9");
    QTest::newRow("empty file") << "e.Url" << QByteArray() << "";
}

void ShortcutTest::readsTheFourthLine()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, address);
    const QString path = writeFile(name, bytes);
    QVERIFY(!path.isEmpty());
    std::optional<QString> error;
    QCOMPARE(ReadShortcutUrl(path, &error), address);
    QVERIFY(!error);
}

void ShortcutTest::otherExtensionsAreNotOpened()
{
    const QByteArray shortcut = "[Default]\nBASEURL=x\n[InternetShortcut]\nURL=http://a.example/\n";
    for (const char *name : {"a.txt", "a.Url.bak", "Url", "a.urlx"})
        QCOMPARE(ReadShortcutUrl(writeFile(name, shortcut)), QString());
    // Not even looked at, so a missing file of another kind is no error either.
    std::optional<QString> error;
    QCOMPARE(ReadShortcutUrl(dir_->filePath("missing.htm"), &error), QString());
    QVERIFY(!error);
}

void ShortcutTest::unreadableShortcutReportsItsError()
{
    std::optional<QString> error;
    QCOMPARE(ReadShortcutUrl(dir_->filePath("missing.Url"), &error), QString());
    QVERIFY(error);
    QVERIFY(QDir(dir_->path()).mkdir("folder.url"));
    error.reset();
    QCOMPARE(ReadShortcutUrl(dir_->filePath("folder.url"), &error), QString());
    QVERIFY(error);
}

void ShortcutTest::nameRules_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("name");

    QTest::newRow("the title") << "Example Domain"
                               << "http://example.com/"
                               << "Example Domain";
    QTest::newRow("colon and question mark are fine on Linux") << "What? Why: because"
                                                               << "http://a.example/"
                                                               << "What? Why: because";
    QTest::newRow("title is the address: host") << "http://www.example.com/a/b.html"
                                                << "http://www.example.com/a/b.html"
                                                << "www.example.com";
    QTest::newRow("title is the address without a path: last character lost")
        << "http://example.com"
        << "http://example.com"
        << "example.co";
    QTest::newRow("secure scheme: empty name") << "https://example.com/x"
                                               << "https://example.com/x"
                                               << "";
    QTest::newRow("no page") << ""
                             << ""
                             << "";
    QTest::newRow("same apart from case: the title") << "HTTP://Example.com/"
                                                     << "http://example.com/"
                                                     << "HTTP:__Example.com_";
    QTest::newRow("slash in a title") << "Either/Or - News"
                                      << "http://n.example/"
                                      << "Either_Or - News";
    QTest::newRow("NUL in a title") << QString("a") + QChar(0) + "b"
                                    << "http://n.example/"
                                    << "a_b";
    QTest::newRow("other characters kept")
        << QString::fromUtf8(" *<>|\\\"\xc3\xa9 ") << "http://n.example/"
        << QString::fromUtf8(" *<>|\\\"\xc3\xa9 ");
}

void ShortcutTest::nameRules()
{
    QFETCH(QString, title);
    QFETCH(QString, address);
    QFETCH(QString, name);
    QCOMPARE(ShortcutName(title, address), name);
}

void ShortcutTest::longTitleStillFitsOneFileName()
{
    // Three bytes a character in UTF-8, and a character outside the BMP right at the cut.
    const QString title =
        QString(82, QChar(0x4E2D)) + QString::fromUcs4(U"\U0001F600") + QStringLiteral("tail");
    const QString name = ShortcutName(title, "http://long.example/");
    QVERIFY((name + ".Url").toUtf8().size() <= 255);
    QVERIFY(name.size() > 80);
    QVERIFY(title.startsWith(name));
    QVERIFY(!name.back().isHighSurrogate());

    Globals.CurrentTitle = title + title;
    Globals.CurrentUrl = "http://long.example/";
    QVERIFY(WriteShortcut(dir_->path() + "/"));
    const QStringList files = QDir(dir_->path()).entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    QCOMPARE(ReadShortcutUrl(dir_->filePath(files.first())), Globals.CurrentUrl);
}

void ShortcutTest::writeThenReadGivesBackTheAddress_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("file");

    QTest::newRow("plain") << "Example"
                           << "http://example.com/"
                           << "Example.Url";
    QTest::newRow("query string") << "Results"
                                  << "https://s.example/find?q=a=b&x=1"
                                  << "Results.Url";
    QTest::newRow("title is the address") << "http://h.example/p/q"
                                          << "http://h.example/p/q"
                                          << "h.example.Url";
    QTest::newRow("secure scheme title is the address") << "https://h.example/"
                                                        << "https://h.example/"
                                                        << ".Url";
    QTest::newRow("slash in the title") << "AC/DC"
                                        << "http://band.example/"
                                        << "AC_DC.Url";
    QTest::newRow("no page") << ""
                             << ""
                             << ".Url";
    QTest::newRow("non-ASCII") << QString::fromUtf8("Caf\xc3\xa9 \xe2\x80\x93 news")
                               << QString::fromUtf8("http://xn--caf-dma.example/\xc3\xa9")
                               << QString::fromUtf8("Caf\xc3\xa9 \xe2\x80\x93 news.Url");
}

void ShortcutTest::writeThenReadGivesBackTheAddress()
{
    QFETCH(QString, title);
    QFETCH(QString, address);
    QFETCH(QString, file);
    Globals.CurrentTitle = title;
    Globals.CurrentUrl = address;
    QVERIFY(WriteShortcut(dir_->path() + "/"));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{file});
    QCOMPARE(ReadShortcutUrl(dir_->filePath(file)), address);
}

void ShortcutTest::writeReplacesAndWritesTheFourLines()
{
    const QString path = writeFile("Page.Url", "old content that is longer than the new one\n");
    Globals.CurrentTitle = "Page";
    Globals.CurrentUrl = "http://p.example/?a=1";
    QVERIFY(WriteShortcut(dir_->path() + "/"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[Default]\r\nBASEURL=http://p.example/?a=1\r\n"
                                        "[InternetShortcut]\r\nURL=http://p.example/?a=1\r\n"));
}

void ShortcutTest::writeFailsWithoutAFolder()
{
    Globals.CurrentTitle = "Page";
    Globals.CurrentUrl = "http://p.example/";
    QVERIFY(!WriteShortcut(dir_->filePath("missing") + "/"));
    // No folder shown: nothing is written, and certainly not at the root.
    QVERIFY(!WriteShortcut(QString()));
}

void ShortcutTest::favoritesFolderIsCreated()
{
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", dir_->path().toUtf8());
    qunsetenv("QUILLMERE_FAVORITES");
    QCOMPARE(favoritesFolder(), dir_->filePath("Favorites"));
    QVERIFY(QFileInfo(dir_->filePath("Favorites")).isDir());

    qputenv("QUILLMERE_FAVORITES", dir_->filePath("elsewhere/Favs").toUtf8());
    QCOMPARE(favoritesFolder(), dir_->filePath("elsewhere/Favs"));
    QVERIFY(QFileInfo(dir_->filePath("elsewhere/Favs")).isDir());

    // A file where the folder should be: no folder to show.
    writeFile("blocked", "x");
    qputenv("QUILLMERE_FAVORITES", dir_->filePath("blocked").toUtf8());
    QCOMPARE(favoritesFolder(), QString());
    qunsetenv("QUILLMERE_FAVORITES");
    qputenv("HOME", oldHome);
}

QTEST_GUILESS_MAIN(ShortcutTest)
#include "ShortcutTest.moc"
