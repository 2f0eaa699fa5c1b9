#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Unpacks a received archive into one folder and nowhere else. Archives come from strangers:
// members that would land outside the folder or are not plain files are refused, and the
// total size and member count are bounded so that a small archive cannot fill the disk.
// Runs for as long as the archive needs: call it off the user interface thread.
class ZipExtractor
{
public:
    struct Limits
    {
        qint64 maxTotalBytes = qint64(512) * 1024 * 1024;
        int maxMembers = 10000;
    };

    struct Result
    {
        QStringList extracted;        // relative paths written under the folder, archive order
        QStringList refused;          // member names that were not extracted, and why
        std::optional<QString> error; // set when extraction stopped early
    };

    ZipExtractor();
    explicit ZipExtractor(Limits limits) : limits_(limits) {}

    // Creates folder when missing (one level) and extracts every acceptable member into it.
    Result extract(const QString &zipPath, const QString &folder) const;

private:
    Limits limits_;
};
