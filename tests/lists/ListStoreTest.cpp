#include "lists/ListStore.h"

#include "app/Globals.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

// The list store: loading the two files into the tree, the operations on it, and saving.
class ListStoreTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void exampleFilesLoadAndSaveBack();
    void listFileEdgeLines();
    void detailNameIgnoresCase();
    void addressHoldingSeparatorSurvives();
    void orphanDetailLinesAreKept();
    void nameWithLineBreakKeepsItsPages();
    void detailsKeptWithoutListFile();
    void iconTable();
    void iconsMissingOrBroken();
    void moreThan250IconFiles();
    void addToCurrentList();
    void deleteKeyEffectOnSave();
    void replaceListPages();
    void namesBreakingTheRule();
    void clickedListName();
    void unreadableDetailFileIsNotOverwritten();

private:
    void write(const QString &name, const QByteArray &bytes);
    QByteArray read(const QString &name) const;
    QString makeBitmap(const QString &name, QRgb colour);
    std::unique_ptr<TListStore> load(bool expectError = false);
    static QStringList rootTexts(const TListStore &store);
    static int picture(const TListStore &store, int row);

    std::unique_ptr<QTemporaryDir> dir_;
    TGlobals globals_;
    std::unique_ptr<QAbstractItemModelTester> tester_;
};

void ListStoreTest::init()
{
    tester_.reset();
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    globals_ = TGlobals();
    globals_.AppDir = dir_->path();
}

void ListStoreTest::write(const QString &name, const QByteArray &bytes)
{
    QFile file(dir_->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ListStoreTest::read(const QString &name) const
{
    QFile file(dir_->filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString ListStoreTest::makeBitmap(const QString &name, QRgb colour)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(colour);
    image.setPixel(8, 8, qRgb(1, 2, 3)); // something left after the background goes
    const QString path = dir_->filePath(name);
    image.save(path, name.endsWith(".ico", Qt::CaseInsensitive) ? "ICO" : "BMP");
    return path;
}

std::unique_ptr<TListStore> ListStoreTest::load(bool expectError)
{
    auto store = std::make_unique<TListStore>(globals_);
    tester_ = std::make_unique<QAbstractItemModelTester>(
        store->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    const auto error = store->LoadListsPanel();
    if (error.has_value() != expectError)
        qWarning() << "unexpected load result:" << error.value_or("no error");
    return store;
}

QStringList ListStoreTest::rootTexts(const TListStore &store)
{
    QStringList texts;
    for (int row = 0; row < store.model()->rowCount(); ++row)
        texts << store.model()->item(row)->text();
    return texts;
}

int ListStoreTest::picture(const TListStore &store, int row)
{
    return store.model()->item(row)->data(TListStore::PictureRole).toInt();
}

void ListStoreTest::exampleFilesLoadAndSaveBack()
{
    const QString icon = makeBitmap("news.bmp", qRgb(0, 128, 0));
    write("WebPageList.INI",
          "News|@|Morning reading|@|" + icon.toUtf8() + "|@|\r\nTools|@|Daily pages|@||@|\r\n");
    const QByteArray details = "News|@|file:///C:/Pages/front.htm\r\n"
                               "News|@|file:///C:/Pages/sport.htm\r\n"
                               "Tools|@|file:///C:/Pages/calc.htm\r\n";
    write("WebPageListDtl.INI", details);

    auto store = load();
    const QStandardItemModel &model = *store->model();
    QCOMPARE(rootTexts(*store), QStringList({"News - Morning reading", "Tools - Daily pages"}));
    QCOMPARE(store->ImageList2().size(), 3);
    QCOMPARE(picture(*store, 0), 2);
    QCOMPARE(model.item(0)->data(TListStore::SelectedPictureRole).toInt(), 2);
    QCOMPARE(picture(*store, 1), 0);
    QCOMPARE(store->record(0).IconFile, icon);
    QCOMPARE(store->record(1).Description, QString("Daily pages"));

    QCOMPARE(store->ListPages("news"),
             QStringList({"file:///C:/Pages/front.htm", "file:///C:/Pages/sport.htm"}));
    QCOMPARE(store->ListPages("Tools"), QStringList({"file:///C:/Pages/calc.htm"}));
    const QStandardItem *page = model.item(0)->child(1);
    QCOMPARE(page->data(TListStore::PictureRole).toInt(), 1);
    QCOMPARE(page->data(TListStore::SelectedPictureRole).toInt(), 0);

    // Positions count every node: News 0, its pages 1 and 2, Tools 3, its page 4.
    QCOMPARE(store->FindListNode("NEWS"), 0);
    QCOMPARE(store->FindListNode("TOOLS"), 3);
    QCOMPARE(store->FindListNode("NOPE"), -1);
    QCOMPARE(store->FindListPage("file:///c:/pages/sport.htm", "NEWS"), 2);
    QCOMPARE(store->FindListPage("file:///c:/pages/calc.htm", "TOOLS"), 4);
    QCOMPARE(store->FindListPage("file:///c:/pages/calc.htm", "NEWS"), -1);
    QCOMPARE(store->indexAt(3).data().toString(), QString("Tools - Daily pages"));
    QVERIFY(!globals_.ListsChanged);

    QVERIFY(!store->SaveListDetails());
    QCOMPARE(read("WebPageListDtl.INI"), details);
}

void ListStoreTest::listFileEdgeLines()
{
    write("WebPageList.Ini", "Alpha|@|First one|@||@|\r\nBeta\r\n\r\n");
    auto store = load();
    QCOMPARE(rootTexts(*store), QStringList({"Alpha - First one", "Beta - ", " - "}));
    for (int row = 0; row < 3; ++row)
        QCOMPARE(picture(*store, row), 0);
    QCOMPARE(store->ImageList2().size(), 2);
    QCOMPARE(store->firstNodeText(), QString("Alpha - First one"));
}

void ListStoreTest::detailNameIgnoresCase()
{
    write("weBPAGElist.ini", "News|@||@||@|\r\nTools|@||@||@|\r\n");
    write("WEBPAGELISTDTL.INI", "tOOLS|@|http://a/\r\nnews|@|http://b/\r\n");
    auto store = load();
    QCOMPARE(store->ListPages("TOOLS"), QStringList({"http://a/"}));
    QCOMPARE(store->ListPages("News"), QStringList({"http://b/"}));
    QVERIFY(store->orphanLines().isEmpty());
}

void ListStoreTest::addressHoldingSeparatorSurvives()
{
    write("WebPageList.INI", "News|@||@||@|\r\n");
    auto store = load();
    const QString address = "http://x.example/?q=a|@|b|@|";
    store->ReplaceListPages("News", {address});
    QVERIFY(!store->SaveListDetails());
    store = load();
    QCOMPARE(store->ListPages("News"), QStringList({address}));
}

// The detail file is written with the stray CR as a blank, while the list file keeps it: the
// pages used to come back as orphans after one save. (Found by fuzz_lists.)
void ListStoreTest::nameWithLineBreakKeepsItsPages()
{
    write("WebPageList.INI", "News\rDesk|@||@||@|\r\n");
    write("WebPageListDtl.INI", "News\rDesk|@|http://a/\r\n");
    for (int round = 0; round < 2; ++round) {
        auto store = load();
        QCOMPARE(store->ListPages("News Desk"), QStringList{"http://a/"});
        QVERIFY(store->orphanLines().isEmpty());
        QVERIFY(!store->SaveListDetails());
        QCOMPARE(read("WebPageListDtl.INI"), QByteArray("News Desk|@|http://a/\r\n"));
    }
}

void ListStoreTest::orphanDetailLinesAreKept()
{
    write("WebPageList.INI", "News|@||@||@|\r\nTools|@||@||@|\r\n");
    write("WebPageListDtl.INI", "News|@|http://n1/\r\n"
                                "Gone|@|http://g1/\r\n"
                                "no separator here\r\n"
                                "\r\n"
                                "Tools|@|http://t1/\r\n");
    auto store = load();
    QCOMPARE(store->ListPages("News"), QStringList({"http://n1/"}));
    QCOMPARE(store->ListPages("Tools"), QStringList({"http://t1/"}));
    QCOMPARE(store->orphanLines(), QStringList({"Gone|@|http://g1/", "no separator here"}));

    globals_.CurrentList = "Tools";
    globals_.CurrentUrl = "http://t2/";
    QVERIFY(store->AddToCurrentList());
    QVERIFY(!store->SaveListDetails());
    QCOMPARE(read("WebPageListDtl.INI"), QByteArray("News|@|http://n1/\r\n"
                                                    "Tools|@|http://t1/\r\n"
                                                    "Tools|@|http://t2/\r\n"
                                                    "Gone|@|http://g1/\r\n"
                                                    "no separator here\r\n"));

    // The list comes back (made again in the maintenance dialog): so do its pages.
    write("WebPageList.INI", "News|@||@||@|\r\nGONE|@||@||@|\r\n");
    store = load();
    QCOMPARE(store->ListPages("Gone"), QStringList({"http://g1/"}));
    QCOMPARE(store->orphanLines(),
             QStringList({"Tools|@|http://t1/", "Tools|@|http://t2/", "no separator here"}));
}

void ListStoreTest::detailsKeptWithoutListFile()
{
    const QByteArray details = "News|@|http://n1/\r\nTools|@|http://t1/\r\n";
    write("WebPageListDtl.INI", details);
    auto store = load();
    QCOMPARE(store->model()->rowCount(), 0);
    // The add-pages dialog saves on every close, lists or not.
    QVERIFY(!store->SaveListDetails());
    QCOMPARE(read("WebPageListDtl.INI"), details);
}

void ListStoreTest::iconTable()
{
    const QString bmp = makeBitmap("same.bmp", qRgb(200, 0, 0));
    const QString ico = makeBitmap("other.ico", qRgb(0, 0, 200));
    write("WebPageList.INI", "A|@||@|" + bmp.toUtf8() + "|@|\r\n" + "B|@||@|  " + bmp.toUtf8() +
                                 "  |@|\r\n" + "C|@||@|/pics/anim.gif|@|\r\n" +
                                 "D|@||@|/pics/anim.gif|@|\r\n" + "E|@||@|" + ico.toUtf8() +
                                 "|@|\r\n");
    auto store = load();
    QCOMPARE(picture(*store, 0), 2);
    QCOMPARE(picture(*store, 1), 2);
    QCOMPARE(picture(*store, 2), -1);
    QCOMPARE(picture(*store, 3), -1);
    QCOMPARE(picture(*store, 4), 3);
    QVERIFY(store->model()->item(2)->data(Qt::DecorationRole).isNull());
    QCOMPARE(store->ImageList2().size(), 4);
    const QImage loaded = store->ImageList2().at(2);
    QCOMPARE(loaded.size(), QSize(16, 16));
    // The bitmap's background (its bottom-left colour) is see-through; its drawing is not.
    QCOMPARE(qAlpha(loaded.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(loaded.pixel(8, 8)), 255);
    QCOMPARE(store->ListIconFiles().size(), 3);
    QCOMPARE(store->ListIconFiles().at(1).fileName, QString("/pics/anim.gif"));
    QCOMPARE(store->ListIconFiles().at(1).picture, -1);

    // Reloading the panel keeps the table and the pictures: nothing is loaded twice.
    QVERIFY(!store->LoadListsPanel());
    QCOMPARE(picture(*store, 1), 2);
    QCOMPARE(picture(*store, 4), 3);
    QCOMPARE(store->ImageList2().size(), 4);
    // The table compares names exactly, so another spelling is another entry.
    const QString upper = dir_->filePath("SAME.bmp");
    QVERIFY(QFile::copy(bmp, upper));
    QCOMPARE(store->ListIconIndex(upper), 4);
}

void ListStoreTest::iconsMissingOrBroken()
{
    write("not-a-picture.bmp", "this is text");
    write("WebPageList.INI", "A|@||@|" + dir_->filePath("missing.ico").toUtf8() + "|@|\r\n" +
                                 "B|@||@|not-a-picture.bmp|@|\r\n" +
                                 "C|@||@|C:\\Icons\\news.bmp|@|\r\n");
    write("WebPageListDtl.INI", "B|@|http://b/\r\nC|@|http://c/\r\n");
    auto store = load();
    for (int row = 0; row < 3; ++row)
        QCOMPARE(picture(*store, row), -1);
    QCOMPARE(store->ListPages("C"), QStringList({"http://c/"}));
    QCOMPARE(store->ImageList2().size(), 2);

    // Mended later, the file shows at the next load.
    makeBitmap("missing.ico", qRgb(9, 9, 9));
    QVERIFY(!store->LoadListsPanel());
    QCOMPARE(picture(*store, 0), 2);
}

void ListStoreTest::moreThan250IconFiles()
{
    QByteArray lists;
    const int count = 260;
    for (int n = 0; n < count; ++n) {
        const QString icon = makeBitmap(QString("icon%1.bmp").arg(n), qRgb(n % 256, n / 256, 7));
        lists += "L" + QByteArray::number(n) + "|@||@|" + icon.toUtf8() + "|@|\r\n";
    }
    write("WebPageList.INI", lists);
    auto store = load();
    QCOMPARE(store->ImageList2().size(), count + 2);
    for (int n = 0; n < count; ++n)
        QCOMPARE(picture(*store, n), n + 2);
}

void ListStoreTest::addToCurrentList()
{
    write("WebPageList.INI", "News|@||@||@|\r\nTools|@||@||@|\r\n");
    write("WebPageListDtl.INI", "Tools|@|http://shared.example/\r\n");
    auto store = load();

    struct Case
    {
        const char *list;
        const char *url;
        bool added;
    };
    const Case cases[] = {
        {"news", "http://Shared.example/", true},  // another list holds it: added here too
        {"NEWS", "http://shared.EXAMPLE/", false}, // the same page again, in other letters
        {"Gone", "http://x/", false},              // no such list
        {"", "http://x/", false},                  // a page node was clicked last
        {"News", "", false},                       // no page reported yet
    };
    for (const Case &c : cases) {
        globals_.ListsChanged = false;
        globals_.CurrentList = c.list;
        globals_.CurrentUrl = c.url;
        QCOMPARE(store->AddToCurrentList(), c.added);
        QCOMPARE(globals_.ListsChanged, c.added);
    }
    QCOMPARE(store->ListPages("News"), QStringList({"http://Shared.example/"}));
    QCOMPARE(store->ListPages("Tools"), QStringList({"http://shared.example/"}));
    // Added while running: the list picture until the next load.
    QCOMPARE(store->model()->item(0)->child(0)->data(TListStore::PictureRole).toInt(), 0);
}

void ListStoreTest::deleteKeyEffectOnSave()
{
    write("WebPageList.INI", "News|@||@||@|\r\nTools|@||@||@|\r\n");
    write("WebPageListDtl.INI", "News|@|http://n1/\r\nNews|@|http://n2/\r\nTools|@|http://t1/\r\n");
    auto store = load();
    store->removeNode(store->model()->index(1, 0, store->model()->index(0, 0)));
    QVERIFY(globals_.ListsChanged);
    store->removeNode(store->model()->index(1, 0));
    QVERIFY(!store->SaveListDetails());
    QCOMPARE(read("WebPageListDtl.INI"), QByteArray("News|@|http://n1/\r\n"));

    store = load();
    QCOMPARE(rootTexts(*store), QStringList({"News - ", "Tools - "}));
    QCOMPARE(store->ListPages("Tools"), QStringList());
}

void ListStoreTest::replaceListPages()
{
    write("WebPageList.INI", "News|@||@||@|\r\nTools|@||@||@|\r\n");
    write("WebPageListDtl.INI", "News|@|http://n1/\r\nTools|@|http://t1/\r\n"
                                "Tools|@|http://t2/\r\n");
    auto store = load();

    store->ReplaceListPages("nope", {"http://x/"});
    QVERIFY(!globals_.ListsChanged);

    store->ReplaceListPages("tools", {"http://a/", "http://b/", "http://a/"});
    QVERIFY(globals_.ListsChanged);
    QCOMPARE(store->ListPages("Tools"), QStringList({"http://a/", "http://b/", "http://a/"}));
    QCOMPARE(store->ListPages("News"), QStringList({"http://n1/"}));
    QCOMPARE(store->FindListPage("http://b/", "TOOLS"), 4);

    store->ReplaceListPages("News", {});
    QCOMPARE(store->ListPages("News"), QStringList());
    QCOMPARE(store->FindListNode("TOOLS"), 1);
    QVERIFY(!store->SaveListDetails());
    QCOMPARE(read("WebPageListDtl.INI"),
             QByteArray("Tools|@|http://a/\r\nTools|@|http://b/\r\nTools|@|http://a/\r\n"));
}

void ListStoreTest::namesBreakingTheRule()
{
    // Names holding "-", an empty name, and a list named what another one reads back as.
    write("WebPageList.INI", "Top-10|@|first|@||@|\r\n|@|nameless|@||@|\r\nA-B|@||@||@|\r\n"
                             "To|@|plain|@||@|\r\n");
    auto store = load();
    QCOMPARE(rootTexts(*store),
             QStringList({"Top-10 - first", " - nameless", "A-B - ", "To - plain"}));
    store->ReplaceListPages("Top-10", {"http://top10/"});
    store->ReplaceListPages("A-B", {"http://ab/"});
    store->ReplaceListPages("To", {"http://to/"});
    QCOMPARE(store->ListPages("Top-10"), QStringList({"http://top10/"}));
    QCOMPARE(store->ListPages("A-B"), QStringList({"http://ab/"}));
    QCOMPARE(store->ListPages("To"), QStringList({"http://to/"}));

    globals_.CurrentList = store->clickedListName(store->model()->index(1, 0));
    globals_.CurrentUrl = "http://nameless/";
    QVERIFY(store->AddToCurrentList());
    QVERIFY(!store->SaveListDetails());

    // Each list gets its own pages back.
    store = load();
    QCOMPARE(store->ListPages("Top-10"), QStringList({"http://top10/"}));
    QCOMPARE(store->ListPages("A-B"), QStringList({"http://ab/"}));
    QCOMPARE(store->ListPages("To"), QStringList({"http://to/"}));
    QCOMPARE(store->model()->item(1)->rowCount(), 1);
    QCOMPARE(store->model()->item(1)->child(0)->text(), QString("http://nameless/"));
    QVERIFY(store->orphanLines().isEmpty());
    QCOMPARE(store->FindListNode(""), -1);
}

void ListStoreTest::clickedListName()
{
    write("WebPageList.INI", "News|@|Morning|@||@|\r\n");
    write("WebPageListDtl.INI", "News|@|http://no-hyphen.example/\r\nNews|@|http://plain/\r\n");
    auto store = load();
    const QModelIndex news = store->model()->index(0, 0);
    QCOMPARE(store->clickedListName(news), QString("News"));
    // A page's text read by the name rule: what stands before its first "-", less one character.
    QCOMPARE(store->clickedListName(store->model()->index(0, 0, news)), QString("http://n"));
    QCOMPARE(store->clickedListName(store->model()->index(1, 0, news)), QString());
    QCOMPARE(store->clickedListName(QModelIndex()), QString());
}

void ListStoreTest::unreadableDetailFileIsNotOverwritten()
{
    write("WebPageList.INI", "News|@||@||@|\r\n");
    const QByteArray details = "News|@|http://n1/\r\n";
    write("WebPageListDtl.INI", details);
    const QString path = dir_->filePath("WebPageListDtl.INI");
    QFile::setPermissions(path, QFileDevice::WriteOwner);
    const bool readable = QFile(path).open(QIODevice::ReadOnly);
    if (readable) {
        // Root reads any file; a folder in the file's place cannot be read by anyone.
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir(dir_->path()).mkdir("WebPageListDtl.INI"));
    }

    auto store = load(true);
    QCOMPARE(store->model()->rowCount(), 1);
    globals_.CurrentList = "News";
    globals_.CurrentUrl = "http://n2/";
    QVERIFY(store->AddToCurrentList());
    const auto error = store->SaveListDetails();
    QVERIFY(error.has_value());
    QVERIFY2(error->contains("not saved"), qPrintable(*error));
    if (!readable) {
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(read("WebPageListDtl.INI"), details);
    }
}

QTEST_MAIN(ListStoreTest)
#include "ListStoreTest.moc"
