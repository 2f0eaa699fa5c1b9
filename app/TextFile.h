#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

// Reading and writing the program's plain text data files, the one place that knows their bytes.
namespace TextFile {

// The largest file of each kind that is read: anything bigger is not a file of that kind.
// Options.INI, Colors.Ini, WebButtons.Ini: a few lines, though an address may be a long data: one.
inline constexpr qint64 SettingsLimit = 16 << 20;
inline constexpr qint64 ShortcutLimit = 64 << 10;
inline constexpr qint64 DataLimit = 256 << 20; // history, lists, bookmarks, saved pages

// Text of a data file, decided line by line: a line that is valid UTF-8 is UTF-8, any other
// line Windows-1252, so that files written on Windows read right and one stray byte spoils
// nothing else.
QString decode(const QByteArray &bytes);
// One line of a data file, without its end: UTF-8 when it is valid UTF-8, else Windows-1252.
QString decodeLine(QByteArrayView bytes);

// Lines end at LF; a CR right before the LF is not part of the line. A final line without
// an end still counts; an empty file has no lines.
QStringList splitLines(const QByteArray &bytes);
// Hands each line of a file's bytes to take, without its LF or CR LF; a byte order mark that
// opens the file is dropped. Readers that keep bytes rather than text split with this too, so
// every file is cut into lines the same way.
template <typename Take> void forEachLine(QByteArrayView bytes, Take take)
{
    if (bytes.startsWith("\xef\xbb\xbf"))
        bytes = bytes.sliced(3);
    while (!bytes.isEmpty()) {
        const qsizetype end = bytes.indexOf('\n');
        QByteArrayView line = end < 0 ? bytes : bytes.first(end);
        bytes = end < 0 ? QByteArrayView() : bytes.sliced(end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        take(line);
    }
}

struct ReadResult
{
    QStringList lines;
    std::optional<QString> error; // set when the file exists but could not be read
    bool exists = false;
};

struct BytesResult
{
    QByteArray bytes;
    std::optional<QString> error; // set when the file exists but could not be read
    bool exists = false;
};

// Reads a whole file. A missing file is not an error: exists is false. Only an ordinary file
// of at most limit bytes is read; a folder, pipe, device or bigger file is refused with the
// reason, and never waited on.
BytesResult readBytes(const QString &path, qint64 limit = DataLimit);
// readBytes, split into lines.
ReadResult readLines(const QString &path, qint64 limit = DataLimit);

// Writes lines as UTF-8, each ended by CR LF (a line break inside a line becomes a blank),
// atomically: after a failure the old file is still whole. Returns the error text, or nothing on
// success.
std::optional<QString> writeLines(const QString &path, const QStringList &lines);
// Writes bytes as they are, atomically and synced to the disk. On failure the old file is
// untouched and the text says why, in the system's words ("No space left on device").
std::optional<QString> writeBytes(const QString &path, const QByteArray &bytes);

// The path of the entry called name in dir, matching the name without regard to ASCII case;
// when nothing matches, dir joined with name as given (so a writer creates it under that name).
QString resolveNoCase(const QString &dir, const QString &name);

} // namespace TextFile
