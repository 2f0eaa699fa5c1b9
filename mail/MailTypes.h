#pragma once

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

// What the mail worker and the session and messages objects hand each other across threads.

// A fetched message as the message list shows it, and once downloaded, its text and the files
// its attachments were stored in.
struct MailMessageInfo
{
    QString uid;
    QString origDisplayName;
    QString origAddress;
    QString subject;
    QDateTime dateReceived;
    QString recipAddress;
    QString recipDisplayName;
    bool unread = false;

    bool downloaded = false;
    QString noteText;
    QStringList attachmentPaths;
};

// The compose buffer, sent to one recipient.
struct MailOutgoing
{
    QString senderAddress;
    QString recipAddress;
    QString recipDisplayName;
    QString subject;
    QString noteText;
    QStringList attachmentPaths;
};

Q_DECLARE_METATYPE(MailMessageInfo)
Q_DECLARE_METATYPE(MailOutgoing)

// The network steps, as failures name them.
enum class MailOperation { SignOn, Fetch, Download, MarkRead, Send, Delete };
Q_DECLARE_METATYPE(MailOperation)
