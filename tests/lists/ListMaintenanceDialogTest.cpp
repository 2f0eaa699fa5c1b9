#include "lists/ListMaintenanceDialog.h"

#include "ScriptedAsk.h"
#include "app/Globals.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "lists/FindListDialog.h"
#include "lists/ListStore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

// The list maintenance dialog and the find-list window, driven by clicks and typing as a
// person drives them, on a program folder of their own.
class ListMaintenanceDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showFillsTheFieldsFromTheFirstList();
    void addProposesAnUnusedName();
    void savingUnderAnExistingNameInOtherCaseOverwrites();
    void renamingAddsASecondList();
    void movingShowsListAndPosition();
    void moveButtonsWithNothingSelectedDoNothing();
    void closingWithoutChangesWritesNothing();
    void cancelRestoresTheShownValues();
    void deleteAsksAboutTheSelectedList();
    void saveRefusesRecordsThatBreakTheFiles_data();
    void saveRefusesRecordsThatBreakTheFiles();
    void closingWritesTheListsAndReloadsThePanel();
    void pagesAddedMeanwhileSurviveTheReload();
    void failedWriteKeepsTheEdits();
    void iconFieldOpensThePictureChooser();
    void editMenuWorksOnTheFocusedField();
    void findSelectsByPrefixOverTheWholeText();

private:
    void write(const QString &name, const QByteArray &bytes);
    QByteArray read(const QString &name) const;
    void openDialog(const QByteArray &listFile);
    void click(const char *button);
    void clickNode(int row);
    void unselectNode(int row);
    void typeInto(const char *field, const QString &text);
    QString text(const char *field) const;
    int position() const;
    int selectedRow() const;
    QStringList nodeTexts() const;

    std::unique_ptr<QTemporaryDir> dir_;
    RecordingNavigation navigation_;
    ScriptedAsk ask_;
    std::unique_ptr<ProgramData> data_;
    std::unique_ptr<TListMain1> dialog_;
};

namespace {
const QByteArray kFourLists = "News|@|Morning reading|@||@|\r\nTools|@|Daily pages|@||@|\r\n"
                              "Shops|@|Buying things|@||@|\r\nTravel|@|Trips away|@||@|\r\n";
const QByteArray kDetails = "News|@|http://front.example/\r\nTools|@|http://calc.example/\r\n";
} // namespace

void ListMaintenanceDialogTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    Globals = TGlobals();
    ask_ = ScriptedAsk();
    navigation_ = RecordingNavigation();
    setNavigation(&navigation_);
    write("WebPageListDtl.INI", kDetails);
    openDialog(kFourLists);
}

void ListMaintenanceDialogTest::cleanup()
{
    dialog_.reset();
    data_.reset();
    setNavigation(nullptr);
}

void ListMaintenanceDialogTest::write(const QString &name, const QByteArray &bytes)
{
    QFile file(dir_->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ListMaintenanceDialogTest::read(const QString &name) const
{
    QFile file(dir_->filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void ListMaintenanceDialogTest::openDialog(const QByteArray &listFile)
{
    dialog_.reset();
    write("WebPageList.INI", listFile);
    data_ = std::make_unique<ProgramData>(Globals, dir_->path());
    QVERIFY(!data_->loadLists());
    dialog_ = std::make_unique<TListMain1>(*data_, ask_);
    dialog_->openModeless();
    QVERIFY(QTest::qWaitForWindowActive(dialog_.get()));
}

void ListMaintenanceDialogTest::click(const char *button)
{
    auto *widget = dialog_->findChild<QAbstractButton *>(QLatin1String(button));
    QVERIFY2(widget && widget->isVisible(), button);
    QTest::mouseClick(widget, Qt::LeftButton);
}

void ListMaintenanceDialogTest::clickNode(int row)
{
    QTreeView *tree = dialog_->treeView();
    const QRect rect = tree->visualRect(tree->model()->index(row, 0));
    QVERIFY(!rect.isEmpty());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
}

void ListMaintenanceDialogTest::unselectNode(int row)
{
    QTreeView *tree = dialog_->treeView();
    const QRect rect = tree->visualRect(tree->model()->index(row, 0));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::ControlModifier, rect.center());
}

void ListMaintenanceDialogTest::typeInto(const char *field, const QString &typed)
{
    auto *edit = dialog_->findChild<QLineEdit *>(QLatin1String(field));
    QVERIFY(edit);
    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), edit);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QTest::keyClicks(QApplication::focusWidget(), typed);
}

QString ListMaintenanceDialogTest::text(const char *field) const
{
    return dialog_->findChild<QLineEdit *>(QLatin1String(field))->text();
}

int ListMaintenanceDialogTest::position() const
{
    return dialog_->findChild<QProgressBar *>(QStringLiteral("TProgressFill1"))->value();
}

int ListMaintenanceDialogTest::selectedRow() const
{
    const QModelIndexList rows = dialog_->treeView()->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QStringList ListMaintenanceDialogTest::nodeTexts() const
{
    QStringList texts;
    const QAbstractItemModel *model = dialog_->treeView()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, 0).data().toString();
    return texts;
}

void ListMaintenanceDialogTest::showFillsTheFieldsFromTheFirstList()
{
    QCOMPARE(dialog_->windowTitle(), QStringLiteral("Create and Maintain Web Page Lists"));
    QCOMPARE(nodeTexts(), QStringList({"News - Morning reading", "Tools - Daily pages",
                                       "Shops - Buying things", "Travel - Trips away"}));
    QCOMPARE(selectedRow(), 0);
    QCOMPARE(text("Text1"), QStringLiteral("News"));
    QCOMPARE(text("Text2"), QStringLiteral("Morning reading"));
    QCOMPARE(text("Text3"), QString());
    QCOMPARE(position(), 0);
    QCOMPARE(dialog_->findChild<QLineEdit *>("Text1")->maxLength(), 50);
    QCOMPARE(dialog_->findChild<QLineEdit *>("Text2")->maxLength(), 250);
    QCOMPARE(dialog_->findChild<QLineEdit *>("Text3")->maxLength(), 250);

    click("THelpBtn");
    QCOMPARE(navigation_.help, QStringList("creating_and_using_favorite_list.htm"));
    QSignalSpy find(dialog_.get(), &TListMain1::findRequested);
    click("TFindBtn");
    QCOMPARE(find.size(), 1);
}

void ListMaintenanceDialogTest::addProposesAnUnusedName()
{
    openDialog("News|@|a|@||@|\r\nTools|@|b|@||@|\r\nShops|@|c|@||@|\r\n");
    typeInto("Text3", "/icons/x.bmp");
    click("TAddBtn");
    QCOMPARE(text("Text1"), QStringLiteral("New List 4"));
    QCOMPARE(text("Text2"), QStringLiteral("a"));
    QCOMPARE(text("Text3"), QStringLiteral("/icons/x.bmp"));
    QCOMPARE(QApplication::focusWidget(), dialog_->findChild<QLineEdit *>("Text2"));
    QCOMPARE(nodeTexts().size(), 3);

    openDialog("One|@||@||@|\r\nNew List 3|@||@||@|\r\n");
    click("TAddBtn");
    QCOMPARE(text("Text1"), QStringLiteral("New List 4"));
}

void ListMaintenanceDialogTest::savingUnderAnExistingNameInOtherCaseOverwrites()
{
    clickNode(2);
    typeInto("Text1", "TOOLS");
    typeInto("Text2", "Evening pages");
    click("TSaveBtn");
    QCOMPARE(nodeTexts(), QStringList({"News - Morning reading", "TOOLS - Evening pages",
                                       "Shops - Buying things", "Travel - Trips away"}));
    // The selection stays where it was.
    QCOMPARE(selectedRow(), 2);
    QVERIFY(dialog_->ListsEdited());
}

void ListMaintenanceDialogTest::renamingAddsASecondList()
{
    typeInto("Text1", "Papers");
    click("TSaveBtn");
    QCOMPARE(nodeTexts().size(), 5);
    QCOMPARE(nodeTexts().first(), QStringLiteral("News - Morning reading"));
    QCOMPARE(nodeTexts().last(), QStringLiteral("Papers - Morning reading"));
}

void ListMaintenanceDialogTest::movingShowsListAndPosition()
{
    clickNode(1);
    QCOMPARE(text("Text1"), QStringLiteral("Tools"));
    QCOMPARE(position(), 0); // a click in the tree leaves the bar
    click("TNextBtn");
    QCOMPARE(selectedRow(), 2);
    QCOMPARE(text("Text1"), QStringLiteral("Shops"));
    QCOMPARE(position(), 50);
    click("TNextBtn");
    click("TNextBtn"); // already the last
    QCOMPARE(selectedRow(), 3);
    QCOMPARE(position(), 75);
    click("TPreviousBtn");
    QCOMPARE(text("Text2"), QStringLiteral("Buying things"));
    QCOMPARE(position(), 50);
    click("TLastBtn");
    QCOMPARE(text("Text1"), QStringLiteral("Travel"));
    QCOMPARE(position(), 100);
    click("TFirstBtn");
    QCOMPARE(text("Text1"), QStringLiteral("News"));
    QCOMPARE(position(), 0);
}

void ListMaintenanceDialogTest::moveButtonsWithNothingSelectedDoNothing()
{
    clickNode(1);
    unselectNode(1);
    QCOMPARE(selectedRow(), -1);
    typeInto("Text1", "kept");
    click("TNextBtn");
    click("TPreviousBtn");
    QCOMPARE(selectedRow(), -1);
    QCOMPARE(text("Text1"), QStringLiteral("kept"));
    // With no list at all every move does nothing.
    openDialog("");
    for (const char *button : {"TFirstBtn", "TPreviousBtn", "TNextBtn", "TLastBtn"})
        click(button);
    QCOMPARE(selectedRow(), -1);
    QCOMPARE(position(), 0);
}

void ListMaintenanceDialogTest::closingWithoutChangesWritesNothing()
{
    const QDateTime before = QFileInfo(dir_->filePath("WebPageList.INI")).lastModified();
    typeInto("Text1", "Edited");
    typeInto("Text2", "but never saved");
    click("TAddBtn");
    dialog_->close();
    QVERIFY(dialog_->isHidden());
    QCOMPARE(read("WebPageList.INI"), kFourLists);
    QCOMPARE(QFileInfo(dir_->filePath("WebPageList.INI")).lastModified(), before);
}

void ListMaintenanceDialogTest::cancelRestoresTheShownValues()
{
    clickNode(1);
    typeInto("Text1", "Other");
    typeInto("Text2", "Something");
    typeInto("Text3", "/x.ico");
    click("TCancelBtn");
    QCOMPARE(text("Text1"), QStringLiteral("Tools"));
    QCOMPARE(text("Text2"), QStringLiteral("Daily pages"));
    QCOMPARE(text("Text3"), QString());
    // A Save does not change what Cancel goes back to.
    typeInto("Text2", "Saved text");
    click("TSaveBtn");
    click("TCancelBtn");
    QCOMPARE(text("Text2"), QStringLiteral("Daily pages"));
    QCOMPARE(nodeTexts().at(1), QStringLiteral("Tools - Saved text"));
}

void ListMaintenanceDialogTest::deleteAsksAboutTheSelectedList()
{
    clickNode(1);
    typeInto("Text1", "Travel");
    click("TDeleteBtn"); // answered No
    QCOMPARE(ask_.questions, QStringList("Do You want to Delete the Web Page List - Tools ?"));
    QCOMPARE(nodeTexts().size(), 4);
    QVERIFY(!dialog_->ListsEdited());

    ask_.answers << true;
    click("TDeleteBtn");
    QCOMPARE(nodeTexts(), QStringList({"News - Morning reading", "Shops - Buying things",
                                       "Travel - Trips away"}));
    QVERIFY(dialog_->ListsEdited());
    QCOMPARE(text("Text1"), QStringLiteral("Travel")); // the fields keep their text

    // Nothing selected: nothing to ask about.
    unselectNode(selectedRow());
    QCOMPARE(selectedRow(), -1);
    click("TDeleteBtn");
    QCOMPARE(ask_.questions.size(), 2);
    QCOMPARE(nodeTexts().size(), 3);
}

void ListMaintenanceDialogTest::saveRefusesRecordsThatBreakTheFiles_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::newRow("empty name") << "Text1"
                                << "";
    QTest::newRow("dash in name") << "Text1"
                                  << "Left-Right";
    QTest::newRow("separator in name") << "Text1"
                                       << "A|@|B";
    QTest::newRow("separator in description") << "Text2"
                                              << "x|@|y";
    QTest::newRow("line break in description") << "Text2"
                                               << "two\nlines";
    QTest::newRow("separator in icon path") << "Text3"
                                            << "/a|@|b.bmp";
}

void ListMaintenanceDialogTest::saveRefusesRecordsThatBreakTheFiles()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    typeInto("Text1", "Fresh");
    // Pasted, as a line break would arrive.
    dialog_->findChild<QLineEdit *>(field)->setText(value);
    click("TSaveBtn");
    QCOMPARE(ask_.informations.size(), 1);
    QCOMPARE(nodeTexts().size(), 4);
    QVERIFY(!dialog_->ListsEdited());
    dialog_->close();
    QCOMPARE(read("WebPageList.INI"), kFourLists);
}

void ListMaintenanceDialogTest::closingWritesTheListsAndReloadsThePanel()
{
    QSignalSpy reloaded(data_.get(), &ProgramData::listsChanged);
    click("TAddBtn");
    typeInto("Text2", "Fresh pages");
    click("TSaveBtn");
    clickNode(2);
    ask_.answers << true;
    click("TDeleteBtn");
    QVERIFY(read("WebPageList.INI") == kFourLists); // nothing before the close
    dialog_->close();
    QCOMPARE(read("WebPageList.INI"),
             QByteArray("News|@|Morning reading|@||@|\r\nTools|@|Daily pages|@||@|\r\n"
                        "Travel|@|Trips away|@||@|\r\nNew List 5|@|Fresh pages|@||@|\r\n"));
    QCOMPARE(reloaded.size(), 1);
    QCOMPARE(data_->lists().records().size(), 4);
    QCOMPARE(data_->lists().records().last().Name, QStringLiteral("New List 5"));
    QCOMPARE(data_->lists().ListPages("News"), QStringList("http://front.example/"));
    QVERIFY(!dialog_->ListsEdited());

    // Written once: a second close after nothing new writes nothing.
    dialog_->openModeless();
    QVERIFY(QTest::qWaitForWindowActive(dialog_.get()));
    dialog_->close();
    QCOMPARE(reloaded.size(), 1);
}

void ListMaintenanceDialogTest::pagesAddedMeanwhileSurviveTheReload()
{
    Globals.CurrentList = QStringLiteral("Tools");
    Globals.CurrentUrl = QStringLiteral("http://added.example/");
    QVERIFY(data_->lists().AddToCurrentList());
    QVERIFY(Globals.ListsChanged);
    click("TAddBtn");
    click("TSaveBtn");
    dialog_->close();
    QCOMPARE(data_->lists().ListPages("Tools"),
             QStringList({"http://calc.example/", "http://added.example/"}));
    QVERIFY(read("WebPageListDtl.INI").contains("Tools|@|http://added.example/"));
    QVERIFY(!Globals.ListsChanged);

    // The program quitting with the dialog open writes what was saved there.
    dialog_->openModeless();
    QVERIFY(QTest::qWaitForWindowActive(dialog_.get()));
    typeInto("Text1", "Late");
    click("TSaveBtn");
    dialog_->FormClose();
    QVERIFY(read("WebPageList.INI").contains("Late|@|Morning reading|@||@|\r\n"));
}

void ListMaintenanceDialogTest::failedWriteKeepsTheEdits()
{
    // A folder where the file should be: it cannot be replaced.
    QVERIFY(QFile::remove(dir_->filePath("WebPageList.INI")));
    QVERIFY(QDir(dir_->path()).mkdir("WebPageList.INI"));
    click("TAddBtn");
    click("TSaveBtn");
    dialog_->close();
    QCOMPARE(ask_.errors.size(), 1);
    QVERIFY(dialog_->ListsEdited());
    QCOMPARE(data_->lists().records().size(), 4);

    // Opened again, the unsaved list is still there; once the file can be written it is.
    dialog_->openModeless();
    QVERIFY(QTest::qWaitForWindowActive(dialog_.get()));
    QCOMPARE(nodeTexts().size(), 5);
    QVERIFY(QDir(dir_->path()).rmdir("WebPageList.INI"));
    dialog_->close();
    QCOMPARE(ask_.errors.size(), 1);
    QCOMPARE(data_->lists().records().size(), 5);
    QVERIFY(read("WebPageList.INI").endsWith("New List 5|@|Morning reading|@||@|\r\n"));
}

void ListMaintenanceDialogTest::iconFieldOpensThePictureChooser()
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::green);
    const QString icon = dir_->filePath("green.bmp");
    QVERIFY(image.save(icon, "BMP"));
    ask_.files << icon;
    auto *field = dialog_->findChild<QLineEdit *>("Text3");
    QTest::mouseDClick(field, Qt::LeftButton);
    QCOMPARE(ask_.choosers, QStringList("Select 16x16 Bitmap for Icon"));
    QCOMPARE(field->text(), icon);

    // Cancelled: the field keeps its path.
    QTest::mouseDClick(field, Qt::LeftButton);
    QCOMPARE(field->text(), icon);

    typeInto("Text1", "Green");
    click("TSaveBtn");
    const QModelIndex node = dialog_->treeView()->model()->index(4, 0);
    QVERIFY(!node.data(Qt::DecorationRole).value<QIcon>().isNull());
    // A missing icon file: no picture and no error box.
    typeInto("Text1", "Missing");
    typeInto("Text3", dir_->filePath("gone.bmp"));
    click("TSaveBtn");
    QCOMPARE(nodeTexts().size(), 6);
    dialog_->close();
    QVERIFY(ask_.errors.isEmpty());
    QCOMPARE(data_->lists().records().at(4).IconFile, icon);
}

void ListMaintenanceDialogTest::editMenuWorksOnTheFocusedField()
{
    auto *bar = dialog_->findChild<QMenuBar *>();
    QVERIFY(bar);
    QMenu *edit = bar->actions().first()->menu();
    QCOMPARE(bar->actions().first()->text(), QStringLiteral("&Edit"));
    const auto trigger = [edit](const QString &text) {
        for (QAction *action : edit->actions()) {
            if (action->text() == text)
                action->trigger();
        }
    };
    typeInto("Text2", "abc");
    auto *text2 = dialog_->findChild<QLineEdit *>("Text2");
    text2->setCursorPosition(1);
    trigger("C&ut");
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("abc"));
    QCOMPARE(text2->text(), QString());
    typeInto("Text1", "xy");
    trigger("&Copy");
    QCOMPARE(text("Text1"), QStringLiteral("xy"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("xy"));
    QGuiApplication::clipboard()->setText(QStringLiteral("-Z-"));
    dialog_->findChild<QLineEdit *>("Text1")->setCursorPosition(1);
    trigger("&Paste");
    QCOMPARE(text("Text1"), QStringLiteral("x-Z-y"));

    // The tree has the focus: no field changes.
    clickNode(1);
    dialog_->treeView()->setFocus();
    trigger("C&ut");
    trigger("&Paste");
    QCOMPARE(text("Text1"), QStringLiteral("Tools"));
    QCOMPARE(text("Text2"), QStringLiteral("Daily pages"));
}

void ListMaintenanceDialogTest::findSelectsByPrefixOverTheWholeText()
{
    TFindList1 find(*data_, ask_);
    connect(&find, &TFindList1::findListRequested, dialog_.get(), &TListMain1::FindList);
    find.openModeless();
    QVERIFY(QTest::qWaitForWindowActive(&find));
    QCOMPARE(find.windowTitle(), QStringLiteral("Find Lists"));
    auto *letters = find.findChild<QLineEdit *>("Text1");
    auto *ok = find.findChild<QAbstractButton *>("OKBtn1");
    const auto search = [&](const QString &typed) {
        QTest::mouseClick(letters, Qt::LeftButton);
        letters->clear();
        QTest::keyClicks(QApplication::focusWidget(), typed);
        QTest::mouseClick(ok, Qt::LeftButton);
    };
    search("tools - DA");
    QCOMPARE(selectedRow(), 1);
    // The fields and the bar wait for a click on the found list.
    QCOMPARE(text("Text1"), QStringLiteral("News"));
    QVERIFY(find.isVisible());
    search("travel - x");
    QCOMPARE(selectedRow(), 1);
    search("SH");
    QCOMPARE(selectedRow(), 2);
    search("");
    QCOMPARE(selectedRow(), 0);
    QTest::mouseClick(find.findChild<QAbstractButton *>("HelpBtn"), Qt::LeftButton);
    QCOMPARE(navigation_.help, QStringList("creating_and_using_favorite_list.htm"));
    QTest::mouseClick(find.findChild<QAbstractButton *>("CancelBtn"), Qt::LeftButton);
    QVERIFY(find.isHidden());
}

QTEST_MAIN(ListMaintenanceDialogTest)
#include "ListMaintenanceDialogTest.moc"
