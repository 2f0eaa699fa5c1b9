#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QStringList>
#include <optional>

class QLocalSocket;

// One program per program folder. The first program to claim a folder keeps a lock in it and
// listens on a local socket named after it; a later start with the same folder hands its
// addresses to that program instead of running over the same files.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    enum class Role { First, Second };

    explicit SingleInstance(const QString &appDir, QObject *parent = nullptr);
    ~SingleInstance() override;

    // The socket's name: the same for every spelling of the folder, different for others.
    static QString serverName(const QString &appDir);

    // First when this program now runs the folder (a lock left by a crash is taken over),
    // Second when another program does.
    Role claim();

    // For the First, once it is ready to open addresses: takes over a socket left by a crash and
    // takes later starts' addresses from then on. Until then later starts wait. errorString()
    // says why listening failed.
    void listen();
    QString errorString() const { return error_; }

    // For a Second: gives the addresses to the running program and waits until it has taken
    // them. Blocking, as nothing else is left to do. Returns the reason when it could not.
    std::optional<QString> handOver(const QStringList &addresses, int timeoutMs = 15000);

signals:
    // For the First: a later start's addresses, in the order it was given them.
    void addressesReceived(const QStringList &addresses);

private:
    bool otherProgramAnswers();
    void acceptConnections();
    void readRequest(QLocalSocket *socket);

    QString name_;
    QLockFile lock_;
    QLocalServer server_;
    QString error_;
};
