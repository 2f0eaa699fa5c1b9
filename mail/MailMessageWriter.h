#pragma once

#include "mail/MailTypes.h"

#include <memory>

namespace vmime {
class message;
}

// Builds the message that goes out from the compose buffer: UTF-8 text, one recipient, the
// files attached under their own names with a type guessed from their contents.
namespace MailMessageWriter {

// Throws std::exception (vmime's included), for instance when an attachment cannot be read.
std::shared_ptr<vmime::message> build(const MailOutgoing &outgoing);

} // namespace MailMessageWriter
