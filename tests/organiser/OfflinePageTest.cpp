#include "organiser/OfflinePage.h"

#include "app/Globals.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "organiser/OfflineStore.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

// The OffLine page: its folder listing, clicks and the full-text search.
class OfflinePageTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir appDir_;
    QString webPages_;
    RecordingNavigation navigation_;

    void write(const QString &name, const QByteArray &bytes)
    {
        QFile file(QDir(webPages_).filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    static QStringList nodeTexts(const QStandardItemModel *model)
    {
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->item(row)->text();
        return texts;
    }

    static void doubleClickRow(QAbstractItemView *view, int row)
    {
        const QModelIndex index = view->model()->index(row, 0);
        const QPoint at = view->visualRect(index).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    }

private slots:
    void initTestCase()
    {
        webPages_ = appDir_.filePath(QStringLiteral("WebPages"));
        QVERIFY(QDir().mkpath(webPages_));
        write(QStringLiteral("Zeta.HTM"), "<title>Z</title>zeta page");
        write(QStringLiteral("alpha.mht"),
              "Content-Type: multipart/related; boundary=\"b\"\r\n\r\n--b\r\n"
              "Content-Type: text/html\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
              "<p>Lantern festi=\r\nval</p>\r\n--b--\r\n");
        write(QStringLiteral("notes.txt"), "shopping list");
        write(QStringLiteral("photo.jpg"), "lantern");
        QVERIFY(QDir(webPages_).mkdir(QStringLiteral("sub.htm")));
    }

    void init()
    {
        navigation_ = RecordingNavigation();
        setNavigation(&navigation_);
    }

    void cleanup() { setNavigation(nullptr); }

    void startUpListsTheFolderAndLabelsIt()
    {
        ProgramData data(Globals, appDir_.path());
        TOfflinePage page(data);
        QAbstractItemModelTester tester(data.offline().model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        page.prepare(200);
        data.loadOffline();
        QCOMPARE(page.label()->text(),
                 QStringLiteral("Save All Web Pages in ") + QDir::toNativeSeparators(webPages_));
        QVERIFY(page.label()->wordWrap());
        QCOMPARE(nodeTexts(data.offline().model()),
                 (QStringList{"alpha.mht", "notes.txt", "Zeta.HTM"}));
        QCOMPARE(data.offline().model()->item(0)->hasChildren(), false);

        // Loading again replaces the nodes; a Save appends after them in saving order.
        data.addSavedPage(QStringLiteral("Evening News"));
        data.loadOffline();
        data.addSavedPage(QStringLiteral("Morning News"));
        data.addSavedPage(QStringLiteral("Evening News"));
        QCOMPARE(
            nodeTexts(data.offline().model()),
            (QStringList{"alpha.mht", "notes.txt", "Zeta.HTM", "Morning News", "Evening News"}));
    }

    void missingFolderGivesEmptyTree()
    {
        ProgramData data(Globals, appDir_.filePath(QStringLiteral("nowhere")));
        TOfflinePage page(data);
        page.prepare(200);
        data.loadOffline();
        QCOMPARE(data.offline().model()->rowCount(), 0);
        page.TreeView4DblClick();
        QVERIFY(navigation_.opened.isEmpty());
    }

    void clickShowsNodeDoubleClickOpensFile()
    {
        ProgramData data(Globals, appDir_.path());
        TOfflinePage page(data);
        page.prepare(200);
        data.loadOffline();
        page.resize(300, 600);
        page.show();
        doubleClickRow(page.treeView(), 1);
        QCOMPARE(page.label()->text(), QStringLiteral("notes.txt"));
        QCOMPARE(navigation_.opened, QStringList{webPages_ + QStringLiteral("/notes.txt")});
        QVERIFY(page.treeView()->editTriggers() == QAbstractItemView::NoEditTriggers);
    }

    void searchListsMatchingPagesAndOpensThem()
    {
        ProgramData data(Globals, appDir_.path());
        TOfflinePage page(data);
        page.prepare(200);
        data.loadOffline();
        page.resize(300, 600);
        page.show();
        page.searchBox()->setText(QStringLiteral("lantern FEST"));
        page.runSearch();
        // The index answers from its own thread, a moment later.
        QTRY_COMPARE(page.resultList()->count(), 1);
        QCOMPARE(page.resultList()->item(0)->text(), QStringLiteral("alpha.mht"));
        doubleClickRow(page.resultList(), 0);
        QCOMPARE(navigation_.opened, QStringList{webPages_ + QStringLiteral("/alpha.mht")});

        // A page saved after the first search is found by the next one, after the typing pause.
        write(QStringLiteral("later.txt"), "lantern parade");
        page.searchBox()->setText(QStringLiteral("lantern"));
        QTRY_COMPARE(page.resultList()->count(), 2);

        page.searchBox()->clear();
        page.runSearch();
        QCOMPARE(page.resultList()->count(), 0);
        QVERIFY(page.resultList()->isHidden());
        QFile::remove(QDir(webPages_).filePath(QStringLiteral("later.txt")));
    }
};

QTEST_MAIN(OfflinePageTest)
#include "OfflinePageTest.moc"
