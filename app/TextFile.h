#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Reading and writing the program's plain text data files, the one place that knows their bytes.
namespace TextFile {

// Text of a data file: UTF-8 when the bytes are valid UTF-8, otherwise Windows-1252, so that
// files written by older programs on Windows still read right.
QString decode(const QByteArray &bytes);

// Lines end at LF; a CR right before the LF is not part of the line. A final line without
// an end still counts; an empty file has no lines.
QStringList splitLines(const QByteArray &bytes);

struct ReadResult
{
    QStringList lines;
    std::optional<QString> error; // set when the file exists but could not be read
    bool exists = false;
};

// Reads a whole file into lines. A missing file is not an error: exists is false.
ReadResult readLines(const QString &path);

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
