#include "lists/ListsPage.h"

#include "ScriptedAsk.h"
#include "app/Globals.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "lists/ListStore.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

// The Lists page: what clicks, double clicks and the Delete key do to the tree and the state.
class ListsPageTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void buttonsWaitForTheirDialogs();
    void clickPicksTheCurrentList();
    void doubleClickOpensPages();
    void deleteKeyAsksFirst();
    void addToCurrentList();
    void fileErrorsReachTheErrorBox();

private:
    void write(const QString &name, const QByteArray &bytes);
    QRect nodeRect(const QModelIndex &index) const;

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TListsPage> page_;
    QTreeView *view_ = nullptr;
    RecordingNavigation navigation_;
    ScriptedAsk ask_;
    std::unique_ptr<ProgramData> data_;
};

void ListsPageTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    Globals = TGlobals();
    ask_ = ScriptedAsk();
    navigation_ = RecordingNavigation();
    setNavigation(&navigation_);

    write("WebPageList.INI", "News|@|Morning reading|@||@|\r\nTools|@|Daily pages|@||@|\r\n");
    write("WebPageListDtl.INI", "News|@|http://front.example/\r\nNews|@|http://sport.example/\r\n"
                                "Tools|@|http://calc.example/\r\n");
    data_ = std::make_unique<ProgramData>(Globals, dir_->path());
    page_ = std::make_unique<TListsPage>(*data_, ask_);
    page_->resize(300, 400);
    page_->LoadListsPanel();
    page_->show();
    view_ = qobject_cast<QTreeView *>(page_->treeView());
    QVERIFY(view_);
    view_->expandAll();
    QVERIFY(QTest::qWaitForWindowExposed(page_.get()));
}

void ListsPageTest::cleanup()
{
    page_.reset();
    setNavigation(nullptr);
    data_.reset();
}

void ListsPageTest::write(const QString &name, const QByteArray &bytes)
{
    QFile file(dir_->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QRect ListsPageTest::nodeRect(const QModelIndex &index) const
{
    return view_->visualRect(index);
}

void ListsPageTest::buttonsWaitForTheirDialogs()
{
    const QList<QPair<QAbstractButton *, QString>> buttons{
        {page_->listMainButton(), "Create and Maintain Web Page Lists"},
        {page_->listAddUrlButton(), "Add Web Pages to Web Page List"},
        {page_->listRunButton(), "Run Web Page List"}};
    for (const auto &[button, hint] : buttons) {
        QVERIFY(!button->isEnabled());
        QCOMPARE(button->toolTip(), hint);
    }
    QCOMPARE(page_->firstNodeText(), QString("News - Morning reading"));

    // Enabled by the window that owns the dialogs, each asks for its own.
    QSignalSpy maintain(page_.get(), &TListsPage::maintainListsRequested);
    QSignalSpy add(page_.get(), &TListsPage::addPagesRequested);
    QSignalSpy run(page_.get(), &TListsPage::runListRequested);
    for (const auto &[button, hint] : buttons) {
        button->setEnabled(true);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE((QList<int>{int(maintain.count()), int(add.count()), int(run.count())}),
             (QList<int>{1, 1, 1}));
}

void ListsPageTest::clickPicksTheCurrentList()
{
    const QModelIndex tools = view_->model()->index(1, 0);
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, nodeRect(tools).center());
    QCOMPARE(page_->label()->text(), QString("Tools - Daily pages"));
    QCOMPARE(Globals.CurrentList, QString("Tools"));

    // A page node: its address holds no "-", so no list is current afterwards.
    const QModelIndex page = view_->model()->index(0, 0, tools);
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, nodeRect(page).center());
    QCOMPARE(page_->label()->text(), QString("http://calc.example/"));
    QCOMPARE(Globals.CurrentList, QString());

    page_->clearLabel();
    QCOMPARE(page_->label()->text(), QString());
}

void ListsPageTest::doubleClickOpensPages()
{
    const QModelIndex news = view_->model()->index(0, 0);
    const QModelIndex sport = view_->model()->index(1, 0, news);
    view_->setCurrentIndex(news);
    page_->TreeView3DblClick(news);
    QVERIFY(navigation_.opened.isEmpty());

    // A real double click: press and release, then the second press arrives as a double click.
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, nodeRect(sport).center());
    QTest::mouseDClick(view_->viewport(), Qt::LeftButton, {}, nodeRect(sport).center());
    QCOMPARE(navigation_.opened, QStringList({"http://sport.example/"}));
}

void ListsPageTest::deleteKeyAsksFirst()
{
    const QStringList &questions = ask_.questions;
    const QModelIndex news = view_->model()->index(0, 0);
    view_->setCurrentIndex(news);
    view_->setFocus();

    QTest::keyClick(view_, Qt::Key_Delete);
    QCOMPARE(questions, QStringList({"Do You want to Delete the Web Page from List - News - "
                                     "Morning reading ?"}));
    QCOMPARE(view_->model()->rowCount(), 2);
    QVERIFY(!Globals.ListsChanged);

    QTest::keyClick(view_, Qt::Key_Return);
    QCOMPARE(questions.size(), 1);

    ask_.answers << true;
    QTest::keyClick(view_, Qt::Key_Delete);
    QCOMPARE(view_->model()->rowCount(), 1);
    QVERIFY(Globals.ListsChanged);
    QVERIFY(page_->SaveListDetails());
    QFile file(dir_->filePath("WebPageListDtl.INI"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("Tools|@|http://calc.example/\r\n"));
}

void ListsPageTest::addToCurrentList()
{
    QSignalSpy shown(page_.get(), &TListsPage::showRequested);
    Globals.CurrentList = "news";
    Globals.CurrentUrl = "http://new.example/";
    page_->AddToCurrentList();
    page_->AddToCurrentList();
    QCOMPARE(shown.count(), 2);
    QCOMPARE(
        data_->lists().ListPages("News"),
        QStringList({"http://front.example/", "http://sport.example/", "http://new.example/"}));
    QVERIFY(Globals.ListsChanged);
    QVERIFY(ask_.errors.isEmpty());
}

void ListsPageTest::fileErrorsReachTheErrorBox()
{
    QVERIFY(QFile::remove(dir_->filePath("WebPageListDtl.INI")));
    QVERIFY(QDir(dir_->path()).mkdir("WebPageListDtl.INI"));
    page_->LoadListsPanel();
    QCOMPARE(ask_.errors.size(), 1);
    QCOMPARE(view_->model()->rowCount(), 2);
    QVERIFY(!page_->SaveListDetails());
    QCOMPARE(ask_.errors.size(), 2);
}

QTEST_MAIN(ListsPageTest)
#include "ListsPageTest.moc"
