#include "shell/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QThread>

Q_LOGGING_CATEGORY(lcInstance, "quillmere.instance")

namespace {

const QByteArray greeting = QByteArrayLiteral("QUILLMERE 1\n");
const QByteArray taken = QByteArrayLiteral("OK\n");
// A hand-over is a few addresses; anything larger is not from us.
constexpr qsizetype maximumRequest = 4 * 1024 * 1024;

QString canonicalFolder(const QString &appDir)
{
    const QFileInfo info(appDir);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QByteArray encodeRequest(const QStringList &addresses)
{
    QByteArray request = greeting;
    for (QString address : addresses) {
        address.replace(u'\n', u' ').replace(u'\r', u' ');
        if (!address.trimmed().isEmpty())
            request += address.toUtf8() + '\n';
    }
    return request + '\n';
}

// The addresses of a whole request, or nothing while it is incomplete or when it is not ours.
std::optional<QStringList> decodeRequest(const QByteArray &bytes, bool *foreign)
{
    *foreign = !bytes.startsWith(greeting.left(bytes.size()));
    const qsizetype end = bytes.indexOf("\n\n", greeting.size() - 1);
    if (*foreign || bytes.size() < greeting.size() || end < 0)
        return std::nullopt;
    QStringList addresses;
    const QByteArray body = bytes.mid(greeting.size(), end + 1 - greeting.size());
    for (const QByteArray &line : body.split('\n')) {
        const QString address = QString::fromUtf8(line).trimmed();
        if (!address.isEmpty())
            addresses.append(address);
    }
    return addresses;
}

} // namespace

SingleInstance::SingleInstance(const QString &appDir, QObject *parent)
    : QObject(parent), name_(serverName(appDir)),
      lock_(QDir(appDir).filePath(QStringLiteral("Quillmere.lock")))
{
    // A running program holds its lock however long it runs; only a dead owner makes it stale.
    lock_.setStaleLockTime(0);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

SingleInstance::~SingleInstance()
{
    server_.close();
}

QString SingleInstance::serverName(const QString &appDir)
{
    const QByteArray hash =
        QCryptographicHash::hash(canonicalFolder(appDir).toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("quillmere-") + QString::fromLatin1(hash.toHex().left(32));
}

SingleInstance::Role SingleInstance::claim()
{
    if (lock_.tryLock(0))
        return Role::First;
    if (lock_.error() == QLockFile::LockFailedError)
        return Role::Second;
    // A folder where no lock can be made: the socket alone decides.
    return otherProgramAnswers() ? Role::Second : Role::First;
}

void SingleInstance::listen()
{
    if (server_.isListening())
        return;
    // Whoever holds the lock owns the name, so a socket still there is a crashed program's.
    // Without a socket the program still runs; later starts then report that it does not answer.
    QLocalServer::removeServer(name_);
    if (server_.listen(name_))
        return;
    error_ = server_.errorString();
    qCWarning(lcInstance, "Cannot listen for later starts: %s", qPrintable(error_));
}

bool SingleInstance::otherProgramAnswers()
{
    QLocalSocket probe;
    probe.connectToServer(name_);
    return probe.waitForConnected(1000);
}

std::optional<QString> SingleInstance::handOver(const QStringList &addresses, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    // The running program may still be on its way to listening.
    while (true) {
        socket.connectToServer(name_);
        if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime()))))
            break;
        if (deadline.hasExpired())
            return QStringLiteral("The running Quillmere does not answer: %1")
                .arg(socket.errorString());
        QThread::msleep(100);
    }
    socket.write(encodeRequest(addresses));
    QByteArray answer;
    while (!answer.contains('\n')) {
        if (!socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            return QStringLiteral("The running Quillmere did not take the addresses: %1")
                .arg(socket.errorString());
        answer += socket.readAll();
    }
    if (answer != taken)
        return QStringLiteral("The running Quillmere refused the addresses");
    return std::nullopt;
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
    }
}

void SingleInstance::readRequest(QLocalSocket *socket)
{
    QByteArray bytes = socket->property("request").toByteArray() + socket->readAll();
    bool foreign = false;
    const std::optional<QStringList> addresses = decodeRequest(bytes, &foreign);
    if (foreign || bytes.size() > maximumRequest) {
        qCWarning(lcInstance, "Dropped a connection that is not a later start");
        socket->abort();
        return;
    }
    if (!addresses) {
        socket->setProperty("request", bytes);
        return;
    }
    socket->write(taken);
    socket->disconnectFromServer();
    emit addressesReceived(*addresses);
}
