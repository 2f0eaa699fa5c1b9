#include "lists/AutoCollect.h"

#include "ListFixture.h"
#include "ScriptedAsk.h"
#include "app/Globals.h"
#include "app/ProgramData.h"
#include "controls/GlowButton.h"
#include "lists/ListStore.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>

class AutoCollectTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void visitsBecomeTheListOnce();
    void caseDuplicatesCollectedOnce();
    void restartCollectsOnTop();
    void choosingAListEmptiesTheCollection();
    void stopWithNothingLeavesTheList();
    void listIsRememberedByName();
    void goneListIsReportedAndCollectionKept();
    void quittingWhileCollectingKeepsIt();

private:
    void openDialog();
    void clickOK();
    QStringList savedPages(const QString &name) const;
    template <typename T> T *control(const char *name) const
    {
        return dialog_->findChild<T *>(QLatin1String(name));
    }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ProgramData> data_;
    ScriptedAsk ask_;
    std::unique_ptr<TListAuto1> dialog_;
};

const QString A = QStringLiteral("https://a.example/");
const QString B = QStringLiteral("https://b.example/Page");
const QString C = QStringLiteral("https://c.example/");

void AutoCollectTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    Globals = TGlobals();
    Globals.AppDir = dir_->path();
    writeListFiles(dir_->path(),
                   {{"First", {"file:///old.htm"}}, {"Second", {"file:///kept.htm"}}});
    data_ = std::make_unique<ProgramData>(Globals, dir_->path());
    QVERIFY(!data_->loadLists());
    ask_ = ScriptedAsk();
    dialog_ = std::make_unique<TListAuto1>(*data_, ask_);
}

void AutoCollectTest::cleanup()
{
    dialog_.reset();
    data_.reset();
    dir_.reset();
}

void AutoCollectTest::openDialog()
{
    dialog_->openModeless();
    QVERIFY(QTest::qWaitForWindowActive(dialog_.get()));
}

void AutoCollectTest::clickOK()
{
    auto *button = control<TGlowButton>("OKBtn1");
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

QStringList AutoCollectTest::savedPages(const QString &name) const
{
    ProgramData reread(Globals, dir_->path());
    reread.loadLists();
    return reread.lists().ListPages(name);
}

void AutoCollectTest::visitsBecomeTheListOnce()
{
    openDialog();
    chooseItem(control<QComboBox>("CMBLIST"), 1);
    clickOK();
    QVERIFY(Globals.AutoCollect);
    QVERIFY(control<QWidget>("Label2")->isVisible());
    for (const QString &page : {A, B, A})
        dialog_->CollectPage(page);
    // Nothing changes in the lists while collecting.
    QCOMPARE(data_->lists().ListPages("Second"), QStringList{"file:///kept.htm"});
    clickOK();
    QVERIFY(!Globals.AutoCollect);
    QCOMPARE(control<TGlowButton>("OKBtn1")->text(), QString("Run"));
    QCOMPARE(data_->lists().ListPages("Second"), (QStringList{A, B}));
    QCOMPARE(data_->lists().ListPages("First"), QStringList{"file:///old.htm"});
    QVERIFY(Globals.ListsChanged);
}

void AutoCollectTest::caseDuplicatesCollectedOnce()
{
    Globals.AutoCollect = true;
    dialog_->CollectPage(B);
    dialog_->CollectPage(B.toUpper());
    dialog_->CollectPage(B.toLower());
    QCOMPARE(dialog_->collected(), QStringList{B});
    QCOMPARE(dialog_->ChkListItem(B.toLower()), 0);
    QCOMPARE(dialog_->ChkListItem(A), -1);
    // Off, nothing is collected.
    Globals.AutoCollect = false;
    dialog_->CollectPage(C);
    QCOMPARE(dialog_->collected(), QStringList{B});
}

void AutoCollectTest::restartCollectsOnTop()
{
    openDialog();
    chooseItem(control<QComboBox>("CMBLIST"), 0);
    clickOK();
    dialog_->CollectPage(A);
    dialog_->CollectPage(B);
    clickOK();
    // Closing the dialog does not stop collecting, and showing it again keeps the state.
    clickOK();
    dialog_->close();
    dialog_->CollectPage(C);
    openDialog();
    QCOMPARE(control<TGlowButton>("OKBtn1")->text(), QString("Stop"));
    clickOK();
    QCOMPARE(data_->lists().ListPages("First"), (QStringList{A, B, C}));
}

void AutoCollectTest::choosingAListEmptiesTheCollection()
{
    openDialog();
    clickOK();
    dialog_->CollectPage(A);
    chooseItem(control<QComboBox>("CMBLIST"), 0);
    QVERIFY(dialog_->collected().isEmpty());
}

void AutoCollectTest::stopWithNothingLeavesTheList()
{
    openDialog();
    chooseItem(control<QComboBox>("CMBLIST"), 0);
    clickOK();
    clickOK();
    QCOMPARE(data_->lists().ListPages("First"), QStringList{"file:///old.htm"});
    QVERIFY(!Globals.ListsChanged);
}

void AutoCollectTest::listIsRememberedByName()
{
    openDialog();
    chooseItem(control<QComboBox>("CMBLIST"), 1);
    clickOK();
    dialog_->CollectPage(A);
    // Another dialog puts a list in front: "Second" is now the third row.
    writeListFiles(dir_->path(),
                   {{"New", {}}, {"First", {"file:///old.htm"}}, {"Second", {"file:///kept.htm"}}});
    QVERIFY(!data_->loadLists());
    clickOK();
    QCOMPARE(data_->lists().ListPages("Second"), QStringList{A});
    QCOMPARE(data_->lists().ListPages("First"), QStringList{"file:///old.htm"});
    QCOMPARE(data_->lists().ListPages("New"), QStringList());
}

void AutoCollectTest::goneListIsReportedAndCollectionKept()
{
    openDialog();
    chooseItem(control<QComboBox>("CMBLIST"), 1);
    clickOK();
    dialog_->CollectPage(A);
    writeListFiles(dir_->path(), {{"First", {"file:///old.htm"}}});
    QVERIFY(!data_->loadLists());
    clickOK();
    QCOMPARE(ask_.errors.size(), 1);
    QVERIFY(ask_.errors.first().contains("Second"));
    QCOMPARE(dialog_->collected(), QStringList{A});
    QCOMPARE(data_->lists().ListPages("First"), QStringList{"file:///old.htm"});
}

void AutoCollectTest::quittingWhileCollectingKeepsIt()
{
    openDialog();
    chooseItem(control<QComboBox>("CMBLIST"), 1);
    clickOK();
    dialog_->CollectPage(A);
    dialog_->CollectPage(C);
    dialog_->programEnding();
    QCOMPARE(savedPages("Second"), (QStringList{A, C}));
    QCOMPARE(savedPages("First"), QStringList{"file:///old.htm"});
    QVERIFY(ask_.errors.isEmpty());
}

QTEST_MAIN(AutoCollectTest)
#include "AutoCollectTest.moc"
