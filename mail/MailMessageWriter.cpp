#include "mail/MailMessageWriter.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <stdexcept>
#include <vmime/vmime.hpp>

namespace {

vmime::text utf8Text(const QString &text)
{
    return vmime::text(text.toStdString(), vmime::charsets::UTF_8);
}

std::shared_ptr<vmime::mailbox> mailbox(const QString &name, const QString &address)
{
    const QString trimmed = address.trimmed();
    return std::make_shared<vmime::mailbox>(utf8Text(name.trimmed() == trimmed ? QString() : name),
                                            vmime::emailAddress(trimmed.toStdString()));
}

std::shared_ptr<vmime::attachment> fileAttachment(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        throw std::runtime_error(
            QStringLiteral("Cannot read the attachment %1.").arg(path).toStdString());
    const QString type = QMimeDatabase().mimeTypeForFile(info).name();
    auto attachment = std::make_shared<vmime::fileAttachment>(
        QFile::encodeName(info.absoluteFilePath()).toStdString(),
        vmime::mediaType(type.toStdString()));
    attachment->getFileInfo().setFilename(
        vmime::word(info.fileName().toStdString(), vmime::charsets::UTF_8));
    return attachment;
}

} // namespace

namespace MailMessageWriter {

std::shared_ptr<vmime::message> build(const MailOutgoing &outgoing)
{
    vmime::messageBuilder builder;
    builder.setExpeditor(*mailbox(QString(), outgoing.senderAddress));
    builder.getRecipients().appendAddress(
        mailbox(outgoing.recipDisplayName, outgoing.recipAddress));
    builder.setSubject(utf8Text(outgoing.subject));
    builder.getTextPart()->setCharset(vmime::charsets::UTF_8);
    builder.getTextPart()->setText(
        std::make_shared<vmime::stringContentHandler>(outgoing.noteText.toStdString()));
    for (const QString &path : outgoing.attachmentPaths)
        builder.appendAttachment(fileAttachment(path));
    return builder.construct();
}

} // namespace MailMessageWriter
