#pragma once

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

// A small HTTP server on 127.0.0.1 for tests: serves fixed pages and records each request path.
class FixtureServer : public QTcpServer
{
public:
    FixtureServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection())
                serve(socket);
        });
        listen(QHostAddress::LocalHost, 0);
    }

    void setPage(const QString &path, const QByteArray &html) { pages_.insert(path, html); }
    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
    }
    QStringList requests;

private:
    void serve(QTcpSocket *socket)
    {
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            buffer_[socket] += socket->readAll();
            if (!buffer_[socket].contains("\r\n\r\n"))
                return;
            const QList<QByteArray> words = buffer_[socket].split(' ');
            buffer_.remove(socket);
            const QString path = words.size() > 1 ? QString::fromLatin1(words[1]) : QString();
            requests << path;
            const bool found = pages_.contains(path);
            const QByteArray body = found ? pages_.value(path) : QByteArray("<h1>Not found</h1>");
            socket->write(QByteArray(found ? "HTTP/1.0 200 OK\r\n" : "HTTP/1.0 404 Not Found\r\n") +
                          "Content-Type: text/html; charset=utf-8\r\nContent-Length: " +
                          QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
            socket->disconnectFromHost();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    QHash<QString, QByteArray> pages_;
    QHash<QTcpSocket *, QByteArray> buffer_;
};
