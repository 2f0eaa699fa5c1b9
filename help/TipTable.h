#pragma once

#include <QString>
#include <QStringList>

// The quick tips of TipHelp.Txt: one tip a line, "|" between the paragraphs of a tip. Tips are
// numbered from 1, as the tips window counts them.
class TTipTable
{
public:
    static constexpr int MaxTips = 70;

    // Reads the file again. A missing or unreadable file leaves no tips; lines past MaxTips are
    // left out.
    void load(const QString &path);

    int count() const { return int(tips_.size()); }
    // The tip at slot 1 ... count(); empty for any other slot.
    QString tip(int slot) const;
    // A slot from 1 to count(), each equally likely; 0 when there are no tips.
    int randomSlot() const;

    // What the tips window shows for a tip: every paragraph after two empty lines.
    static QStringList memoLines(const QString &tip);

private:
    QStringList tips_;
};
