#include "controls/ShellList.h"

#include "ScriptedAsk.h"
#include "UiEvents.h"
#include "app/LocaleFormat.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class ShellListTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void showsEveryItemInDetails();
    void followsChangesOnDisk();
    void foldersOpenInPlaceAndUpGoesBack();
    void filesAreOfferedBeforeTheDesktopOpensThem();
    void firstSelectedItemIsFirstInListOrder();
    void dragCarriesFullPaths();
    void contextMenuFollowsTheSelection();
    void newFolderIsNumberedAndRenamed();
    void deleteAsksThenMovesToTheTrash();
    void gridLinesArePainted();

private:
    QModelIndex indexOf(const QString &name) const;
    void select(const QStringList &names);
    void write(const QString &name, const QByteArray &bytes = "x");

    QTemporaryDir home_;
    DesktopRecorder desktop_;
    std::unique_ptr<QTemporaryDir> dir_;
    ScriptedAsk ask_;
    const QStringList &errors_ = ask_.errors;
    std::unique_ptr<TPTShellList> list_;
};

void ShellListTest::initTestCase()
{
    // The trash lives in the data folder; keep it out of the real home.
    qputenv("HOME", home_.path().toUtf8());
    QVERIFY(QDir(home_.path()).mkdir("data"));
    qputenv("XDG_DATA_HOME", home_.filePath("data").toUtf8());
    QDesktopServices::setUrlHandler("file", &desktop_, "open");
}

void ShellListTest::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler("file");
}

void ShellListTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(dir_->path()).mkdir("Sub"));
    write("b.txt", "some text");
    write(".hidden");
    write("a.Url");
    list_ = std::make_unique<TPTShellList>(ask_);
    list_->resize(600, 300);
    list_->setPath(dir_->path());
    QTRY_COMPARE(list_->model()->rowCount(list_->rootIndex()), 4);
    desktop_.opened.clear();
    ask_ = ScriptedAsk();
}

void ShellListTest::cleanup()
{
    list_.reset();
    dir_.reset();
}

QModelIndex ShellListTest::indexOf(const QString &name) const
{
    return list_->fileModel()->index(QDir(list_->path()).filePath(name));
}

void ShellListTest::select(const QStringList &names)
{
    list_->clearSelection();
    for (const QString &name : names)
        list_->selectionModel()->select(indexOf(name),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void ShellListTest::write(const QString &name, const QByteArray &bytes)
{
    QFile file(dir_->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void ShellListTest::showsEveryItemInDetails()
{
    QCOMPARE(list_->path(), dir_->path());
    QCOMPARE(list_->header()->count(), 4);
    QCOMPARE(indexOf("Sub").siblingAtColumn(2).data().toString(), QString("File Folder"));
    QVERIFY(indexOf(".hidden").isValid());
    QVERIFY(indexOf("b.txt").siblingAtColumn(2).data().toString() != QString("File Folder"));
    const QDateTime modified = QFileInfo(dir_->filePath("b.txt")).lastModified();
    QCOMPARE(indexOf("b.txt").siblingAtColumn(3).data().toString(),
             LocaleFormat::dateTime(modified));
    // Folders come first, as the desktop lists them.
    QTRY_COMPARE(list_->model()->index(0, 0, list_->rootIndex()).data().toString(), QString("Sub"));
    QCOMPARE(list_->selectionMode(), QAbstractItemView::ExtendedSelection);
}

void ShellListTest::followsChangesOnDisk()
{
    write("new.Url");
    QTRY_VERIFY(indexOf("new.Url").isValid());
    QTRY_COMPARE(list_->model()->rowCount(list_->rootIndex()), 5);
    QVERIFY(QFile::remove(dir_->filePath("b.txt")));
    QTRY_COMPARE(list_->model()->rowCount(list_->rootIndex()), 4);
}

void ShellListTest::foldersOpenInPlaceAndUpGoesBack()
{
    QSignalSpy offered(list_.get(), &TPTShellList::doubleClickOpen);
    list_->show();
    QVERIFY(QTest::qWaitForWindowExposed(list_.get()));
    const QRect rect = list_->visualRect(indexOf("Sub"));
    doubleClick(list_->viewport(), rect.center());
    QCOMPARE(list_->path(), dir_->filePath("Sub"));
    QCOMPARE(offered.count(), 0);
    QCOMPARE(list_->selectedCount(), 0);

    list_->goUp();
    QCOMPARE(list_->path(), dir_->path());
    list_->setPath("/");
    list_->goUp();
    QCOMPARE(list_->path(), QString("/"));
    list_->setPath(dir_->filePath("b.txt")); // not a folder: ignored
    QCOMPARE(list_->path(), QString("/"));
}

void ShellListTest::filesAreOfferedBeforeTheDesktopOpensThem()
{
    QStringList offeredPaths;
    bool handle = true;
    connect(list_.get(), &TPTShellList::doubleClickOpen, this,
            [&](const QString &path, bool *handled) {
                offeredPaths << path;
                *handled = handle;
            });
    list_->activateItem(indexOf("a.Url"));
    QCOMPARE(offeredPaths, QStringList{dir_->filePath("a.Url")});
    QVERIFY(desktop_.opened.isEmpty());

    handle = false;
    list_->setCurrentIndex(indexOf("b.txt"));
    QTest::keyClick(list_.get(), Qt::Key_Return);
    QCOMPARE(offeredPaths.last(), dir_->filePath("b.txt"));
    QCOMPARE(desktop_.opened, QList<QUrl>{QUrl::fromLocalFile(dir_->filePath("b.txt"))});
}

void ShellListTest::firstSelectedItemIsFirstInListOrder()
{
    QVERIFY(!list_->selectedItem());
    select({"b.txt", "Sub", ".hidden"});
    QCOMPARE(list_->selectedCount(), 3);
    const auto item = list_->selectedItem();
    QVERIFY(item);
    QCOMPARE(item->path, dir_->filePath("Sub"));
    QCOMPARE(item->fileName, QString("Sub"));
    QCOMPARE(item->typeName, QString("File Folder"));
    QCOMPARE(list_->selectedPaths(), (QStringList{dir_->filePath("Sub"), dir_->filePath(".hidden"),
                                                  dir_->filePath("b.txt")}));
}

void ShellListTest::dragCarriesFullPaths()
{
    select({"a.Url", "Sub"});
    QVERIFY(list_->dragEnabled());
    const std::unique_ptr<QMimeData> data(
        list_->model()->mimeData(list_->selectionModel()->selectedIndexes()));
    QStringList paths;
    for (const QUrl &url : data->urls())
        paths << url.toLocalFile();
    paths.sort();
    QCOMPARE(paths, (QStringList{dir_->filePath("Sub"), dir_->filePath("a.Url")}));
    QStringList text = data->text().split('\n');
    text.sort();
    QCOMPARE(text, paths);
}

void ShellListTest::contextMenuFollowsTheSelection()
{
    QAction extra("Extra");
    list_->addContextActions({&extra});
    auto texts = [](const QList<QAction *> &actions) {
        QStringList enabled;
        for (QAction *action : actions)
            enabled << action->text().remove('&') + (action->isEnabled() ? "" : " (off)");
        return enabled;
    };
    QCOMPARE(texts(list_->contextActions()),
             (QStringList{"Open (off)", "Rename (off)", "Delete (off)", "New Folder", "Extra"}));
    list_->setCurrentIndex(indexOf("a.Url"));
    QCOMPARE(texts(list_->contextActions()),
             (QStringList{"Open", "Rename", "Delete", "New Folder", "Extra"}));

    list_->show();
    QVERIFY(QTest::qWaitForWindowExposed(list_.get()));
    list_->contextActions().at(1)->trigger();
    QVERIFY(list_->isRenaming());
}

void ShellListTest::newFolderIsNumberedAndRenamed()
{
    list_->show();
    QVERIFY(QTest::qWaitForWindowExposed(list_.get()));
    list_->newFolder();
    QVERIFY(QFileInfo(dir_->filePath("New Folder")).isDir());
    QVERIFY(list_->isRenaming());
    QCOMPARE(list_->currentIndex().data().toString(), QString("New Folder"));
    list_->setFocus();
    QTest::keyClick(list_->focusWidget(), Qt::Key_Escape);
    list_->newFolder();
    QVERIFY(QFileInfo(dir_->filePath("New Folder (2)")).isDir());
    QVERIFY(errors_.isEmpty());
}

void ShellListTest::deleteAsksThenMovesToTheTrash()
{
    const QStringList &questions = ask_.questions;
    select({"b.txt"});
    list_->deleteSelected();
    QVERIFY(QFile::exists(dir_->filePath("b.txt")));
    QCOMPARE(questions, QStringList{"Do You want to Delete the File - b.txt?"});

    ask_.answers << true;
    select({"b.txt", "Sub"});
    list_->setFocus();
    QTest::keyClick(list_.get(), Qt::Key_Delete);
    QCOMPARE(questions.last(), QString("Do You want to Delete the 2 Items - Sub, b.txt?"));
    QVERIFY(!QFile::exists(dir_->filePath("b.txt")));
    QVERIFY(!QFile::exists(dir_->filePath("Sub")));
    QVERIFY(QFile::exists(home_.filePath("data/Trash/files/b.txt")));
    QVERIFY(QFileInfo(home_.filePath("data/Trash/files/Sub")).isDir());
    QVERIFY(errors_.isEmpty());

    list_->clearSelection();
    list_->deleteSelected(); // nothing selected: no question
    QCOMPARE(questions.size(), 2);
}

void ShellListTest::gridLinesArePainted()
{
    list_->show();
    QVERIFY(QTest::qWaitForWindowExposed(list_.get()));
    const QImage plain = list_->grab().toImage();
    list_->setGridLines(true);
    QVERIFY(list_->gridLines());
    QVERIFY(list_->grab().toImage() != plain);
}

QTEST_MAIN(ShellListTest)
#include "ShellListTest.moc"
