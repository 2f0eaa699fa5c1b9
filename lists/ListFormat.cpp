#include "lists/ListFormat.h"

#include <QStringList>

namespace ListFormat {

namespace {

// A name as the files will hold it after the next save: the writer turns a line break inside
// a line into a blank, so a list and its pages must meet under that spelling too, or the
// pages of a list whose name held a stray CR fell out of it after one save.
QString savedName(QString name)
{
    return name.replace(u'\r', u' ');
}

} // namespace

TLstRec parseListLine(const QString &line)
{
    const QStringList fields = line.split(QLatin1String(Separator));
    return TLstRec{savedName(fields.value(0)), fields.value(1), fields.value(2)};
}

QString listLine(const TLstRec &rec)
{
    const QLatin1String sep(Separator);
    return rec.Name + sep + rec.Description + sep + rec.IconFile + sep;
}

std::optional<DetailLine> parseDetailLine(const QString &line)
{
    const qsizetype at = line.indexOf(QLatin1String(Separator));
    if (at < 0)
        return std::nullopt;
    return DetailLine{savedName(line.left(at)), line.mid(at + 3)};
}

QString detailLine(const QString &name, const QString &address)
{
    return name + QLatin1String(Separator) + address;
}

QString nodeText(const TLstRec &rec)
{
    return rec.Name + QStringLiteral(" - ") + rec.Description;
}

QString listName(const QString &nodeText)
{
    const qsizetype dash = nodeText.indexOf(u'-'); // 0-based: the 1-based position less one
    if (dash < 2)
        return {};
    return nodeText.left(dash - 1);
}

QString listKey(const QString &nodeText)
{
    const QString name = listName(nodeText);
    return name.isEmpty() ? nodeText : name;
}

} // namespace ListFormat
