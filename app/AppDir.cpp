#include "app/AppDir.h"

#include "app/TextFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace AppDirectory {
namespace {

bool copyTree(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    bool ok = true;
    const QFileInfoList entries =
        QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QString target = QDir(to).filePath(entry.fileName());
        if (entry.isDir())
            ok = copyTree(entry.filePath(), target) && ok;
        else if (!QFileInfo::exists(target))
            ok = QFile::copy(entry.filePath(), target) && ok;
    }
    return ok;
}

bool hasShippedData(const QString &dir)
{
    return QFileInfo(TextFile::resolveNoCase(dir, QStringLiteral("Help"))).isDir();
}

} // namespace

QString resolve(const QString &executableDir)
{
    const QString forced = qEnvironmentVariable("QUILLMERE_APPDIR");
    if (!forced.isEmpty())
        return QDir::cleanPath(QDir(forced).absolutePath());
    // An installed program's folder (/usr/bin) is writable for root too, but it is no place for
    // the user's files: only a folder that holds the program's data is a program folder.
    const QFileInfo exe(executableDir);
    if (exe.isDir() && exe.isWritable() && hasShippedData(executableDir))
        return QDir::cleanPath(exe.absoluteFilePath());
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir::cleanPath(dataHome + QStringLiteral("/quillmere"));
}

QString shippedDataDir(const QString &executableDir)
{
    if (hasShippedData(executableDir))
        return executableDir;
    return QDir::cleanPath(executableDir + QStringLiteral("/../share/quillmere"));
}

std::optional<QString> seed(const QString &appDir, const QString &dataDir)
{
    if (!QDir().mkpath(appDir))
        return QStringLiteral("Cannot create the program folder %1")
            .arg(QDir::toNativeSeparators(appDir));
    if (QDir(appDir) == QDir(dataDir) || !QFileInfo(dataDir).isDir())
        return std::nullopt;
    bool ok = true;
    for (const QString &name : {QStringLiteral("Help"), QStringLiteral("Bmps")}) {
        const QString source = TextFile::resolveNoCase(dataDir, name);
        if (QFileInfo(source).isDir())
            ok = copyTree(source, TextFile::resolveNoCase(appDir, name)) && ok;
    }
    const QString tips = TextFile::resolveNoCase(dataDir, QStringLiteral("TipHelp.Txt"));
    const QString tipsTarget = TextFile::resolveNoCase(appDir, QStringLiteral("TipHelp.Txt"));
    if (QFileInfo::exists(tips) && !QFileInfo::exists(tipsTarget))
        ok = QFile::copy(tips, tipsTarget) && ok;
    if (!ok)
        return QStringLiteral("Cannot copy the program's help and pictures into %1")
            .arg(QDir::toNativeSeparators(appDir));
    return std::nullopt;
}

std::optional<QString> ensureWebPages(const QString &appDir)
{
    const QString path = TextFile::resolveNoCase(appDir, QStringLiteral("WebPages"));
    if (QFileInfo(path).isDir())
        return std::nullopt;
    if (QDir().mkdir(path))
        return std::nullopt;
    return QStringLiteral("I/O error: cannot create the folder %1")
        .arg(QDir::toNativeSeparators(QDir(appDir).filePath(QStringLiteral("WebPages"))));
}

} // namespace AppDirectory
