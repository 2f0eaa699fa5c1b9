#include "mail/MailMessageReader.h"

#include "mail/SafeFileName.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <sstream>
#include <vmime/vmime.hpp>

namespace {

QString utf8(const vmime::text &text)
{
    return QString::fromStdString(text.getConvertedText(vmime::charsets::UTF_8)).trimmed();
}

QDateTime toQt(const vmime::datetime &d)
{
    const QDate date(d.getYear(), d.getMonth(), d.getDay());
    const QTime time(d.getHour(), d.getMinute(), d.getSecond());
    const QDateTime moment(date, time, Qt::OffsetFromUTC, d.getZone() * 60);
    return moment.isValid() ? moment.toLocalTime() : QDateTime();
}

std::shared_ptr<const vmime::mailbox> firstMailbox(const vmime::header &header,
                                                   const std::string &field)
{
    if (auto box = header.findFieldValue<vmime::mailbox>(field))
        return box;
    if (auto list = header.findFieldValue<vmime::addressList>(field)) {
        auto boxes = list->toMailboxList();
        if (boxes && boxes->getMailboxCount() > 0)
            return boxes->getMailboxAt(0);
    }
    return nullptr;
}

QDateTime receivedDate(const vmime::header &header)
{
    if (header.hasField(vmime::fields::RECEIVED)) {
        const auto fields =
            const_cast<vmime::header &>(header).findAllFields(vmime::fields::RECEIVED);
        if (!fields.empty()) {
            if (auto relay = fields.front()->getValue<vmime::relay>()) {
                const QDateTime when = toQt(relay->getDate());
                if (when.isValid() && when.date().year() > 1970)
                    return when;
            }
        }
    }
    if (auto date = header.findFieldValue<vmime::datetime>(vmime::fields::DATE))
        return toQt(*date);
    return {};
}

QString decodeText(const std::string &bytes, const vmime::charset &charset)
{
    QStringDecoder decoder(charset.getName().c_str());
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);
    return decoder.decode(QByteArray::fromStdString(bytes));
}

std::string extract(const std::shared_ptr<const vmime::contentHandler> &content)
{
    std::ostringstream out;
    vmime::utility::outputStreamAdapter adapter(out);
    content->extract(adapter);
    return out.str();
}

QString noteText(const vmime::messageParser &parser)
{
    for (const auto &part : parser.getTextPartList()) {
        if (auto html = vmime::dynamicCast<const vmime::htmlTextPart>(part)) {
            if (html->getPlainText() && !html->getPlainText()->isEmpty())
                return decodeText(extract(html->getPlainText()), html->getCharset());
        }
        return decodeText(extract(part->getText()), part->getCharset());
    }
    return {};
}

std::optional<QString> store(const vmime::attachment &attachment, const QString &folder,
                             QStringList &paths)
{
    QString name = SafeFileName::make(
        QString::fromStdString(attachment.getName().getConvertedText(vmime::charsets::UTF_8)));
    name = SafeFileName::numbered(name, [&](const QString &n) {
        return paths.contains(folder + u'/' + n, Qt::CaseInsensitive);
    });
    const QString path = folder + u'/' + name;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot store the attachment %1: %2").arg(path, file.errorString());
    const std::string data = extract(attachment.getData());
    if (file.write(data.data(), qint64(data.size())) != qint64(data.size()) || !file.commit())
        return QStringLiteral("Cannot store the attachment %1: %2").arg(path, file.errorString());
    paths.append(path);
    return std::nullopt;
}

} // namespace

namespace MailMessageReader {

void readEnvelope(const vmime::header &header, MailMessageInfo &info)
{
    if (auto from = firstMailbox(header, vmime::fields::FROM)) {
        info.origDisplayName = utf8(from->getName());
        info.origAddress = QString::fromStdString(from->getEmail().toString());
        if (info.origDisplayName.isEmpty())
            info.origDisplayName = info.origAddress;
    }
    if (auto to = firstMailbox(header, vmime::fields::TO)) {
        info.recipAddress = QString::fromStdString(to->getEmail().toString());
        info.recipDisplayName = utf8(to->getName());
        if (info.recipDisplayName.isEmpty())
            info.recipDisplayName = info.recipAddress;
    }
    if (auto subject = header.findFieldValue<vmime::text>(vmime::fields::SUBJECT))
        info.subject = utf8(*subject);
    info.dateReceived = receivedDate(header);
}

std::optional<QString> readContent(const std::string &raw, const QString &folder,
                                   MailMessageInfo &info)
{
    auto message = std::make_shared<vmime::message>();
    message->parse(raw);
    readEnvelope(*message->getHeader(), info);
    const vmime::messageParser parser(message);
    info.noteText = noteText(parser);
    info.attachmentPaths.clear();
    const auto attachments = parser.getAttachmentList();
    if (!attachments.empty() && !QDir().mkpath(folder))
        return QStringLiteral("Cannot create the folder %1.").arg(folder);
    for (const auto &attachment : attachments) {
        if (auto error = store(*attachment, folder, info.attachmentPaths))
            return error;
    }
    info.downloaded = true;
    return std::nullopt;
}

} // namespace MailMessageReader
