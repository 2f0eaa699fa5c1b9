#pragma once

#include <QString>
#include <QStringList>

// The mail window's To text: addresses separated by ";", taken as typed (blanks included).
namespace ToAddresses {

// The pieces between the ";"s; the last one is dropped when it is empty (a trailing ";").
// Unlike the old table of 100 slots there is no limit: every address counts.
QStringList table(const QString &toText);

// ToAddressIndex: "9999" gives the count of addresses; any other text the 1-based number of
// the first address equal to it ignoring ASCII case, 0 for an empty text, -1 when absent.
int ToAddressIndex(const QString &toText, const QString &address);

// The recipients a Send goes to: the pieces from the left up to the first empty or blank one.
QStringList sendList(const QString &toText);

// The To text with address added after a ";" (no ";" when the text is blank).
QString appended(const QString &toText, const QString &address);

} // namespace ToAddresses
