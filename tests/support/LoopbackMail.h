#pragma once

#include "mail/MailAccount.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

// The loopback mail servers that tests/mail/mail-servers.sh starts around the mail tests, as
// the file it leaves in the build folder describes them.
struct LoopbackMail
{
    QString mailDir;
    int imapPort = 0;
    int pop3Port = 0;
    int smtpPort = 0;

    // False when the servers are not running: the mail tests then fail, never skip.
    bool read(const QString &envFile = QStringLiteral(QUILLMERE_BUILD_DIR "/mail-servers.env"))
    {
        QFile env(envFile);
        if (!env.open(QIODevice::ReadOnly))
            return false;
        for (const QString &line : QString::fromUtf8(env.readAll()).split(u'\n')) {
            const QString key = line.section(u'=', 0, 0), value = line.section(u'=', 1);
            if (key == "MAIL_DIR")
                mailDir = value;
            else if (key == "IMAP_PORT")
                imapPort = value.toInt();
            else if (key == "POP3_PORT")
                pop3Port = value.toInt();
            else if (key == "SMTP_PORT")
                smtpPort = value.toInt();
        }
        return imapPort > 0 && smtpPort > 0 && QFileInfo(mailDir).isDir();
    }

    // user@quillmere.test over IMAP, sending through SMTP without a log-in.
    MailAccount imapAccount(const QString &user) const
    {
        MailAccount a;
        a.incoming = MailAccount::Incoming::Imap;
        a.incomingHost = QStringLiteral("127.0.0.1");
        a.incomingPort = imapPort;
        a.incomingSecurity = MailAccount::Security::None;
        a.userName = user + QStringLiteral("@quillmere.test");
        a.smtpHost = QStringLiteral("127.0.0.1");
        a.smtpPort = smtpPort;
        a.smtpSecurity = MailAccount::Security::None;
        a.smtpNeedsLogin = false;
        return a;
    }

    // The message files delivered into user's mailbox, read or not, sorted.
    QStringList deliveredFiles(const QString &user) const
    {
        QStringList files;
        QDirIterator it(mailDir + QStringLiteral("/mail/%1@quillmere.test").arg(user), QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.contains(QStringLiteral("/new/")) || path.contains(QStringLiteral("/cur/")))
                files << path;
        }
        files.sort();
        return files;
    }
};
