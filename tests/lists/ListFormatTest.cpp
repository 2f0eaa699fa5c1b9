#include "lists/ListFormat.h"

#include "lists/TreeOrder.h"

#include <QStandardItemModel>
#include <QtTest>

// The two list file formats, the name rule and the display-order helper.
class ListFormatTest : public QObject
{
    Q_OBJECT
private slots:
    void listLine_data();
    void listLine();
    void listLineRoundTrip();
    void detailLine_data();
    void detailLine();
    void nameRule_data();
    void nameRule();
    void displayOrder();
};

void ListFormatTest::listLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("nodeText");

    QTest::newRow("all three") << "News|@|Morning reading|@|C:\\Icons\\news.bmp|@|"
                               << "News"
                               << "Morning reading"
                               << "C:\\Icons\\news.bmp"
                               << "News - Morning reading";
    QTest::newRow("empty icon") << "Tools|@|Daily pages|@||@|"
                                << "Tools"
                                << "Daily pages"
                                << ""
                                << "Tools - Daily pages";
    QTest::newRow("no separator") << "Only a name"
                                  << "Only a name"
                                  << ""
                                  << ""
                                  << "Only a name - ";
    QTest::newRow("empty line") << ""
                                << ""
                                << ""
                                << ""
                                << " - ";
    QTest::newRow("text after last separator") << "A|@|B|@|icon.ico"
                                               << "A"
                                               << "B"
                                               << "icon.ico"
                                               << "A - B";
    QTest::newRow("fields after third ignored") << "A|@|B|@|C|@|D|@|E"
                                                << "A"
                                                << "B"
                                                << "C"
                                                << "A - B";
    QTest::newRow("name only, one separator") << "A|@|"
                                              << "A"
                                              << ""
                                              << ""
                                              << "A - ";
}

void ListFormatTest::listLine()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(QString, description);
    QFETCH(QString, icon);
    QFETCH(QString, nodeText);
    const TLstRec rec = ListFormat::parseListLine(line);
    QCOMPARE(rec.Name, name);
    QCOMPARE(rec.Description, description);
    QCOMPARE(rec.IconFile, icon);
    QCOMPARE(ListFormat::nodeText(rec), nodeText);
}

void ListFormatTest::listLineRoundTrip()
{
    const TLstRec rec{"Tools", "Daily - pages", "/icons/t.ico"};
    QCOMPARE(ListFormat::listLine(rec), QString("Tools|@|Daily - pages|@|/icons/t.ico|@|"));
    const TLstRec back = ListFormat::parseListLine(ListFormat::listLine(rec));
    QCOMPARE(back.Name, rec.Name);
    QCOMPARE(back.Description, rec.Description);
    QCOMPARE(back.IconFile, rec.IconFile);
}

void ListFormatTest::detailLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");

    QTest::newRow("plain") << "News|@|file:///C:/Pages/front.htm" << true << "News"
                           << "file:///C:/Pages/front.htm";
    QTest::newRow("separator in address") << "News|@|http://x/?a=|@|&b" << true << "News"
                                          << "http://x/?a=|@|&b";
    QTest::newRow("empty address") << "News|@|" << true << "News"
                                   << "";
    QTest::newRow("empty name") << "|@|http://x/" << true << ""
                                << "http://x/";
    QTest::newRow("no separator") << "News http://x/" << false << ""
                                  << "";
    QTest::newRow("empty line") << "" << false << ""
                                << "";
}

void ListFormatTest::detailLine()
{
    QFETCH(QString, line);
    QFETCH(bool, valid);
    QFETCH(QString, name);
    QFETCH(QString, address);
    const auto detail = ListFormat::parseDetailLine(line);
    QCOMPARE(detail.has_value(), valid);
    if (!detail)
        return;
    QCOMPARE(detail->name, name);
    QCOMPARE(detail->address, address);
    QCOMPARE(ListFormat::detailLine(detail->name, detail->address), line);
}

void ListFormatTest::nameRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");

    QTest::newRow("name and description") << "News - Morning"
                                          << "News"
                                          << "News";
    QTest::newRow("empty description") << "News - "
                                       << "News"
                                       << "News";
    QTest::newRow("one letter") << "A - x"
                                << "A"
                                << "A";
    QTest::newRow("hyphen in description") << "News - a-b"
                                           << "News"
                                           << "News";
    QTest::newRow("hyphen second") << "A-B - x"
                                   << ""
                                   << "A-B - x";
    QTest::newRow("hyphen later in name") << "Top-10 - x"
                                          << "To"
                                          << "To";
    QTest::newRow("empty name") << " - x"
                                << ""
                                << " - x";
    QTest::newRow("all empty") << " - "
                               << ""
                               << " - ";
    QTest::newRow("hyphen first") << "-x - y"
                                  << ""
                                  << "-x - y";
    QTest::newRow("no hyphen") << "http://example.com/"
                               << ""
                               << "http://example.com/";
    QTest::newRow("empty text") << ""
                                << ""
                                << "";
}

void ListFormatTest::nameRule()
{
    QFETCH(QString, text);
    QFETCH(QString, name);
    QFETCH(QString, key);
    QCOMPARE(ListFormat::listName(text), name);
    QCOMPARE(ListFormat::listKey(text), key);
}

void ListFormatTest::displayOrder()
{
    // a(a1, a2(a21)), b, c(c1)
    QStandardItemModel model;
    auto *a = new QStandardItem("a");
    auto *a2 = new QStandardItem("a2");
    a2->appendRow(new QStandardItem("a21"));
    a->appendRow(new QStandardItem("a1"));
    a->appendRow(a2);
    auto *c = new QStandardItem("c");
    c->appendRow(new QStandardItem("c1"));
    model.appendRow(a);
    model.appendRow(new QStandardItem("b"));
    model.appendRow(c);

    const QStringList expected{"a", "a1", "a2", "a21", "b", "c", "c1"};
    const QModelIndexList flat = TreeOrder::flatten(model);
    QCOMPARE(flat.size(), expected.size());
    for (int pos = 0; pos < expected.size(); ++pos) {
        QCOMPARE(flat.at(pos).data().toString(), expected.at(pos));
        QCOMPARE(TreeOrder::position(flat.at(pos)), pos);
        QCOMPARE(TreeOrder::at(model, pos), flat.at(pos));
    }
    QVERIFY(!TreeOrder::at(model, int(expected.size())).isValid());
    QVERIFY(!TreeOrder::at(model, -1).isValid());
    QCOMPARE(TreeOrder::position(QModelIndex()), -1);
    QCOMPARE(TreeOrder::subtreeSize(model.index(0, 0)), 4);
}

QTEST_GUILESS_MAIN(ListFormatTest)
#include "ListFormatTest.moc"
