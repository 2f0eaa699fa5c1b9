#pragma once

#include <QString>
#include <optional>

// Where the user's mail comes from and goes to, kept in MailAccount.Ini in the program folder one
// value per line. The password is never part of it: see PasswordStore.
struct MailAccount
{
    enum class Incoming { Imap, Pop3, Maildir };
    enum class Outgoing { Smtp, Sendmail };
    enum class Security { None, StartTls, Tls };

    Incoming incoming = Incoming::Imap;
    QString incomingHost;
    int incomingPort = 993;
    Security incomingSecurity = Security::Tls;
    QString userName;
    QString maildirPath; // for Incoming::Maildir

    Outgoing outgoing = Outgoing::Smtp;
    QString smtpHost;
    int smtpPort = 587;
    Security smtpSecurity = Security::StartTls;
    bool smtpNeedsLogin = true; // with the same user name and password as the incoming server
    QString sendmailPath = QStringLiteral("/usr/sbin/sendmail");

    // Enough is filled in to sign on.
    bool isComplete() const;
    // Names the account for the password store and the attachment folders: user@host.
    QString key() const;
    bool needsPassword() const;

    static QString path(const QString &appDir);
    // A missing file gives the defaults.
    static MailAccount load(const QString &appDir);
    // Writes the file atomically. Returns the error text, nothing on success.
    std::optional<QString> save(const QString &appDir) const;

    bool operator==(const MailAccount &) const = default;
};
