#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringListModel>
#include <optional>

// The log of files sent, kept in EMail.Log one line per file and recipient. The model is the
// working copy the mail window's log list shows; the file is read at showing, written at close.
class EMailLog
{
public:
    explicit EMailLog(const QString &appDir);

    QStringListModel *model() { return &model_; }
    QStringList entries() const { return model_.stringList(); }
    QString path() const;

    // Replaces the list with the file's lines; a missing file gives an empty list. Returns the
    // error text when the file exists but cannot be read (the list is then left as it was).
    std::optional<QString> GetEMailLog();
    // Rewrites the file from the list atomically. Returns the error text, nothing on success.
    std::optional<QString> BuildEMailLog() const;

    // One line per file and address, files outer, addresses inner, each stamped when added.
    void addSent(const QStringList &files, const QStringList &addresses,
                 const QLocale &locale = QLocale::system());
    void remove(int row);

    // file + " - " + address + " - " + short date + " " + long time
    static QString line(const QString &file, const QString &address, const QDateTime &when,
                        const QLocale &locale = QLocale::system());

private:
    QString appDir_;
    QStringListModel model_;
};
