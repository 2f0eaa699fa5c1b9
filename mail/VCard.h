#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Contacts from vCard files (.vcf), the format every address book exports: the display name
// and the e-mail addresses of each card; everything else on a card is passed over.
namespace VCard {

struct Contact
{
    QString name;
    QStringList addresses;
};

struct ReadResult
{
    QList<Contact> contacts;
    std::optional<QString> error;
};

QList<Contact> parse(const QByteArray &bytes);
ReadResult read(const QString &path);

} // namespace VCard
