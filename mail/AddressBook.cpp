#include "mail/AddressBook.h"

#include "app/CaseFold.h"
#include "app/TextFile.h"
#include "mail/VCard.h"

AddressBook::AddressBook(const QString &appDir) : appDir_(appDir) {}

QString AddressBook::path() const
{
    return TextFile::resolveNoCase(appDir_, QStringLiteral("MailAddr.MLS"));
}

bool AddressBook::LoadEMailList()
{
    const TextFile::ReadResult read = TextFile::readLines(path());
    if (!read.exists || read.error)
        return false;
    model_.setStringList(read.lines);
    return true;
}

std::optional<QString> AddressBook::SaveEMailList() const
{
    return TextFile::writeLines(path(), entries());
}

bool AddressBook::ChkDuplicates(const QString &upperEntry) const
{
    const QStringList list = entries();
    return std::any_of(list.begin(), list.end(),
                       [&](const QString &entry) { return CaseFold::upper(entry) == upperEntry; });
}

bool AddressBook::add(const QString &name, const QString &address)
{
    const QString entry = entryText(name, address);
    if (ChkDuplicates(CaseFold::upper(entry)))
        return false;
    const int row = model_.rowCount();
    model_.insertRows(row, 1);
    model_.setData(model_.index(row), entry);
    return true;
}

void AddressBook::remove(int row)
{
    model_.removeRows(row, 1);
}

std::optional<QString> AddressBook::importVCard(const QString &vcfPath, int *added)
{
    const VCard::ReadResult read = VCard::read(vcfPath);
    if (read.error)
        return read.error;
    int count = 0;
    for (const VCard::Contact &contact : read.contacts) {
        for (const QString &address : contact.addresses)
            count += add(contact.name, address) ? 1 : 0;
    }
    if (added)
        *added = count;
    return std::nullopt;
}

QString AddressBook::entryText(const QString &name, const QString &address)
{
    return name + QStringLiteral(" | ") + address;
}

AddressBook::Entry AddressBook::split(const QString &entry)
{
    const int separator = entry.lastIndexOf(QStringLiteral(" | "));
    if (separator >= 0)
        return {entry.left(separator), entry.mid(separator + 3)};
    // Lines written by hand may lack the blanks: the bar alone splits, a blank beside it goes.
    const int bar = entry.lastIndexOf(u'|');
    if (bar < 0)
        return {QString(), entry};
    QString name = entry.left(bar);
    QString address = entry.mid(bar + 1);
    if (name.endsWith(u' '))
        name.chop(1);
    if (address.startsWith(u' '))
        address.remove(0, 1);
    return {name, address};
}
