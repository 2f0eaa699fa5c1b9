#include "organiser/OfflineFolder.h"

#include "app/CaseFold.h"
#include "app/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace OfflineFolder {

QStringList list(const QString &dir, const QString &patterns)
{
    QStringList names;
    const QDir folder(dir);
    if (dir.isEmpty() || !folder.exists())
        return names;
    for (const QString &pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        // Hidden files and anything that is not a plain file (sockets, devices) stay out.
        names += folder.entryList({pattern.trimmed()}, QDir::Files, QDir::NoSort);
    }
    std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return CaseFold::upper(a) < CaseFold::upper(b);
    });
    return names;
}

QString pathForNode(const QString &dir, const QString &text)
{
    const QString exact = QDir(dir).filePath(text);
    if (text.isEmpty() || QFileInfo(exact).isFile())
        return exact;
    for (const char *extension : {".htm", ".html", ".mht", ".mhtml", ".txt"}) {
        const QString saved = TextFile::resolveNoCase(dir, text + QLatin1String(extension));
        if (QFileInfo(saved).isFile())
            return saved;
    }
    return exact;
}

} // namespace OfflineFolder
