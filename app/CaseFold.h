#pragma once

#include <QString>

// Comparisons "without regard to case" fold the ASCII letters only, whatever the locale.
namespace CaseFold {

QString upper(const QString &text);
QString lower(const QString &text);
bool sameText(const QString &a, const QString &b);

} // namespace CaseFold
