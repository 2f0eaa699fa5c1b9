#include "mail/PasswordStore.h"

#include <qt6keychain/keychain.h>

namespace {

const QString Service = QStringLiteral("Quillmere Mail");

} // namespace

PasswordStore::PasswordStore(bool useSecretStore, QObject *parent)
    : QObject(parent), useSecretStore_(useSecretStore)
{
}

void PasswordStore::request(const QString &accountKey)
{
    if (kept_.contains(accountKey)) {
        emit passwordReady(accountKey, kept_.value(accountKey));
        return;
    }
    if (!useSecretStore_) {
        askUser(accountKey);
        return;
    }
    auto *job = new QKeychain::ReadPasswordJob(Service, this);
    job->setKey(accountKey);
    // Never the plain-text fallback: a password in a settings file is what this class avoids.
    job->setInsecureFallback(false);
    connect(job, &QKeychain::Job::finished, this, [this, job, accountKey] {
        if (job->error() == QKeychain::NoError && !job->textData().isEmpty()) {
            kept_.insert(accountKey, job->textData());
            emit passwordReady(accountKey, job->textData());
        } else {
            askUser(accountKey);
        }
    });
    job->start();
}

void PasswordStore::askUser(const QString &accountKey)
{
    const std::optional<QString> answer = ask_ ? ask_(accountKey) : std::nullopt;
    if (!answer) {
        emit passwordUnavailable(accountKey, tr("No password was given for %1.").arg(accountKey));
        return;
    }
    kept_.insert(accountKey, *answer);
    askedThisRun_.insert(accountKey);
    emit passwordReady(accountKey, *answer);
}

void PasswordStore::accept(const QString &accountKey)
{
    if (!useSecretStore_ || !askedThisRun_.remove(accountKey) || !kept_.contains(accountKey))
        return;
    auto *job = new QKeychain::WritePasswordJob(Service, this);
    job->setKey(accountKey);
    job->setInsecureFallback(false);
    job->setTextData(kept_.value(accountKey));
    // Without a secret store the password simply stays in memory for the run.
    job->start();
}

void PasswordStore::reject(const QString &accountKey)
{
    kept_.remove(accountKey);
    askedThisRun_.remove(accountKey);
    if (!useSecretStore_)
        return;
    auto *job = new QKeychain::DeletePasswordJob(Service, this);
    job->setKey(accountKey);
    job->setInsecureFallback(false);
    job->start();
}
