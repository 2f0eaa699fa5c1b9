#include "help/TipTable.h"

#include "app/TextFile.h"

#include <QRandomGenerator>

void TTipTable::load(const QString &path)
{
    tips_.clear();
    const TextFile::ReadResult file = TextFile::readLines(path);
    if (!file.exists || file.error)
        return;
    tips_ = file.lines.mid(0, MaxTips);
}

QString TTipTable::tip(int slot) const
{
    if (slot < 1 || slot > count())
        return {};
    return tips_.at(slot - 1);
}

int TTipTable::randomSlot() const
{
    if (tips_.isEmpty())
        return 0;
    return QRandomGenerator::global()->bounded(1, count() + 1);
}

QStringList TTipTable::memoLines(const QString &tip)
{
    QStringList lines;
    for (const QString &paragraph : tip.split(u'|'))
        lines << QString() << QString() << paragraph;
    return lines;
}
