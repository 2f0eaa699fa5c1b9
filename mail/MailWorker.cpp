#include "mail/MailWorker.h"

#include "mail/MailMessageReader.h"
#include "mail/MailMessageWriter.h"

#include <QFile>
#include <sstream>
#include <vmime/vmime.hpp>

namespace {

using Security = MailAccount::Security;

vmime::utility::url serviceUrl(const QString &protocol, Security security, const QString &host,
                               int port)
{
    const QString scheme = security == Security::Tls ? protocol + u's' : protocol;
    return vmime::utility::url(scheme.toStdString(), host.trimmed().toStdString(), port);
}

void applySecurity(vmime::net::service &service, Security security)
{
    service.setProperty("connection.tls", security == Security::StartTls);
    // A STARTTLS that the server (or someone between) does not offer must not fall back
    // quietly to sending the password in the clear.
    service.setProperty("connection.tls.required", security == Security::StartTls);
}

void applyLogin(vmime::net::service &service, const MailAccount &account, const QString &password,
                bool needed)
{
    service.setProperty("options.need-authentication", needed);
    service.setProperty("auth.username", account.userName.trimmed().toStdString());
    service.setProperty("auth.password", password.toStdString());
}

QString serverAnswer(const std::exception &e)
{
    std::string answer;
    if (auto *c = dynamic_cast<const vmime::exceptions::command_error *>(&e))
        answer = c->response();
    else if (auto *a = dynamic_cast<const vmime::exceptions::authentication_error *>(&e))
        answer = a->response();
    else if (auto *g = dynamic_cast<const vmime::exceptions::connection_greeting_error *>(&e))
        answer = g->response();
    else if (auto *r = dynamic_cast<const vmime::exceptions::invalid_response *>(&e))
        answer = r->response();
    return QString::fromStdString(answer).trimmed();
}

bool breaksConnection(const std::exception &e)
{
    return dynamic_cast<const vmime::exceptions::socket_exception *>(&e) ||
           dynamic_cast<const vmime::exceptions::operation_timed_out *>(&e) ||
           dynamic_cast<const vmime::exceptions::not_connected *>(&e) ||
           dynamic_cast<const vmime::exceptions::invalid_response *>(&e) ||
           dynamic_cast<const vmime::exceptions::connection_greeting_error *>(&e) ||
           dynamic_cast<const vmime::security::cert::certificateException *>(&e);
}

bool refusesLogin(const std::exception &e)
{
    return dynamic_cast<const vmime::exceptions::authentication_error *>(&e) ||
           dynamic_cast<const vmime::exceptions::authentication_exception *>(&e);
}

std::string extractWithPeek(vmime::net::message &message)
{
    std::ostringstream out;
    vmime::utility::outputStreamAdapter adapter(out);
    // Peek: reading a message must not mark it as read on the server.
    message.extract(adapter, nullptr, 0, size_t(-1), true);
    return out.str();
}

} // namespace

MailWorker::MailWorker(std::shared_ptr<MailTimeoutFactory::Control> control,
                       MailCertificateVerifier::Ask askCertificate)
    : control_(std::move(control)), timeouts_(std::make_shared<MailTimeoutFactory>(control_)),
      verifier_(std::make_shared<MailCertificateVerifier>(std::move(askCertificate)))
{
}

MailWorker::~MailWorker()
{
    dropConnections();
}

template <typename Work>
void MailWorker::run(MailOperation operation, quint64 epoch, Work work, const QString &context)
{
    control_->stepEpoch = epoch;
    if (control_->cancelled()) {
        if (operation == MailOperation::SignOn)
            emit signOnFailed(tr("Cancelled."), false);
        else
            emit failed(operation, tr("Cancelled."));
        emit stepFinished();
        return;
    }
    try {
        work();
    } catch (const std::exception &e) {
        fail(operation, e, context);
    }
    emit stepFinished();
}

void MailWorker::fail(MailOperation operation, const std::exception &e, const QString &context)
{
    const bool lost = breaksConnection(e) || control_->cancelled();
    const QString message = context + describeFailure(e);
    if (operation == MailOperation::SignOn) {
        dropConnections();
        emit signOnFailed(message, refusesLogin(e));
        return;
    }
    if (operation == MailOperation::Send) {
        // A refused recipient leaves the transaction half done: the next send starts afresh.
        // The incoming connection is another one and stays.
        dropTransport();
    } else if (lost) {
        dropConnections();
        emit connectionLost();
    }
    emit failed(operation, message);
}

QString MailWorker::describeFailure(const std::exception &e) const
{
    if (control_->cancelled())
        return tr("Cancelled.");
    if (dynamic_cast<const vmime::exceptions::operation_timed_out *>(&e))
        return tr("The mail server did not answer within %1 seconds.")
            .arg(control_->limitMs.load() / 1000.0);
    if (refusesLogin(e)) {
        const QString answer = serverAnswer(e);
        return answer.isEmpty()
                   ? tr("The mail server refused the user name or password.")
                   : tr("The mail server refused the user name or password: %1").arg(answer);
    }
    QString text = QString::fromUtf8(e.what());
    const QString answer = serverAnswer(e);
    if (!answer.isEmpty())
        text += tr(". The server answered: %1").arg(answer);
    if (auto *v = dynamic_cast<const vmime::exception *>(&e)) {
        for (const vmime::exception *o = v->other(); o; o = o->other())
            text += QStringLiteral(" (%1)").arg(QString::fromUtf8(o->what()));
    }
    return text;
}

void MailWorker::dropConnections()
{
    // Closing politely may fail on a broken or cancelled connection; it is closed all the same.
    try {
        if (folder_ && folder_->isOpen())
            folder_->close(false);
    } catch (const std::exception &) {
    }
    try {
        if (store_ && store_->isConnected())
            store_->disconnect();
    } catch (const std::exception &) {
    }
    dropTransport();
    folder_.reset();
    store_.reset();
}

void MailWorker::dropTransport()
{
    try {
        if (transport_ && transport_->isConnected())
            transport_->disconnect();
    } catch (const std::exception &) {
    }
    transport_.reset();
}

void MailWorker::signOn(const MailAccount &account, const QString &password, quint64 epoch)
{
    run(MailOperation::SignOn, epoch, [&] {
        dropConnections();
        account_ = account;
        password_ = password;
        session_ = vmime::net::session::create();
        if (account.incoming == MailAccount::Incoming::Maildir) {
            store_ = session_->getStore(vmime::utility::url("maildir", ""));
            store_->setProperty("server.rootpath",
                                QFile::encodeName(account.maildirPath).toStdString());
        } else {
            const QString protocol = account.incoming == MailAccount::Incoming::Imap
                                         ? QStringLiteral("imap")
                                         : QStringLiteral("pop3");
            store_ = session_->getStore(serviceUrl(protocol, account.incomingSecurity,
                                                   account.incomingHost, account.incomingPort));
            applySecurity(*store_, account.incomingSecurity);
            applyLogin(*store_, account, password, true);
        }
        store_->setTimeoutHandlerFactory(timeouts_);
        store_->setCertificateVerifier(verifier_);
        store_->connect();
        emit signedOn();
    });
}

void MailWorker::signOff()
{
    dropConnections();
    session_.reset();
    password_.clear();
    emit stepFinished();
}

std::shared_ptr<vmime::net::folder> MailWorker::inbox()
{
    if (!store_ || !store_->isConnected())
        throw vmime::exceptions::not_connected();
    if (!folder_) {
        folder_ = store_->getDefaultFolder();
        folder_->open(vmime::net::folder::MODE_READ_WRITE);
    }
    return folder_;
}

vmime::net::messageSet MailWorker::messageByUid(const QString &uid)
{
    auto folder = inbox();
    const std::string id = uid.toStdString();
    if (account_.incoming == MailAccount::Incoming::Imap)
        return vmime::net::messageSet::byUID(id);
    // Other stores number their messages afresh after a deletion: look the number up.
    const size_t count = folder->getMessageCount();
    if (count == 0)
        throw vmime::exceptions::message_not_found();
    auto all = folder->getMessages(vmime::net::messageSet::byNumber(1, count));
    folder->fetchMessages(all, vmime::net::fetchAttributes::UID);
    for (const auto &m : all) {
        if (m->getUID() == id)
            return vmime::net::messageSet::byNumber(m->getNumber());
    }
    throw vmime::exceptions::message_not_found();
}

void MailWorker::fetch(quint64 epoch)
{
    run(MailOperation::Fetch, epoch, [&] {
        auto folder = inbox();
        size_t count = 0, unseen = 0;
        // The count the folder keeps goes stale after an expunge until the status is asked.
        folder->status(count, unseen);
        count = folder->getMessageCount();
        QList<MailMessageInfo> list;
        if (count > 0) {
            auto messages = folder->getMessages(vmime::net::messageSet::byNumber(1, count));
            // The whole header brings the Received: lines; asked for by name, vmime's IMAP
            // would fetch them without PEEK and mark every message read.
            vmime::net::fetchAttributes attributes(vmime::net::fetchAttributes::ENVELOPE |
                                                   vmime::net::fetchAttributes::FULL_HEADER |
                                                   vmime::net::fetchAttributes::UID);
            const bool flags = folder->getFetchCapabilities() & vmime::net::fetchAttributes::FLAGS;
            if (flags)
                attributes.add(vmime::net::fetchAttributes::FLAGS);
            folder->fetchMessages(messages, attributes);
            for (const auto &message : messages) {
                MailMessageInfo info;
                info.uid = QString::fromStdString(message->getUID());
                MailMessageReader::readEnvelope(*message->getHeader(), info);
                info.unread = !flags || !(message->getFlags() & vmime::net::message::FLAG_SEEN);
                list.append(info);
            }
        }
        emit fetched(list);
    });
}

void MailWorker::download(const QString &uid, const QString &folder, quint64 epoch)
{
    run(MailOperation::Download, epoch, [&] {
        auto messages = inbox()->getMessages(messageByUid(uid));
        if (messages.empty())
            throw vmime::exceptions::message_not_found();
        MailMessageInfo info;
        info.uid = uid;
        const std::string raw = extractWithPeek(*messages.front());
        if (auto error = MailMessageReader::readContent(raw, folder, info))
            throw std::runtime_error(error->toStdString());
        emit downloaded(info);
    });
}

void MailWorker::markRead(const QString &uid, quint64 epoch)
{
    run(MailOperation::MarkRead, epoch, [&] {
        inbox()->setMessageFlags(messageByUid(uid), vmime::net::message::FLAG_SEEN,
                                 vmime::net::message::FLAG_MODE_ADD);
        emit markedRead(uid);
    });
}

void MailWorker::remove(const QString &uid, quint64 epoch)
{
    run(MailOperation::Delete, epoch, [&] {
        auto folder = inbox();
        folder->deleteMessages(messageByUid(uid));
        try {
            folder->expunge();
        } catch (const vmime::exceptions::operation_not_supported &) {
            // POP3 removes deleted messages when the session ends.
        }
        emit removed(uid);
    });
}

void MailWorker::connectTransport()
{
    if (transport_ && transport_->isConnected())
        return;
    if (!session_)
        throw vmime::exceptions::not_connected();
    if (account_.outgoing == MailAccount::Outgoing::Sendmail) {
        transport_ = session_->getTransport(vmime::utility::url("sendmail", ""));
        transport_->setProperty("binpath", QFile::encodeName(account_.sendmailPath).toStdString());
    } else {
        transport_ = session_->getTransport(serviceUrl(
            QStringLiteral("smtp"), account_.smtpSecurity, account_.smtpHost, account_.smtpPort));
        applySecurity(*transport_, account_.smtpSecurity);
        applyLogin(*transport_, account_, password_, account_.smtpNeedsLogin);
    }
    transport_->setTimeoutHandlerFactory(timeouts_);
    transport_->setCertificateVerifier(verifier_);
    transport_->connect();
}

void MailWorker::send(const MailOutgoing &outgoing, quint64 epoch)
{
    run(
        MailOperation::Send, epoch,
        [&] {
            auto message = MailMessageWriter::build(outgoing);
            connectTransport();
            transport_->send(message);
            emit sent(outgoing.recipAddress);
        },
        tr("The message to %1 was not sent. ").arg(outgoing.recipAddress));
}
