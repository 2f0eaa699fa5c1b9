#include "app/TextFile.h"

#include "app/CaseFold.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace TextFile {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; Qt's own codec for it needs ICU,
// which not every Qt build has, so the 32 code points are kept here.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

QString decodeCp1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b < 0xA0) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

} // namespace

QString decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeCp1252(bytes);
}

QStringList splitLines(const QByteArray &bytes)
{
    // Decoding once for the whole file keeps large files (a long history) quick to read.
    const QString text = decode(bytes);
    QStringList lines = text.split(u'\n');
    if (text.endsWith(u'\n') || text.isEmpty())
        lines.removeLast();
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

ReadResult readLines(const QString &path)
{
    ReadResult result;
    QFileInfo info(path);
    if (!info.exists())
        return result;
    result.exists = true;
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        result.error =
            QStringLiteral("Cannot read %1: %2")
                .arg(QDir::toNativeSeparators(path),
                     info.isDir() ? QStringLiteral("it is a folder") : file.errorString());
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error = QStringLiteral("Cannot read %1: %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString());
        return result;
    }
    result.lines = splitLines(bytes);
    return result;
}

std::optional<QString> writeLines(const QString &path, const QStringList &lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot write %1: %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    QByteArray bytes;
    for (const QString &line : lines) {
        // A line break inside a value would shift every later line of a one-value-a-line file.
        QString flat = line;
        flat.replace(u'\r', u' ').replace(u'\n', u' ');
        bytes += flat.toUtf8();
        bytes += "\r\n";
    }
    // The bytes may still sit in a buffer: a disk that fills up while they go out must stop the
    // commit, or a cut-off file would replace the whole one.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit())
        return QStringLiteral("Cannot write %1: %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
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
