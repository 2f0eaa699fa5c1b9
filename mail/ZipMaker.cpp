#include "mail/ZipMaker.h"

#include "mail/SafeFileName.h"

#include <QFileInfo>
#include <QSet>
#include <zip.h>

namespace {

QString zipError(zip_t *archive)
{
    return QString::fromLocal8Bit(zip_strerror(archive));
}

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

std::optional<QString> checkInputs(const QStringList &files, const QString &zipPath)
{
    if (files.isEmpty())
        return QStringLiteral("There are no files to put into the archive.");
    for (const QString &file : files) {
        const QFileInfo info(file);
        if (!info.isFile() || !info.isReadable())
            return QStringLiteral("Cannot read the file %1.").arg(file);
        if (sameFile(file, zipPath))
            return QStringLiteral("The archive %1 would replace a file it is meant to hold.")
                .arg(zipPath);
    }
    return std::nullopt;
}

std::optional<QString> addFile(zip_t *archive, const QString &file, const QString &name)
{
    const QByteArray path = QFile::encodeName(file);
    zip_source_t *source = zip_source_file(archive, path.constData(), 0, -1);
    if (!source)
        return QStringLiteral("Cannot read the file %1: %2").arg(file, zipError(archive));
    if (zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
        zip_source_free(source);
        return QStringLiteral("Cannot add %1 to the archive: %2").arg(file, zipError(archive));
    }
    return std::nullopt;
}

} // namespace

namespace ZipMaker {

QString deriveZipName(const QString &firstFile)
{
    const int slash = firstFile.lastIndexOf(u'/');
    const QString folder = firstFile.left(slash + 1);
    const QString name = firstFile.mid(slash + 1);
    int start = 0;
    while (start < name.size() && name.at(start) == u'.')
        ++start;
    const int dot = name.indexOf(u'.', start);
    return folder + (dot < 0 ? name : name.left(dot)) + QStringLiteral(".Zip");
}

std::optional<QString> MakeZipFile(const QStringList &files, const QString &zipPath)
{
    if (auto error = checkInputs(files, zipPath))
        return error;
    int code = 0;
    // libzip builds the new archive in a temporary file beside zipPath and renames it over the
    // old one in zip_close, so a failed or interrupted write leaves the old archive whole.
    zip_t *archive =
        zip_open(QFile::encodeName(zipPath).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
        zip_error_fini(&error);
        return QStringLiteral("Cannot create the archive %1: %2").arg(zipPath, text);
    }
    QSet<QString> names;
    for (const QString &file : files) {
        const QString bare = SafeFileName::make(QFileInfo(file).fileName());
        const QString name = SafeFileName::numbered(
            bare, [&](const QString &n) { return names.contains(n.toLower()); });
        names.insert(name.toLower());
        if (auto error = addFile(archive, file, name)) {
            zip_discard(archive);
            return error;
        }
    }
    if (zip_close(archive) < 0) {
        const QString text = zipError(archive);
        zip_discard(archive);
        return QStringLiteral("Cannot write the archive %1: %2").arg(zipPath, text);
    }
    return std::nullopt;
}

} // namespace ZipMaker
