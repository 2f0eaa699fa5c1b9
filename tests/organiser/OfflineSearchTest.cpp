#include "organiser/OfflineSearch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A web archive as a browser saves it: multipart/related, folded headers, the page in
// quoted-printable UTF-8 with soft line breaks, a base64 text part and a picture.
const QByteArray Archive =
    "From: <Saved by a browser>\r\n"
    "Subject: Harbour Report\r\n"
    "MIME-Version: 1.0\r\n"
    "Content-Type: multipart/related;\r\n"
    "\ttype=\"text/html\";\r\n"
    "\tboundary=\"----Boundary--abc----\"\r\n"
    "\r\n"
    "\r\n"
    "------Boundary--abc----\r\n"
    "Content-Type: text/html\r\n"
    "Content-Transfer-Encoding: quoted-printable\r\n"
    "\r\n"
    "<html><head><title>Harbour =E2=80=93 Report</title><style>.lighthouse{}</style></head>=\r\n"
    "<body><p class=3D\"x\">The caf=C3=A9 by the light=\r\n"
    "house serves chowder</p></body></html>\r\n"
    "------Boundary--abc----\r\n"
    "Content-Type: text/plain; charset=utf-8\r\n"
    "Content-Transfer-Encoding: base64\r\n"
    "\r\n"
    "VGlkZSB0YWJsZXMgZm9yIE1h\r\n"
    "cmNo\r\n"
    "------Boundary--abc----\r\n"
    "Content-Type: image/png\r\n"
    "Content-Transfer-Encoding: base64\r\n"
    "\r\n"
    "c2VjcmV0cGljdHVyZQ==\r\n"
    "------Boundary--abc------\r\n";

// depth multiparts, each the only part of the one around it, with its own boundary.
QByteArray nestedParts(int depth)
{
    QByteArray bytes;
    for (int n = 0; n < depth; ++n)
        bytes += "Content-Type: multipart/mixed; boundary=b" + QByteArray::number(n) +
                 "\r\n\r\n--b" + QByteArray::number(n) + "\r\n";
    return bytes + "Content-Type: text/plain\r\n\r\ndeepest\r\n";
}

} // namespace

// Finding saved pages by the words in them.
class OfflineSearchTest : public QObject
{
    Q_OBJECT

private:
    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    static QStringList names(const QList<TOfflineSearch::Hit> &hits)
    {
        QStringList out;
        for (const auto &hit : hits)
            out << hit.name;
        return out;
    }

private slots:
    void htmlText_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("tags become blanks") << "<p>one</p><p>two</p>"
                                            << "one two"
                                            << "";
        QTest::newRow("entities") << "a&amp;b &lt;c&gt; &eacute;t&Eacute; &#233;&#xE9; &nbsp;x"
                                  << "a&b <c> étÉ éé x"
                                  << "";
        QTest::newRow("unknown entity and lone ampersand kept") << "&bogus; fish & chips"
                                                                << "&bogus; fish & chips"
                                                                << "";
        QTest::newRow("scripts, styles and comments dropped")
            << "<script type=x>var hidden=1;</SCRIPT>seen<style>.a{}</style><!-- gone -->too"
            << "seen too"
            << "";
        QTest::newRow("unclosed script hides the rest") << "seen<script>never"
                                                        << "seen"
                                                        << "";
        QTest::newRow("title") << "<head><TITLE>Tides &amp; Times</TITLE></head>body"
                               << "Tides & Times body"
                               << "Tides & Times";
        QTest::newRow("a lone less-than stays") << "1 < 2"
                                                << "1 < 2"
                                                << "";
    }

    void htmlText()
    {
        QFETCH(QString, html);
        QString title;
        const QString text = TOfflineSearch::htmlText(html, &title);
        QTEST(text.simplified(), "text");
        QTEST(title, "title");
    }

    void archiveTextIsDecoded()
    {
        QString title;
        const QString text = TOfflineSearch::mhtmlText(Archive, &title).simplified();
        QCOMPARE(title, QStringLiteral("Harbour \u2013 Report"));
        QVERIFY2(text.contains(QStringLiteral("The café by the lighthouse serves chowder")),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Tide tables for March")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("secretpicture")));
        QVERIFY(!text.contains(QStringLiteral("lighthouse{}")));
    }

    void singlePartArchive()
    {
        const QByteArray single = "Subject: Plain\r\nContent-Type: text/html; charset=\"utf-8\"\r\n"
                                  "Content-Transfer-Encoding: quoted-printable\r\n\r\n"
                                  "<b>Gr=C3=BC=C3=9Fe</b>";
        QString title;
        QCOMPARE(TOfflineSearch::mhtmlText(single, &title).simplified(), QStringLiteral("Grüße"));
        QCOMPARE(title, QStringLiteral("Plain"));
    }

    void archiveParts_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("character set other than UTF-8")
            << QByteArray("Content-Type: TEXT/HTML; charset=KOI8-R\r\n"
                          "Content-Transfer-Encoding: quoted-printable\r\n\r\n"
                          "<title>=F0=D2=C9=D7=C5=D4</title>=CD=C9=D2")
            << QStringLiteral("Привет мир") << QStringLiteral("Привет");
        QTest::newRow("encoded subject as the title")
            << QByteArray("Subject: =?utf-8?B?R3LDvMOfZQ==?= aus Wien\r\n"
                          "Content-Type: text/plain\r\n\r\nplain words")
            << QStringLiteral("plain words") << QStringLiteral("Grüße aus Wien");
        QTest::newRow("alternative parts inside a related archive")
            << QByteArray("Content-Type: multipart/related; boundary=\"outer\"\r\n\r\n"
                          "--outer\r\nContent-Type: multipart/alternative;\r\n"
                          " boundary=inner\r\n\r\n"
                          "--inner\r\nContent-Type: text/plain\r\n\r\nfirst\r\n"
                          "--inner\r\nContent-Type: text/html\r\n\r\n<p>second</p>\r\n"
                          "--inner--\r\n"
                          "--outer\r\nContent-Type: image/gif\r\n"
                          "Content-Transfer-Encoding: base64\r\n\r\nR0lGODlh\r\n"
                          "--outer--\r\n")
            << QStringLiteral("first second") << QString();
    }

    void archiveParts()
    {
        QFETCH(QByteArray, bytes);
        QString title;
        QTEST(TOfflineSearch::mhtmlText(bytes, &title).simplified(), "text");
        QTEST(title, "title");
    }

    void brokenArchivesDoNotCrash_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("no boundary") << QByteArray("Content-Type: multipart/related\r\n\r\nbody");
        QTest::newRow("boundary never closed")
            << QByteArray("Content-Type: multipart/related; boundary=b\r\n\r\n--b\r\n"
                          "Content-Type: text/plain\r\n\r\nwords here");
        QTest::newRow("truncated escape")
            << QByteArray("Content-Type: text/plain\r\nContent-Transfer-Encoding: "
                          "quoted-printable\r\n\r\nend=4");
        QTest::newRow("deep nesting")
            << QByteArray("Content-Type: multipart/mixed; boundary=a\r\n\r\n--a\r\nContent-Type: "
                          "multipart/mixed; boundary=a\r\n\r\n--a\r\n\r\n--a--\r\n");
        QTest::newRow("headers only") << QByteArray("Subject: x\r\nContent-Type: text/html");
    }

    // The MIME reader follows nesting by recursion: this depth overflowed its stack, and a
    // few thousand levels took many seconds. Past a few levels the archive is read as HTML.
    void deeplyNestedArchiveIsReadAsText()
    {
        QString title;
        const QString text = TOfflineSearch::mhtmlText(nestedParts(50000), &title);
        QVERIFY(text.contains(QStringLiteral("deepest")));
    }

    void brokenArchivesDoNotCrash()
    {
        QFETCH(QByteArray, bytes);
        QString title;
        TOfflineSearch::mhtmlText(bytes, &title);
        TOfflineSearch::pageText(QStringLiteral("x.htm"), bytes, &title);
    }

    void findsWordsInSavedPages()
    {
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("harbour.mht")), Archive);
        write(dir.filePath(QStringLiteral("Recipes.HTM")),
              "<html><title>Soup</title><body>Chowder with <i>clams</i></body></html>");
        write(dir.filePath(QStringLiteral("notes.txt")), "Remember the CLAMS\r\n");
        write(dir.filePath(QStringLiteral("picture.jpg")), "chowder");
        TOfflineSearch search(dir.path());
        QVERIFY(search.refresh());
        QCOMPARE(search.pageCount(), 3);

        QCOMPARE(names(search.find(QStringLiteral("chowder"))),
                 (QStringList{"harbour.mht", "Recipes.HTM"}));
        QCOMPARE(names(search.find(QStringLiteral("Clams"))),
                 (QStringList{"notes.txt", "Recipes.HTM"}));
        QCOMPARE(names(search.find(QStringLiteral("chowder clams"))), QStringList{"Recipes.HTM"});
        // Typing is searched as it goes: the words are beginnings of words in the page.
        QCOMPARE(names(search.find(QStringLiteral("light"))), QStringList{"harbour.mht"});
        QCOMPARE(names(search.find(QStringLiteral("café"))), QStringList{"harbour.mht"});
        QCOMPARE(names(search.find(QStringLiteral("tide"))), QStringList{"harbour.mht"});
        // The file's own name counts as words of the page.
        QCOMPARE(names(search.find(QStringLiteral("recipes"))), QStringList{"Recipes.HTM"});
        QVERIFY(search.find(QStringLiteral("secretpicture")).isEmpty());
        QVERIFY(search.find(QStringLiteral("chowder nowhere")).isEmpty());
        QVERIFY(search.find(QStringLiteral("  ,. ")).isEmpty());

        const auto hits = search.find(QStringLiteral("chowder"));
        QCOMPARE(hits.first().path, dir.filePath(QStringLiteral("harbour.mht")));
        QCOMPARE(hits.first().title, QStringLiteral("Harbour \u2013 Report"));
    }

    // Case and accents are folded in every script; a letter that is more than an accented one
    // ("ß") is not taken apart.
    void foldsCaseAndAccentsInEveryScript_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("found");
        QTest::newRow("French capital with accent") << "École du soir"
                                                    << "ecole" << true;
        QTest::newRow("typed with accent, page without") << "ECOLE"
                                                         << "école" << true;
        QTest::newRow("Greek with tonos") << "ΆΝΝΑ"
                                          << "αννα" << true;
        QTest::newRow("Cyrillic") << "Ёлка"
                                  << "елка" << true;
        QTest::newRow("Turkish dotted capital") << "İstanbul"
                                                << "istanbul" << true;
        QTest::newRow("sharp s is not ss") << "Straße"
                                           << "strasse" << false;
        QTest::newRow("sharp s finds itself") << "STRAẞE"
                                              << "straße" << true;
        QTest::newRow("different letters") << "école"
                                           << "ecale" << false;
    }

    void foldsCaseAndAccentsInEveryScript()
    {
        QFETCH(QString, page);
        QFETCH(QString, typed);
        QFETCH(bool, found);
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("page.txt")), page.toUtf8());
        TOfflineSearch search(dir.path());
        search.refresh();
        QCOMPARE(search.find(typed).size(), found ? 1 : 0);
    }

    void refreshFollowsTheFolder()
    {
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("a.txt")), "apples");
        write(dir.filePath(QStringLiteral("b.txt")), "bananas");
        TOfflineSearch search(dir.path());
        search.refresh();
        QVERIFY(!search.refresh());

        write(dir.filePath(QStringLiteral("c.txt")), "cherries and apples");
        write(dir.filePath(QStringLiteral("b.txt")), "blueberries, a longer text than before");
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("a.txt"))));
        QVERIFY(search.refresh());
        QCOMPARE(names(search.find(QStringLiteral("apples"))), QStringList{"c.txt"});
        QVERIFY(search.find(QStringLiteral("bananas")).isEmpty());
        QCOMPARE(names(search.find(QStringLiteral("blueberries"))), QStringList{"b.txt"});
    }
};

QTEST_GUILESS_MAIN(OfflineSearchTest)
#include "OfflineSearchTest.moc"
