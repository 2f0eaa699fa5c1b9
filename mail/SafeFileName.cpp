#include "mail/SafeFileName.h"

namespace {

// NAME_MAX of the common file systems is 255 bytes of UTF-8.
constexpr int MaxNameBytes = 255;

QString cutToBytes(QString name)
{
    while (name.toUtf8().size() > MaxNameBytes) {
        name.chop(1);
        if (!name.isEmpty() && name.back().isHighSurrogate())
            name.chop(1);
    }
    return name;
}

} // namespace

namespace SafeFileName {

QString make(const QString &name)
{
    QString safe;
    safe.reserve(name.size());
    for (QChar c : name) {
        const bool bad = c == u'/' || c == u'\\' || c.category() == QChar::Other_Control;
        safe.append(bad ? QChar(u'_') : c);
    }
    if (safe.isEmpty() || safe == u"." || safe == u"..")
        return QStringLiteral("_");
    return cutToBytes(safe);
}

QString numbered(const QString &name, const std::function<bool(const QString &)> &taken)
{
    if (!taken(name))
        return name;
    const int dot = name.lastIndexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString ext = dot > 0 ? name.mid(dot) : QString();
    for (int n = 2;; ++n) {
        const QString candidate = cutToBytes(stem + QStringLiteral(" (%1)").arg(n)) + ext;
        if (!taken(candidate))
            return candidate;
    }
}

} // namespace SafeFileName
