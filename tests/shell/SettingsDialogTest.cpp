#include "shell/SettingsDialog.h"

#include "FileSizeLimit.h"
#include "ProgramUnderTest.h"
#include "ScriptedAsk.h"
#include "UiEvents.h"
#include "app/Colors.h"
#include "app/Navigation.h"
#include "app/Options.h"
#include "app/ProgramData.h"
#include "app/Startup.h"
#include "app/TextFile.h"
#include "shell/ColorBox.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

constexpr qint32 SystemWindow = -16777211;
constexpr qint32 SystemWindowText = -16777208;

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The settings dialog on a program folder of its own, as the program creates it.
struct Fixture
{
    Fixture() : data(globals, dir.path()), dialog(data, ask)
    {
        Colors::SetDefaultColors(globals);
        Options::SetDefaultOptions(globals);
        globals.ToolbarEndColor = 0x123456;
        globals.StartPage = QStringLiteral("https://start.example/");
        globals.SearchPage = QStringLiteral("https://search.example/?q=");
        globals.FromAddress = QStringLiteral("me@example.org");
        setNavigation(&navigation);
    }
    ~Fixture() { setNavigation(nullptr); }

    QString colorsPath() const { return dir.filePath(QStringLiteral("Colors.Ini")); }
    QLineEdit *field(const char *name) const
    {
        return dialog.findChild<QLineEdit *>(QLatin1String(name));
    }
    QPushButton *button(const char *name) const
    {
        return dialog.findChild<QPushButton *>(QLatin1String(name));
    }
    QTabWidget *pages() const { return dialog.findChild<QTabWidget *>(); }
    bool open(TSetConf1::Page page)
    {
        globals.SettingsPage =
            page == TSetConf1::ColorsPage ? QStringLiteral("C") : QStringLiteral("O");
        dialog.openModeless();
        pages()->setCurrentIndex(page);
        return QTest::qWaitForWindowActive(&dialog);
    }
    void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    void doubleClickOn(QWidget *widget) { doubleClick(widget, widget->rect().center()); }
    // Keys go where the focus is, as a keyboard's do.
    void keys(QKeySequence sequence)
    {
        const QKeyCombination key = sequence[0];
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
    }
    void type(const QString &text) { QTest::keyClicks(QApplication::focusWidget(), text); }

    QTemporaryDir dir;
    TGlobals globals;
    ScriptedAsk ask;
    RecordingNavigation navigation;
    ProgramData data;
    TSetConf1 dialog;
};

} // namespace

class SettingsDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void eachBoxEditsItsOwnColour_data();
    void eachBoxEditsItsOwnColour();
    void systemReferencesSurviveOk();
    void cancelTakesNothingOver();
    void failedWriteKeepsOldFileAndSaysWhy();
    void emptiedSearchPageIsStoredEmpty();
    void pictureChosenSurvivesCancel();
    void editMenuActsOnThePageFieldsOnly_data();
    void editMenuActsOnThePageFieldsOnly();
    void doubleClicksAndHelpOnTheOptionsPage();
    void startPageTakesDropsFromTheAddressBoxOnly();
    void menuOpensColoursModalAndOptionsModeless();
    void okRecoloursTheMainWindow();
    void closingShowsTheMainPicture_data();
    void closingShowsTheMainPicture();
};

void SettingsDialogTest::eachBoxEditsItsOwnColour_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("fileLine"); // 1-based line of Colors.Ini
    const int lines[21] = {1,  4,  7, 9, 11, 13, 16, 19, 2,  5, 14,
                           17, 20, 3, 6, 8,  10, 12, 15, 18, 21};
    for (int number = 1; number <= 21; ++number)
        QTest::addRow("box %d", number) << number << lines[number - 1];
}

// A colour picked in one box lands in its own field and line and nowhere else.
void SettingsDialogTest::eachBoxEditsItsOwnColour()
{
    QFETCH(int, number);
    QFETCH(int, fileLine);
    Fixture f;
    QVERIFY(f.open(TSetConf1::ColorsPage));
    TColorBox *box = f.dialog.colorBox(number);
    QVERIFY(box->isVisible());
    const TSchemeColor before = box->value();
    f.ask.colors.enqueue(QColor(0x10, 0x20, 0x30));
    f.doubleClickOn(box);
    QCOMPARE(f.ask.initialColors.value(0), before.resolve());
    QCOMPARE(box->value().value(), 0x302010);
    QCOMPARE(box->palette().color(QPalette::Base), QColor(0x10, 0x20, 0x30));

    f.click(f.button("OKBtn1"));
    QVERIFY(f.dialog.isHidden());
    const QStringList lines = TextFile::readLines(f.colorsPath()).lines;
    QCOMPARE(lines.size(), 21);
    TGlobals defaults;
    Colors::SetDefaultColors(defaults);
    defaults.ToolbarEndColor = 0x123456;
    for (int line = 1; line <= 21; ++line) {
        const qint32 expected = line == fileLine ? 0x302010 : defaults.*Colors::FileOrder[line - 1];
        QCOMPARE(lines[line - 1], QString::number(expected));
        QCOMPARE(f.globals.*Colors::FileOrder[line - 1], expected);
    }
}

// Desktop colours stay references: OK with no change writes the file byte for byte again, and
// a cancelled colour chooser changes nothing.
void SettingsDialogTest::systemReferencesSurviveOk()
{
    Fixture f;
    QVERIFY(!f.data.saveColors());
    const QByteArray before = readBytes(f.colorsPath());
    QVERIFY(before.startsWith("-16777211\r\n8421504\r\n-16777208\r\n"));
    QFile file(f.colorsPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QDateTime old = QDateTime::currentDateTime().addDays(-1);
    QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
    file.close();
    QSignalSpy settings(&f.data, &ProgramData::settingsChanged);

    QVERIFY(f.open(TSetConf1::ColorsPage));
    f.doubleClickOn(f.dialog.colorBox(1)); // the chooser is cancelled
    QCOMPARE(f.ask.choosers, QStringList{"colour"});
    QCOMPARE(f.ask.initialColors.value(0), TSchemeColor(SystemWindow).resolve());
    QCOMPARE(f.dialog.colorBox(1)->value().value(), SystemWindow);
    f.click(f.button("OKBtn1"));

    QCOMPARE(readBytes(f.colorsPath()), before);
    QVERIFY(QFileInfo(f.colorsPath()).lastModified() > old.addSecs(60));
    QCOMPARE(f.globals.MainBackColor, SystemWindow);
    QCOMPARE(f.globals.MainTextColor, SystemWindowText);
    QVERIFY(settings.count() >= 1);
    QVERIFY(f.ask.errors.isEmpty());
}

void SettingsDialogTest::cancelTakesNothingOver()
{
    Fixture f;
    QVERIFY(!f.data.saveColors());
    const QByteArray file = readBytes(f.colorsPath());
    QSignalSpy settings(&f.data, &ProgramData::settingsChanged);

    QVERIFY(f.open(TSetConf1::ColorsPage));
    f.ask.colors.enqueue(QColor(Qt::red));
    f.doubleClickOn(f.dialog.colorBox(8));
    f.click(f.dialog.findChild<QCheckBox *>(QStringLiteral("CHKBOLD")));
    f.pages()->setCurrentIndex(TSetConf1::OptionsPage);
    f.field("Text2")->setFocus();
    f.type(QStringLiteral("more"));
    f.pages()->setCurrentIndex(TSetConf1::EmailPage);
    f.field("ToEMail7")->setFocus();
    f.type(QStringLiteral("you@example.org"));
    f.click(f.button("CancelBtn"));

    QVERIFY(f.dialog.isHidden());
    QCOMPARE(f.globals.ButtonBackColor, SystemWindow);
    QVERIFY(!f.globals.BoldText);
    QCOMPARE(f.globals.SearchPage, QStringLiteral("https://search.example/?q="));
    QVERIFY(f.globals.ToAddresses[6].isEmpty());
    QCOMPARE(readBytes(f.colorsPath()), file);
    QCOMPARE(settings.count(), 0);

    // The next opening shows what is in force, not what was abandoned.
    QVERIFY(f.open(TSetConf1::ColorsPage));
    QCOMPARE(f.dialog.colorBox(8)->value().value(), SystemWindow);
    QVERIFY(!f.dialog.findChild<QCheckBox *>(QStringLiteral("CHKBOLD"))->isChecked());
    QCOMPARE(f.field("Text2")->text(), QStringLiteral("https://search.example/?q="));
    QVERIFY(f.field("ToEMail7")->text().isEmpty());
}

void SettingsDialogTest::failedWriteKeepsOldFileAndSaysWhy()
{
    Fixture f;
    QVERIFY(!f.data.saveColors());
    const QByteArray file = readBytes(f.colorsPath());
    QSignalSpy settings(&f.data, &ProgramData::settingsChanged);
    QVERIFY(f.open(TSetConf1::ColorsPage));
    f.ask.colors.enqueue(QColor(Qt::blue));
    f.doubleClickOn(f.dialog.colorBox(1));
    {
        const FileSizeLimit full(16);
        f.click(f.button("OKBtn1"));
    }
    QCOMPARE(f.ask.errors.size(), 1);
    QVERIFY2(f.ask.errors[0].contains(QStringLiteral("Colors.Ini")), qPrintable(f.ask.errors[0]));
    QCOMPARE(readBytes(f.colorsPath()), file);
    // The colours stay in use for the run.
    QCOMPARE(f.globals.MainBackColor, 0xFF0000);
    QVERIFY(settings.count() >= 1);
    QVERIFY(f.dialog.isHidden());
}

void SettingsDialogTest::emptiedSearchPageIsStoredEmpty()
{
    Fixture f;
    f.globals.LastPage.clear();
    f.globals.StartPage.clear();
    f.data.loadOptions();
    QVERIFY(f.open(TSetConf1::OptionsPage));
    f.field("Text2")->setFocus();
    f.keys(QKeySequence::SelectAll);
    f.keys(QKeySequence(Qt::Key_Backspace));
    f.click(f.button("OKBtn1"));
    QCOMPARE(f.globals.SearchPage, QString());

    QVERIFY(!f.data.saveOptions());
    TGlobals next;
    MainWindowRect rect;
    Options::SetDefaultOptions(next);
    QVERIFY(Options::LoadOptions(f.dir.filePath(QStringLiteral("Options.INI")), next, rect));
    QCOMPARE(next.SearchPage, QString());
    QCOMPARE(Startup::rememberedPages(next), QStringList());
}

void SettingsDialogTest::pictureChosenSurvivesCancel()
{
    Fixture f;
    const QString picture = f.dir.filePath(QStringLiteral("photo.png"));
    QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(picture));
    QSignalSpy shown(&f.dialog, &TSetConf1::mainPictureRequested);
    QVERIFY(f.open(TSetConf1::OptionsPage));

    f.doubleClickOn(f.field("Text3")); // cancelled
    QCOMPARE(f.ask.choosers, QStringList{"Select Photo for Main Window"});
    QVERIFY(f.globals.MainPicture.isEmpty());

    f.ask.files.enqueue(picture);
    f.doubleClickOn(f.field("Text3"));
    QCOMPARE(f.field("Text3")->text(), picture);
    QCOMPARE(f.globals.MainPicture, picture);
    f.click(f.button("CancelBtn"));
    QCOMPARE(f.globals.MainPicture, picture);
    QCOMPARE(shown.count(), 1);
    QCOMPARE(shown[0][0].toString(), picture);
}

void SettingsDialogTest::editMenuActsOnThePageFieldsOnly_data()
{
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("fieldAfter");
    QTest::addColumn<QString>("clipboardAfter");
    // Every field starts as "one two" with "two" selected; the clipboard holds "pasted".
    QTest::newRow("cut keys, start page") << "Text1" << false << "C&ut"
                                          << ""
                                          << "one two";
    QTest::newRow("cut menu, search page") << "Text2" << true << "C&ut"
                                           << ""
                                           << "one two";
    QTest::newRow("copy keys, picture") << "Text3" << false << "&Copy"
                                        << "one two"
                                        << "one two";
    QTest::newRow("paste keys, start page") << "Text1" << false << "&Paste"
                                            << "one pasted"
                                            << "pasted";
    QTest::newRow("paste menu, picture") << "Text3" << true << "&Paste"
                                         << "one pasted"
                                         << "pasted";
    QTest::newRow("cut keys, from address") << "FREMail1" << false << "C&ut"
                                            << "one two"
                                            << "pasted";
    QTest::newRow("cut menu, from address") << "FREMail1" << true << "C&ut"
                                            << "one two"
                                            << "pasted";
    QTest::newRow("paste keys, to address") << "ToEMail3" << false << "&Paste"
                                            << "one two"
                                            << "pasted";
    QTest::newRow("copy keys, colour box") << "BText2" << false << "&Copy"
                                           << ""
                                           << "pasted";
}

void SettingsDialogTest::editMenuActsOnThePageFieldsOnly()
{
    QFETCH(QString, fieldName);
    QFETCH(bool, fromMenu);
    QFETCH(QString, command);
    QFETCH(QString, fieldAfter);
    QFETCH(QString, clipboardAfter);
    Fixture f;
    QVERIFY(f.open(TSetConf1::ColorsPage));
    auto *field = f.dialog.findChild<QLineEdit *>(fieldName);
    QVERIFY(field);
    QWidget *page = field->parentWidget();
    f.pages()->setCurrentWidget(page);
    field->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), field);
    const bool colourBox = qobject_cast<TColorBox *>(field) != nullptr;
    if (!colourBox) {
        field->setText(QStringLiteral("one two"));
        field->setSelection(4, 3);
    }
    QApplication::clipboard()->setText(QStringLiteral("pasted"));

    if (fromMenu) {
        // Clicked open, as a mouse does: the field keeps its selection while the menu is up.
        auto *bar = f.dialog.findChild<QMenuBar *>();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(bar->actions().constFirst()).center());
        QMenu *menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())));
        QAction *item = nullptr;
        for (QAction *action : menu->actions()) {
            if (action->text() == command)
                item = action;
        }
        QVERIFY(item);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        QTRY_VERIFY(!QApplication::activePopupWidget());
    } else {
        const QKeySequence keys = command == u"C&ut"    ? QKeySequence::Cut
                                  : command == u"&Copy" ? QKeySequence::Copy
                                                        : QKeySequence::Paste;
        f.keys(keys);
    }
    QCOMPARE(field->text(), fieldAfter);
    QCOMPARE(QApplication::clipboard()->text(), clipboardAfter);
}

void SettingsDialogTest::doubleClicksAndHelpOnTheOptionsPage()
{
    Fixture f;
    QVERIFY(f.open(TSetConf1::OptionsPage));
    f.field("Text1")->setText(QStringLiteral("typed, not stored"));
    f.doubleClickOn(f.field("Text1"));
    f.field("Text2")->setText(QStringLiteral("https://typed.example/"));
    f.doubleClickOn(f.field("Text2"));
    QCOMPARE(f.navigation.opened,
             (QStringList{"https://start.example/", "https://typed.example/"}));

    f.click(f.button("HelpBtn"));
    f.pages()->setCurrentIndex(TSetConf1::EmailPage);
    f.click(f.button("HelpBtn"));
    f.pages()->setCurrentIndex(TSetConf1::ColorsPage);
    f.click(f.button("HelpBtn"));
    QCOMPARE(f.navigation.help, (QStringList{"set_quillmere_option.htm", "set_quillmere_option.htm",
                                             "set_quillmere_colors.htm"}));
}

void SettingsDialogTest::startPageTakesDropsFromTheAddressBoxOnly()
{
    QTemporaryDir dir;
    ProgramUnderTest program(dir.path());
    auto *dialog = qobject_cast<TSetConf1 *>(program.window.dialog(TQuillmere1::SetConfDialog));
    QComboBox *address = program.window.addressBox();
    QVERIFY(dialog->acceptsDragFrom(address->lineEdit()));
    QVERIFY(dialog->acceptsDragFrom(address));
    QVERIFY(!dialog->acceptsDragFrom(program.window.windowListView()));
    QVERIFY(!dialog->acceptsDragFrom(nullptr));

    // Text from another program has no source here: it is refused, not taken as the address.
    program.data.globals().SettingsPage = QStringLiteral("O");
    dialog->openFromMenu();
    auto *start = dialog->findChild<QLineEdit *>(QStringLiteral("Text1"));
    start->setText(QStringLiteral("https://kept.example/"));
    address->setEditText(QStringLiteral("https://address.example/"));
    QMimeData text;
    text.setText(QStringLiteral("https://dropped.example/"));
    const QPoint at = start->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(start, &enter);
    QVERIFY(!enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(start, &drop);
    QCOMPARE(start->text(), QStringLiteral("https://kept.example/"));
}

// Colours are chosen modal and options modeless; a colours command while the dialog stands open
// turns it to the colours page and keeps what was typed.
void SettingsDialogTest::menuOpensColoursModalAndOptionsModeless()
{
    QTemporaryDir dir;
    ProgramUnderTest program(dir.path());
    auto *dialog = qobject_cast<TSetConf1 *>(program.window.dialog(TQuillmere1::SetConfDialog));
    QVERIFY(dialog);
    auto *pages = dialog->findChild<QTabWidget *>();
    auto *search = dialog->findChild<QLineEdit *>(QStringLiteral("Text2"));

    program.window.menuAction(QStringLiteral("Set Application Options"))->trigger();
    QVERIFY(dialog->isVisible());
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(pages->currentIndex(), int(TSetConf1::OptionsPage));
    search->setText(QStringLiteral("typed"));
    program.window.menuAction(QStringLiteral("Set Application Colors"))->trigger();
    QCOMPARE(pages->currentIndex(), int(TSetConf1::ColorsPage));
    QCOMPARE(search->text(), QStringLiteral("typed"));
    dialog->findChild<QPushButton *>(QStringLiteral("CancelBtn"))->click();
    QVERIFY(dialog->isHidden());

    bool modal = false;
    int page = -1;
    QTimer::singleShot(0, dialog, [&] {
        modal = QApplication::activeModalWidget() == dialog;
        page = pages->currentIndex();
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("CancelBtn")),
                          Qt::LeftButton);
    });
    pages->setCurrentIndex(TSetConf1::EmailPage);
    program.window.menuAction(QStringLiteral("Set Application Colors"))->trigger();
    QVERIFY(modal);
    QCOMPARE(page, int(TSetConf1::ColorsPage));
    QVERIFY(dialog->isHidden());
}

void SettingsDialogTest::okRecoloursTheMainWindow()
{
    QTemporaryDir dir;
    ProgramUnderTest program(dir.path());
    Colors::SetDefaultColors(program.data.globals());
    auto *dialog = qobject_cast<TSetConf1 *>(program.window.dialog(TQuillmere1::SetConfDialog));
    program.data.globals().SettingsPage = QStringLiteral("O");
    dialog->openFromMenu();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    program.ask.colors.enqueue(QColor(0x20, 0x80, 0x40));
    dialog->GetColor(1);
    dialog->findChild<QPushButton *>(QStringLiteral("OKBtn1"))->click();
    QCOMPARE(program.window.palette().color(QPalette::Window), QColor(0x20, 0x80, 0x40));
    QCOMPARE(TextFile::readLines(dir.filePath(QStringLiteral("Colors.Ini"))).lines.value(0),
             QString::number(0x408020));
}

void SettingsDialogTest::closingShowsTheMainPicture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("shown");
    QTest::newRow("picture") << "photo.png" << true;
    QTest::newRow("not a picture") << "notes.txt" << false;
    QTest::newRow("missing") << "gone.jpg" << false;
}

// A picture that cannot be shown leaves the view empty, and nobody is bothered about it.
void SettingsDialogTest::closingShowsTheMainPicture()
{
    QFETCH(QString, file);
    QFETCH(bool, shown);
    QTemporaryDir dir;
    QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(dir.filePath(QStringLiteral("photo.png"))));
    QFile notes(dir.filePath(QStringLiteral("notes.txt")));
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("plain words\n") > 0);
    notes.close();
    ProgramUnderTest program(dir.path());
    program.window.pictureView()->setPixmap(QPixmap(dir.filePath(QStringLiteral("photo.png"))));
    auto *dialog = qobject_cast<TSetConf1 *>(program.window.dialog(TQuillmere1::SetConfDialog));
    program.data.globals().SettingsPage = QStringLiteral("O");
    dialog->openFromMenu();
    program.ask.files.enqueue(dir.filePath(file));
    dialog->Text3DblClick();
    dialog->findChild<QPushButton *>(QStringLiteral("CancelBtn"))->click();
    QCOMPARE(!program.window.pictureView()->pixmap().isNull(), shown);
    QVERIFY(program.ask.errors.isEmpty());
}

QTEST_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"
