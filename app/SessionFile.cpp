#include "app/SessionFile.h"

#include "app/CaseFold.h"
#include "app/TextFile.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcSession, "quillmere.session")

namespace {

const QString runningState = QStringLiteral("RUNNING");
const QString closedState = QStringLiteral("CLOSED");

} // namespace

SessionFile::SessionFile(const QString &appDir, QObject *parent) : QObject(parent), appDir_(appDir)
{
    spacing_.setSingleShot(true);
    spacing_.setInterval(1000);
    connect(&spacing_, &QTimer::timeout, this, &SessionFile::writePending);
}

QString SessionFile::path() const
{
    return TextFile::resolveNoCase(appDir_, fileName());
}

QStringList SessionFile::lostAddresses() const
{
    const TextFile::ReadResult file = TextFile::readLines(path());
    if (file.lines.isEmpty() || CaseFold::upper(file.lines.first().trimmed()) != runningState)
        return {};
    QStringList addresses;
    for (qsizetype i = 1; i < file.lines.size(); ++i) {
        const QString address = file.lines.at(i).trimmed();
        if (!address.isEmpty())
            addresses.append(address);
    }
    return addresses;
}

void SessionFile::setAddresses(const QStringList &addresses)
{
    if (closed_)
        return;
    pending_ = addresses;
    dirty_ = true;
    if (!spacing_.isActive())
        writePending();
}

void SessionFile::writePending()
{
    if (!dirty_ || closed_)
        return;
    dirty_ = false;
    if (written_ == pending_)
        return;
    if (const auto error = write(runningState, pending_)) {
        // Tried again a second later; the same reason is reported once.
        dirty_ = true;
        if (error != lastError_) {
            qCWarning(lcSession, "%s", qPrintable(*error));
            emit writeFailed(*error);
        }
        lastError_ = error;
    } else {
        written_ = pending_;
        lastError_.reset();
    }
    spacing_.start();
}

std::optional<QString> SessionFile::markClosed()
{
    closed_ = true;
    spacing_.stop();
    return write(closedState, {});
}

std::optional<QString> SessionFile::write(const QString &state, const QStringList &addresses)
{
    return TextFile::writeLines(path(), QStringList{state} + addresses);
}
