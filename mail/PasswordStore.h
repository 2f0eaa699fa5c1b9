#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>
#include <optional>

// The mail password: in the desktop's secret store when one runs, otherwise asked at sign-on
// and kept in memory for the run. It is never written to a file or a log.
class PasswordStore : public QObject
{
    Q_OBJECT
public:
    // Asks the user for the password of an account (its key, user@host); nothing when the user
    // declines. Called on the user interface thread; the window provides it.
    using AskPassword = std::function<std::optional<QString>(const QString &accountKey)>;

    explicit PasswordStore(bool useSecretStore = true, QObject *parent = nullptr);

    void setAsk(AskPassword ask) { ask_ = std::move(ask); }

    // Finds the password: kept for this run, then the secret store, then the user is asked.
    // Answers with passwordReady or passwordUnavailable, possibly before returning.
    void request(const QString &accountKey);
    // The server took the password: keep it for the run, and in the secret store when asked.
    void accept(const QString &accountKey);
    // The server refused it: forget it everywhere so that the next sign-on asks again.
    void reject(const QString &accountKey);

signals:
    void passwordReady(const QString &accountKey, const QString &password);
    void passwordUnavailable(const QString &accountKey, const QString &reason);

private:
    void askUser(const QString &accountKey);

    bool useSecretStore_;
    AskPassword ask_;
    QHash<QString, QString> kept_;
    QSet<QString> askedThisRun_;
};
