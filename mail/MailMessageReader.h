#pragma once

#include "mail/MailTypes.h"

#include <QString>
#include <memory>
#include <optional>
#include <string>

namespace vmime {
class header;
}

// Turns what a server sends into the fields the mail window shows: the envelope of a listed
// message, and the text and attachments of a downloaded one.
namespace MailMessageReader {

// Sender, first recipient, subject, and the received date: the date of the top Received: line
// (when the message reached the mailbox), else the Date: line.
void readEnvelope(const vmime::header &header, MailMessageInfo &info);

// Parses a whole message: its first text part becomes noteText, and each attachment is written
// under folder (created when missing) with its name made safe and numbered on clashes. Returns
// the error text when an attachment cannot be stored.
std::optional<QString> readContent(const std::string &raw, const QString &folder,
                                   MailMessageInfo &info);

} // namespace MailMessageReader
