#pragma once

#include <QString>

// The first count characters of text, and nothing when count is 0 or below: a cut computed as
// "position - 2" from a position that was not found must not keep the whole text, as
// QString::left() with a negative count does.
inline QString LeftChars(const QString &text, qsizetype count)
{
    return count <= 0 ? QString() : text.left(count);
}
