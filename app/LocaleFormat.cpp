#include "app/LocaleFormat.h"

namespace LocaleFormat {

QString longTimeFormat(const QLocale &locale)
{
    // Drop the zone field ("t" up to "tttt"), which stands outside quoted text.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString cleaned;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        cleaned += c;
    }
    return cleaned.simplified();
}

QString shortDate(const QDate &date, const QLocale &locale)
{
    return locale.toString(date, QLocale::ShortFormat);
}

QString longTime(const QTime &time, const QLocale &locale)
{
    return locale.toString(time, longTimeFormat(locale));
}

QString dateTime(const QDateTime &moment, const QLocale &locale)
{
    return shortDate(moment.date(), locale) + u' ' + longTime(moment.time(), locale);
}

} // namespace LocaleFormat
