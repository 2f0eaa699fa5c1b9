#include "mail/MailAccount.h"

#include "app/TextFile.h"
#include "app/ValueReader.h"

namespace {

template <typename E> void readEnum(ValueReader &reader, E &value, int count)
{
    qint32 n = 0;
    if (reader.readInt(n) && n >= 0 && n < count)
        value = E(n);
}

void readPort(ValueReader &reader, int &port)
{
    qint32 n = 0;
    if (reader.readInt(n) && n > 0 && n < 65536)
        port = n;
}

} // namespace

bool MailAccount::isComplete() const
{
    const bool in = incoming == Incoming::Maildir
                        ? !maildirPath.trimmed().isEmpty()
                        : !incomingHost.trimmed().isEmpty() && !userName.trimmed().isEmpty();
    const bool out = outgoing == Outgoing::Sendmail ? !sendmailPath.trimmed().isEmpty()
                                                    : !smtpHost.trimmed().isEmpty();
    return in && out;
}

QString MailAccount::key() const
{
    if (incoming == Incoming::Maildir)
        return userName.isEmpty() ? maildirPath : userName + u'@' + smtpHost;
    return userName + u'@' + incomingHost;
}

bool MailAccount::needsPassword() const
{
    return incoming != Incoming::Maildir || (outgoing == Outgoing::Smtp && smtpNeedsLogin);
}

QString MailAccount::path(const QString &appDir)
{
    return TextFile::resolveNoCase(appDir, QStringLiteral("MailAccount.Ini"));
}

MailAccount MailAccount::load(const QString &appDir)
{
    MailAccount account;
    const TextFile::ReadResult read = TextFile::readLines(path(appDir));
    if (!read.exists || read.error)
        return account;
    ValueReader reader(read.lines);
    readEnum(reader, account.incoming, 3);
    reader.readText(account.incomingHost);
    readPort(reader, account.incomingPort);
    readEnum(reader, account.incomingSecurity, 3);
    reader.readText(account.userName);
    reader.readText(account.maildirPath);
    readEnum(reader, account.outgoing, 2);
    reader.readText(account.smtpHost);
    readPort(reader, account.smtpPort);
    readEnum(reader, account.smtpSecurity, 3);
    reader.readFlag(account.smtpNeedsLogin);
    QString sendmail;
    if (reader.readText(sendmail) && !sendmail.isEmpty())
        account.sendmailPath = sendmail;
    return account;
}

std::optional<QString> MailAccount::save(const QString &appDir) const
{
    const auto flag = [](bool b) { return b ? QStringLiteral("TRUE") : QStringLiteral("FALSE"); };
    const QStringList lines{QString::number(int(incoming)),
                            incomingHost,
                            QString::number(incomingPort),
                            QString::number(int(incomingSecurity)),
                            userName,
                            maildirPath,
                            QString::number(int(outgoing)),
                            smtpHost,
                            QString::number(smtpPort),
                            QString::number(int(smtpSecurity)),
                            flag(smtpNeedsLogin),
                            sendmailPath};
    return TextFile::writeLines(path(appDir), lines);
}
