#include "mail/ToAddresses.h"

#include "app/CaseFold.h"

namespace ToAddresses {

QStringList table(const QString &toText)
{
    QStringList pieces = toText.split(u';');
    if (pieces.last().isEmpty())
        pieces.removeLast();
    return pieces;
}

int ToAddressIndex(const QString &toText, const QString &address)
{
    const QStringList pieces = table(toText);
    if (address == u"9999")
        return int(pieces.size());
    if (address.isEmpty())
        return 0; // slot 0 of the old table was always empty
    for (int i = 0; i < pieces.size(); ++i) {
        if (CaseFold::sameText(pieces.at(i), address))
            return i + 1;
    }
    return -1;
}

QStringList sendList(const QString &toText)
{
    QStringList recipients;
    for (const QString &piece : toText.split(u';')) {
        if (piece.trimmed().isEmpty())
            break;
        recipients.append(piece);
    }
    return recipients;
}

QString appended(const QString &toText, const QString &address)
{
    if (toText.trimmed().isEmpty())
        return toText + address;
    return toText + u';' + address;
}

} // namespace ToAddresses
