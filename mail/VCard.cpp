#include "mail/VCard.h"

#include "app/TextFile.h"

namespace {

// A line that starts with a blank or a tab continues the one before it (RFC 6350 folding).
QStringList unfold(const QStringList &lines)
{
    QStringList logical;
    for (const QString &line : lines) {
        if (!logical.isEmpty() && (line.startsWith(u' ') || line.startsWith(u'\t')))
            logical.last() += line.mid(1);
        else
            logical.append(line);
    }
    return logical;
}

QString unescape(const QString &value)
{
    QString text;
    for (int i = 0; i < value.size(); ++i) {
        QChar c = value.at(i);
        if (c == u'\\' && i + 1 < value.size()) {
            c = value.at(++i);
            if (c == u'n' || c == u'N')
                c = u' ';
        }
        text.append(c);
    }
    return text.trimmed();
}

// "item1.EMAIL;TYPE=work" -> "EMAIL"
QString propertyName(const QString &head)
{
    QString name = head.section(u';', 0, 0).toUpper();
    return name.section(u'.', -1);
}

// "Doe;Jane;;;" -> "Jane Doe", for cards without a formatted name.
QString nameFromParts(const QString &value)
{
    const QStringList parts = value.split(u';');
    QStringList words;
    if (parts.size() > 1)
        words << unescape(parts.at(1));
    words << unescape(parts.at(0));
    words.removeAll(QString());
    return words.join(u' ');
}

void take(const QString &line, VCard::Contact &card, QString &structuredName)
{
    const int colon = line.indexOf(u':');
    if (colon < 0)
        return;
    const QString property = propertyName(line.left(colon));
    const QString value = line.mid(colon + 1);
    if (property == u"FN")
        card.name = unescape(value);
    else if (property == u"N")
        structuredName = nameFromParts(value);
    else if (property == u"EMAIL" && !unescape(value).isEmpty())
        card.addresses.append(unescape(value));
}

} // namespace

namespace VCard {

QList<Contact> parse(const QByteArray &bytes)
{
    QList<Contact> contacts;
    Contact card;
    QString structuredName;
    bool inCard = false;
    for (const QString &line : unfold(TextFile::splitLines(bytes))) {
        const QString upper = line.trimmed().toUpper();
        if (upper == u"BEGIN:VCARD") {
            card = {};
            structuredName.clear();
            inCard = true;
        } else if (upper == u"END:VCARD" && inCard) {
            if (card.name.isEmpty())
                card.name = structuredName;
            if (!card.addresses.isEmpty())
                contacts.append(card);
            inCard = false;
        } else if (inCard) {
            take(line, card, structuredName);
        }
    }
    return contacts;
}

ReadResult read(const QString &path)
{
    // Address book exports are small; a bound keeps a wrong pick from filling memory, and the
    // shared reader refuses a pipe or device that would never end.
    constexpr qint64 MaxBytes = 64 * 1024 * 1024;
    const TextFile::BytesResult file = TextFile::readBytes(path, MaxBytes);
    if (file.error)
        return {{}, *file.error};
    if (!file.exists)
        return {{}, QStringLiteral("Cannot read %1: the file does not exist.").arg(path)};
    return {parse(file.bytes), std::nullopt};
}

} // namespace VCard
