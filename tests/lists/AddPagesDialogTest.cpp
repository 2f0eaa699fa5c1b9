#include "lists/AddPagesDialog.h"

#include "ListFixture.h"
#include "ScriptedAsk.h"
#include "app/Globals.h"
#include "app/ProgramData.h"
#include "controls/GlowButton.h"
#include "controls/ShellList.h"
#include "lists/ListStore.h"
#include "lists/ListsPage.h"
#include "organiser/Shortcut.h"

#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

class AddPagesDialogTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void choosingAListFillsTheBoxAndThePanel();
    void dropAddsShortcutsOnceSkippingFolders();
    void caseOnlyDifferenceIsNotAdded();
    void unreadableShortcutIsSkippedAndTheRestAdded();
    void dropsComeOnlyFromFavorites();
    void deleteKeyAsksFirst();
    void saveWithEmptyBoxEmptiesTheList();
    void saveWithoutListSaysSo();
    void otherListWithChangesAsksToSave_data();
    void otherListWithChangesAsksToSave();
    void showingAgainSelectsTheListOrClearsTheBox();
    void goneListIsNeverWrittenSilently();
    void closeWritesDetailsAndClearsTheFlag();
    void failedWriteKeepsTheFlag();

private:
    void openDialog();
    void chooseList(int row);
    void selectFavorites(const QStringList &names);
    void writeShortcut(const QString &name, const QString &address);
    QStringList box() const { return dialog_->entries(); }
    template <typename T> T *control(const char *name) const
    {
        return dialog_->findChild<T *>(QLatin1String(name));
    }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QTemporaryDir> favoritesDir_;
    std::unique_ptr<ProgramData> data_;
    ScriptedAsk ask_;
    std::unique_ptr<TPTShellList> favorites_;
    std::unique_ptr<TListsPage> panel_;
    std::unique_ptr<TListAddURL1> dialog_;
};

void AddPagesDialogTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    favoritesDir_ = std::make_unique<QTemporaryDir>();
    Globals = TGlobals();
    Globals.AppDir = dir_->path();
    writeListFiles(dir_->path(), {{"News", {"https://news.example/"}},
                                  {"Tools", {"https://calc.example/", "https://units.example/"}}});
    data_ = std::make_unique<ProgramData>(Globals, dir_->path());
    QVERIFY(!data_->loadLists());
    ask_ = ScriptedAsk();
    writeShortcut("Alpha", "https://alpha.example/");
    writeShortcut("Beta", "https://beta.example/");
    QVERIFY(QDir(favoritesDir_->path()).mkdir("Folder"));
    favorites_ = std::make_unique<TPTShellList>(ask_);
    favorites_->setPath(favoritesDir_->path());
    QTRY_COMPARE(favorites_->model()->rowCount(favorites_->rootIndex()), 3);
    panel_ = std::make_unique<TListsPage>(*data_, ask_);
    dialog_ = std::make_unique<TListAddURL1>(*data_, ask_);
    dialog_->setSidePanel(favorites_.get(), panel_.get());
}

void AddPagesDialogTest::cleanup()
{
    dialog_.reset();
    panel_.reset();
    favorites_.reset();
    data_.reset();
    favoritesDir_.reset();
    dir_.reset();
}

void AddPagesDialogTest::writeShortcut(const QString &name, const QString &address)
{
    QVERIFY(!writeShortcutFile(favoritesDir_->filePath(name + ".Url"), address));
}

void AddPagesDialogTest::openDialog()
{
    dialog_->openModeless();
    QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
}

void AddPagesDialogTest::chooseList(int row)
{
    auto *view = control<QListWidget>("ListView1");
    const QRect item = view->visualItemRect(view->item(row));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
}

void AddPagesDialogTest::selectFavorites(const QStringList &names)
{
    favorites_->clearSelection();
    const QModelIndex root = favorites_->rootIndex();
    for (int row = 0; row < favorites_->model()->rowCount(root); ++row) {
        const QModelIndex index = favorites_->model()->index(row, 0, root);
        if (names.contains(index.data().toString()))
            favorites_->selectionModel()->select(index, QItemSelectionModel::Select |
                                                            QItemSelectionModel::Rows);
    }
    QCOMPARE(favorites_->selectedCount(), int(names.size()));
}

void AddPagesDialogTest::choosingAListFillsTheBoxAndThePanel()
{
    openDialog();
    QCOMPARE(control<QListWidget>("ListView1")->count(), 2);
    QCOMPARE(control<QListWidget>("ListView1")->item(1)->text(), QString("Tools"));
    Globals.CurrentList = "News";
    chooseList(1);
    QCOMPARE(box(), (QStringList{"https://calc.example/", "https://units.example/"}));
    QCOMPARE(panel_->label()->text(), QString("Tools - about Tools"));
    QCOMPARE(panel_->treeView()->currentIndex().data().toString(), QString("Tools - about Tools"));
    QCOMPARE(Globals.CurrentList, QString("News"));
}

void AddPagesDialogTest::dropAddsShortcutsOnceSkippingFolders()
{
    openDialog();
    chooseList(0);
    selectFavorites({"Alpha.Url", "Folder", "Beta.Url"});
    dialog_->ListBox1DragDrop(favorites_.get());
    QCOMPARE(box(), (QStringList{"https://news.example/", "https://alpha.example/",
                                 "https://beta.example/"}));
    dialog_->ListBox1DragDrop(favorites_.get());
    QCOMPARE(box().size(), 3);
    QVERIFY(ask_.errors.isEmpty());
    // Only Save changes the list.
    QCOMPARE(data_->lists().ListPages("News"), QStringList{"https://news.example/"});
}

void AddPagesDialogTest::caseOnlyDifferenceIsNotAdded()
{
    writeShortcut("Loud", "HTTPS://NEWS.EXAMPLE/");
    QTRY_COMPARE(favorites_->model()->rowCount(favorites_->rootIndex()), 4);
    openDialog();
    chooseList(0);
    selectFavorites({"Loud.Url"});
    dialog_->ListBox1DragDrop(favorites_.get());
    QCOMPARE(box(), QStringList{"https://news.example/"});
}

void AddPagesDialogTest::unreadableShortcutIsSkippedAndTheRestAdded()
{
    QVERIFY(QDir(favoritesDir_->path()).mkdir("Odd.Url"));
    QTRY_COMPARE(favorites_->model()->rowCount(favorites_->rootIndex()), 4);
    openDialog();
    chooseList(0);
    selectFavorites({"Alpha.Url", "Odd.Url", "Beta.Url"});
    dialog_->ListBox1DragDrop(favorites_.get());
    QCOMPARE(box(), (QStringList{"https://news.example/", "https://alpha.example/",
                                 "https://beta.example/"}));
    QCOMPARE(ask_.errors.size(), 1);
    QVERIFY(ask_.errors.first().contains("Odd.Url"));
}

void AddPagesDialogTest::dropsComeOnlyFromFavorites()
{
    openDialog();
    chooseList(0);
    selectFavorites({"Alpha.Url"});
    QVERIFY(dialog_->ListBox1DragOver(favorites_.get()));
    QVERIFY(!dialog_->ListBox1DragOver(panel_->treeView()));
    QVERIFY(!dialog_->ListBox1DragOver(nullptr));
    dialog_->ListBox1DragDrop(panel_->treeView());
    QCOMPARE(box().size(), 1);
}

void AddPagesDialogTest::deleteKeyAsksFirst()
{
    openDialog();
    chooseList(1);
    auto *list = control<QListWidget>("ListBox1");
    list->setFocus();
    list->setCurrentRow(0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QCOMPARE(ask_.questions, QStringList{"Do You want to Delete the Web Page from List - "
                                         "https://calc.example/ ?"});
    QCOMPARE(box().size(), 2);
    ask_.answers.enqueue(true);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QCOMPARE(box(), QStringList{"https://units.example/"});
    QVERIFY(dialog_->boxChanged());
}

void AddPagesDialogTest::saveWithEmptyBoxEmptiesTheList()
{
    openDialog();
    chooseList(1);
    ask_.defaultAnswer = true;
    auto *list = control<QListWidget>("ListBox1");
    list->setFocus();
    while (list->count() > 0) {
        list->setCurrentRow(0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    }
    auto *save = control<TGlowButton>("OKBtn1");
    QTest::mouseClick(save, Qt::LeftButton, {}, save->rect().center());
    QCOMPARE(data_->lists().ListPages("Tools"), QStringList());
    QCOMPARE(data_->lists().ListPages("News"), QStringList{"https://news.example/"});
    QVERIFY(Globals.ListsChanged);
}

void AddPagesDialogTest::saveWithoutListSaysSo()
{
    openDialog();
    auto *save = control<TGlowButton>("OKBtn1");
    QTest::mouseClick(save, Qt::LeftButton, {}, save->rect().center());
    QCOMPARE(ask_.informations.size(), 1);
    QVERIFY(!Globals.ListsChanged);
}

void AddPagesDialogTest::otherListWithChangesAsksToSave_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("news");
    QTest::newRow("saved") << true
                           << QStringList{"https://news.example/", "https://alpha.example/"};
    QTest::newRow("dropped") << false << QStringList{"https://news.example/"};
}

void AddPagesDialogTest::otherListWithChangesAsksToSave()
{
    QFETCH(bool, yes);
    QFETCH(QStringList, news);
    openDialog();
    chooseList(0);
    selectFavorites({"Alpha.Url"});
    dialog_->ListBox1DragDrop(favorites_.get());
    ask_.answers.enqueue(yes);
    chooseList(1);
    QCOMPARE(ask_.questions.size(), 1);
    QVERIFY(ask_.questions.first().contains("News"));
    QCOMPARE(data_->lists().ListPages("News"), news);
    QCOMPARE(box(), (QStringList{"https://calc.example/", "https://units.example/"}));
    // No changes since: choosing asks nothing.
    chooseList(0);
    QCOMPARE(ask_.questions.size(), 1);
}

void AddPagesDialogTest::showingAgainSelectsTheListOrClearsTheBox()
{
    openDialog();
    chooseList(1);
    dialog_->close();
    openDialog();
    auto *view = control<QListWidget>("ListView1");
    QCOMPARE(view->currentItem()->text(), QString("Tools"));
    QCOMPARE(box().size(), 2);
    dialog_->close();
    writeListFiles(dir_->path(), {{"News", {"https://news.example/"}}});
    QVERIFY(!data_->loadLists());
    openDialog();
    QVERIFY(box().isEmpty());
    QCOMPARE(ask_.informations.size(), 1);
    QVERIFY(ask_.informations.first().contains("Tools"));
}

void AddPagesDialogTest::goneListIsNeverWrittenSilently()
{
    openDialog();
    chooseList(1);
    // The list is deleted elsewhere and a new list takes its row.
    writeListFiles(dir_->path(), {{"News", {"https://news.example/"}}, {"Other", {"x"}}});
    QVERIFY(!data_->loadLists());
    auto *save = control<TGlowButton>("OKBtn1");
    QTest::mouseClick(save, Qt::LeftButton, {}, save->rect().center());
    QCOMPARE(ask_.errors.size(), 1);
    QCOMPARE(data_->lists().ListPages("Other"), QStringList{"x"});
    QVERIFY(!Globals.ListsChanged);
}

void AddPagesDialogTest::closeWritesDetailsAndClearsTheFlag()
{
    const QString details = dir_->filePath("WebPageListDtl.INI");
    QVERIFY(QFile::remove(details));
    Globals.ListsChanged = true;
    openDialog();
    auto *cancel = control<TGlowButton>("CancelBtn");
    QTest::mouseClick(cancel, Qt::LeftButton, {}, cancel->rect().center());
    QVERIFY(dialog_->isHidden());
    QVERIFY(!Globals.ListsChanged);
    const TextFile::ReadResult read = TextFile::readLines(details);
    QCOMPARE(read.lines,
             (QStringList{"News|@|https://news.example/", "Tools|@|https://calc.example/",
                          "Tools|@|https://units.example/"}));
}

void AddPagesDialogTest::failedWriteKeepsTheFlag()
{
    // A folder where the file should be: the write fails and the old state stays.
    const QString details = dir_->filePath("WebPageListDtl.INI");
    QVERIFY(QFile::remove(details));
    QVERIFY(QDir().mkdir(details));
    Globals.ListsChanged = true;
    openDialog();
    dialog_->close();
    QCOMPARE(ask_.errors.size(), 1);
    QVERIFY(Globals.ListsChanged);
}

QTEST_MAIN(AddPagesDialogTest)
#include "AddPagesDialogTest.moc"
