#include "buttons/AssignButtonsDialog.h"

#include "ScriptedAsk.h"
#include "app/Globals.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "buttons/ButtonBar.h"
#include "buttons/ButtonBarDrops.h"
#include "buttons/ButtonStore.h"
#include "buttons/PageDrop.h"
#include "controls/GlowButton.h"
#include "controls/ShellList.h"
#include "organiser/Shortcut.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>

namespace {

// Activating a window by its title makes that window's page the current one, as the frame does.
class WindowsNavigation : public RecordingNavigation
{
public:
    explicit WindowsNavigation(TGlobals &globals) : globals_(globals) {}
    void ActivateWindowByTitle(const QString &title) override
    {
        RecordingNavigation::ActivateWindowByTitle(title);
        globals_.CurrentUrl = pages.value(title);
    }
    QHash<QString, QString> pages;

private:
    TGlobals &globals_;
};

QTreeView *treeOf(QStandardItemModel *model)
{
    auto *view = new QTreeView;
    view->setModel(model);
    return view;
}

} // namespace

// The assign dialog: the fields as typed and saved, and what a drag from each place of the
// main window puts into a field.
class AssignButtonsDialogTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir appDir_;
    QTemporaryDir favoritesDir_;
    TGlobals globals_;
    WindowsNavigation navigation_{globals_};
    ScriptedAsk ask_;
    std::unique_ptr<ProgramData> data_;
    // The six sources of a drag, as the main window holds them.
    std::unique_ptr<TPTShellList> favorites_;
    std::unique_ptr<QComboBox> addressBox_;
    std::unique_ptr<QTreeWidget> windows_;
    QStandardItemModel listsModel_, offlineModel_, historyModel_;
    std::unique_ptr<QTreeView> lists_, offline_, history_;
    std::unique_ptr<QLineEdit> elsewhere_;
    std::unique_ptr<TPageDrop> drop_;
    std::unique_ptr<TSetBtns1> dialog_;

    void writeButtons(const QByteArray &bytes)
    {
        QFile file(appDir_.filePath(TButtonStore::FileName));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QByteArray buttonsFile() const
    {
        QFile file(appDir_.filePath(TButtonStore::FileName));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void makeSources()
    {
        QVERIFY(QDir(favoritesDir_.path()).mkpath(QStringLiteral("News Folder")));
        QVERIFY(!writeShortcutFile(favoritesDir_.filePath(QStringLiteral("Fav Site.url")),
                                   QStringLiteral("https://fav.example/")));
        favorites_ = std::make_unique<TPTShellList>(ask_);
        favorites_->setPath(favoritesDir_.path());
        addressBox_ = std::make_unique<QComboBox>();
        addressBox_->setEditable(true);
        windows_ = std::make_unique<QTreeWidget>();
        for (const char *title : {"Example Page", "www.open.example", "Gone Page"})
            windows_->addTopLevelItem(new QTreeWidgetItem({QString::fromUtf8(title)}));

        auto *list = new QStandardItem(QStringLiteral("Daily - the morning papers"));
        list->appendRow(new QStandardItem(QStringLiteral("https://list.example/")));
        listsModel_.appendRow(list);
        offlineModel_.appendRow(new QStandardItem(QStringLiteral("Saved Page.htm")));
        auto *day = new QStandardItem(QStringLiteral("12/11/2026"));
        for (const char *entry :
             {"Alpha Page - https://alpha.example/ - 12/11/2026 10:00:00", "Plain http://plain.x",
              "A-B - c", "Title - -x - 1", "Title - a-b", "Title - ab-c", "Title", ""})
            day->appendRow(new QStandardItem(QString::fromUtf8(entry)));
        historyModel_.appendRow(day);
        lists_.reset(treeOf(&listsModel_));
        offline_.reset(treeOf(&offlineModel_));
        history_.reset(treeOf(&historyModel_));
        elsewhere_ = std::make_unique<QLineEdit>(QStringLiteral("https://elsewhere.example/"));

        TPageDrop::Sources sources{favorites_.get(),
                                   addressBox_.get(),
                                   windows_.get(),
                                   lists_.get(),
                                   offline_.get(),
                                   history_.get(),
                                   [](const QString &title) {
                                       return title.compare(u"example page", Qt::CaseInsensitive) ==
                                              0;
                                   }};
        drop_ = std::make_unique<TPageDrop>(*data_, sources);
        navigation_.pages.insert(QStringLiteral("Example Page"),
                                 QStringLiteral("https://example.page/"));
    }

    // Selects the node whose text is text in view (searched two levels deep).
    static void selectNode(QAbstractItemView *view, const QString &text)
    {
        const QModelIndexList hits =
            view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, text, 1,
                                 Qt::MatchExactly | Qt::MatchRecursive);
        QVERIFY2(!hits.isEmpty(), qPrintable(text));
        view->selectionModel()->select(hits.first(), QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
    }

    void selectFavorite(const QString &name)
    {
        const QString path = favoritesDir_.filePath(name);
        QTRY_VERIFY(favorites_->fileModel()->index(path).isValid());
        favorites_->selectionModel()->select(favorites_->fileModel()->index(path),
                                             QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    }

    QObject *source(const QString &name) const
    {
        static const QStringList names{"favorites", "address box", "windows",
                                       "lists",     "offline",     "history"};
        const QList<QObject *> objects{favorites_.get(), addressBox_->lineEdit(), windows_.get(),
                                       lists_.get(),     offline_.get(),          history_.get()};
        return objects.value(names.indexOf(name));
    }

    void open()
    {
        dialog_->openModeless();
        QVERIFY(QTest::qWaitForWindowActive(dialog_.get()));
    }

    void typeInto(int number, const QString &text)
    {
        QLineEdit *edit = dialog_->field(number);
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->selectAll();
        QTRY_COMPARE(QApplication::focusWidget(), edit);
        QTest::keyClicks(QApplication::focusWidget(), text);
    }

private slots:
    void init()
    {
        for (const QString &name : QDir(appDir_.path()).entryList(QDir::Files))
            QFile::remove(appDir_.filePath(name));
        globals_ = TGlobals();
        globals_.CurrentUrl = QStringLiteral("https://active.window/");
        data_ = std::make_unique<ProgramData>(globals_, appDir_.path());
        navigation_.opened.clear();
        navigation_.help.clear();
        navigation_.activated.clear();
        setNavigation(&navigation_);
        ask_ = ScriptedAsk();
        makeSources();
        dialog_ = std::make_unique<TSetBtns1>(*data_, ask_, *drop_);
    }

    void cleanup()
    {
        dialog_.reset();
        drop_.reset();
        setNavigation(nullptr);
        listsModel_.clear();
        offlineModel_.clear();
        historyModel_.clear();
    }

    void controlsAsDesigned()
    {
        open();
        QCOMPARE(dialog_->windowTitle(), QStringLiteral("Assign Web Pages to Buttons"));
        QCOMPARE(dialog_->size(), QSize(580, 558));
        QVERIFY(dialog_->windowFlags() & Qt::WindowStaysOnTopHint);
        for (int number = 1; number <= 34; ++number) {
            auto *label = dialog_->findChild<QWidget *>(QStringLiteral("Label%1").arg(number));
            QVERIFY(label);
            QLineEdit *edit = dialog_->field(number);
            QCOMPARE(edit->objectName(), QStringLiteral("Edit%1").arg(number));
            QCOMPARE(edit->width(), 225);
            QVERIFY(edit->x() > label->x());
            QCOMPARE(edit->y(), label->y());
            // Two columns of 17, a row every 30 pixels.
            QCOMPARE(label->y(),
                     dialog_->field(number > 17 ? 18 : 1)->y() + 30 * ((number - 1) % 17));
        }
        QVERIFY(dialog_->field(18)->x() > dialog_->field(17)->x() + 225);
        const QStringList buttons{"OKBtn1", "CancelBtn", "HelpBtn"};
        const QStringList captions{"Save", "Cancel", "Help"};
        const QStringList hints{"Select Current Button Configuration",
                                "Close Set URL Buttons Window", "Help with Set URL Buttons Window"};
        for (int i = 0; i < 3; ++i) {
            auto *button = dialog_->findChild<TGlowButton *>(buttons[i]);
            QVERIFY(button);
            QCOMPARE(button->text(), captions[i]);
            QCOMPARE(button->toolTip(), hints[i]);
            QVERIFY(button->geometry().top() > dialog_->field(17)->geometry().bottom());
        }
        QVERIFY(!dialog_->field(35));
    }

    void saveWritesTypedFieldsAndReloadsTheBar()
    {
        TButtonBar bar(*data_);
        open();
        typeInto(5, QStringLiteral("https://five.example/ "));
        typeInto(6, QStringLiteral("   "));
        QTest::mouseClick(dialog_->findChild<TGlowButton *>("OKBtn1"), Qt::LeftButton);
        QCOMPARE(buttonsFile(), QByteArray("5##https://five.example/ \r\n"));
        QVERIFY(bar.buttons().at(4)->isEnabled());
        QVERIFY(!bar.buttons().at(5)->isEnabled());
        QCOMPARE(data_->buttons().ButtonAddress(5), QStringLiteral("https://five.example/ "));
        QVERIFY(dialog_->isVisible());
        QVERIFY(ask_.errors.isEmpty());
    }

    void failedSaveSaysWhyAndKeepsFieldsAndBar()
    {
        writeButtons("3##https://three.example/\r\n");
        data_->loadButtons();
        open();
        // A folder where the file should be: the write cannot succeed, even as root.
        QVERIFY(QFile::remove(appDir_.filePath(TButtonStore::FileName)));
        QVERIFY(QDir(appDir_.path()).mkdir(TButtonStore::FileName));
        typeInto(4, QStringLiteral("https://four.example/"));
        QTest::mouseClick(dialog_->findChild<TGlowButton *>("OKBtn1"), Qt::LeftButton);
        QCOMPARE(ask_.errors.size(), 1);
        QVERIFY(ask_.errors.first().contains(TButtonStore::FileName));
        QCOMPARE(dialog_->field(4)->text(), QStringLiteral("https://four.example/"));
        QCOMPARE(dialog_->field(3)->text(), QStringLiteral("https://three.example/"));
        // Reloading would have found no file and cleared button 3.
        QCOMPARE(data_->buttons().ButtonAddress(3), QStringLiteral("https://three.example/"));
        QVERIFY(!data_->buttons().isAssigned(4));
        QVERIFY(QDir(appDir_.path()).rmdir(TButtonStore::FileName));
    }

    void cancelThenShowAgain()
    {
        writeButtons("2##https://two.example/\r\n");
        open();
        typeInto(1, QStringLiteral("typed one"));
        typeInto(2, QStringLiteral("typed two"));
        QTest::mouseClick(dialog_->findChild<TGlowButton *>("CancelBtn"), Qt::LeftButton);
        QVERIFY(dialog_->isHidden());
        QVERIFY(buttonsFile() == "2##https://two.example/\r\n");
        open();
        QCOMPARE(dialog_->field(1)->text(), QStringLiteral("typed one"));
        QCOMPARE(dialog_->field(2)->text(), QStringLiteral("https://two.example/"));
        // Opening it again while it is open reads nothing over the fields.
        writeButtons("2##https://changed.example/\r\n");
        dialog_->openModeless();
        QCOMPARE(dialog_->field(2)->text(), QStringLiteral("https://two.example/"));
    }

    void missingFileKeepsFieldsAndOddLinesAreSkipped()
    {
        dialog_->SetButtonField(9, QStringLiteral("kept"));
        dialog_->LoadButtonFields();
        QCOMPARE(dialog_->field(9)->text(), QStringLiteral("kept"));
        writeButtons("0##zero\r\n35##big\r\nno separator\r\nx##y\r\n8##a##b\r\n8##later\r\n");
        dialog_->LoadButtonFields();
        QCOMPARE(dialog_->field(8)->text(), QStringLiteral("later"));
        QCOMPARE(dialog_->field(9)->text(), QStringLiteral("kept"));
        QCOMPARE(dialog_->field(1)->text(), QString());
    }

    void helpShowsItsPage()
    {
        open();
        QTest::mouseClick(dialog_->findChild<TGlowButton *>("HelpBtn"), Qt::LeftButton);
        QCOMPARE(navigation_.help, QStringList{"assigning_buttons_to_web_sites.htm"});
    }

    void dropAddress_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("node");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("activated");
        QTest::newRow("favorite shortcut") << "favorites"
                                           << "Fav Site.url"
                                           << "https://fav.example/" << QStringList();
        QTest::newRow("favorites folder clears") << "favorites"
                                                 << "News Folder"
                                                 << "" << QStringList();
        QTest::newRow("favorites nothing selected") << "favorites"
                                                    << ""
                                                    << "" << QStringList();
        QTest::newRow("address box address") << "address box"
                                             << "http://typed.example/"
                                             << "http://typed.example/" << QStringList();
        QTest::newRow("address box www") << "address box"
                                         << "www.typed.example"
                                         << "www.typed.example" << QStringList();
        QTest::newRow("address box window title")
            << "address box"
            << "Example Page"
            << "https://example.page/" << QStringList{"Example Page"};
        QTest::newRow("address box names no window") << "address box"
                                                     << "not a window"
                                                     << "not a window" << QStringList();
        QTest::newRow("window title") << "windows"
                                      << "Example Page"
                                      << "https://example.page/" << QStringList{"Example Page"};
        QTest::newRow("window title starting www") << "windows"
                                                   << "www.open.example"
                                                   << "www.open.example" << QStringList();
        QTest::newRow("window node without window") << "windows"
                                                    << "Gone Page"
                                                    << "" << QStringList();
        QTest::newRow("windows nothing selected") << "windows"
                                                  << ""
                                                  << "" << QStringList();
        QTest::newRow("list page") << "lists"
                                   << "https://list.example/"
                                   << "https://list.example/" << QStringList();
        QTest::newRow("list name clears") << "lists"
                                          << "Daily - the morning papers"
                                          << "" << QStringList();
        QTest::newRow("offline page") << "offline"
                                      << "Saved Page.htm"
                                      << "WebPages/Saved Page.htm" << QStringList();
        QTest::newRow("offline nothing selected") << "offline"
                                                  << ""
                                                  << "" << QStringList();
        QTest::newRow("history entry")
            << "history"
            << "Alpha Page - https://alpha.example/ - 12/11/2026 10:00:00"
            << "https://alpha.example/" << QStringList();
        QTest::newRow("history date clears") << "history"
                                             << "12/11/2026"
                                             << "" << QStringList();
        QTest::newRow("history entry without hyphens") << "history"
                                                       << "Plain http://plain.x"
                                                       << "" << QStringList();
        QTest::newRow("history hyphen right after the cut") << "history"
                                                            << "Title - -x - 1"
                                                            << "" << QStringList();
        QTest::newRow("history hyphen second after the cut") << "history"
                                                             << "A-B - c"
                                                             << "" << QStringList();
        QTest::newRow("history one hyphen") << "history"
                                            << "Title - a-b"
                                            << "" << QStringList();
        QTest::newRow("history hyphen third after the cut") << "history"
                                                            << "Title - ab-c"
                                                            << "a" << QStringList();
        QTest::newRow("history no hyphen") << "history"
                                           << "Title"
                                           << "" << QStringList();
        QTest::newRow("history nothing selected") << "history"
                                                  << ""
                                                  << "" << QStringList();
    }

    void dropAddress()
    {
        QFETCH(QString, source);
        QFETCH(QString, node);
        QFETCH(QString, address);
        if (source == u"favorites") {
            if (!node.isEmpty())
                selectFavorite(node);
        } else if (source == u"address box") {
            addressBox_->setEditText(node);
        } else if (!node.isEmpty()) {
            auto *view = qobject_cast<QAbstractItemView *>(this->source(source));
            selectNode(view, node);
        }
        if (source == u"offline")
            address = address.isEmpty() ? address : appDir_.filePath(address);
        QCOMPARE(dialog_->DropAddress(this->source(source)), address);
        QTEST(navigation_.activated, "activated");
    }

    void otherSourcesAreRefused()
    {
        QVERIFY(drop_->sourceOf(elsewhere_.get()) == TPageDrop::Source::None);
        QVERIFY(drop_->sourceOf(dialog_->field(2)) == TPageDrop::Source::None);
        QVERIFY(drop_->sourceOf(nullptr) == TPageDrop::Source::None);
        QVERIFY(drop_->sourceOf(history_.get()) == TPageDrop::Source::History);
        selectNode(history_.get(), QStringLiteral("Title - a-b"));
        QCOMPARE(dialog_->DropAddress(elsewhere_.get()), QString());
    }

    void historyAddressRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("address");
        QTest::newRow("entry") << "T - http://a/ - 1/2/26 3:04:05"
                               << "http://a/";
        QTest::newRow("no hyphen at all drops everything") << "abcdef"
                                                           << "";
        QTest::newRow("hyphen at 1 after the cut") << "T - -rest"
                                                   << "";
        QTest::newRow("hyphen at 2 after the cut") << "T - x-rest"
                                                   << "";
        QTest::newRow("hyphen at 3 after the cut") << "T - xy-rest"
                                                   << "x";
        QTest::newRow("empty") << ""
                               << "";
    }

    void historyAddressRule()
    {
        QFETCH(QString, text);
        QTEST(TPageDrop::HistoryAddress(text), "address");
    }

    void barDropAssignsAndWritesAtOnce()
    {
        writeButtons("2##https://two.example/\r\n");
        TButtonBar bar(*data_);
        data_->loadButtons();
        TButtonBarDrops drops(*data_, ask_, *drop_, &bar);
        QSignalSpy assigned(&drops, &TButtonBarDrops::buttonAssigned);
        QVERIFY(drops.assign(7, QStringLiteral("https://seven.example/")));
        QCOMPARE(buttonsFile(),
                 QByteArray("2##https://two.example/\r\n7##https://seven.example/\r\n"));
        QVERIFY(bar.buttons().at(6)->isEnabled());
        QCOMPARE(data_->buttons().ButtonAddress(7), QStringLiteral("https://seven.example/"));
        QCOMPARE(assigned.size(), 1);
        QCOMPARE(assigned.first().at(0).toInt(), 7);
        QVERIFY(bar.toolBar()->acceptDrops());
    }

    void failedBarDropChangesNothing()
    {
        TButtonBar bar(*data_);
        TButtonBarDrops drops(*data_, ask_, *drop_, &bar);
        QSignalSpy assigned(&drops, &TButtonBarDrops::buttonAssigned);
        QVERIFY(QDir(appDir_.path()).mkdir(TButtonStore::FileName));
        QVERIFY(!drops.assign(7, QStringLiteral("https://seven.example/")));
        QCOMPARE(ask_.errors.size(), 1);
        QVERIFY(!data_->buttons().isAssigned(7));
        QVERIFY(assigned.isEmpty());
        QVERIFY(QDir(appDir_.path()).rmdir(TButtonStore::FileName));
    }
};

QTEST_MAIN(AssignButtonsDialogTest)
#include "AssignButtonsDialogTest.moc"
