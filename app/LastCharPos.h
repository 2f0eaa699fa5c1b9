#pragma once

#include <QChar>
#include <QString>

// 1-based position of the last ch in text; -1 when text is empty or holds no ch.
inline int LastCharPos(const QString &text, QChar ch)
{
    const qsizetype index = text.lastIndexOf(ch);
    return index < 0 ? -1 : static_cast<int>(index) + 1;
}
