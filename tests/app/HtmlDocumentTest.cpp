#include "app/HtmlDocument.h"

#include "organiser/OfflineSearch.h"

#include <QTest>

// What the HTML parser is handed, and that hostile markup still gives the page's text.
class HtmlDocumentTest : public QObject
{
    Q_OBJECT
private slots:
    void ordinaryMarkupPassesUnchanged();
    void boundsAttributesAndNesting();
    void hostileMarkupKeepsItsText_data();
    void hostileMarkupKeepsItsText();
};

void HtmlDocumentTest::ordinaryMarkupPassesUnchanged()
{
    const QByteArray html = "<html><head><title>a <b x=1></title><script>if (a<b) x='</p>'"
                            "</script></head><body><p a=\"1\" b='2' c=3 d><!-- <div> -->"
                            "<div><span>t</span></div></body></html>";
    QCOMPARE(THtmlDocument::bounded(html), html);
}

void HtmlDocumentTest::boundsAttributesAndNesting()
{
    QByteArray tag = "<a";
    for (int n = 0; n < 1005; ++n)
        tag += " n" + QByteArray::number(n) + "=\"v>\"";
    const QByteArray bounded = THtmlDocument::bounded(tag + ">text</a>");
    QVERIFY(bounded.contains(" n999=\"v>\""));
    QVERIFY(!bounded.contains(" n1000="));
    QVERIFY(bounded.endsWith(">text</a>"));

    QByteArray deep;
    for (int n = 0; n < 600; ++n)
        deep += "<div>" + QByteArray::number(n) + " ";
    const QByteArray flat = THtmlDocument::bounded(deep);
    QCOMPARE(flat.count("<div>"), 512);
    QVERIFY(flat.endsWith("598 599 "));
}

void HtmlDocumentTest::hostileMarkupKeepsItsText_data()
{
    QTest::addColumn<QByteArray>("html");
    QTest::addColumn<QString>("lastWord");
    QTest::newRow("deep nesting") << QByteArray("<div>").repeated(200000) + "bottom"
                                  << "bottom";
    QTest::newRow("unclosed titles") << QByteArray("<title>x ").repeated(50000) + "</title><p>body"
                                     << "body";
    QTest::newRow("ampersands") << QByteArray("<p>") + QByteArray("&&amp&#").repeated(50000) +
                                       " end"
                                << "end";
    QTest::newRow("unclosed comment") << QByteArray("<p>seen<!-- never shown") << "seen";
}

void HtmlDocumentTest::hostileMarkupKeepsItsText()
{
    QFETCH(QByteArray, html);
    QFETCH(QString, lastWord);
    const QStringList words =
        TOfflineSearch::words(TOfflineSearch::htmlText(QString::fromUtf8(html)));
    QVERIFY(!words.isEmpty());
    QCOMPARE(words.last(), lastWord);
}

QTEST_GUILESS_MAIN(HtmlDocumentTest)
#include "HtmlDocumentTest.moc"
