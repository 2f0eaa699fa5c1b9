#include "mail/MailSession.h"

#include "LoopbackMail.h"
#include "mail/MailAccount.h"
#include "mail/MailMessages.h"
#include "mail/PasswordStore.h"
#include "mail/ZipMaker.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

// The mail session and messages against real servers on 127.0.0.1 (tests/mail/mail-servers.sh,
// started by CTest around this test): sending, fetching, reading, deleting, and the failures a
// person meets: a wrong password, a server that is down, one that never answers, a refused
// recipient, a certificate nobody vouches for.
class MailSessionTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sendTwoRecipientsFetchReadDelete();
    void wrongPasswordIsReportedAndForgotten();
    void serverNotRunning();
    void silentServerTimesOutWhileTheThreadRuns();
    void cancelEndsAWaitAtOnce();
    void closingWhileWaitingDoesNotHang();
    void refusedRecipientIsNamed();
    void untrustedCertificateAsks();
    void accountFileHoldsNoPassword();
    void pop3FetchAndDownload();
    void maildirFetch();

private:
    struct Client
    {
        std::unique_ptr<PasswordStore> passwords;
        std::unique_ptr<MailSession> session;
        std::unique_ptr<MailMessages> messages;
        int asked = 0;
    };
    QString appDir(const QString &name);
    MailAccount account(const QString &user) const;
    std::unique_ptr<Client> client(const QString &dir, const MailAccount &account,
                                   const QString &password);
    bool signOn(Client &c);
    bool fetch(Client &c, bool unreadOnly = false);
    int delivered(const QString &user) const;

    QTemporaryDir tmp_;
    LoopbackMail servers_;
};

void MailSessionTest::initTestCase()
{
    QVERIFY2(servers_.read(),
             "The test mail servers are not running (tests/mail/mail-servers.sh start failed)");
}

QString MailSessionTest::appDir(const QString &name)
{
    const QString dir = tmp_.filePath(name);
    QDir().mkpath(dir);
    return dir;
}

MailAccount MailSessionTest::account(const QString &user) const
{
    return servers_.imapAccount(user);
}

std::unique_ptr<MailSessionTest::Client>
MailSessionTest::client(const QString &dir, const MailAccount &account, const QString &password)
{
    if (account.save(dir))
        return nullptr;
    auto c = std::make_unique<Client>();
    c->passwords = std::make_unique<PasswordStore>(false);
    Client *raw = c.get();
    c->passwords->setAsk([raw, password](const QString &) {
        ++raw->asked;
        return std::optional<QString>(password);
    });
    c->session = std::make_unique<MailSession>(dir, c->passwords.get());
    c->session->setTimeout(10000);
    c->messages = std::make_unique<MailMessages>(c->session.get());
    return c;
}

bool MailSessionTest::signOn(Client &c)
{
    QSignalSpy on(c.session.get(), &MailSession::signedOn);
    QSignalSpy off(c.session.get(), &MailSession::signOnFailed);
    c.session->SignOn();
    if (!QTest::qWaitFor([&] { return !on.isEmpty() || !off.isEmpty(); }, 15000) || on.isEmpty())
        return false;
    c.messages->setSessionID(c.session->SessionID());
    return true;
}

bool MailSessionTest::fetch(Client &c, bool unreadOnly)
{
    QSignalSpy done(c.messages.get(), &MailMessages::fetched);
    QSignalSpy failed(c.messages.get(), &MailMessages::failed);
    c.messages->setFetchUnreadOnly(unreadOnly);
    c.messages->Fetch();
    if (!QTest::qWaitFor([&] { return !done.isEmpty() || !failed.isEmpty(); }, 15000))
        return false;
    if (!failed.isEmpty())
        qWarning("fetch failed: %s", qPrintable(failed.first().at(1).toString()));
    return !done.isEmpty();
}

int MailSessionTest::delivered(const QString &user) const
{
    return int(servers_.deliveredFiles(user).size());
}

void MailSessionTest::sendTwoRecipientsFetchReadDelete()
{
    const QString dir = appDir(QStringLiteral("anna"));
    QStringList pictures;
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg"}) {
        QFile f(dir + QStringLiteral("/pictures/") + QString::fromLatin1(name));
        QDir().mkpath(dir + QStringLiteral("/pictures"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(5000, name[0]));
        pictures << f.fileName();
    }
    const QString zip = ZipMaker::deriveZipName(pictures.first());
    QCOMPARE(ZipMaker::MakeZipFile(pictures, zip), std::nullopt);

    auto anna = client(dir, account("anna"), "anna-secret");
    QVERIFY(anna && signOn(*anna));
    QCOMPARE(anna->asked, 1);
    MailMessages &out = *anna->messages;
    out.Compose();
    out.setSenderAddress("anna@quillmere.test");
    out.setMsgSubject("Three pictures");
    out.setMsgNoteText("First line\nSecond line");
    out.setAttachmentIndex(0);
    out.setAttachmentPathName(zip);
    out.setAttachmentIndex(1);
    out.setAttachmentPathName(pictures.at(2));
    QSignalSpy sent(&out, &MailMessages::sent);
    QSignalSpy failed(&out, &MailMessages::failed);
    const int bobBefore = delivered("bob"), carlBefore = delivered("carl");
    for (const char *to : {"bob@quillmere.test", "carl@quillmere.test"}) {
        out.setRecipAddress(to);
        out.setRecipDisplayName(to);
        out.Send();
    }
    QTRY_COMPARE_WITH_TIMEOUT(sent.size() + failed.size(), 2, 20000);
    QVERIFY2(failed.isEmpty(), failed.isEmpty() ? "" : qPrintable(failed.first().at(1).toString()));
    QCOMPARE(sent.at(1).at(0).toString(), QString("carl@quillmere.test"));
    // Delivery goes on after the server has taken the message.
    QTRY_COMPARE_WITH_TIMEOUT(delivered("bob"), bobBefore + 1, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(delivered("carl"), carlBefore + 1, 20000);

    auto bob = client(appDir("bob"), account("bob"), "bob-secret");
    QVERIFY(bob && signOn(*bob));
    MailMessages &in = *bob->messages;
    QVERIFY(fetch(*bob));
    const int last = in.MsgCount() - 1;
    QVERIFY(last >= 0);
    in.setMsgIndex(last);
    QCOMPARE(in.MsgSubject(), QString("Three pictures"));
    QCOMPARE(in.MsgOrigAddress(), QString("anna@quillmere.test"));
    QCOMPARE(in.RecipAddress(), QString("bob@quillmere.test"));
    QVERIFY(in.msgUnread());
    QVERIFY(qAbs(in.msgDateReceivedTime().secsTo(QDateTime::currentDateTime())) < 300);
    QVERIFY(!in.MsgDateReceived().isEmpty());

    QSignalSpy downloaded(&in, &MailMessages::downloaded);
    in.Download(last);
    QTRY_COMPARE_WITH_TIMEOUT(downloaded.size(), 1, 15000);
    QCOMPARE(in.MsgNoteText().split(QRegularExpression("\r?\n")),
             (QStringList{"First line", "Second line"}));
    QCOMPARE(in.AttachmentCount(), 2);
    QCOMPARE(QFileInfo(in.AttachmentPathName()).fileName(), QString("a.Zip"));
    QVERIFY(in.AttachmentPathName().startsWith(appDir("bob") + "/Mail/"));
    QFile received(in.AttachmentPathName()), original(zip);
    QVERIFY(received.open(QIODevice::ReadOnly) && original.open(QIODevice::ReadOnly));
    QCOMPARE(received.readAll(), original.readAll());
    in.setAttachmentIndex(1);
    QCOMPARE(QFileInfo(in.AttachmentPathName()).fileName(), QString("c.jpg"));

    // Listing and downloading peeked: the message is still unread until it is marked.
    QVERIFY(fetch(*bob, true));
    QVERIFY(in.MsgCount() >= 1);
    QVERIFY(fetch(*bob));
    QCOMPARE(in.MsgCount(), last + 1);
    QVERIFY(in.msgUnread() || in.MsgIndex() != last);
    QSignalSpy marked(&in, &MailMessages::markedRead);
    in.MarkRead(last);
    QTRY_COMPARE_WITH_TIMEOUT(marked.size(), 1, 15000);
    QVERIFY(fetch(*bob));
    in.setMsgIndex(last);
    QVERIFY(!in.msgUnread());

    QSignalSpy deleted(&in, &MailMessages::deleted);
    const int before = in.MsgCount();
    in.Delete();
    QTRY_COMPARE_WITH_TIMEOUT(deleted.size(), 1, 15000);
    QCOMPARE(in.MsgCount(), before - 1);
    QVERIFY(fetch(*bob));
    QCOMPARE(in.MsgCount(), before - 1);
}

void MailSessionTest::wrongPasswordIsReportedAndForgotten()
{
    auto c = client(appDir("wrong"), account("anna"), "not-the-password");
    QVERIFY(c);
    QSignalSpy failed(c->session.get(), &MailSession::signOnFailed);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!signOn(*c));
    QCOMPARE(failed.size(), 1);
    QVERIFY2(failed.first().at(0).toString().contains("refused the user name or password"),
             qPrintable(failed.first().at(0).toString()));
    QVERIFY(clock.elapsed() < 10000);
    QCOMPARE(c->session->SessionID(), 0);
    QVERIFY(!signOn(*c));
    QCOMPARE(c->asked, 2); // a refused password is not kept: the user is asked again
}

void MailSessionTest::serverNotRunning()
{
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    MailAccount a = account("anna");
    a.incomingPort = probe.serverPort();
    probe.close();
    auto c = client(appDir("down"), a, "anna-secret");
    QSignalSpy failed(c->session.get(), &MailSession::signOnFailed);
    QVERIFY(!signOn(*c));
    QVERIFY(!failed.first().at(0).toString().isEmpty());
}

void MailSessionTest::silentServerTimesOutWhileTheThreadRuns()
{
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    MailAccount a = account("anna");
    a.incomingPort = silent.serverPort();
    auto c = client(appDir("silent"), a, "anna-secret");
    c->session->setTimeout(1500);
    QSignalSpy failed(c->session.get(), &MailSession::signOnFailed);
    QSignalSpy busy(c->session.get(), &MailSession::busyChanged);
    int beats = 0;
    QTimer heartbeat;
    connect(&heartbeat, &QTimer::timeout, [&] { ++beats; });
    heartbeat.start(20);
    QElapsedTimer clock;
    clock.start();
    c->session->SignOn();
    QVERIFY(c->session->isBusy());
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 10000);
    QVERIFY2(failed.first().at(0).toString().contains("did not answer"),
             qPrintable(failed.first().at(0).toString()));
    QVERIFY(clock.elapsed() >= 1400);
    // The user interface thread went on while the mail thread waited.
    QVERIFY(beats > 20);
    QVERIFY(!c->session->isBusy());
    QCOMPARE(busy.size(), 2);
}

void MailSessionTest::cancelEndsAWaitAtOnce()
{
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    MailAccount a = account("anna");
    a.incomingPort = silent.serverPort();
    auto c = client(appDir("cancel"), a, "anna-secret");
    c->session->setTimeout(60000);
    QSignalSpy failed(c->session.get(), &MailSession::signOnFailed);
    c->session->SignOn();
    QTest::qWait(300);
    QElapsedTimer clock;
    clock.start();
    c->session->Cancel();
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 5000);
    QCOMPARE(failed.first().at(0).toString(), QString("Cancelled."));
    QVERIFY(clock.elapsed() < 3000);
    // A sign-on cancelled before it reached the network ends too, and does not block the next.
    c->session->SignOn();
    c->session->Cancel();
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 2, 5000);
    QCOMPARE(failed.at(1).at(0).toString(), QString("Cancelled."));
    QVERIFY(!c->session->isBusy());
    // A new step after the cancel runs normally.
    MailAccount good = account("anna");
    QVERIFY(!good.save(appDir("cancel")));
    QVERIFY(signOn(*c));
}

void MailSessionTest::closingWhileWaitingDoesNotHang()
{
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    MailAccount a = account("anna");
    a.incomingPort = silent.serverPort();
    auto c = client(appDir("closing"), a, "anna-secret");
    c->session->setTimeout(60000);
    c->session->SignOn();
    QTest::qWait(300);
    QVERIFY(c->session->isBusy());
    QElapsedTimer clock;
    clock.start();
    c->messages.reset();
    c->session.reset();
    QVERIFY(clock.elapsed() < 3000);
}

void MailSessionTest::refusedRecipientIsNamed()
{
    auto c = client(appDir("refused"), account("anna"), "anna-secret");
    QVERIFY(c && signOn(*c));
    MailMessages &out = *c->messages;
    out.Compose();
    out.setSenderAddress("anna@quillmere.test");
    out.setMsgSubject("Hello");
    QSignalSpy sent(&out, &MailMessages::sent);
    QSignalSpy failed(&out, &MailMessages::failed);
    out.setRecipAddress("stranger@elsewhere.test");
    out.Send();
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 15000);
    const QString message = failed.first().at(1).toString();
    QVERIFY2(message.contains("stranger@elsewhere.test") && message.contains("Relay access denied"),
             qPrintable(message));
    // A missing attachment fails that message only; the next one goes.
    out.setAttachmentPathName(appDir("refused") + "/gone.jpg");
    out.setRecipAddress("bob@quillmere.test");
    out.Send();
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 2, 15000);
    out.setAttachmentPathName(QString());
    out.Send();
    QTRY_COMPARE_WITH_TIMEOUT(sent.size(), 1, 15000);
    QCOMPARE(c->session->SessionID(), c->messages->SessionID());
}

void MailSessionTest::untrustedCertificateAsks()
{
    MailAccount a = account("anna");
    a.incomingSecurity = MailAccount::Security::StartTls;
    auto c = client(appDir("tls"), a, "anna-secret");
    QStringList questions;
    bool answer = false;
    c->session->setCertificateQuestion([&](const QString &q) {
        questions << q;
        return answer;
    });
    QSignalSpy failed(c->session.get(), &MailSession::signOnFailed);
    QVERIFY(!signOn(*c));
    QCOMPARE(questions.size(), 1);
    QVERIFY2(questions.first().contains("cannot be trusted"), qPrintable(questions.first()));
    answer = true;
    QVERIFY(signOn(*c));
    QCOMPARE(questions.size(), 2);
    QVERIFY(fetch(*c));
}

void MailSessionTest::accountFileHoldsNoPassword()
{
    const QString dir = appDir("nosecret");
    auto c = client(dir, account("carl"), "carl-secret");
    QVERIFY(c && signOn(*c));
    QCOMPARE(MailAccount::load(dir), account("carl"));
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY2(!f.readAll().contains("carl-secret"), qPrintable(f.fileName()));
    }
}

void MailSessionTest::pop3FetchAndDownload()
{
    auto anna = client(appDir("pop3-sender"), account("anna"), "anna-secret");
    QVERIFY(anna && signOn(*anna));
    anna->messages->Compose();
    anna->messages->setSenderAddress("anna@quillmere.test");
    anna->messages->setRecipAddress("carl@quillmere.test");
    anna->messages->setMsgSubject("By POP3");
    anna->messages->setMsgNoteText("Collected by the other protocol.");
    QSignalSpy sent(anna->messages.get(), &MailMessages::sent);
    const int before = delivered("carl");
    anna->messages->Send();
    QTRY_COMPARE_WITH_TIMEOUT(sent.size(), 1, 15000);
    QTRY_COMPARE_WITH_TIMEOUT(delivered("carl"), before + 1, 20000);

    MailAccount a = account("carl");
    a.incoming = MailAccount::Incoming::Pop3;
    a.incomingPort = servers_.pop3Port;
    auto carl = client(appDir("pop3"), a, "carl-secret");
    QVERIFY(carl && signOn(*carl));
    QVERIFY(fetch(*carl));
    MailMessages &in = *carl->messages;
    QCOMPARE(in.MsgCount(), before + 1);
    const int last = in.MsgCount() - 1;
    in.setMsgIndex(last);
    QCOMPARE(in.MsgSubject(), QString("By POP3"));
    QSignalSpy downloaded(&in, &MailMessages::downloaded);
    in.Download(last);
    QTRY_COMPARE_WITH_TIMEOUT(downloaded.size(), 1, 15000);
    QCOMPARE(in.MsgNoteText().trimmed(), QString("Collected by the other protocol."));
}

void MailSessionTest::maildirFetch()
{
    MailAccount a = account("carl");
    a.incoming = MailAccount::Incoming::Maildir;
    // vmime reads the KMail layout: the inbox is the Maildir "inbox" under the chosen folder.
    const QString root = appDir("maildir") + QStringLiteral("/Mail.d");
    for (const char *sub : {"cur", "new", "tmp"})
        QVERIFY(QDir().mkpath(root + QStringLiteral("/inbox/") + QLatin1String(sub)));
    const int count = 2;
    for (int i = 0; i < count; ++i) {
        QFile f(root + QStringLiteral("/inbox/new/1700000000.M%1P1.test").arg(i));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("From: anna@quillmere.test\r\nTo: carl@quillmere.test\r\nSubject: Local " +
                QByteArray::number(i) + "\r\n\r\nText\r\n");
    }
    a.maildirPath = root;
    auto carl = client(appDir("maildir"), a, "carl-secret");
    QVERIFY(carl && signOn(*carl));
    QVERIFY(fetch(*carl));
    QCOMPARE(carl->messages->MsgCount(), count);
    QStringList subjects;
    for (int i = 0; i < count; ++i) {
        carl->messages->setMsgIndex(i);
        subjects << carl->messages->MsgSubject();
    }
    subjects.sort();
    QCOMPARE(subjects, (QStringList{"Local 0", "Local 1"}));
}

QTEST_GUILESS_MAIN(MailSessionTest)
#include "MailSessionTest.moc"
