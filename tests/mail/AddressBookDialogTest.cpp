#include "mail/AddressBookDialog.h"

#include "ScriptedAsk.h"
#include "UiEvents.h"
#include "app/Globals.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "mail/AddressBook.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>

// The address book window as the user meets it: typing, its buttons, the list's click, double
// click and Delete key, and what reaches the mail window's To box and MailAddr.MLS.
class AddressBookDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void okAddsAndSaves_data();
    void okAddsAndSaves();
    void okRewritesTheFileEvenWithoutAnAddition();
    void writeErrorAtOkIsReported();
    void clickSplitsTheEntry_data();
    void clickSplitsTheEntry();
    void doubleClickAppendsToTheToBox_data();
    void doubleClickAppendsToTheToBox();
    void doubleClickOnNoEntryChangesNothing();
    void select_data();
    void select();
    void deletionWaitsForOk();
    void deleteAnsweredNoKeepsTheEntry();
    void missingFileKeepsTheList();
    void vCardImportSkipsDuplicates();
    void activationSwitchesTheMailEditItems();
    void addButtonOfTheMailWindow();
    void helpButton();

private:
    void open();
    void writeBook(const QByteArray &bytes);
    QByteArray bookBytes() const;
    void type(const char *edit, const QString &text);
    void click(const char *button);
    void clickRow(int row);
    void doubleClickRow(int row);
    QLineEdit *edit(const char *name) const;
    QListView *list() const;
    QStringList entries() const { return data_->addressBook().entries(); }

    QTemporaryDir dir_;
    TGlobals g_;
    RecordingNavigation navigation_;
    ScriptedAsk ask_;
    std::unique_ptr<ProgramData> data_;
    std::unique_ptr<QComboBox> toBox_;
    std::unique_ptr<TMailAddr1> window_;
};

void AddressBookDialogTest::init()
{
    g_ = TGlobals();
    ask_ = ScriptedAsk();
    navigation_ = RecordingNavigation();
    setNavigation(&navigation_);
    data_ = std::make_unique<ProgramData>(g_, dir_.path());
    toBox_ = std::make_unique<QComboBox>();
    toBox_->setEditable(true);
    window_ = std::make_unique<TMailAddr1>(*data_, ask_);
    window_->attachMailWindow(toBox_.get(), {});
}

void AddressBookDialogTest::cleanup()
{
    window_.reset();
    toBox_.reset();
    data_.reset();
    setNavigation(nullptr);
    const QString path = dir_.filePath(QStringLiteral("MailAddr.MLS"));
    if (QFileInfo(path).isDir())
        QDir(path).removeRecursively();
    QFile::remove(path);
}

void AddressBookDialogTest::open()
{
    window_->openModeless();
    QApplication::setActiveWindow(window_.get());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void AddressBookDialogTest::writeBook(const QByteArray &bytes)
{
    QFile file(dir_.filePath(QStringLiteral("MailAddr.MLS")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray AddressBookDialogTest::bookBytes() const
{
    QFile file(dir_.filePath(QStringLiteral("MailAddr.MLS")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QLineEdit *AddressBookDialogTest::edit(const char *name) const
{
    return window_->findChild<QLineEdit *>(QString::fromLatin1(name));
}

QListView *AddressBookDialogTest::list() const
{
    return window_->findChild<QListView *>(QStringLiteral("ListBox1"));
}

void AddressBookDialogTest::type(const char *name, const QString &text)
{
    QLineEdit *field = edit(name);
    QVERIFY(field);
    QTest::mouseClick(field, Qt::LeftButton);
    field->selectAll();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QTest::keyClicks(QApplication::focusWidget(), text);
}

void AddressBookDialogTest::click(const char *name)
{
    auto *button = window_->findChild<QAbstractButton *>(QString::fromLatin1(name));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

void AddressBookDialogTest::clickRow(int row)
{
    const QRect rect = list()->visualRect(list()->model()->index(row, 0));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
}

void AddressBookDialogTest::doubleClickRow(int row)
{
    const QRect rect = list()->visualRect(list()->model()->index(row, 0));
    doubleClick(list()->viewport(), rect.center());
}

void AddressBookDialogTest::okAddsAndSaves_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("entry");
    QTest::newRow("name and address") << "Anna"
                                      << "anna.mail"
                                      << "Anna | anna.mail";
    QTest::newRow("blanks kept") << " Anna "
                                 << " a@b "
                                 << " Anna  |  a@b ";
    QTest::newRow("both empty") << ""
                                << ""
                                << " | ";
}

void AddressBookDialogTest::okAddsAndSaves()
{
    QFETCH(QString, name);
    QFETCH(QString, address);
    QFETCH(QString, entry);
    open();
    type("Text1", name);
    type("Text2", address);
    click("OKBtn1");
    QCOMPARE(entries(), QStringList{entry});
    QCOMPARE(bookBytes(), entry.toUtf8() + "\r\n");
    QVERIFY(window_->isVisible());
}

void AddressBookDialogTest::okRewritesTheFileEvenWithoutAnAddition()
{
    open();
    type("Text1", QStringLiteral("Anna"));
    type("Text2", QStringLiteral("anna.mail"));
    click("OKBtn1");
    QFile::remove(dir_.filePath(QStringLiteral("MailAddr.MLS")));
    type("Text1", QStringLiteral("ANNA"));
    type("Text2", QStringLiteral("ANNA.MAIL"));
    click("OKBtn1");
    QCOMPARE(entries(), QStringList{QStringLiteral("Anna | anna.mail")});
    QCOMPARE(bookBytes(), QByteArray("Anna | anna.mail\r\n"));
    // The same address under another name is another entry.
    type("Text1", QStringLiteral("Annie"));
    click("OKBtn1");
    QCOMPARE(entries().size(), 2);
}

void AddressBookDialogTest::writeErrorAtOkIsReported()
{
    // A folder where the file should be: it can be neither read nor replaced.
    QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("MailAddr.MLS")));
    open();
    type("Text1", QStringLiteral("Anna"));
    type("Text2", QStringLiteral("anna.mail"));
    click("OKBtn1");
    QCOMPARE(entries(), QStringList{QStringLiteral("Anna | anna.mail")});
    QCOMPARE(ask_.errors.size(), 1);
    QVERIFY(ask_.errors.first().contains(QStringLiteral("could not be saved")));
}

void AddressBookDialogTest::clickSplitsTheEntry_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::newRow("plain") << QByteArray("Anna | anna.mail") << "Anna"
                           << "anna.mail";
    QTest::newRow("bar in the name") << QByteArray("A | B | b@c") << "A | B"
                                     << "b@c";
    QTest::newRow("empty parts") << QByteArray(" | ") << ""
                                 << "";
    QTest::newRow("windows-1252 name") << QByteArray("Ren\xe9 | r@e") << "Ren\u00e9"
                                       << "r@e";
}

void AddressBookDialogTest::clickSplitsTheEntry()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, name);
    QFETCH(QString, address);
    writeBook(line + "\r\n");
    open();
    clickRow(0);
    QCOMPARE(edit("Text1")->text(), name);
    QCOMPARE(edit("Text2")->text(), address);
}

void AddressBookDialogTest::doubleClickAppendsToTheToBox_data()
{
    QTest::addColumn<QString>("toText");
    QTest::addColumn<int>("times");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << "" << 1 << "anna.mail";
    QTest::newRow("blank") << "  " << 1 << "  anna.mail";
    QTest::newRow("one there") << "x" << 1 << "x;anna.mail";
    QTest::newRow("twice") << "" << 2 << "anna.mail;anna.mail";
}

void AddressBookDialogTest::doubleClickAppendsToTheToBox()
{
    QFETCH(QString, toText);
    QFETCH(int, times);
    QFETCH(QString, expected);
    writeBook("Anna | anna.mail \r\n");
    toBox_->setEditText(toText);
    open();
    for (int i = 0; i < times; ++i)
        doubleClickRow(0);
    QCOMPARE(toBox_->currentText(), expected);
}

void AddressBookDialogTest::doubleClickOnNoEntryChangesNothing()
{
    open();
    doubleClick(list()->viewport(), QPoint(10, 10));
    QCOMPARE(toBox_->currentText(), QString());
}

void AddressBookDialogTest::select_data()
{
    QTest::addColumn<QString>("toText");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<QStringList>("expectedItems");
    QTest::newRow("empty To") << "" << QStringList() << "anna.mail"
                              << "anna.mail" << QStringList{"anna.mail"};
    QTest::newRow("appended") << "x" << QStringList() << "anna.mail"
                              << "x;anna.mail" << QStringList{"anna.mail"};
    QTest::newRow("present in other case") << "ANNA.MAIL" << QStringList() << "anna.mail"
                                           << "ANNA.MAIL" << QStringList();
    QTest::newRow("already listed") << "" << QStringList{"anna.mail"} << "anna.mail"
                                    << "anna.mail" << QStringList{"anna.mail"};
    QTest::newRow("listed in other case") << "" << QStringList{"ANNA.MAIL"} << "anna.mail"
                                          << "anna.mail" << QStringList{"ANNA.MAIL", "anna.mail"};
    QTest::newRow("empty address") << "x" << QStringList() << ""
                                   << "x" << QStringList();
}

void AddressBookDialogTest::select()
{
    QFETCH(QString, toText);
    QFETCH(QStringList, items);
    QFETCH(QString, address);
    QFETCH(QString, expectedText);
    QFETCH(QStringList, expectedItems);
    toBox_->addItems(items);
    toBox_->setEditText(toText);
    open();
    type("Text2", address);
    click("SelectBtn");
    QCOMPARE(toBox_->currentText(), expectedText);
    QStringList listed;
    for (int i = 0; i < toBox_->count(); ++i)
        listed << toBox_->itemText(i);
    QCOMPARE(listed, expectedItems);
}

void AddressBookDialogTest::deletionWaitsForOk()
{
    writeBook("Anna | anna.mail\r\nBob | bob.mail\r\n");
    open();
    clickRow(0);
    ask_.answers << true;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QCOMPARE(ask_.questions,
             QStringList{"Do You want to Delete the EMail Address - Anna | anna.mail?"});
    QCOMPARE(entries(), QStringList{"Bob | bob.mail"});
    click("CancelBtn");
    QVERIFY(!window_->isVisible());
    open();
    QCOMPARE(entries(), (QStringList{"Anna | anna.mail", "Bob | bob.mail"}));
    // With OK the deletion reaches the file.
    clickRow(1);
    ask_.answers << true;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QCOMPARE(ask_.questions.size(), 2);
    // The click filled the edits with Bob: OK would add him back.
    type("Text1", QStringLiteral("Cy"));
    type("Text2", QStringLiteral("cy.mail"));
    click("OKBtn1");
    QCOMPARE(bookBytes(), QByteArray("Anna | anna.mail\r\nCy | cy.mail\r\n"));
}

void AddressBookDialogTest::deleteAnsweredNoKeepsTheEntry()
{
    writeBook("Anna | anna.mail\r\n");
    open();
    QTest::keyClick(list(), Qt::Key_Delete);
    QVERIFY2(ask_.questions.isEmpty(), "nothing selected, nothing to ask");
    clickRow(0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QCOMPARE(ask_.questions.size(), 1);
    QCOMPARE(entries(), QStringList{"Anna | anna.mail"});
}

void AddressBookDialogTest::missingFileKeepsTheList()
{
    writeBook("Anna | anna.mail\r\n");
    open();
    window_->close();
    QFile::remove(dir_.filePath(QStringLiteral("MailAddr.MLS")));
    open();
    QCOMPARE(entries(), QStringList{"Anna | anna.mail"});
    QVERIFY(ask_.errors.isEmpty());
}

void AddressBookDialogTest::vCardImportSkipsDuplicates()
{
    writeBook("Anna | anna@example.org\r\n");
    const QString vcf = dir_.filePath(QStringLiteral("contacts.vcf"));
    QFile file(vcf);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna\r\nEMAIL:ANNA@EXAMPLE.ORG\r\nEND:VCARD\r\n"
               "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bob\r\nEMAIL;TYPE=work:bob@example.org\r\n"
               "END:VCARD\r\n");
    file.close();
    open();
    ask_.files << vcf;
    click("ImportBtn");
    QCOMPARE(entries(), (QStringList{"Anna | anna@example.org", "Bob | bob@example.org"}));
    QCOMPARE(bookBytes(), QByteArray("Anna | anna@example.org\r\nBob | bob@example.org\r\n"));

    ask_.files << dir_.filePath(QStringLiteral("absent.vcf"));
    click("ImportBtn");
    QCOMPARE(ask_.errors.size(), 1);
    QCOMPARE(entries().size(), 2);
}

void AddressBookDialogTest::activationSwitchesTheMailEditItems()
{
    QAction copy, cut, paste;
    window_->attachMailWindow(toBox_.get(), {&copy, &cut, &paste});
    QWidget other;
    other.show();
    open();
    QApplication::setActiveWindow(window_.get());
    QTRY_VERIFY(!copy.isEnabled() && !cut.isEnabled() && !paste.isEnabled());
    QApplication::setActiveWindow(&other);
    QTRY_VERIFY(copy.isEnabled() && cut.isEnabled() && paste.isEnabled());
}

void AddressBookDialogTest::addButtonOfTheMailWindow()
{
    window_->AddrAddBtnClick(0, QStringLiteral("Anna"), QStringLiteral("anna.mail"));
    QVERIFY(!window_->isVisible());
    window_->AddrAddBtnClick(1, QStringLiteral("Anna"), QStringLiteral("  "));
    QVERIFY(!window_->isVisible());
    window_->AddrAddBtnClick(1, QStringLiteral("Anna"), QStringLiteral("anna.mail"));
    QVERIFY(window_->isVisible());
    QCOMPARE(edit("Text1")->text(), QStringLiteral("Anna"));
    QCOMPARE(edit("Text2")->text(), QStringLiteral("anna.mail"));
    QVERIFY(entries().isEmpty());
}

void AddressBookDialogTest::helpButton()
{
    open();
    click("HelpBtn");
    QCOMPARE(navigation_.help, QStringList{"E-Mail Address List.htm"});
    click("CancelBtn");
    QVERIFY(!window_->isVisible());
}

QTEST_MAIN(AddressBookDialogTest)
#include "AddressBookDialogTest.moc"
