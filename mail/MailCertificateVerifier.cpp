#include "mail/MailCertificateVerifier.h"

#include <QFile>
#include <vmime/security/cert/X509Certificate.hpp>
#include <vmime/security/cert/certificateChain.hpp>
#include <vmime/security/cert/certificateException.hpp>

namespace {

using vmime::security::cert::X509Certificate;

// The system bundle of trusted authorities, as Debian keeps it.
std::vector<std::shared_ptr<X509Certificate>> systemAuthorities()
{
    std::vector<std::shared_ptr<X509Certificate>> roots;
    QFile bundle(QStringLiteral("/etc/ssl/certs/ca-certificates.crt"));
    if (!bundle.open(QIODevice::ReadOnly))
        return roots;
    const QByteArray all = bundle.readAll();
    const QByteArray end = "-----END CERTIFICATE-----";
    qsizetype from = 0;
    for (qsizetype at = all.indexOf(end); at >= 0; at = all.indexOf(end, from)) {
        const QByteArray pem = all.mid(from, at + end.size() - from);
        from = at + end.size();
        if (auto cert = X509Certificate::import(
                reinterpret_cast<const vmime::byte_t *>(pem.constData()), size_t(pem.size())))
            roots.push_back(cert);
    }
    return roots;
}

std::string fingerprint(const std::shared_ptr<vmime::security::cert::certificateChain> &chain)
{
    if (!chain || chain->getCount() == 0)
        return {};
    auto cert = std::dynamic_pointer_cast<X509Certificate>(chain->getAt(0));
    if (!cert)
        return {};
    const vmime::byteArray sha = cert->getFingerprint(X509Certificate::DIGEST_SHA1);
    return std::string(sha.begin(), sha.end());
}

} // namespace

MailCertificateVerifier::MailCertificateVerifier(Ask ask)
    : checker_(std::make_shared<vmime::security::cert::defaultCertificateVerifier>()),
      ask_(std::move(ask))
{
    checker_->setX509RootCAs(systemAuthorities());
}

void MailCertificateVerifier::verify(std::shared_ptr<vmime::security::cert::certificateChain> chain,
                                     const vmime::string &hostname)
{
    try {
        checker_->verify(chain, hostname);
    } catch (const vmime::security::cert::certificateException &e) {
        const std::string print = fingerprint(chain);
        if (!print.empty() && accepted_.count(print))
            return;
        const QString question =
            QStringLiteral("The certificate of the mail server %1 cannot be trusted (%2). "
                           "Connect to it all the same?")
                .arg(QString::fromStdString(hostname), QString::fromUtf8(e.what()));
        if (print.empty() || !ask_ || !ask_(question))
            throw;
        accepted_.insert(print);
    }
}
