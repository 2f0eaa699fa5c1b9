#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>

// Dates and times as the user's locale writes them: the short date and the long time without
// a time-zone part, which would only make stored time stamps depend on the season.
namespace LocaleFormat {

QString shortDate(const QDate &date, const QLocale &locale = QLocale::system());
QString longTime(const QTime &time, const QLocale &locale = QLocale::system());
// Short date, one blank, long time.
QString dateTime(const QDateTime &moment, const QLocale &locale = QLocale::system());
// The long time format of the locale with any time-zone field removed.
QString longTimeFormat(const QLocale &locale = QLocale::system());

} // namespace LocaleFormat
