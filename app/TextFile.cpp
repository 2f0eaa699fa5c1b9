#include "app/TextFile.h"

#include "app/CaseFold.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QStringDecoder>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TextFile {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; Qt's own codec for it needs ICU,
// which not every Qt build has, so the 32 code points are kept here.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

QString decodeCp1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b < 0xA0) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

// A byte order mark is dropped by the caller, at the start of the file only; anywhere else
// it is a character like any other.
QString decodeUtf8(QByteArrayView bytes, bool *valid)
{
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    *valid = !utf8.hasError();
    return text;
}

QString readError(const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot read %1: %2").arg(QDir::toNativeSeparators(path), reason);
}

QString tooBig(qint64 limit)
{
    return QStringLiteral("it is larger than %1, too large for this kind of file")
        .arg(QLocale::c().formattedDataSize(limit, 0, QLocale::DataSizeTraditionalFormat));
}

// What the file holds, or limit + 1 bytes of it. Room is made for the size the file had, not
// for the limit: a read of a few bytes must not ask for the limit's worth of memory (256 MB of
// it, for a data file). The file may have grown since, and some files tell no size at all, so
// reading goes on to the end, or to one byte past the limit.
QByteArray readUpTo(QFile &file, qint64 size, qint64 limit)
{
    constexpr qint64 Chunk = 64 * 1024;
    QByteArray bytes = file.read(qBound<qint64>(0, size, limit) + 1);
    while (bytes.size() <= limit && file.error() == QFileDevice::NoError) {
        const QByteArray more = file.read(qMin(Chunk, limit + 1 - bytes.size()));
        if (more.isEmpty())
            break;
        bytes += more;
    }
    return bytes;
}

QString writeError(const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

QString decodeLine(QByteArrayView bytes)
{
    bool valid = false;
    QString text = decodeUtf8(bytes, &valid);
    return valid ? text : decodeCp1252(bytes);
}

QString decode(const QByteArray &bytes)
{
    QByteArrayView rest(bytes);
    if (rest.startsWith("\xef\xbb\xbf"))
        rest = rest.sliced(3);
    bool valid = false;
    QString text = decodeUtf8(rest, &valid);
    if (valid)
        return text;
    // One stray byte must not turn the rest of the file to mojibake: each line is UTF-8 when
    // it is valid UTF-8, else Windows-1252.
    text.clear();
    text.reserve(rest.size());
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf('\n');
        const qsizetype size = end < 0 ? rest.size() : end + 1;
        text += decodeLine(rest.first(size));
        rest = rest.sliced(size);
    }
    return text;
}

QStringList splitLines(const QByteArray &bytes)
{
    // Line by line straight from the bytes: no copy of the whole file's text is made, which
    // for a big file cost as much as the lines themselves. A line that is valid UTF-8 reads
    // the same either way, and decode() takes any other line as Windows-1252 on its own too.
    QStringList lines;
    forEachLine(bytes, [&lines](QByteArrayView line) { lines.append(decodeLine(line)); });
    return lines;
}

BytesResult readBytes(const QString &path, qint64 limit)
{
    BytesResult result;
    // Opened without waiting, so that a pipe with no writer cannot hang the reader; what it
    // is comes from the open file itself, not from a name that may change in between.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        result.exists = errno != ENOENT && errno != ENOTDIR;
        if (result.exists)
            result.error = readError(path, QString::fromLocal8Bit(std::strerror(errno)));
        return result;
    }
    result.exists = true;
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat info = {};
    if (::fstat(fd, &info) != 0) {
        result.error = readError(path, QString::fromLocal8Bit(std::strerror(errno)));
    } else if (S_ISDIR(info.st_mode)) {
        result.error = readError(path, QStringLiteral("it is a folder, not a file"));
    } else if (!S_ISREG(info.st_mode)) {
        result.error = readError(
            path, QStringLiteral("it is not an ordinary file (a pipe, a device or a socket)"));
    } else if (info.st_size > limit) {
        result.error = readError(path, tooBig(limit));
    } else {
        result.bytes = readUpTo(file, info.st_size, limit);
        if (file.error() != QFileDevice::NoError)
            result.error = readError(path, file.errorString());
        else if (result.bytes.size() > limit)
            result.error = readError(path, tooBig(limit));
    }
    if (result.error)
        result.bytes.clear();
    return result;
}

ReadResult readLines(const QString &path, qint64 limit)
{
    BytesResult read = readBytes(path, limit);
    ReadResult result;
    result.exists = read.exists;
    result.error = std::move(read.error);
    if (!result.error)
        result.lines = splitLines(read.bytes);
    return result;
}

std::optional<QString> writeLines(const QString &path, const QStringList &lines)
{
    QByteArray bytes;
    // The reader drops a byte order mark that opens a file; a first line beginning with that
    // character is given one in front, so that the character itself comes back.
    if (!lines.isEmpty() && lines.first().startsWith(QChar(0xFEFF)))
        bytes += "\xef\xbb\xbf";
    for (const QString &line : lines) {
        // A line break inside a value would shift every later line of a one-value-a-line file.
        QString flat = line;
        flat.replace(u'\r', u' ').replace(u'\n', u' ');
        bytes += flat.toUtf8();
        bytes += "\r\n";
    }
    return writeBytes(path, bytes);
}

std::optional<QString> writeBytes(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return writeError(path, file.errorString());
    // A short file only reaches Qt's buffer here, and commit() renames even when the flush
    // inside it fails: on a full disk that swaps the old file for an empty one. So the bytes
    // are flushed and synced first, and any failure cancels the save.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return writeError(path, reason);
    }
    if (::fsync(file.handle()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        file.cancelWriting();
        return writeError(path, reason);
    }
    if (!file.commit())
        return writeError(path, file.errorString());
    return std::nullopt;
}

QString resolveNoCase(const QString &dir, const QString &name)
{
    QDir folder(dir);
    if (QFileInfo::exists(folder.filePath(name)))
        return folder.filePath(name);
    const QStringList entries =
        folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (CaseFold::sameText(entry, name))
            return folder.filePath(entry);
    }
    return folder.filePath(name);
}

} // namespace TextFile
