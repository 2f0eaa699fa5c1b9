#include "app/ValueReader.h"

#include "app/CaseFold.h"

QString ValueReader::nextLine()
{
    return next_ < lines_.size() ? lines_.at(next_++) : QString();
}

bool ValueReader::readText(QString &out)
{
    if (failed_)
        return false;
    out = nextLine();
    return true;
}

bool ValueReader::parseInt(const QString &line, qint32 &out)
{
    qsizetype i = 0;
    while (i < line.size() && (line.at(i) == u' ' || line.at(i) == u'\t'))
        ++i;
    qsizetype end = i;
    while (end < line.size() && end - i < 32 && line.at(end) != u' ' && line.at(end) != u'\t')
        ++end;
    const QString token = line.mid(i, end - i);
    if (token.isEmpty()) {
        out = 0;
        return true;
    }
    bool converted = false;
    const qint64 value = token.toLongLong(&converted, 10);
    if (!converted || value < std::numeric_limits<qint32>::min() ||
        value > std::numeric_limits<qint32>::max())
        return false;
    out = static_cast<qint32>(value);
    return true;
}

bool ValueReader::readInt(qint32 &out)
{
    if (failed_)
        return false;
    if (!parseInt(nextLine(), out))
        failed_ = true;
    return !failed_;
}

bool ValueReader::readFlag(bool &out)
{
    if (failed_)
        return false;
    out = CaseFold::upper(nextLine()) == QLatin1String("TRUE");
    return true;
}
