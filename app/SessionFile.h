#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <optional>

// The addresses of the open browser windows, kept in the program folder while the program runs,
// so that a start after a crash or a kill can offer them again. An orderly close marks the file
// closed and the next start is the usual one.
class SessionFile : public QObject
{
    Q_OBJECT
public:
    explicit SessionFile(const QString &appDir, QObject *parent = nullptr);

    static QString fileName() { return QStringLiteral("Session.Ini"); }
    QString path() const;

    // The windows a run left open when it ended without closing in order; empty otherwise.
    QStringList lostAddresses() const;

    // The windows open now. The first call writes at once; later changes are written at most
    // once a second, the last one always.
    void setAddresses(const QStringList &addresses);

    // An orderly close: any change still waiting is dropped, the file is marked closed and later
    // changes (windows taken down with the frame) are ignored.
    std::optional<QString> markClosed();

    // Shorter spacing between writes, for tests only of the spacing itself.
    void setMinimumSpacing(int milliseconds) { spacing_.setInterval(milliseconds); }

signals:
    void writeFailed(const QString &error);

private:
    void writePending();
    std::optional<QString> write(const QString &state, const QStringList &addresses);

    QString appDir_;
    QStringList pending_;
    std::optional<QStringList> written_;
    std::optional<QString> lastError_;
    bool dirty_ = false;
    bool closed_ = false;
    QTimer spacing_;
};
