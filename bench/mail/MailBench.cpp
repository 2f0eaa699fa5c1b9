// How long fetching a large mailbox's headers and sending a large archive take on loopback, and
// the longest the calling thread goes without running its event loop meanwhile (the window's
// thread must never stall). Needs the test servers:
//   tests/mail/mail-servers.sh start /tmp/mail.env
//   build/bench/mail/bench_mail /tmp/mail.env [messages] [megabytes]
//   tests/mail/mail-servers.sh stop /tmp/mail.env

#include "mail/MailAccount.h"
#include "mail/MailMessages.h"
#include "mail/MailSession.h"
#include "mail/PasswordStore.h"
#include "mail/ZipMaker.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace {

// Measures the longest gap between ticks of a fast timer on this thread.
class StallMeter
{
public:
    StallMeter()
    {
        QObject::connect(&timer_, &QTimer::timeout,
                         [this] { longest_ = std::max(longest_, clock_.restart()); });
    }
    void start()
    {
        longest_ = 0;
        clock_.start();
        timer_.start(2);
    }
    qint64 stop()
    {
        timer_.stop();
        return std::max(longest_, clock_.elapsed());
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

QHash<QString, QString> readEnv(const QString &path)
{
    QHash<QString, QString> env;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n'))
            env.insert(line.section(u'=', 0, 0), line.section(u'=', 1));
    }
    return env;
}

// Puts messages straight into the user's Maildir, as delivery would, only faster.
bool fillMailbox(const QString &maildir, int count)
{
    const QString fresh = maildir + QStringLiteral("/new");
    if (!QDir().mkpath(fresh) || !QDir().mkpath(maildir + QStringLiteral("/cur")) ||
        !QDir().mkpath(maildir + QStringLiteral("/tmp")))
        return false;
    for (int i = 0; i < count; ++i) {
        QFile f(fresh + QStringLiteral("/1700000000.B%1.bench").arg(i));
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write("Received: from bench by localhost; Tue, 10 Mar 2026 08:00:00 +0000\r\n"
                "From: Bench <anna@quillmere.test>\r\nTo: carl@quillmere.test\r\n"
                "Subject: Message " +
                QByteArray::number(i) + "\r\n\r\nBody of a benchmark message.\r\n");
    }
    const QByteArray owner = "mail:mail";
    return system(("chown -R " + owner + " '" + maildir.toUtf8() + "'").constData()) == 0;
}

template <typename Sender, typename Signal> bool waitFor(Sender *sender, Signal signal, int ms)
{
    QEventLoop loop;
    bool arrived = false;
    QObject::connect(sender, signal, &loop, [&] {
        arrived = true;
        loop.quit();
    });
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return arrived;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_mail ENVFILE [messages] [megabytes]\n");
        return 2;
    }
    const auto env = readEnv(QString::fromLocal8Bit(argv[1]));
    const int messages = argc > 2 ? atoi(argv[2]) : 1000;
    const int megabytes = argc > 3 ? atoi(argv[3]) : 20;
    const QString maildir = env.value("MAIL_DIR") + QStringLiteral("/mail/carl@quillmere.test");
    if (env.value("IMAP_PORT").isEmpty() || !fillMailbox(maildir, messages)) {
        std::fprintf(stderr, "cannot reach the test servers of %s\n", argv[1]);
        return 1;
    }

    QTemporaryDir appDir;
    MailAccount account;
    account.incomingHost = account.smtpHost = QStringLiteral("127.0.0.1");
    account.incomingPort = env.value("IMAP_PORT").toInt();
    account.smtpPort = env.value("SMTP_PORT").toInt();
    account.incomingSecurity = account.smtpSecurity = MailAccount::Security::None;
    account.smtpNeedsLogin = false;
    account.userName = QStringLiteral("carl@quillmere.test");
    if (account.save(appDir.path()))
        return 1;
    PasswordStore passwords(false);
    passwords.setAsk([](const QString &) { return std::optional<QString>("carl-secret"); });
    MailSession session(appDir.path(), &passwords);
    MailMessages box(&session);
    StallMeter meter;
    QElapsedTimer clock;

    session.SignOn();
    if (!waitFor(&session, &MailSession::signedOn, 30000))
        return 1;
    box.setSessionID(session.SessionID());

    meter.start();
    clock.start();
    box.Fetch();
    if (!waitFor(&box, &MailMessages::fetched, 120000))
        return 1;
    std::printf("fetch %d headers: %lld ms, longest stall %lld ms\n", box.MsgCount(),
                clock.elapsed(), meter.stop());

    QFile big(appDir.filePath("big.bin"));
    if (!big.open(QIODevice::WriteOnly))
        return 1;
    QRandomGenerator random(7);
    QByteArray chunk(1024 * 1024, Qt::Uninitialized);
    for (int i = 0; i < megabytes; ++i) {
        random.fillRange(reinterpret_cast<quint32 *>(chunk.data()), chunk.size() / 4);
        big.write(chunk);
    }
    big.close();
    clock.restart();
    const QString zip = appDir.filePath("big.Zip");
    if (ZipMaker::MakeZipFile({big.fileName()}, zip))
        return 1;
    std::printf("zip %d MB: %lld ms (run it off the window's thread)\n", megabytes,
                clock.elapsed());

    box.Compose();
    box.setSenderAddress("carl@quillmere.test");
    box.setRecipAddress("bob@quillmere.test");
    box.setMsgSubject("Large archive");
    box.setAttachmentPathName(zip);
    meter.start();
    clock.restart();
    box.Send();
    if (!waitFor(&box, &MailMessages::sent, 300000))
        return 1;
    std::printf("send %d MB archive: %lld ms, longest stall %lld ms\n", megabytes, clock.elapsed(),
                meter.stop());
    return 0;
}
