#include "organiser/HistoryPage.h"

#include "ScriptedAsk.h"
#include "app/Globals.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "organiser/HistoryFilter.h"
#include "organiser/HistoryStore.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write fixture");
}

const QByteArray Example = "## 14.03.08\r\n"
                           "Start Page - file:///C:/Pages/start.htm - 14.03.08 09:02:11\r\n"
                           "## 15.03.08\r\n"
                           "Notes - file:///C:/Pages/notes.htm - 15.03.08 10:40:57\r\n"
                           "Mail - http://mail.example/ - 15.03.08 10:41:30\r\n";

} // namespace

// The History page as the user and the main window use it.
class HistoryPageTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<THistoryPage> page_;
    RecordingNavigation navigation_;
    ScriptedAsk ask_;
    std::unique_ptr<ProgramData> data_;
    const QStringList &questions_ = ask_.questions;
    const QStringList &errors_ = ask_.errors;
    bool &answer_ = ask_.defaultAnswer;
    QDateTime now_;

    QAbstractItemModel *view() { return page_->treeView()->model(); }
    THistoryModel *model() { return data_->history().model(); }

    // Starts the page as the main window does, on a program folder holding the given file.
    void start(const QByteArray &file, const QString &name = QStringLiteral("History.Ini"))
    {
        if (!file.isNull())
            writeFile(dir_->filePath(name), file);
        data_ = std::make_unique<ProgramData>(Globals, dir_->path());
        data_->history().setLocale(QLocale(QLocale::German, QLocale::Germany));
        data_->history().setClock([this] { return now_; });
        page_ = std::make_unique<THistoryPage>(*data_, ask_);
        page_->resize(260, 400);
        page_->show();
        page_->clearLabel();
        page_->LoadHistory();
        data_->addTodayNode();
    }

    void select(const QModelIndex &sourceIndex)
    {
        auto *proxy = static_cast<QSortFilterProxyModel *>(view());
        page_->treeView()->setCurrentIndex(proxy->mapFromSource(sourceIndex));
    }

    // Types into the filter box as a person does and waits for the tree to follow.
    void typeFilter(const QString &words)
    {
        page_->activateWindow();
        page_->filterBox()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), page_->filterBox());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        if (words.isEmpty())
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        else
            QTest::keyClicks(QApplication::focusWidget(), words);
        auto *filter = static_cast<THistoryFilter *>(view());
        QTRY_COMPARE(filter->words(), words);
    }

    QModelIndex shownNode() const
    {
        const QModelIndexList selected = page_->treeView()->selectionModel()->selectedIndexes();
        return selected.isEmpty() ? QModelIndex() : selected.first();
    }

    // A double click as the window system delivers it: a click, then the second press.
    void doubleClick(const QModelIndex &index)
    {
        auto *tree = static_cast<QTreeView *>(page_->treeView());
        QVERIFY(QTest::qWaitForWindowExposed(page_.get()));
        const QPoint at = tree->visualRect(index).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
    }

    QByteArray savedFile()
    {
        QFile file(dir_->filePath("History.Ini"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        Globals = TGlobals();
        Globals.AppDir = dir_->path();
        navigation_ = RecordingNavigation();
        setNavigation(&navigation_);
        ask_.questions.clear();
        ask_.errors.clear();
        answer_ = true;
        now_ = QDateTime(QDate(2008, 3, 15), QTime(11, 0, 0));
    }

    void cleanup()
    {
        page_.reset();
        data_.reset();
        setNavigation(nullptr);
    }

    void quietRunChangesNothing()
    {
        start(Example, QStringLiteral("HISTORY.INI"));
        QAbstractItemModelTester tester(view());
        QCOMPARE(model()->rowCount(), 2);
        QCOMPARE(data_->history().TodayIndex(), 2);
        QVERIFY(!Globals.HistoryChanged);
        QVERIFY(errors_.isEmpty());

        // The same page again within its second is no change either.
        Globals.CurrentUrl = "file:///C:/Pages/notes.htm";
        now_ = QDateTime(QDate(2008, 3, 15), QTime(10, 40, 57));
        data_->RecordVisit("Notes", Globals.CurrentUrl);
        QVERIFY(!Globals.HistoryChanged);
    }

    void visitsReachTheFile()
    {
        start(QByteArray());
        QCOMPARE(model()->rowCount(), 1);
        Globals.CurrentUrl = "http://a.example/";
        data_->RecordVisit("A", Globals.CurrentUrl);
        QVERIFY(Globals.HistoryChanged);
        page_->SaveHistory();
        QCOMPARE(savedFile(),
                 QByteArray("## 15.03.08\r\nA - http://a.example/ - 15.03.08 11:00:00\r\n"));

        // The next start the same day goes on under the same day.
        now_ = now_.addSecs(60);
        start(QByteArray());
        data_->RecordVisit("B", Globals.CurrentUrl);
        QCOMPARE(model()->rowCount(), 1);
        QCOMPARE(model()->rowCount(model()->index(0, 0)), 2);
    }

    void unreadableFileReported()
    {
        QDir(dir_->path()).mkdir("History.Ini");
        start(QByteArray());
        QCOMPARE(errors_.size(), 1);
        QCOMPARE(model()->rowCount(), 1);
        page_->SaveHistory();
        QCOMPARE(errors_.size(), 2);
    }

    void deleteKeyAsksFirst()
    {
        start(Example);
        QAbstractItemModelTester tester(view());
        auto *tree = page_->treeView();

        // Nothing selected: no question.
        tree->selectionModel()->clear();
        QTest::keyClick(tree, Qt::Key_Delete);
        QVERIFY(questions_.isEmpty());

        select(model()->index(0, 0));
        answer_ = false;
        QTest::keyClick(tree, Qt::Key_Delete);
        QCOMPARE(questions_,
                 QStringList{"Do You want to Delete the Web Page from History - 14.03.08 ?"});
        QCOMPARE(model()->rowCount(), 2);
        QVERIFY(!Globals.HistoryChanged);

        answer_ = true;
        QTest::keyClick(tree, Qt::Key_Delete);
        QCOMPARE(model()->rowCount(), 1);
        QCOMPARE(model()->index(0, 0).data().toString(), QStringLiteral("15.03.08"));
        QVERIFY(Globals.HistoryChanged);

        // Another key asks nothing.
        select(model()->index(0, 0));
        QTest::keyClick(tree, Qt::Key_A);
        QCOMPARE(questions_.size(), 2);
    }

    void clearAsksAndKeepsToday()
    {
        start(Example);
        page_->treeView()->selectionModel()->clear();
        answer_ = false;
        page_->clearButton()->click();
        QCOMPARE(questions_, QStringList{"Do You want to Clear All Browsing History -  ?"});
        QCOMPARE(model()->rowCount(), 2);
        QVERIFY(!Globals.HistoryChanged);

        select(model()->index(0, 0, model()->index(1, 0)));
        answer_ = true;
        page_->clearButton()->click();
        QCOMPARE(questions_.last(), "Do You want to Clear All Browsing History - "
                                    "Notes - file:///C:/Pages/notes.htm - 15.03.08 10:40:57 ?");
        QCOMPARE(model()->rowCount(), 1);
        QCOMPARE(model()->rowCount(model()->index(0, 0)), 0);
        QVERIFY(Globals.HistoryChanged);
    }

    void clickShowsTextDoubleClickOpens()
    {
        start(Example);
        auto *tree = page_->treeView();
        select(model()->index(0, 0, model()->index(0, 0)));
        const QModelIndex shown = tree->currentIndex();
        emit tree->clicked(shown);
        QCOMPARE(page_->label()->text(),
                 "Start Page - file:///C:/Pages/start.htm - 14.03.08 09:02:11");
        emit tree->doubleClicked(shown);
        QCOMPARE(navigation_.opened, QStringList{"file:///C:/Pages/start.htm"});

        tree->selectionModel()->clear();
        emit tree->doubleClicked(shown);
        QCOMPARE(navigation_.opened.size(), 1);
    }

    void filterShowsMatchingPagesOnly()
    {
        start(Example + "## 16.03.08\r\n");
        QAbstractItemModelTester tester(view());
        const QStringList before = data_->history().fileLines();

        typeFilter("NOTES");
        QCOMPARE(view()->rowCount(), 1);
        const QModelIndex day = view()->index(0, 0);
        QCOMPARE(day.data().toString(), QStringLiteral("15.03.08"));
        QCOMPARE(view()->rowCount(day), 1);
        QVERIFY(view()->index(0, 0, day).data().toString().startsWith("Notes"));

        // A day's own text is no match; a page's time stamp is.
        typeFilter("16.03");
        QCOMPARE(view()->rowCount(), 0);
        typeFilter("14.03.08 09");
        QCOMPARE(view()->rowCount(), 1);

        // Deleting through the filtered tree deletes that page and no other.
        typeFilter("mail.example");
        select(model()->index(1, 0, model()->index(1, 0)));
        QTest::keyClick(page_->treeView(), Qt::Key_Delete);
        QCOMPARE(model()->rowCount(model()->index(1, 0)), 1);
        QCOMPARE(view()->rowCount(), 0);

        typeFilter("");
        QCOMPARE(view()->rowCount(), 3);
        QStringList expected = before;
        expected.removeAt(4);
        QCOMPARE(data_->history().fileLines(), expected);
    }

    void doubleClickOnDayOpensAndClosesIt()
    {
        start(Example);
        auto *tree = static_cast<QTreeView *>(page_->treeView());
        const QModelIndex day = view()->index(1, 0);
        QVERIFY(!tree->isExpanded(day));
        for (bool expanded : {true, false}) {
            doubleClick(day);
            QCOMPARE(tree->isExpanded(day), expanded);
        }
        // A day's text is never taken for an address, nor recorded as a visit.
        QVERIFY(navigation_.opened.isEmpty());
        QVERIFY(!Globals.HistoryChanged);
    }

    void titleWithSeparatorOpensItsAddress()
    {
        start("## 15.03.08\r\nSelf-Help - Books - http://books.example/ - 15.03.08 10:40:57\r\n");
        auto *tree = static_cast<QTreeView *>(page_->treeView());
        tree->expandAll();
        const QModelIndex entry = view()->index(0, 0, view()->index(0, 0));
        doubleClick(entry);
        QCOMPARE(navigation_.opened, QStringList{"http://books.example/"});
    }

    void filteringNeverPicksForTheUser()
    {
        start(Example);
        QAbstractItemModelTester tester(view());
        const QModelIndex notes = model()->index(0, 0, model()->index(1, 0));
        select(notes);
        QCOMPARE(shownNode().data().toString(), notes.data().toString());

        // Hidden by the filter: nothing is selected in its place, so Delete removes nothing.
        typeFilter("mail");
        QCOMPARE(view()->rowCount(view()->index(0, 0)), 1);
        QVERIFY(!shownNode().isValid());
        QTest::keyClick(page_->treeView(), Qt::Key_Delete);
        QVERIFY(questions_.isEmpty());
        QCOMPARE(model()->rowCount(model()->index(1, 0)), 2);

        // Shown again: the user's own pick comes back.
        typeFilter("");
        QCOMPARE(shownNode().data().toString(), notes.data().toString());
        typeFilter("notes");
        QCOMPARE(shownNode().data().toString(), notes.data().toString());
    }

    void filterWaitsForAPauseAndKeepsOpenDays()
    {
        start(Example);
        auto *tree = static_cast<QTreeView *>(page_->treeView());
        tree->expand(view()->index(0, 0));
        typeFilter("mail");
        QCOMPARE(view()->rowCount(), 1);
        QVERIFY(tree->isExpanded(view()->index(0, 0)));

        // Keys alone change nothing until typing pauses.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
        QCOMPARE(view()->rowCount(), 1);
        QTRY_COMPARE(view()->rowCount(), 0);

        // Without words, the days the user had open are open again, and no others.
        typeFilter("");
        QVERIFY(tree->isExpanded(view()->index(0, 0)));
        QVERIFY(!tree->isExpanded(view()->index(1, 0)));
    }

    void visitShowsWhileFiltered()
    {
        start(Example);
        typeFilter("fresh");
        QCOMPARE(view()->rowCount(), 0);
        Globals.CurrentUrl = "http://fresh.example/";
        data_->RecordVisit("Fresh", Globals.CurrentUrl);
        QCOMPARE(view()->rowCount(), 1);
        QCOMPARE(view()->rowCount(view()->index(0, 0)), 1);
    }

    void picturesAndDrag()
    {
        start(Example);
        const QModelIndex day = view()->index(0, 0);
        const QModelIndex entry = view()->index(0, 0, day);
        QCOMPARE(day.data(THistoryItem::PictureRole).toInt(), 16);
        QCOMPARE(entry.data(THistoryItem::PictureRole).toInt(), 13);
        QCOMPARE(entry.data(THistoryItem::SelectedPictureRole).toInt(), 14);
        QVERIFY(!entry.data(Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(!(view()->flags(entry) & Qt::ItemIsEditable));
        QVERIFY(view()->flags(entry) & Qt::ItemIsDragEnabled);
        std::unique_ptr<QMimeData> mime(view()->mimeData({entry}));
        QCOMPARE(mime->text(), entry.data().toString());
    }
};

QTEST_MAIN(HistoryPageTest)
#include "HistoryPageTest.moc"
