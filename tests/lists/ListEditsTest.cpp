#include "lists/ListEdits.h"

#include "app/Globals.h"
#include "lists/ListStore.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

// The maintenance dialog's copy of the lists: names, pictures, the position bar's figure and
// which records the list file can keep.
class ListEditsTest : public QObject
{
    Q_OBJECT

private slots:
    void positionHalvesGoToEven_data();
    void positionHalvesGoToEven();
    void newListNameIsUnused_data();
    void newListNameIsUnused();
    void recordsThatWouldBreakTheFiles_data();
    void recordsThatWouldBreakTheFiles();
    void savingFindsNamesWithoutCase();
    void iconFilesLoadOncePerName();
    void brokenIconFilesGiveNoPicture();
    void manyIconFilesAllKeepTheirPictures();

private:
    static QString writeBitmap(const QTemporaryDir &dir, const QString &name, QColor color);
    static TORRec rec(const QString &name, const QString &description = {},
                      const QString &icon = {})
    {
        return TORRec{name, description, icon};
    }
};

QString ListEditsTest::writeBitmap(const QTemporaryDir &dir, const QString &name, QColor color)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(color);
    image.setPixel(8, 8, qRgb(1, 2, 3)); // the bottom-left colour turns transparent
    const QString path = dir.filePath(name);
    if (!image.save(path, "BMP"))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void ListEditsTest::positionHalvesGoToEven_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("percent");
    QTest::newRow("second of four") << 1 << 4 << 25;
    QTest::newRow("third of four") << 2 << 4 << 50;
    QTest::newRow("last of five stops short of 100") << 4 << 5 << 80;
    QTest::newRow("12.5 goes down to even") << 1 << 8 << 12;
    QTest::newRow("37.5 goes up to even") << 3 << 8 << 38;
    QTest::newRow("33.3 rounds down") << 1 << 3 << 33;
    QTest::newRow("66.7 rounds up") << 2 << 3 << 67;
    QTest::newRow("one list") << 0 << 1 << 0;
    QTest::newRow("no lists") << 0 << 0 << 0;
    QTest::newRow("nothing selected") << -1 << 4 << 0;
}

void ListEditsTest::positionHalvesGoToEven()
{
    QFETCH(int, index);
    QFETCH(int, count);
    QFETCH(int, percent);
    QCOMPARE(TListEdits::positionPercent(index, count), percent);
}

void ListEditsTest::newListNameIsUnused_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("none") << QStringList() << "New List 1";
    QTest::newRow("three lists") << QStringList{"News", "Tools", "Shops"} << "New List 4";
    QTest::newRow("count taken") << QStringList{"New List 2", "New List 3"} << "New List 4";
    QTest::newRow("taken in other case")
        << QStringList{"a", "new list 3", "NEW LIST 4"} << "New List 5";
}

void ListEditsTest::newListNameIsUnused()
{
    QFETCH(QStringList, names);
    QFETCH(QString, proposed);
    TListEdits edits(QDir::tempPath());
    for (const QString &name : std::as_const(names))
        edits.saveRecord(rec(name));
    QCOMPARE(edits.newListName(), proposed);
}

void ListEditsTest::recordsThatWouldBreakTheFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("plain") << "News"
                           << "Morning reading"
                           << "/icons/news.bmp" << true;
    QTest::newRow("blanks and dots") << "My news 2.0"
                                     << "a - b"
                                     << "" << true;
    QTest::newRow("empty name") << ""
                                << "d"
                                << "" << false;
    QTest::newRow("blank name") << "   "
                                << "d"
                                << "" << false;
    QTest::newRow("dash in name") << "Left-Right"
                                  << ""
                                  << "" << false;
    QTest::newRow("separator in name") << "a|@|b"
                                       << ""
                                       << "" << false;
    QTest::newRow("line break in name") << "a\nb"
                                        << ""
                                        << "" << false;
    QTest::newRow("carriage return in name") << "a\rb"
                                             << ""
                                             << "" << false;
    QTest::newRow("separator in description") << "a"
                                              << "x|@|y"
                                              << "" << false;
    QTest::newRow("line break in description") << "a"
                                               << "x\ny"
                                               << "" << false;
    QTest::newRow("separator in icon path") << "a"
                                            << ""
                                            << "/i|@|.bmp" << false;
    QTest::newRow("line break in icon path") << "a"
                                             << ""
                                             << "/i\n.bmp" << false;
}

void ListEditsTest::recordsThatWouldBreakTheFiles()
{
    QFETCH(QString, name);
    QFETCH(QString, description);
    QFETCH(QString, icon);
    QFETCH(bool, accepted);
    const auto problem = TListEdits::recordProblem(rec(name, description, icon));
    QCOMPARE(!problem.has_value(), accepted);
    if (problem)
        QVERIFY(!problem->isEmpty());
}

void ListEditsTest::savingFindsNamesWithoutCase()
{
    QTemporaryDir dir;
    const QString red = writeBitmap(dir, "red.bmp", Qt::red);
    TListEdits edits(dir.path());
    QCOMPARE(edits.saveRecord(rec("News", "old", red)), 0);
    QCOMPARE(edits.saveRecord(rec("Tools")), 1);
    const int picture = edits.model()->item(0)->data(TListEdits::PictureRole).toInt();
    QVERIFY(picture >= 2);

    // Same name in other case: overwritten in place, picture kept until the next load.
    QCOMPARE(edits.saveRecord(rec("NEWS", "new", QString())), 0);
    QCOMPARE(edits.count(), 2);
    QCOMPARE(edits.model()->item(0)->text(), QStringLiteral("NEWS - new"));
    QCOMPARE(edits.record(0).IconFile, QString());
    QCOMPARE(edits.model()->item(0)->data(TListEdits::PictureRole).toInt(), picture);
    QCOMPARE(edits.FindListRecord("tools"), 1);
    QCOMPARE(edits.FindListRecord("Tool"), -1);

    edits.removeList(0);
    QCOMPARE(edits.records().size(), 1);
    QCOMPARE(edits.record(0).Name, QStringLiteral("Tools"));
    edits.removeList(5); // no such row: nothing happens
    QCOMPARE(edits.count(), 1);
}

void ListEditsTest::iconFilesLoadOncePerName()
{
    QTemporaryDir dir;
    const QString red = writeBitmap(dir, "Red.bmp", Qt::red);
    Globals = TGlobals();
    Globals.AppDir = dir.path();
    QFile file(dir.filePath("WebPageList.INI"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("A|@||@|%1|@|\r\nB|@||@|%2|@|\r\nC|@||@||@|\r\nD|@||@|x.gif|@|\r\n")
                   .arg(red, red.toUpper())
                   .toUtf8());
    file.close();
    TListStore store(Globals);
    store.LoadListsPanel();

    TListEdits edits(dir.path());
    edits.LoadDialogLists(store);
    QCOMPARE(edits.count(), 4);
    QCOMPARE(edits.model()->item(0)->text(), QStringLiteral("A - "));
    const int picture = edits.model()->item(0)->data(TListEdits::PictureRole).toInt();
    QCOMPARE(picture, 2);
    // The name in upper case is the same file here: one picture for both lists.
    QCOMPARE(edits.model()->item(1)->data(TListEdits::PictureRole).toInt(), picture);
    QCOMPARE(edits.model()->item(2)->data(TListEdits::PictureRole).toInt(),
             int(TListEdits::ListPicture));
    QCOMPARE(edits.model()->item(3)->data(TListEdits::PictureRole).toInt(), -1);
    QCOMPARE(edits.model()->item(0)->data(TListEdits::SelectedPictureRole).toInt(),
             int(TListEdits::SelectedListPicture));
    QCOMPARE(edits.ImageList1().size(), 3);
    QCOMPARE(edits.ImageList1().at(picture).pixelColor(8, 8), QColor(1, 2, 3));
    QCOMPARE(edits.ImageList1().at(picture).pixelColor(0, 15).alpha(), 0);

    // Shown again: the table lasts, nothing is loaded twice.
    edits.LoadDialogLists(store);
    QCOMPARE(edits.ImageList1().size(), 3);
    QCOMPARE(edits.DialogIconIndex(red), picture);
    QCOMPARE(edits.DialogIconFileCount(), 1);
}

void ListEditsTest::brokenIconFilesGiveNoPicture()
{
    QTemporaryDir dir;
    QFile junk(dir.filePath("junk.ico"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    TListEdits edits(dir.path());
    QCOMPARE(edits.DialogIconIndex(dir.filePath("missing.bmp")), -1);
    QCOMPARE(edits.DialogIconIndex(junk.fileName()), -1);
    QCOMPARE(edits.DialogIconIndex(dir.filePath("page.gif")), -1);
    QCOMPARE(edits.ImageList1().size(), 2);

    // Mended later: found the next time it is asked for.
    const QString path = writeBitmap(dir, "missing.bmp", Qt::blue);
    QCOMPARE(edits.DialogIconIndex(path), 2);
    const int row = edits.saveRecord(rec("Late", "", dir.filePath("missing.bmp")));
    QCOMPARE(edits.model()->item(row)->data(TListEdits::PictureRole).toInt(), 2);
    // Added by Save: the plain picture also when selected.
    QCOMPARE(edits.model()->item(row)->data(TListEdits::SelectedPictureRole).toInt(),
             int(TListEdits::ListPicture));
}

void ListEditsTest::manyIconFilesAllKeepTheirPictures()
{
    QTemporaryDir dir;
    TListEdits edits(dir.path());
    constexpr int count = 300;
    for (int i = 0; i < count; ++i) {
        const QString path = writeBitmap(dir, QStringLiteral("icon%1.bmp").arg(i),
                                         QColor::fromHsv(i % 360, 200, 200));
        QCOMPARE(edits.DialogIconIndex(path), i + 2);
    }
    QCOMPARE(edits.DialogIconIndex(dir.filePath("icon0.bmp")), 2);
    QCOMPARE(edits.DialogIconIndex(dir.filePath("ICON299.BMP")), count + 1);
    QCOMPARE(edits.ImageList1().size(), count + 2);
}

QTEST_MAIN(ListEditsTest)
#include "ListEditsTest.moc"
