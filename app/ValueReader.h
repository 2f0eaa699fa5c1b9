#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Reads a data file one value per line, the way every one-value-a-line file of the program is
// read: past the last line a text reads as empty and a number as 0; a number that does not
// convert stops the reading (failed() turns true and later reads change nothing).
class ValueReader
{
public:
    explicit ValueReader(QStringList lines) : lines_(std::move(lines)) {}

    // The whole next line, unchanged.
    bool readText(QString &out);
    // Leading blanks skipped, up to 32 non-blank characters converted as a signed 32-bit
    // decimal, the rest of the line ignored. A blank line reads as 0.
    bool readInt(qint32 &out);
    // True exactly when the line in upper case (ASCII) is "TRUE"; any other text is false.
    bool readFlag(bool &out);

    bool failed() const { return failed_; }
    // True when every read so far succeeded.
    bool ok() const { return !failed_; }

    // The conversion used by readInt, for callers that hold a single line.
    static bool parseInt(const QString &line, qint32 &out);

private:
    QString nextLine();

    QStringList lines_;
    qsizetype next_ = 0;
    bool failed_ = false;
};
