#include "organiser/FavoritesPage.h"

#include "ScriptedAsk.h"
#include "UiEvents.h"
#include "app/Globals.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "controls/ShellList.h"
#include "organiser/Shortcut.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

class FavoritesPageTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void buttonsCarryTheirHints();
    void addWritesIntoTheFolderShown();
    void addGoesIntoASelectedFolder();
    void addNewFolderOnlyOnce();
    void labelShowsTheNameWithoutItsExtension_data();
    void labelShowsTheNameWithoutItsExtension();
    void doubleClickOpensShortcutsInOurWindows();
    void upAndStartOfFavorites();
    void upStopsAtFavoritesAndThePageSaysWhere();
    void sizesReadableInAColumnInSight();
    void scriptShortcutShowsAMessage();
    void bookmarksImportAndExport();

private:
    QModelIndex indexOf(const QString &name) const;
    void select(const QString &name);
    QString favorite(const QString &name) const { return favorites_->filePath(name); }

    DesktopRecorder desktop_;
    RecordingNavigation navigation_;
    ScriptedAsk ask_;
    const QStringList &errors_ = ask_.errors;
    QTemporaryDir appDir_;
    std::unique_ptr<ProgramData> data_;
    std::unique_ptr<QTemporaryDir> favorites_;
    std::unique_ptr<TFavoritesPage> page_;
    TPTShellList *list_ = nullptr;
};

void FavoritesPageTest::initTestCase()
{
    QDesktopServices::setUrlHandler("file", &desktop_, "open");
    setNavigation(&navigation_);
}

void FavoritesPageTest::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler("file");
    setNavigation(nullptr);
}

void FavoritesPageTest::init()
{
    Globals = TGlobals{};
    favorites_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(favorites_->path()).mkdir("Sub"));
    QVERIFY(!writeShortcutFile(favorite("Example.Url"), "http://example.com/?a=b"));
    data_ = std::make_unique<ProgramData>(Globals, appDir_.path());
    page_ = std::make_unique<TFavoritesPage>(*data_, ask_);
    page_->resize(400, 500);
    page_->setFavoritesFolder(favorites_->path());
    list_ = page_->shellList();
    QCOMPARE(page_->listView(), list_);
    QTRY_COMPARE(list_->model()->rowCount(list_->rootIndex()), 2);
    navigation_.opened.clear();
    desktop_.opened.clear();
    ask_ = ScriptedAsk();
}

void FavoritesPageTest::cleanup()
{
    page_.reset();
    favorites_.reset();
}

QModelIndex FavoritesPageTest::indexOf(const QString &name) const
{
    return list_->fileModel()->index(QDir(list_->path()).filePath(name));
}

void FavoritesPageTest::select(const QString &name)
{
    list_->setCurrentIndex(indexOf(name));
    QVERIFY(list_->selectedItem());
}

void FavoritesPageTest::buttonsCarryTheirHints()
{
    const QList<std::pair<const char *, const char *>> buttons = {
        {"FavUpBtn", "Go Up One Level"},
        {"FavHomeBtn", "Go to Start of Favorites"},
        {"FavAddFldrBtn", "Add New Folder to Favorites"}};
    for (const auto &[name, hint] : buttons) {
        auto *button = page_->findChild<QToolButton *>(name);
        QVERIFY2(button, name);
        QCOMPARE(button->toolTip(), QString(hint));
    }
    QVERIFY(page_->label()->wordWrap());
    page_->setGridLines(true);
    QVERIFY(list_->gridLines());
}

void FavoritesPageTest::addWritesIntoTheFolderShown()
{
    QSignalSpy shown(page_.get(), &TFavoritesPage::showRequested);
    Globals.CurrentUrl = "https://news.example/today?x=1";
    Globals.CurrentTitle = "Today / Tonight";
    page_->AddToFavorites();
    QCOMPARE(shown.count(), 1);
    QCOMPARE(ReadShortcutUrl(favorite("Today _ Tonight.Url")), Globals.CurrentUrl);
    QTRY_VERIFY(indexOf("Today _ Tonight.Url").isValid());

    // A selected shortcut is no folder: the shortcut goes beside it.
    select("Example.Url");
    Globals.CurrentTitle = "Second";
    page_->AddToFavorites();
    QVERIFY(QFile::exists(favorite("Second.Url")));
}

void FavoritesPageTest::addGoesIntoASelectedFolder()
{
    select("Sub");
    Globals.CurrentUrl = "http://a.example/";
    Globals.CurrentTitle = "In Sub";
    page_->AddToFavorites();
    QCOMPARE(ReadShortcutUrl(favorite("Sub/In Sub.Url")), QString("http://a.example/"));
    QVERIFY(!QFile::exists(favorite("In Sub.Url")));
}

void FavoritesPageTest::addNewFolderOnlyOnce()
{
    page_->FavAddFldrBtnClick();
    QVERIFY(QFileInfo(favorite("New Folder")).isDir());
    QVERIFY(!writeShortcutFile(favorite("New Folder/kept.Url"), "http://kept.example/"));
    page_->FavAddFldrBtnClick();
    QCOMPARE(QDir(favorites_->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
             (QStringList{"New Folder", "Sub"}));
    QVERIFY(QFile::exists(favorite("New Folder/kept.Url")));
    QVERIFY(errors_.isEmpty());
}

void FavoritesPageTest::labelShowsTheNameWithoutItsExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("shortcut") << "Example.Url"
                              << "Example";
    QTest::newRow("folder without a dot") << "Sub"
                                          << "Sub";
    QTest::newRow("folder with a dot loses four all the same") << "v1.2 notes"
                                                               << "v1.2 n";
    QTest::newRow("the secure scheme's empty name") << ".Url"
                                                    << "";
    QTest::newRow("shorter than four") << "a.b"
                                       << "";
}

void FavoritesPageTest::labelShowsTheNameWithoutItsExtension()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    if (!QFileInfo::exists(favorite(name)))
        QVERIFY(!writeShortcutFile(favorite(name), "http://x.example/"));
    QTRY_VERIFY(indexOf(name).isValid());
    page_->label()->setText("before");
    list_->clearSelection();
    page_->PTShellList1Click(); // nothing selected: the label stays
    QCOMPARE(page_->label()->text(), QString("before"));
    select(name);
    page_->PTShellList1Click();
    QCOMPARE(page_->label()->text(), shown);
    page_->clearLabel();
    QCOMPARE(page_->label()->text(), QString());
}

void FavoritesPageTest::doubleClickOpensShortcutsInOurWindows()
{
    QVERIFY(!writeShortcutFile(favorite("Sub/Inner.url"), "http://inner.example/"));
    QFile twoLines(favorite("Two.URL"));
    QVERIFY(twoLines.open(QIODevice::WriteOnly));
    twoLines.write("[InternetShortcut]\r\nURL=http://two.example/\r\n");
    twoLines.close();
    QFile text(favorite("notes.txt"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("a\nb\nc\nURL=http://notes.example/\n");
    text.close();
    QTRY_COMPARE(list_->model()->rowCount(list_->rootIndex()), 4);

    page_->show();
    QVERIFY(QTest::qWaitForWindowExposed(page_.get()));
    doubleClick(list_->viewport(), list_->visualRect(indexOf("Example.Url")).center());
    QCOMPARE(navigation_.opened, QStringList{"http://example.com/?a=b"});

    for (const QString name : {"Two.URL", "notes.txt"}) {
        select(name);
        list_->activateItem(indexOf(name));
    }
    QCOMPARE(navigation_.opened.size(), 1);
    QVERIFY(desktop_.opened.isEmpty());

    list_->activateItem(indexOf("Sub"));
    QCOMPARE(list_->path(), favorite("Sub"));
    QCOMPARE(navigation_.opened.size(), 1);
    QTRY_VERIFY(indexOf("Inner.url").isValid());
    select("Inner.url");
    QTest::keyClick(list_, Qt::Key_Return);
    QCOMPARE(navigation_.opened.last(), QString("http://inner.example/"));
    QVERIFY(errors_.isEmpty());
}

void FavoritesPageTest::upAndStartOfFavorites()
{
    list_->setPath(favorite("Sub"));
    page_->FavUpBtnClick();
    QCOMPARE(list_->path(), favorites_->path());

    page_->FavHomeBtnClick();
    QCOMPARE(list_->path(), favorites_->path());
    // Removed behind the program's back: Start makes it again.
    list_->setPath(favorite("Sub"));
    QVERIFY(QDir(favorites_->path()).removeRecursively());
    page_->FavHomeBtnClick();
    QVERIFY(QFileInfo(favorites_->path()).isDir());
    QCOMPARE(list_->path(), favorites_->path());
}

void FavoritesPageTest::upStopsAtFavoritesAndThePageSaysWhere()
{
    QVERIFY(QDir(favorite("Sub")).mkdir("Deeper"));
    page_->show();
    QVERIFY(QTest::qWaitForWindowExposed(page_.get()));
    auto *up = page_->findChild<QToolButton *>("FavUpBtn");
    const QString sep = QDir::separator();
    QCOMPARE(page_->folderLabel()->text(), QStringLiteral("Favorites"));
    QVERIFY(!up->isEnabled());

    list_->setPath(favorite("Sub/Deeper"));
    QCOMPARE(page_->folderLabel()->text(), "Favorites" + sep + "Sub" + sep + "Deeper");
    QVERIFY(up->isEnabled());
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(page_->folderLabel()->text(), "Favorites" + sep + "Sub");

    // Neither the button nor the key leaves the Favorites folder.
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(list_->path(), favorites_->path());
    QVERIFY(!up->isEnabled());
    list_->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), list_);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QCOMPARE(list_->path(), favorites_->path());
    QCOMPARE(page_->folderLabel()->text(), QStringLiteral("Favorites"));
}

void FavoritesPageTest::sizesReadableInAColumnInSight()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QList<std::pair<qint64, QString>> sizes = {
        {75, "75 bytes"}, {2560, "2.5 kB"}, {80 * 1024 * 1024, "80 MB"}};
    for (const auto &[bytes, text] : sizes) {
        QFile file(favorite(text + ".bin"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(bytes)); // sparse: no 80 MB written
    }
    // As wide as the side panel makes the list.
    page_->resize(258, 500);
    page_->show();
    QVERIFY(QTest::qWaitForWindowExposed(page_.get()));
    for (const auto &[bytes, text] : sizes) {
        QTRY_VERIFY(indexOf(text + ".bin").isValid());
        QTRY_COMPARE(indexOf(text + ".bin").siblingAtColumn(1).data().toString(), text);
    }
    auto *header = list_->header();
    for (const auto &[bytes, text] : sizes) {
        const QModelIndex cell = indexOf(text + ".bin").siblingAtColumn(1);
        QTRY_VERIFY(header->sectionSize(1) >= list_->sizeHintForIndex(cell).width());
    }
    QVERIFY(header->sectionViewportPosition(1) >= 0);
    QVERIFY(header->sectionViewportPosition(1) + header->sectionSize(1) <=
            list_->viewport()->width());
    QLocale::setDefault(QLocale::system());
}

void FavoritesPageTest::scriptShortcutShowsAMessage()
{
    QVERIFY(!writeShortcutFile(favorite("Bookmarklet.url"), " JavaScript:alert(document.cookie)"));
    QTRY_VERIFY(indexOf("Bookmarklet.url").isValid());
    page_->show();
    QVERIFY(QTest::qWaitForWindowExposed(page_.get()));
    doubleClick(list_->viewport(), list_->visualRect(indexOf("Bookmarklet.url")).center());
    QVERIFY(navigation_.opened.isEmpty());
    QCOMPARE(ask_.informations.size(), 1);
    QVERIFY(ask_.informations.first().contains("Bookmarklet.url"));
    QVERIFY(errors_.isEmpty());
}

void FavoritesPageTest::bookmarksImportAndExport()
{
    QTemporaryDir files;
    const QString exported = files.filePath("exported.html");
    ask_.files << QStringLiteral(QUILLMERE_SOURCE_DIR "/tests/organiser/data/bookmarks.html")
               << exported;

    QStringList texts;
    for (QAction *action : list_->contextActions())
        texts << action->text().remove('&');
    QVERIFY(texts.contains("Import Bookmarks..."));
    QVERIFY(texts.contains("Export Bookmarks..."));
    QCOMPARE(page_->actions().size(), 2); // the page's own context menu

    // Into the folder shown; the export takes the whole Favorites folder.
    list_->setPath(favorite("Sub"));
    page_->actions().at(0)->trigger();
    QCOMPARE(ReadShortcutUrl(favorite("Sub/Bookmarks Toolbar/News_Daily/Deep/Deep link.Url")),
             QString("http://deep.example.com/"));
    page_->actions().at(1)->trigger();
    QFile file(exported);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    QVERIFY(html.contains("<DT><A HREF=\"http://example.com/?a=b\">Example</A>"));
    QVERIFY(html.contains("<DT><H3>Deep</H3>"));
    QVERIFY(errors_.isEmpty());

    ask_.files << files.filePath("missing.html");
    page_->importBookmarks();
    QCOMPARE(errors_.size(), 1);
    page_->importBookmarks(); // nothing queued: the chooser was cancelled
    QCOMPARE(errors_.size(), 1);
    QCOMPARE(ask_.choosers, (QStringList{"Import Bookmarks", "Export Bookmarks", "Import Bookmarks",
                                         "Import Bookmarks"}));
}

QTEST_MAIN(FavoritesPageTest)
#include "FavoritesPageTest.moc"
