#pragma once

#include <QString>
#include <optional>

// One web page list: the record a list node of the Lists tree carries.
struct TLstRec
{
    QString Name;
    QString Description;
    QString IconFile; // full path of a 16 x 16 .bmp or .ico, empty for none
};

// The lines of WebPageList.INI and WebPageListDtl.INI, and the list name rule that reads a
// list's name back from its node text. Pure text in, text out.
namespace ListFormat {

inline constexpr auto Separator = "|@|";

// Fields split at every "|@|": name, description, icon file; missing ones are empty and any
// after the third are ignored.
TLstRec parseListLine(const QString &line);
// Always with all three separators, the way the list file is written.
QString listLine(const TLstRec &rec);

struct DetailLine
{
    QString name;
    QString address;
};
// Only the first "|@|" counts, so an address may hold the separator itself. A line without
// one names no list: nothing.
std::optional<DetailLine> parseDetailLine(const QString &line);
QString detailLine(const QString &name, const QString &address);

// Name + " - " + Description, also when the description is empty.
QString nodeText(const TLstRec &rec);

// The name in front of " - ": the characters before the first "-" less the blank in front of
// it; empty when that "-" stands first or second, or the text holds none.
QString listName(const QString &nodeText);
// As listName, but the whole text when listName gives nothing: what finding a list compares.
QString listKey(const QString &nodeText);

} // namespace ListFormat
