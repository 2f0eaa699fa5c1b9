#include "mail/MailWindow.h"

#include "LoopbackMail.h"
#include "ScriptedAsk.h"
#include "UiEvents.h"
#include "app/Globals.h"
#include "app/Navigation.h"
#include "app/PictureTable.h"
#include "app/ProgramData.h"
#include "controls/GlowButton.h"
#include "mail/EMailLog.h"
#include "mail/MailAccount.h"
#include "mail/MailAccountDialog.h"
#include "mail/MailMessages.h"
#include "mail/MailSession.h"
#include "mail/ZipMaker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <grp.h>
#include <memory>
#include <pwd.h>
#include <unistd.h>
#include <zip.h>

// The mail window against real servers on 127.0.0.1 (tests/mail/mail-servers.sh, started by
// CTest around this test), driven as a person would: keys to the focus widget, clicks on what
// is under the pointer, answers from a ScriptedAsk.
class MailWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sendsOneMessagePerAddress_data();
    void sendsOneMessagePerAddress();
    void zipOrSeparateFiles_data();
    void zipOrSeparateFiles();
    void logLinesOrderAndFile();
    void refusedRecipientStopsAndIsNamed();
    void receiveTreeShowUnpackOpenDelete();
    void faultsAreReportedWhileTheWindowRuns_data();
    void faultsAreReportedWhileTheWindowRuns();
    void zipNameChoices_data();
    void zipNameChoices();
    void derivedArchiveNames();
    void toAddressesListAndIndex();
    void noAccountAsksForOneAndKeepsNoPassword();
    void messageFileAttachmentListAndHelp();
    void hostileArchiveStaysInItsFolder();

private:
    struct Program
    {
        QTemporaryDir dir;
        TGlobals globals;
        std::unique_ptr<ProgramData> data;
        ScriptedAsk ask;
        std::unique_ptr<TEMail1> window;
        std::unique_ptr<QSignalSpy> idle;
    };
    MailAccount account(const QString &user) const;
    std::unique_ptr<Program> program(const QString &user, const QString &mode = "S",
                                     std::optional<MailAccount> acct = {});
    void show(Program &p);
    bool waitIdle(Program &p, int timeout = 30000);
    template <typename T> T *child(Program &p, const char *name);
    void click(QWidget *widget);
    void typeInto(QWidget *widget, const QString &text);
    QString makeFile(Program &p, const QString &relative, const QByteArray &bytes = "picture");
    QStringList deliveredFiles(const QString &user) const;
    bool waitDelivered(const QString &user, int count) const;
    void putInMailbox(const QString &user, const QString &name, const QByteArray &message);

    LoopbackMail servers_;
};

void MailWindowTest::initTestCase()
{
    qputenv("QUILLMERE_NO_SECRET_STORE", "1");
    QVERIFY2(servers_.read(),
             "The test mail servers are not running (tests/mail/mail-servers.sh start failed)");
}

MailAccount MailWindowTest::account(const QString &user) const
{
    return servers_.imapAccount(user);
}

std::unique_ptr<MailWindowTest::Program>
MailWindowTest::program(const QString &user, const QString &mode, std::optional<MailAccount> acct)
{
    auto p = std::make_unique<Program>();
    if (!p->dir.isValid())
        return nullptr;
    p->data = std::make_unique<ProgramData>(p->globals, p->dir.path());
    p->data->mailSession().setTimeout(10000);
    if (acct.value_or(account(user)).save(p->dir.path()))
        return nullptr;
    for (int i = 0; i < 3; ++i)
        p->ask.passwords.enqueue(user + QStringLiteral("-secret"));
    p->globals.FromAddress = user + QStringLiteral("@quillmere.test");
    p->globals.MailMode = mode;
    p->window = std::make_unique<TEMail1>(*p->data, p->ask);
    p->idle = std::make_unique<QSignalSpy>(p->window.get(), &TEMail1::idle);
    return p;
}

void MailWindowTest::show(Program &p)
{
    p.window->openModeless();
    QVERIFY(QTest::qWaitForWindowExposed(p.window.get()));
    p.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p.window.get()));
}

// Showing loads the mailbox; every command ends with idle, well or not.
bool MailWindowTest::waitIdle(Program &p, int timeout)
{
    return QTest::qWaitFor([&] { return !p.window->isBusy(); }, timeout);
}

template <typename T> T *MailWindowTest::child(Program &p, const char *name)
{
    return p.window->findChild<T *>(QString::fromLatin1(name));
}

// A click lands on whatever is under the pointer at the widget's centre.
void MailWindowTest::click(QWidget *widget)
{
    QWidget *window = widget->window();
    const QPoint at = widget->mapTo(window, widget->rect().center());
    QWidget *target = window->childAt(at);
    QVERIFY2(target == widget || widget->isAncestorOf(target),
             qPrintable(QStringLiteral("%1 is covered").arg(widget->objectName())));
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(window, at));
}

void MailWindowTest::typeInto(QWidget *widget, const QString &text)
{
    click(widget);
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus == widget || widget->isAncestorOf(focus));
    QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(focus, Qt::Key_Delete);
    QTest::keyClicks(focus, text);
}

QString MailWindowTest::makeFile(Program &p, const QString &relative, const QByteArray &bytes)
{
    const QString path = p.dir.filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

QStringList MailWindowTest::deliveredFiles(const QString &user) const
{
    return servers_.deliveredFiles(user);
}

// Delivery goes on after the server has taken the message.
bool MailWindowTest::waitDelivered(const QString &user, int count) const
{
    return QTest::qWaitFor([&] { return deliveredFiles(user).size() == count; }, 20000) &&
           (QTest::qWait(300), deliveredFiles(user).size() == count);
}

void MailWindowTest::putInMailbox(const QString &user, const QString &name,
                                  const QByteArray &message)
{
    const QString box = servers_.mailDir + QStringLiteral("/mail/%1@quillmere.test").arg(user);
    const passwd *mail = getpwnam("mail");
    QVERIFY(mail);
    for (const QString &sub :
         {QString(), QStringLiteral("/cur"), QStringLiteral("/new"), QStringLiteral("/tmp")}) {
        QDir().mkpath(box + sub);
        QVERIFY(chown(QFile::encodeName(box + sub).constData(), mail->pw_uid, mail->pw_gid) == 0);
    }
    QFile f(box + u'/' + name);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(message);
    f.close();
    QVERIFY(chown(QFile::encodeName(f.fileName()).constData(), mail->pw_uid, mail->pw_gid) == 0);
}

void MailWindowTest::sendsOneMessagePerAddress_data()
{
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("receivers");
    QTest::addColumn<QStringList>("logged");
    const QString d = "dave@quillmere.test", e = "erin@quillmere.test", f = "fred@quillmere.test";
    QTest::newRow("a;b;c") << d + ";" + e + ";" + f << QStringList{"dave", "erin", "fred"}
                           << QStringList{d, e, f};
    QTest::newRow("a;;c") << d + ";;" + f << QStringList{"dave"} << QStringList{d};
    QTest::newRow("a;") << d + ";" << QStringList{"dave"} << QStringList{d};
    QTest::newRow("blank") << "   " << QStringList{} << QStringList{};
    // The blank after the ";" stays part of the address, as typed.
    QTest::newRow("a; b") << d + "; " + e << QStringList{"dave", "erin"} << QStringList{d, " " + e};
}

void MailWindowTest::sendsOneMessagePerAddress()
{
    QFETCH(QString, to);
    QFETCH(QStringList, receivers);
    QFETCH(QStringList, logged);
    auto p = program("anna");
    QVERIFY(p);
    show(*p);
    QVERIFY(waitIdle(*p));
    QMap<QString, int> before;
    for (const char *user : {"dave", "erin", "fred"})
        before[user] = deliveredFiles(user).size();

    typeInto(child<QComboBox>(*p, "CMBTOADR"), to);
    typeInto(child<QLineEdit>(*p, "Text3"), "Hello");
    typeInto(child<QPlainTextEdit>(*p, "Text4"), "");
    QTest::keyClicks(QApplication::focusWidget(), "Line one");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), "Line two");
    const QString file = makeFile(*p, "pics/one.jpg");
    child<QListWidget>(*p, "ListBox1")->addItem(file);
    const int idleBefore = p->idle->size();
    click(child<QWidget>(*p, "SendBtn"));
    if (!receivers.isEmpty())
        QTRY_VERIFY_WITH_TIMEOUT(p->idle->size() > idleBefore, 30000);
    QVERIFY2(p->ask.errors.isEmpty(), qPrintable(p->ask.errors.join('\n')));

    for (const char *user : {"dave", "erin", "fred"}) {
        const int expected = before[user] + int(receivers.contains(QLatin1String(user)));
        QVERIFY2(waitDelivered(user, expected), user);
    }
    QStringList logRecipients;
    for (const QString &line : p->data->emailLog().entries())
        logRecipients << line.section(QStringLiteral(" - "), 1, 1);
    QCOMPARE(logRecipients, logged);
    for (const QString &user : receivers) {
        QFile last(deliveredFiles(user).last());
        QVERIFY(last.open(QIODevice::ReadOnly));
        const QByteArray raw = last.readAll();
        QVERIFY(raw.contains("Subject: Hello"));
        // The whole message text goes, not its first line only.
        QVERIFY2(raw.contains("Line one") && raw.contains("Line two"), raw.constData());
    }
}

void MailWindowTest::zipOrSeparateFiles_data()
{
    QTest::addColumn<bool>("omitZip");
    QTest::newRow("zipped") << false;
    QTest::newRow("omit zip") << true;
}

void MailWindowTest::zipOrSeparateFiles()
{
    QFETCH(bool, omitZip);
    auto p = program("anna");
    QVERIFY(p);
    show(*p);
    QVERIFY(waitIdle(*p));
    const int before = deliveredFiles("gina").size();
    QStringList files{makeFile(*p, "one/a.jpg", "AAAA"), makeFile(*p, "two/b.jpg", "BBBB"),
                      makeFile(*p, "two/c.jpg", "CCCC")};
    for (const QString &f : files) {
        p->ask.files.enqueue(f);
        click(child<QWidget>(*p, "OpenAttBtn"));
    }
    QCOMPARE(child<QListWidget>(*p, "ListBox1")->count(), 3);
    if (omitZip)
        click(child<QCheckBox>(*p, "CHKOMITZIP"));
    QCOMPARE(child<QCheckBox>(*p, "CHKOMITZIP")->isChecked(), omitZip);
    typeInto(child<QComboBox>(*p, "CMBTOADR"), "gina@quillmere.test");
    click(child<QWidget>(*p, "SendBtn"));
    QTRY_VERIFY_WITH_TIMEOUT(!p->window->isBusy() && !p->data->emailLog().entries().isEmpty(),
                             30000);
    QVERIFY(waitDelivered("gina", before + 1));
    QFile received(deliveredFiles("gina").last());
    QVERIFY(received.open(QIODevice::ReadOnly));
    const QByteArray raw = received.readAll();
    const QString zip = p->dir.filePath("one/a.Zip");
    QCOMPARE(p->window->ZipFileName.isEmpty(), omitZip);
    if (omitZip) {
        for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
            QVERIFY2(raw.contains(name), name);
        QVERIFY(!raw.contains("a.Zip"));
        QVERIFY(!QFile::exists(zip));
        return;
    }
    QCOMPARE(p->window->ZipFileName, zip);
    QVERIFY(raw.contains("a.Zip"));
    QProcess unzip;
    unzip.start("unzip", {"-Z1", zip});
    QVERIFY(unzip.waitForFinished());
    QCOMPARE(QString::fromUtf8(unzip.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
             (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
}

void MailWindowTest::logLinesOrderAndFile()
{
    auto p = program("anna");
    QVERIFY(p);
    makeFile(*p, "EMail.Log", "an old line of another form\r\n");
    show(*p);
    QVERIFY(waitIdle(*p));
    const QString one = makeFile(*p, "pics/one.jpg"), two = makeFile(*p, "pics/two.jpg");
    auto *list = child<QListWidget>(*p, "ListBox1");
    list->addItems({one, two});
    child<QCheckBox>(*p, "CHKOMITZIP")->setChecked(true);
    typeInto(child<QComboBox>(*p, "CMBTOADR"), "hugo@quillmere.test;ivy@quillmere.test");
    click(child<QWidget>(*p, "SendBtn"));
    QTRY_COMPARE_WITH_TIMEOUT(p->data->emailLog().entries().size(), 5, 30000);
    QStringList order;
    for (const QString &line : p->data->emailLog().entries().mid(1))
        order << line.section(" - ", 0, 1);
    QCOMPARE(order, (QStringList{one + " - hugo@quillmere.test", one + " - ivy@quillmere.test",
                                 two + " - hugo@quillmere.test", two + " - ivy@quillmere.test"}));

    // Delete in the log list asks about that line; No keeps it, Yes removes it.
    click(child<QWidget>(*p, "EMLogBtn"));
    auto *log = child<QListView>(*p, "ListBox2");
    QVERIFY(log->isVisible() && !list->isVisible());
    click(log);
    log->setCurrentIndex(log->model()->index(0, 0));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QCOMPARE(p->ask.questions.last(),
             QString("Do You want to Delete the EMail Log - an old line of another form?"));
    QCOMPARE(log->model()->rowCount(), 5);
    p->ask.answers.enqueue(true);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QCOMPARE(log->model()->rowCount(), 4);

    // Closing writes the log; the next showing reads it back.
    p->window->close();
    QFile file(p->data->filePath("EMail.Log"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QCOMPARE(written.count("\r\n"), 4);
    QVERIFY(written.startsWith((one + " - hugo@quillmere.test - ").toUtf8()));
    p->data->emailLog().model()->setStringList({});
    show(*p);
    QCOMPARE(p->data->emailLog().entries().size(), 4);
    QVERIFY(waitIdle(*p));
}

void MailWindowTest::refusedRecipientStopsAndIsNamed()
{
    putInMailbox("anna", "cur/1700000100.M1P1.test:2,S",
                 "From: bob@quillmere.test\r\nSubject: Hi\r\n\r\nText\r\n");
    auto p = program("anna");
    QVERIFY(p);
    show(*p);
    QVERIFY(waitIdle(*p));
    const int daveBefore = deliveredFiles("dave").size(),
              erinBefore = deliveredFiles("erin").size();
    const QString file = makeFile(*p, "pics/x.jpg");
    child<QListWidget>(*p, "ListBox1")->addItem(file);
    typeInto(child<QComboBox>(*p, "CMBTOADR"),
             "dave@quillmere.test;stranger@elsewhere.test;erin@quillmere.test");
    click(child<QWidget>(*p, "SendBtn"));
    QTRY_COMPARE_WITH_TIMEOUT(p->ask.errors.size(), 1, 30000);
    QVERIFY(waitIdle(*p));
    const QString error = p->ask.errors.first();
    QVERIFY2(error.contains("stranger@elsewhere.test") && error.contains("Relay access denied"),
             qPrintable(error));
    // The recipient before the refusal got the message and is logged; nobody after it.
    QVERIFY(waitDelivered("dave", daveBefore + 1));
    QCOMPARE(deliveredFiles("erin").size(), erinBefore);
    QCOMPARE(p->data->emailLog().entries().size(), 1);
    QVERIFY(p->data->emailLog().entries().first().startsWith(file + " - dave@quillmere.test - "));

    // Forward reports its failure too (the mailbox holds a message, so Forward acts).
    QVERIFY(p->window->messages().MsgCount() > 0);
    typeInto(child<QComboBox>(*p, "CMBTOADR"), "nobody@elsewhere.test");
    click(child<QWidget>(*p, "ForwardBtn"));
    QTRY_COMPARE_WITH_TIMEOUT(p->ask.errors.size(), 2, 30000);
    QVERIFY2(p->ask.errors.last().contains("nobody@elsewhere.test"),
             qPrintable(p->ask.errors.last()));
}

namespace {

QByteArray plainMessage(const QByteArray &from, const QByteArray &subject, const QByteArray &text)
{
    return "From: " + from + "\r\nTo: jack@quillmere.test\r\nSubject: " + subject +
           "\r\nDate: Fri, 11 Dec 2026 10:00:00 +0000\r\n\r\n" + text + "\r\n";
}

QByteArray withAttachments(const QByteArray &subject,
                           const QList<QPair<QByteArray, QByteArray>> &files)
{
    QByteArray m =
        "From: Anna <anna@quillmere.test>\r\nTo: jack@quillmere.test\r\nSubject: " + subject +
        "\r\nDate: Fri, 11 Dec 2026 11:00:00 +0000\r\nMIME-Version: 1.0\r\n"
        "Content-Type: multipart/mixed; boundary=\"BOUND\"\r\n\r\n"
        "--BOUND\r\nContent-Type: text/plain\r\n\r\nSee the files\r\n";
    for (const auto &[name, bytes] : files)
        m += "--BOUND\r\nContent-Type: application/octet-stream; name=\"" + name +
             "\"\r\nContent-Disposition: attachment; filename=\"" + name +
             "\"\r\nContent-Transfer-Encoding: base64\r\n\r\n" + bytes.toBase64() + "\r\n";
    return m + "--BOUND--\r\n";
}

QImage pictureOf(const QTreeWidgetItem *item)
{
    return item->icon(0)
        .pixmap(PictureTable::Size)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage picture(int number)
{
    return PictureTable::image(PictureTable::MailPictures, number)
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

// A mailbox of three, the last one unread and carrying an archive of two pictures; the second
// carrying two pictures as they are.
void MailWindowTest::receiveTreeShowUnpackOpenDelete()
{
    // The mailbox starts empty: earlier runs against the same servers leave nothing behind.
    QDir(servers_.mailDir + "/mail/jack@quillmere.test").removeRecursively();
    QTemporaryDir work;
    const QString a = work.filePath("a.jpg"), b = work.filePath("b.jpg");
    for (const QString &path : {a, b}) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(path.toUtf8());
    }
    QVERIFY(!ZipMaker::MakeZipFile({a, b}, work.filePath("photos.zip")));
    QFile zip(work.filePath("photos.zip"));
    QVERIFY(zip.open(QIODevice::ReadOnly));
    putInMailbox("jack", "cur/1700000001.M1P1.test:2,S",
                 plainMessage("Bob <bob@quillmere.test>", "First", "One"));
    putInMailbox("jack", "cur/1700000002.M2P1.test:2,S",
                 withAttachments("Second", {{"p1.jpg", "11"}, {"p2.jpg", "22"}}));
    putInMailbox("jack", "new/1700000003.M3P1.test",
                 withAttachments("Third", {{"photos.zip", zip.readAll()}}));

    RecordingNavigation navigation;
    setNavigation(&navigation);
    auto p = program("jack", "R");
    QVERIFY(p);
    QSignalSpy opened(p->window.get(), &TEMail1::openPageRequested);
    show(*p);
    QVERIFY(waitIdle(*p));
    QVERIFY2(p->ask.errors.isEmpty(), qPrintable(p->ask.errors.join('\n')));

    auto *tree = child<QTreeWidget>(*p, "TreeView1");
    QCOMPARE(tree->topLevelItemCount(), 3);
    QCOMPARE(tree->topLevelItem(0)->text(0), QString("InBox"));
    QCOMPARE(tree->topLevelItem(1)->text(0), QString("UnRead"));
    QCOMPARE(tree->topLevelItem(2)->text(0), QString("Sent Messages"));
    QTreeWidgetItem *inbox = tree->topLevelItem(0), *unread = tree->topLevelItem(1);
    QCOMPARE(inbox->childCount(), 3);
    QCOMPARE(unread->childCount(), 1);
    QCOMPARE(inbox->child(0)->text(0), QString("Bob | First"));
    QCOMPARE(unread->child(0)->text(0), QString("Anna | Third"));
    QCOMPARE(pictureOf(inbox->child(0)), picture(PictureTable::MessageNode));
    QCOMPARE(pictureOf(unread->child(0)), picture(PictureTable::UnreadMessage));
    QCOMPARE(tree->currentItem(), tree->topLevelItem(2));

    // The third message is shown and its archive unpacked beside it.
    auto *list = child<QListWidget>(*p, "ListBox1");
    auto *zipBox = child<QLineEdit>(*p, "Text5");
    QCOMPARE(child<QLineEdit>(*p, "Text3")->text(), QString("Third"));
    QCOMPARE(child<QLineEdit>(*p, "Text2")->text(), QString("anna@quillmere.test"));
    QCOMPARE(child<QComboBox>(*p, "CMBTOADR")->currentText(), QString("jack@quillmere.test"));
    QVERIFY(child<QLabel>(*p, "Label7")->text().endsWith(" - Attachments - "));
    QCOMPARE(QFileInfo(zipBox->text()).fileName(), QString("photos.zip"));
    QVERIFY(zipBox->text().startsWith(p->dir.path() + "/Mail/"));
    QCOMPARE(QStringList({list->item(0)->text(), list->item(1)->text()}),
             (QStringList{"a.jpg", "b.jpg"}));
    const QString folder = QFileInfo(zipBox->text()).path() + "/photos";
    QCOMPARE(p->window->extractionFolder(), folder);
    QVERIFY(QFile::exists(folder + "/a.jpg") && QFile::exists(folder + "/b.jpg"));

    // Double click opens the picture by its full path.
    const QRect second = list->visualItemRect(list->item(1));
    doubleClick(list->viewport(), second.center());
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.first().first().toString(), folder + "/b.jpg");

    // The second InBox child: two pictures listed with their full paths, an empty folder made.
    tree->scrollToItem(inbox->child(1));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(inbox->child(1)).center());
    QVERIFY(waitIdle(*p));
    QCOMPARE(child<QLineEdit>(*p, "Text3")->text(), QString("Second"));
    QCOMPARE(list->count(), 2);
    QCOMPARE(QFileInfo(list->item(0)->text()).fileName(), QString("p1.jpg"));
    QCOMPARE(QFileInfo(list->item(1)->text()).fileName(), QString("p2.jpg"));
    QVERIFY(QFileInfo(list->item(0)->text()).isAbsolute());
    QVERIFY(QFileInfo(QFileInfo(list->item(0)->text()).path() + "/p1").isDir());

    // The InBox root changes nothing; the UnRead root and its child show the message already
    // shown.
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(inbox).center());
    QVERIFY(waitIdle(*p));
    QCOMPARE(child<QLineEdit>(*p, "Text3")->text(), QString("Second"));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(unread).center());
    QVERIFY(waitIdle(*p));
    QVERIFY(unread->isExpanded());
    QCOMPARE(child<QLineEdit>(*p, "Text3")->text(), QString("Second"));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(unread->child(0)).center());
    QVERIFY(waitIdle(*p));
    QCOMPARE(child<QLineEdit>(*p, "Text3")->text(), QString("Second"));

    // Delete on the UnRead child deletes that message, the third, and nothing else.
    QCOMPARE(tree->currentItem(), unread->child(0));
    p->ask.answers.enqueue(true);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QCOMPARE(p->ask.questions.last(),
             QString("Do You want to Delete the Message - anna@quillmere.testThird?"));
    QTRY_VERIFY_WITH_TIMEOUT(!p->window->isBusy() && unread->childCount() == 0, 15000);
    QCOMPARE(inbox->childCount(), 2);
    QCOMPARE(inbox->child(1)->text(0), QString("Anna | Second"));
    click(child<QWidget>(*p, "RecvBtn"));
    QVERIFY(waitIdle(*p));
    QVERIFY2(p->ask.errors.isEmpty(), qPrintable(p->ask.errors.join('\n')));
    inbox = tree->topLevelItem(0);
    QCOMPARE(inbox->childCount(), 2);
    QCOMPARE(inbox->child(0)->text(0), QString("Bob | First"));
    QCOMPARE(inbox->child(1)->text(0), QString("Anna | Second"));
    if (const QString shots = qEnvironmentVariable("QUILLMERE_SHOTS"); !shots.isEmpty())
        p->window->grab().save(shots + "/mail-window-test-receive.png");
    setNavigation(nullptr);
}

void MailWindowTest::faultsAreReportedWhileTheWindowRuns_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("expected");
    QTest::newRow("wrong password") << "password"
                                    << "refused the user name or password";
    QTest::newRow("server not running") << "down"
                                        << "Could not sign on";
    QTest::newRow("server never answers") << "silent"
                                          << "did not answer within";
    QTest::newRow("cancelled while waiting") << "cancel"
                                             << "";
}

void MailWindowTest::faultsAreReportedWhileTheWindowRuns()
{
    QFETCH(QString, fault);
    QFETCH(QString, expected);
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    MailAccount a = account("anna");
    if (fault == "down") {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        a.incomingPort = probe.serverPort();
    } else if (fault == "silent" || fault == "cancel") {
        a.incomingPort = silent.serverPort();
    }
    auto p = program("anna", "R", a);
    QVERIFY(p);
    if (fault == "password") {
        p->ask.passwords.clear();
        p->ask.passwords.enqueue("not-the-password");
    }
    p->data->mailSession().setTimeout(fault == "cancel" ? 60000 : fault == "silent" ? 2000 : 8000);

    int beats = 0, longestGap = 0;
    QElapsedTimer sinceBeat;
    QTimer heartbeat;
    connect(&heartbeat, &QTimer::timeout, [&] {
        longestGap = qMax(longestGap, int(sinceBeat.restart()));
        ++beats;
        p->window->update();
    });
    QElapsedTimer clock;
    clock.start();
    sinceBeat.start();
    heartbeat.start(20);
    show(*p);
    auto *cancel = child<QPushButton>(*p, "CancelBtn");
    if (fault == "silent" || fault == "cancel") {
        QVERIFY(p->window->isBusy());
        QVERIFY(child<QWidget>(*p, "Progress1")->isVisible());
        QVERIFY(cancel->isVisible());
    }
    if (fault == "cancel") {
        QTest::qWait(300);
        click(cancel);
    }
    QVERIFY(waitIdle(*p, 15000));
    heartbeat.stop();
    if (expected.isEmpty()) {
        QVERIFY(p->ask.errors.isEmpty());
        QCOMPARE(child<QLabel>(*p, "StatusText")->text(), QString("Cancelled."));
        QVERIFY(clock.elapsed() < 5000);
    } else {
        QCOMPARE(p->ask.errors.size(), 1);
        QVERIFY2(p->ask.errors.first().contains(expected), qPrintable(p->ask.errors.first()));
        QVERIFY(clock.elapsed() < 10000);
    }
    QVERIFY(!cancel->isVisible());
    // The user interface thread ran on through the wait.
    if (fault == "silent")
        QVERIFY(beats > 40);
    QVERIFY2(longestGap < 1000, qPrintable(QString::number(longestGap)));
    // Only the roots are there; the window takes the next command.
    QCOMPARE(child<QTreeWidget>(*p, "TreeView1")->topLevelItemCount(), 3);
    QCOMPARE(p->window->OpenSessionId, -1);
    QVERIFY(child<QWidget>(*p, "RecvBtn")->isEnabled());
}

void MailWindowTest::zipNameChoices_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("zipName");
    QTest::newRow("zip extension") << "/x/send.zip"
                                   << "/x/send.zip";
    QTest::newRow("upper case") << "/x/send.ZIP"
                                << "/x/send.ZIP";
    QTest::newRow("no extension") << "/x/send"
                                  << "/x/send.Zip";
    QTest::newRow("other extension") << "/x/send.tar"
                                     << "/x/send.tar.Zip";
}

void MailWindowTest::zipNameChoices()
{
    QFETCH(QString, chosen);
    QFETCH(QString, zipName);
    auto p = program("anna");
    QVERIFY(p);
    show(*p);
    QVERIFY(waitIdle(*p));
    p->ask.files.enqueue(chosen);
    auto *zipBox = child<QLineEdit>(*p, "Text5");
    doubleClick(zipBox, zipBox->rect().center());
    QCOMPARE(zipBox->text(), zipName);
    QCOMPARE(p->window->ZipFileName, zipName);
}

// The archive is named from the first file's name, not its folders, and never replaces a file
// on the attachment list.
void MailWindowTest::derivedArchiveNames()
{
    auto p = program("anna");
    QVERIFY(p);
    show(*p);
    QVERIFY(waitIdle(*p));
    const QString first = makeFile(*p, "My.Docs/pic.jpg");
    child<QListWidget>(*p, "ListBox1")->addItem(first);
    typeInto(child<QComboBox>(*p, "CMBTOADR"), "fred@quillmere.test");
    const int before = p->data->emailLog().entries().size();
    click(child<QWidget>(*p, "SendBtn"));
    QTRY_COMPARE_WITH_TIMEOUT(p->data->emailLog().entries().size(), before + 1, 30000);
    QCOMPARE(p->window->ZipFileName, p->dir.filePath("My.Docs/pic.Zip"));
    QVERIFY(QFile::exists(p->dir.filePath("My.Docs/pic.Zip")));
    QVERIFY(!QFile::exists(p->dir.filePath("My.Zip")));

    auto q = program("anna");
    QVERIFY(q);
    show(*q);
    QVERIFY(waitIdle(*q));
    const QString bare = makeFile(*q, "pics/photo", "PHOTO");
    const QString clash = makeFile(*q, "pics/photo.Zip", "NOT AN ARCHIVE");
    child<QListWidget>(*q, "ListBox1")->addItems({bare, clash});
    typeInto(child<QComboBox>(*q, "CMBTOADR"), "fred@quillmere.test");
    click(child<QWidget>(*q, "SendBtn"));
    QTRY_COMPARE_WITH_TIMEOUT(q->data->emailLog().entries().size(), 2, 30000);
    QCOMPARE(q->window->ZipFileName, q->dir.filePath("pics/photo (2).Zip"));
    QFile kept(clash);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("NOT AN ARCHIVE"));
}

void MailWindowTest::toAddressesListAndIndex()
{
    auto p = program("anna");
    QVERIFY(p);
    p->globals.ToAddresses[0] = "x@quillmere.test";
    p->globals.ToAddresses[3] = "  ";
    p->globals.ToAddresses[5] = "Y@quillmere.test";
    show(*p);
    QVERIFY(waitIdle(*p));
    p->window->close();
    show(*p);
    QVERIFY(waitIdle(*p));
    auto *to = child<QComboBox>(*p, "CMBTOADR");
    QCOMPARE(to->count(), 2); // shown twice, listed once
    QCOMPARE(to->currentText(), QString());

    const struct
    {
        const char *toText;
        const char *address;
        int index;
    } rows[] = {{"a;b;", "9999", 2}, {"a;b", "B", 2}, {"a;b", "x", -1},
                {"a;b", "", 0},      {"", "9999", 0}, {"a; b", " B", 2}};
    for (const auto &row : rows) {
        to->setEditText(row.toText);
        QVERIFY2(p->window->ToAddressIndex(row.address) == row.index, row.toText);
    }
    QStringList many;
    for (int i = 0; i < 150; ++i)
        many << QStringLiteral("p%1@quillmere.test").arg(i);
    to->setEditText(many.join(';'));
    QCOMPARE(p->window->ToAddressIndex("9999"), 150);
    QCOMPARE(p->window->ToAddressIndex("P149@quillmere.test"), 150);

    // Add All appends what is not there yet; choosing from the list only fills the To text.
    to->setEditText("y@quillmere.test");
    click(child<QWidget>(*p, "AllToBtn"));
    QCOMPARE(to->currentText(), QString("y@quillmere.test;x@quillmere.test"));
    to->setEditText(QString());
    click(child<QWidget>(*p, "AllToBtn"));
    QCOMPARE(to->currentText(), QString("x@quillmere.test;Y@quillmere.test"));
    const int idleBefore = p->idle->size();
    to->setFocus();
    QTest::keyClick(to, Qt::Key_Down);
    QVERIFY(!p->window->isBusy());
    QCOMPARE(p->idle->size(), idleBefore);
}

// With no account the sign-on asks for one; the password goes to the password store only.
void MailWindowTest::noAccountAsksForOneAndKeepsNoPassword()
{
    auto p = program("anna");
    QVERIFY(p);
    QVERIFY(QFile::remove(MailAccount::path(p->dir.path())));
    // The dialog is modal: it is filled from the event loop it runs, as a person would.
    bool filled = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        TMailAcct1 *dialog = p->window->accountDialog();
        if (filled || !dialog->isVisible() || QApplication::activeWindow() != dialog)
            return;
        filled = true;
        auto field = [&](const char *name) { return dialog->findChild<QWidget *>(name); };
        typeInto(field("InHost"), "127.0.0.1");
        typeInto(field("UserName"), "anna@quillmere.test");
        typeInto(field("InPort"), QString::number(servers_.imapPort));
        typeInto(field("OutHost"), "127.0.0.1");
        typeInto(field("OutPort"), QString::number(servers_.smtpPort));
        dialog->findChild<QComboBox *>("InSecurity")->setCurrentIndex(0);
        dialog->findChild<QComboBox *>("OutSecurity")->setCurrentIndex(0);
        dialog->findChild<QCheckBox *>("OutLogin")->setChecked(false);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    poll.start(50);
    show(*p);
    QVERIFY(QTest::qWaitFor([&] { return filled; }, 10000));
    QVERIFY(waitIdle(*p));
    QVERIFY2(p->ask.errors.isEmpty(), qPrintable(p->ask.errors.join('\n')));
    QCOMPARE(p->ask.passwordPrompts.size(), 1);
    QVERIFY(p->ask.passwordPrompts.first().contains("anna@quillmere.test"));
    QVERIFY(p->window->OpenSessionId > 0);
    const MailAccount saved = MailAccount::load(p->dir.path());
    QCOMPARE(saved.incomingPort, servers_.imapPort);
    QCOMPARE(saved.userName, QString("anna@quillmere.test"));
    QDirIterator it(p->dir.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY2(!f.readAll().contains("anna-secret"), qPrintable(f.fileName()));
    }
}

// The message text from a file, the attachment list's Delete question, receive mode emptying the
// list, and the Help button.
void MailWindowTest::messageFileAttachmentListAndHelp()
{
    RecordingNavigation navigation;
    setNavigation(&navigation);
    auto p = program("anna");
    QVERIFY(p);
    show(*p);
    QVERIFY(waitIdle(*p));
    // A file written on Windows: CR LF and a Windows-1252 byte.
    p->ask.files.enqueue(makeFile(*p, "note.txt", "Caf\xe9 at noon\r\nSecond line\r\n"));
    click(child<QWidget>(*p, "OpnMsgBtn"));
    QCOMPARE(child<QPlainTextEdit>(*p, "Text4")->toPlainText(),
             QString::fromUtf8("Caf\u00e9 at noon\nSecond line\n"));

    const QString file = makeFile(*p, "pics/one.jpg");
    p->ask.files.enqueue(file);
    click(child<QWidget>(*p, "OpenAttBtn"));
    auto *list = child<QListWidget>(*p, "ListBox1");
    QCOMPARE(list->count(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QCOMPARE(p->ask.questions.last(), "Do You want to Delete the Attachment - " + file + "?");
    QCOMPARE(list->count(), 1);
    p->ask.answers.enqueue(true);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QCOMPARE(list->count(), 0);

    list->addItem(file);
    auto *mode = child<QAbstractButton>(*p, "SRModeBtn");
    QCOMPARE(mode->text(), QString("Send"));
    click(mode);
    QVERIFY(waitIdle(*p));
    QCOMPARE(mode->text(), QString("Recv"));
    QCOMPARE(list->count(), 0);
    QVERIFY(!child<QWidget>(*p, "OpenAttBtn")->isEnabled());

    click(child<QWidget>(*p, "HelpBtn"));
    QCOMPARE(navigation.help, QStringList{"sending files over the internet.htm"});

    // The message column follows the window's width; heights stay.
    auto *text = child<QPlainTextEdit>(*p, "Text4");
    p->window->resize(p->window->width() + 120, p->window->height() + 40);
    QTRY_COMPARE(text->width(), child<QWidget>(*p, "Frame1")->width() - 342);
    QCOMPARE(text->height(), 137);
    QCOMPARE(list->width(), text->width());
    setNavigation(nullptr);
}

// An archive from a stranger: members that climb out of the folder or name an absolute path
// are left out and said so; the rest is unpacked and listed.
void MailWindowTest::hostileArchiveStaysInItsFolder()
{
    QDir(servers_.mailDir + "/mail/kim@quillmere.test").removeRecursively();
    QTemporaryDir work;
    const QString outside = work.filePath("escaped.txt");
    const QString zipPath = work.filePath("trick.zip");
    int code = 0;
    zip_t *z = zip_open(QFile::encodeName(zipPath).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    QVERIFY(z);
    const QByteArray absolute = QFile::encodeName(outside);
    const QList<QByteArray> names{"../escaped.txt", absolute, "good.txt"};
    static const char data[] = "data";
    for (const QByteArray &name : names) {
        zip_source_t *source = zip_source_buffer(z, data, sizeof data - 1, 0);
        QVERIFY(zip_file_add(z, name.constData(), source, ZIP_FL_ENC_RAW) >= 0);
    }
    QCOMPARE(zip_close(z), 0);
    QFile zip(zipPath);
    QVERIFY(zip.open(QIODevice::ReadOnly));
    putInMailbox("kim", "new/1700000010.M1P1.test",
                 withAttachments("Trick", {{"trick.zip", zip.readAll()}}));

    auto p = program("kim", "R");
    QVERIFY(p);
    show(*p);
    QVERIFY(waitIdle(*p));
    QVERIFY2(p->ask.errors.isEmpty(), qPrintable(p->ask.errors.join('\n')));
    auto *list = child<QListWidget>(*p, "ListBox1");
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), QString("good.txt"));
    const QString folder = p->window->extractionFolder();
    QVERIFY(folder.endsWith("/trick"));
    QVERIFY(!QFile::exists(outside));
    QVERIFY(!QFile::exists(QFileInfo(folder).path() + "/escaped.txt"));
    QVERIFY(child<QLabel>(*p, "StatusText")->text().startsWith("Left out of the Zip File: "));
}

QTEST_MAIN(MailWindowTest)
#include "MailWindowTest.moc"
