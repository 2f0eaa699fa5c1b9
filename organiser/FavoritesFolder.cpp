#include "organiser/FavoritesFolder.h"

#include <QDir>
#include <QFileInfo>

QString favoritesFolder()
{
    QString path = qEnvironmentVariable("QUILLMERE_FAVORITES");
    if (path.isEmpty())
        path = QDir::home().filePath(QStringLiteral("Favorites"));
    path = QDir::cleanPath(QDir(path).absolutePath());
    if (!QFileInfo(path).isDir() && !QDir().mkpath(path))
        return {};
    return path;
}
