#include "mail/EMailLog.h"

#include "app/LocaleFormat.h"
#include "app/TextFile.h"

EMailLog::EMailLog(const QString &appDir) : appDir_(appDir) {}

QString EMailLog::path() const
{
    return TextFile::resolveNoCase(appDir_, QStringLiteral("EMail.Log"));
}

std::optional<QString> EMailLog::GetEMailLog()
{
    const TextFile::ReadResult read = TextFile::readLines(path());
    if (read.error)
        return read.error;
    model_.setStringList(read.lines);
    return std::nullopt;
}

std::optional<QString> EMailLog::BuildEMailLog() const
{
    return TextFile::writeLines(path(), entries());
}

void EMailLog::addSent(const QStringList &files, const QStringList &addresses,
                       const QLocale &locale)
{
    QStringList lines = entries();
    for (const QString &file : files) {
        for (const QString &address : addresses)
            lines.append(line(file, address, QDateTime::currentDateTime(), locale));
    }
    model_.setStringList(lines);
}

void EMailLog::remove(int row)
{
    model_.removeRows(row, 1);
}

QString EMailLog::line(const QString &file, const QString &address, const QDateTime &when,
                       const QLocale &locale)
{
    return file + QStringLiteral(" - ") + address + QStringLiteral(" - ") +
           LocaleFormat::dateTime(when, locale);
}
