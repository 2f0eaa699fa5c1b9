#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <set>
#include <vmime/security/cert/certificateVerifier.hpp>
#include <vmime/security/cert/defaultCertificateVerifier.hpp>

// Checks a server's certificate against the system's trusted authorities and the host name;
// one that fails is accepted only when the user says so, and then for the rest of the run.
class MailCertificateVerifier : public vmime::security::cert::certificateVerifier
{
public:
    // Gets the user's answer to a question; called on the mail thread, it waits for the answer.
    using Ask = std::function<bool(const QString &question)>;

    explicit MailCertificateVerifier(Ask ask);

    void verify(std::shared_ptr<vmime::security::cert::certificateChain> chain,
                const vmime::string &hostname) override;

private:
    std::shared_ptr<vmime::security::cert::defaultCertificateVerifier> checker_;
    Ask ask_;
    std::set<std::string> accepted_;
};
