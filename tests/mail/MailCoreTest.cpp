#include "mail/MailAccount.h"
#include "mail/MailMessageReader.h"
#include "mail/PasswordStore.h"
#include "mail/SafeFileName.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// The parts of the mail system that need no server: safe names, reading a received message and
// storing its attachments, the account file and the password kept for the run.
class MailCoreTest : public QObject
{
    Q_OBJECT
private slots:
    void safeName_data();
    void safeName();
    void numbered();
    void readsMessageAndKeepsAttachmentsInItsFolder();
    void messageWithoutAttachmentsMakesNoFolder();
    void accountRoundTrip();
    void accountDefaultsWhenMissing();
    void passwordAskedOnceKeptForTheRun();
    void passwordDeclined();
    void secretStoreWithoutTheEntryAsks();

private:
    QTemporaryDir tmp_;
};

void MailCoreTest::safeName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("safe");
    QTest::newRow("plain") << "photo.jpg"
                           << "photo.jpg";
    QTest::newRow("climbs out") << "../../etc/passwd"
                                << ".._.._etc_passwd";
    QTest::newRow("backslashes") << "C:\\Temp\\a.zip"
                                 << "C:_Temp_a.zip";
    QTest::newRow("NUL and controls") << QString::fromUtf16(u"a\0b\tc\u0085d", 7) << "a_b_c_d";
    QTest::newRow("dot") << "."
                         << "_";
    QTest::newRow("dot dot") << ".."
                             << "_";
    QTest::newRow("empty") << ""
                           << "_";
    QTest::newRow("hidden stays hidden") << ".profile"
                                         << ".profile";
    QTest::newRow("too long") << QString(300, u'é') << QString(127, u'é');
}

void MailCoreTest::safeName()
{
    QFETCH(QString, name);
    QFETCH(QString, safe);
    QCOMPARE(SafeFileName::make(name), safe);
}

void MailCoreTest::numbered()
{
    const QStringList taken{"a.jpg", "a (2).jpg", "b"};
    const auto isTaken = [&](const QString &n) { return taken.contains(n); };
    QCOMPARE(SafeFileName::numbered("a.jpg", isTaken), QString("a (3).jpg"));
    QCOMPARE(SafeFileName::numbered("b", isTaken), QString("b (2)"));
    QCOMPARE(SafeFileName::numbered("c.jpg", isTaken), QString("c.jpg"));
}

void MailCoreTest::readsMessageAndKeepsAttachmentsInItsFolder()
{
    const std::string raw =
        "Received: from relay by mailbox; Tue, 10 Mar 2026 08:00:00 +0000\r\n"
        "Received: from client by relay; Mon, 09 Mar 2026 07:00:00 +0000\r\n"
        "From: \"Anna Example\" <anna@quillmere.test>\r\n"
        "To: Bob <bob@quillmere.test>, carl@quillmere.test\r\n"
        "Subject: =?UTF-8?Q?Gr=C3=BC=C3=9Fe?=\r\n"
        "Date: Sun, 01 Mar 2026 00:00:00 +0000\r\n"
        "MIME-Version: 1.0\r\n"
        "Content-Type: multipart/mixed; boundary=\"b1\"\r\n\r\n"
        "--b1\r\nContent-Type: text/plain; charset=ISO-8859-1\r\n"
        "Content-Transfer-Encoding: quoted-printable\r\n\r\nGr=FC=DFe\r\nsecond line\r\n"
        "--b1\r\nContent-Type: image/jpeg\r\n"
        "Content-Disposition: attachment; filename=\"../../evil.jpg\"\r\n"
        "Content-Transfer-Encoding: base64\r\n\r\nAAEC\r\n"
        "--b1\r\nContent-Type: application/octet-stream\r\n"
        "Content-Disposition: attachment; filename=\"evil.jpg\"\r\n"
        "Content-Transfer-Encoding: base64\r\n\r\nAwQF\r\n"
        "--b1\r\nContent-Type: application/octet-stream\r\n"
        "Content-Disposition: attachment; filename=\"EVIL.JPG\"\r\n"
        "Content-Transfer-Encoding: base64\r\n\r\nBgcI\r\n"
        "--b1--\r\n";
    const QString folder = tmp_.filePath("store/Mail/acct/17");
    MailMessageInfo info;
    QCOMPARE(MailMessageReader::readContent(raw, folder, info), std::nullopt);
    QCOMPARE(info.origDisplayName, QString("Anna Example"));
    QCOMPARE(info.origAddress, QString("anna@quillmere.test"));
    QCOMPARE(info.recipAddress, QString("bob@quillmere.test"));
    QCOMPARE(info.recipDisplayName, QString("Bob"));
    QCOMPARE(info.subject, QString("Grüße"));
    QCOMPARE(info.dateReceived.toUTC(), QDateTime(QDate(2026, 3, 10), QTime(8, 0), Qt::UTC));
    QCOMPARE(info.noteText.split(QRegularExpression("\r?\n")).mid(0, 2),
             (QStringList{"Grüße", "second line"}));
    QStringList names;
    for (const QString &path : info.attachmentPaths) {
        QCOMPARE(QFileInfo(path).absolutePath(), folder);
        names << QFileInfo(path).fileName();
    }
    QCOMPARE(names, (QStringList{".._.._evil.jpg", "evil.jpg", "EVIL (2).JPG"}));
    QFile second(info.attachmentPaths.at(1));
    QVERIFY(second.open(QIODevice::ReadOnly));
    QCOMPARE(second.readAll(), QByteArray("\x03\x04\x05"));
    QCOMPARE(
        QDir(tmp_.filePath("store/Mail/acct")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        QStringList{"17"});
}

void MailCoreTest::messageWithoutAttachmentsMakesNoFolder()
{
    const std::string raw = "From: x@quillmere.test\r\nSubject: plain\r\n"
                            "Date: Sun, 01 Mar 2026 10:00:00 +0100\r\n\r\nJust text.\r\n";
    const QString folder = tmp_.filePath("none/1");
    MailMessageInfo info;
    QCOMPARE(MailMessageReader::readContent(raw, folder, info), std::nullopt);
    QCOMPARE(info.noteText.trimmed(), QString("Just text."));
    QVERIFY(info.attachmentPaths.isEmpty());
    QCOMPARE(info.dateReceived.toUTC(), QDateTime(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC));
    QVERIFY(!QFileInfo::exists(folder));
}

void MailCoreTest::accountRoundTrip()
{
    const QString dir = tmp_.filePath("account");
    QDir().mkpath(dir);
    MailAccount a;
    a.incoming = MailAccount::Incoming::Pop3;
    a.incomingHost = "pop.example.test";
    a.incomingPort = 995;
    a.incomingSecurity = MailAccount::Security::Tls;
    a.userName = "jörg";
    a.outgoing = MailAccount::Outgoing::Sendmail;
    a.smtpNeedsLogin = false;
    a.sendmailPath = "/usr/lib/sendmail";
    QCOMPARE(a.save(dir), std::nullopt);
    QCOMPARE(MailAccount::load(dir), a);
    QVERIFY(a.isComplete());
    QCOMPARE(a.key(), QString("jörg@pop.example.test"));
}

void MailCoreTest::accountDefaultsWhenMissing()
{
    const MailAccount a = MailAccount::load(tmp_.filePath("nowhere"));
    QCOMPARE(a, MailAccount());
    QVERIFY(!a.isComplete());
    QFile junk(tmp_.filePath("junk/MailAccount.Ini"));
    QDir().mkpath(tmp_.filePath("junk"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("7\r\nhost\r\nnot a port\r\n\xff\xfe");
    junk.close();
    const MailAccount b = MailAccount::load(tmp_.filePath("junk"));
    QCOMPARE(b.incoming, MailAccount::Incoming::Imap); // 7 is no kind of server
    QCOMPARE(b.incomingHost, QString("host"));
    QCOMPARE(b.incomingPort, MailAccount().incomingPort);
}

void MailCoreTest::passwordAskedOnceKeptForTheRun()
{
    PasswordStore store(false);
    int asked = 0;
    store.setAsk([&](const QString &key) {
        ++asked;
        return std::optional<QString>(key == "u@h" ? "secret" : "other");
    });
    QSignalSpy ready(&store, &PasswordStore::passwordReady);
    store.request("u@h");
    store.accept("u@h");
    store.request("u@h");
    QCOMPARE(asked, 1);
    QCOMPARE(ready.size(), 2);
    QCOMPARE(ready.at(1).at(1).toString(), QString("secret"));
    store.reject("u@h");
    store.request("u@h");
    QCOMPARE(asked, 2);
}

void MailCoreTest::passwordDeclined()
{
    PasswordStore store(false);
    store.setAsk([](const QString &) { return std::optional<QString>(); });
    QSignalSpy ready(&store, &PasswordStore::passwordReady);
    QSignalSpy unavailable(&store, &PasswordStore::passwordUnavailable);
    store.request("u@h");
    QCOMPARE(ready.size(), 0);
    QCOMPARE(unavailable.size(), 1);
}

void MailCoreTest::secretStoreWithoutTheEntryAsks()
{
    // With no secret service running (or none holding this entry) the user is asked instead.
    PasswordStore store(true);
    const QString key =
        QStringLiteral("nobody-%1@nowhere.test").arg(QCoreApplication::applicationPid());
    int asked = 0;
    store.setAsk([&](const QString &) {
        ++asked;
        return std::optional<QString>("typed");
    });
    QSignalSpy ready(&store, &PasswordStore::passwordReady);
    store.request(key);
    QTRY_COMPARE_WITH_TIMEOUT(ready.size(), 1, 30000);
    QCOMPARE(asked, 1);
    QCOMPARE(ready.first().at(1).toString(), QString("typed"));
    store.reject(key); // leaves no entry behind where a secret service does run
}

QTEST_GUILESS_MAIN(MailCoreTest)
#include "MailCoreTest.moc"
