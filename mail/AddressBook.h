#pragma once

#include <QString>
#include <QStringList>
#include <QStringListModel>
#include <optional>

// The address book: named e-mail addresses kept in MailAddr.MLS, one "name | address" entry per
// line. The model is the working copy that the address book window shows and edits.
class AddressBook
{
public:
    struct Entry
    {
        QString name;
        QString address;
    };

    explicit AddressBook(const QString &appDir);

    QStringListModel *model() { return &model_; }
    QStringList entries() const { return model_.stringList(); }
    QString path() const;

    // Reads the file into the list; false (and the list unchanged) when it cannot be read.
    bool LoadEMailList();
    // Rewrites the file from the list atomically. Returns the error text, nothing on success.
    std::optional<QString> SaveEMailList() const;
    // True when an entry, upper-cased (ASCII letters), equals upperEntry.
    bool ChkDuplicates(const QString &upperEntry) const;
    // Adds name + " | " + address unless ChkDuplicates finds it; true when added.
    bool add(const QString &name, const QString &address);
    void remove(int row);

    // Adds every address of a vCard file that is not already in the book. Returns the number
    // added, or the error text when the file cannot be read.
    std::optional<QString> importVCard(const QString &vcfPath, int *added = nullptr);

    static QString entryText(const QString &name, const QString &address);
    // An entry read back: split at the last " | ", so a name holding "|" keeps its address.
    static Entry split(const QString &entry);

private:
    QString appDir_;
    QStringListModel model_;
};
