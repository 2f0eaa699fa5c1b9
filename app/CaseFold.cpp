#include "app/CaseFold.h"

namespace CaseFold {

QString upper(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return out;
}

QString lower(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return out;
}

bool sameText(const QString &a, const QString &b)
{
    return a.size() == b.size() && upper(a) == upper(b);
}

} // namespace CaseFold
