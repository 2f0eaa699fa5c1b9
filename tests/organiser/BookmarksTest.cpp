#include "organiser/Bookmarks.h"

#include "app/TextFile.h"
#include "organiser/Shortcut.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

using Bookmarks::Folder;

namespace {

// A folder tree as comparable text: one line per folder and link, indented by depth, each
// level sorted, so that two trees with the same content compare equal whatever their order.
QStringList outline(const Folder &folder, int depth = 0)
{
    QStringList entries;
    const QString indent(2 * depth, u' ');
    for (const Bookmarks::Link &link : folder.links)
        entries << indent + link.title + " -> " + link.address;
    std::sort(entries.begin(), entries.end());
    std::vector<std::pair<QString, QStringList>> subs;
    for (const Folder &sub : folder.folders)
        subs.push_back({sub.name, outline(sub, depth + 1)});
    std::sort(subs.begin(), subs.end());
    for (const auto &[name, lines] : subs)
        entries << indent + "[" + name + "]" << lines;
    return entries;
}

QString fixture()
{
    return QStringLiteral(QUILLMERE_SOURCE_DIR "/tests/organiser/data/bookmarks.html");
}

QStringList fixtureOutline()
{
    return {
        QString::fromUtf8("B\xc3\xbc"
                          "cher -> https://xn--bcher-kva.example/"),
        "Example & Co -> http://www.example.com/a/b/",
        "lower-case tags -> https://lower.example.com/",
        "[Bookmarks Toolbar]",
        "  Example & Co -> https://www.example.org/",
        "  Search: \"a b\" (en) -> https://search.example.net/find?q=a%20b&lang=en",
        "  [News/Daily]",
        QString::fromUtf8("    Today's news \xe2\x80\x94 caf\xc3\xa9 \xc3\xa9 -> "
                          "http://news.example.com/today.html"),
        "    [Deep]",
        "      Deep link -> http://deep.example.com/",
        "[Empty folder]",
    };
}

} // namespace

class BookmarksTest : public QObject
{
    Q_OBJECT
private slots:
    void parsesABrowserExport();
    void brokenMarkupLosesNothingAfterIt_data();
    void brokenMarkupLosesNothingAfterIt();
    void importWritesShortcutsAndFolders();
    void importNeverOverwritesAnotherAddress();
    void exportThenImportGivesTheSameTree();
    void exportEscapesAndSkipsWhatIsNoShortcut();
    void missingFilesAreErrors();
    void scriptBookmarksSkippedAndCounted();
};

void BookmarksTest::parsesABrowserExport()
{
    QFile file(fixture());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(outline(Bookmarks::parse(QString::fromUtf8(file.readAll()))), fixtureOutline());
}

void BookmarksTest::brokenMarkupLosesNothingAfterIt_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QStringList>("expected");

    const QString after = "<DT><A HREF=\"http://after.example/\">After</A>";
    QTest::newRow("unclosed link text")
        << "<DL><p><DT><A HREF=\"http://a.example/\">A title\n" + after + "</DL>"
        << QStringList{"A title -> http://a.example/", "After -> http://after.example/"};
    // As a browser reads it: the value runs on to the next quote, the bookmarks before stay.
    QTest::newRow("unclosed quote in an attribute")
        << "<DL><DT><A HREF=\"http://b.example/\">B</A><DT><A HREF=\"http://a.example/ "
           "ADD_DATE=1>A</A>\n" +
               after + "</DL>"
        << QStringList{"After -> http://a.example/ ADD_DATE=1>A</A>\n<DT><A HREF=",
                       "B -> http://b.example/"};
    QTest::newRow("stray less-than in a description")
        << "<DL><DT><A HREF=\"http://a.example/\">A</A><DD>1 < 2 \"quoted\n" + after
        << QStringList{"A -> http://a.example/", "After -> http://after.example/"};
    QTest::newRow("unclosed folder list")
        << "<DL><DT><H3>F</H3><DL><DT><A HREF=\"http://a.example/\">A</A>"
        << QStringList{"[F]", "  A -> http://a.example/"};
    QTest::newRow("extra list ends")
        << "</DL></DL>" + after + "</DL>" << QStringList{"After -> http://after.example/"};
    QTest::newRow("link without an address")
        << "<DT><A>Nothing</A><DT><A HREF=\"\">Empty</A>" + after
        << QStringList{"After -> http://after.example/"};
    QTest::newRow("every entity decoded, unknown ones kept as text")
        << "<DT><A HREF=\"http://a.example/?a=1&b=2&copy=3\">&eacute;&Ccedil;&hellip; &#0; "
           "&unknown; & alone</A>"
        << QStringList{QString::fromUtf8("\xc3\xa9\xc3\x87\xe2\x80\xa6 \xef\xbf\xbd &unknown; & "
                                         "alone -> http://a.example/?a=1&b=2&copy=3")};
    QTest::newRow("markup inside a title")
        << "<DT><A HREF=\"http://a.example/\"><b>Bold</b>  title</A>"
        << QStringList{"Bold title -> http://a.example/"};
    QTest::newRow("not html at all") << QString::fromLatin1("\x01\x02<<<>>>\xff") + after
                                     << QStringList{"After -> http://after.example/"};
}

void BookmarksTest::brokenMarkupLosesNothingAfterIt()
{
    QFETCH(QString, html);
    QFETCH(QStringList, expected);
    QCOMPARE(outline(Bookmarks::parse(html)), expected);
}

void BookmarksTest::importWritesShortcutsAndFolders()
{
    QTemporaryDir dir;
    QVERIFY(!Bookmarks::importFile(fixture(), dir.path()));
    const QDir root(dir.path());
    QCOMPARE(root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name),
             (QStringList{"Bookmarks Toolbar",
                          QString::fromUtf8("B\xc3\xbc"
                                            "cher.Url"),
                          "Empty folder", "Example & Co.Url", "lower-case tags.Url"}));
    // "/" cannot be in a folder name; the folder is kept under a name that can.
    QCOMPARE(ReadShortcutUrl(dir.filePath("Bookmarks Toolbar/News_Daily/Deep/Deep link.Url")),
             QString("http://deep.example.com/"));
    QCOMPARE(ReadShortcutUrl(dir.filePath("Bookmarks Toolbar/Search: \"a b\" (en).Url")),
             QString("https://search.example.net/find?q=a%20b&lang=en"));

    // Importing the same file again adds nothing.
    QVERIFY(!Bookmarks::importFile(fixture(), dir.path()));
    QCOMPARE(Bookmarks::readFolder(dir.path()).links.size(), size_t(3));
    QCOMPARE(QDir(dir.filePath("Bookmarks Toolbar")).entryList(QDir::Files).size(), 2);
}

void BookmarksTest::importNeverOverwritesAnotherAddress()
{
    QTemporaryDir dir;
    QVERIFY(!writeShortcutFile(dir.filePath("Same.Url"), "http://mine.example/"));
    QVERIFY(QDir(dir.path()).mkdir("Same (2).Url")); // a folder in the way of the next name
    Folder incoming;
    incoming.links = {{"Same", "http://theirs.example/"},
                      {"Same", "http://third.example/"},
                      {"", "http://untitled.example/page"},
                      {"", "about:blank"}};
    incoming.folders.push_back(Folder{"..", {{"In dots", "http://dots.example/"}}, {}});
    QVERIFY(!Bookmarks::writeFolder(incoming, dir.path()));
    QCOMPARE(ReadShortcutUrl(dir.filePath("Same.Url")), QString("http://mine.example/"));
    QCOMPARE(ReadShortcutUrl(dir.filePath("Same (3).Url")), QString("http://theirs.example/"));
    QCOMPARE(ReadShortcutUrl(dir.filePath("Same (4).Url")), QString("http://third.example/"));
    QCOMPARE(ReadShortcutUrl(dir.filePath("untitled.example.Url")),
             QString("http://untitled.example/page"));
    QCOMPARE(ReadShortcutUrl(dir.filePath("Bookmark.Url")), QString("about:blank"));
    QCOMPARE(ReadShortcutUrl(dir.filePath("_../In dots.Url")), QString("http://dots.example/"));
}

void BookmarksTest::exportThenImportGivesTheSameTree()
{
    QTemporaryDir first;
    QTemporaryDir second;
    QVERIFY(!Bookmarks::importFile(fixture(), first.path()));
    const QString exported = second.filePath("exported.html");
    QVERIFY(!Bookmarks::exportFile(first.path(), exported));
    QVERIFY(!Bookmarks::importFile(exported, second.path()));
    QVERIFY(QFile::remove(exported));

    const QStringList before = outline(Bookmarks::readFolder(first.path()));
    QCOMPARE(outline(Bookmarks::readFolder(second.path())), before);
    QStringList expected = fixtureOutline();
    expected.replaceInStrings("[News/Daily]", "[News_Daily]");
    QCOMPARE(before, expected);
}

void BookmarksTest::exportEscapesAndSkipsWhatIsNoShortcut()
{
    QTemporaryDir dir;
    QVERIFY(!writeShortcutFile(dir.filePath("<Tags> & \"quotes\".url"),
                               "http://a.example/?x=<1>&y=\"2\""));
    QVERIFY(!writeShortcutFile(dir.filePath(".Url"), "https://hidden.example/"));
    QFile other(dir.filePath("notes.txt"));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("a\nb\nc\nURL=http://not.example/\n");
    other.close();
    QVERIFY(QFile::link(dir.path(), dir.filePath("loop")));

    const QStringList lines = Bookmarks::render(Bookmarks::readFolder(dir.path()));
    QVERIFY(lines.contains("    <DT><A HREF=\"http://a.example/?x=&lt;1&gt;&amp;y=&quot;2&quot;\">"
                           "&lt;Tags&gt; &amp; &quot;quotes&quot;</A>"));
    QVERIFY(!lines.join('\n').contains("not.example"));
    QVERIFY(!lines.join('\n').contains("loop"));
    QCOMPARE(outline(Bookmarks::parse(lines.join('\n'))),
             (QStringList{" -> https://hidden.example/",
                          "<Tags> & \"quotes\" -> http://a.example/?x=<1>&y=\"2\""}));
}

void BookmarksTest::missingFilesAreErrors()
{
    QTemporaryDir dir;
    QVERIFY(Bookmarks::importFile(dir.filePath("missing.html"), dir.path()));
    QVERIFY(Bookmarks::exportFile(dir.path(), dir.filePath("no/such/folder/out.html")));
}

void BookmarksTest::scriptBookmarksSkippedAndCounted()
{
    QTemporaryDir dir;
    const QString html = dir.filePath("scripts.html");
    QVERIFY(!TextFile::writeLines(
        html, {"<DL><p>", "<DT><A HREF=\"javascript:alert(1)\">Run</A>",
               "<DT><A HREF=\" JavaScript:void(0)\">Also run</A>",
               "<DT><A HREF=\"http://safe.example/\">Caf&eacute; &amp; more</A>", "</DL>"}));
    const QString into = dir.filePath("into");
    QVERIFY(QDir().mkdir(into));
    int skipped = -1;
    QVERIFY(!Bookmarks::importFile(html, into, &skipped));
    QCOMPARE(skipped, 2);
    QCOMPARE(QDir(into).entryList(QDir::Files),
             QStringList{QString::fromUtf8("Caf\xc3\xa9 & more.Url")});

    // Exported again, the title is written once escaped, never as "&amp;eacute;".
    const QString out = dir.filePath("out.html");
    QVERIFY(!Bookmarks::exportFile(into, out));
    const QString written = TextFile::readLines(out).lines.join(u'\n');
    QVERIFY2(written.contains(QString::fromUtf8(">Caf\xc3\xa9 &amp; more</A>")),
             qPrintable(written));
}

QTEST_GUILESS_MAIN(BookmarksTest)
#include "BookmarksTest.moc"
