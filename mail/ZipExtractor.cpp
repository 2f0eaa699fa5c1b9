#include "mail/ZipExtractor.h"

#include "mail/SafeFileName.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <sys/stat.h>
#include <zip.h>

namespace {

struct Member
{
    zip_uint64_t index = 0;
    QString name;
    QStringList parts; // safe path components under the folder; empty when refused
    QString refusal;
    bool isFolder = false;
};

QString memberName(zip_t *archive, zip_uint64_t index)
{
    const char *raw = zip_get_name(archive, index, ZIP_FL_ENC_GUESS);
    return raw ? QString::fromUtf8(raw) : QString();
}

// Unix file type bits kept in the external attributes by zip tools that record them.
QString typeRefusal(zip_t *archive, zip_uint64_t index)
{
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) < 0)
        return {};
    if (system != ZIP_OPSYS_UNIX)
        return {};
    const mode_t mode = attributes >> 16;
    if (S_ISLNK(mode))
        return QStringLiteral("a symbolic link");
    if (S_ISCHR(mode) || S_ISBLK(mode) || S_ISFIFO(mode) || S_ISSOCK(mode))
        return QStringLiteral("a device or special file");
    return {};
}

QString pathRefusal(const QString &name, QStringList &parts)
{
    QString path = name;
    path.replace(u'\\', u'/');
    if (path.isEmpty())
        return QStringLiteral("an empty name");
    if (path.startsWith(u'/') || (path.size() > 1 && path.at(1) == u':'))
        return QStringLiteral("an absolute name");
    for (const QString &part : path.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u"..")
            return QStringLiteral("a name that leaves the folder");
        if (part != u".")
            parts.append(SafeFileName::make(part));
    }
    if (parts.isEmpty())
        return QStringLiteral("an empty name");
    return {};
}

Member describe(zip_t *archive, zip_uint64_t index)
{
    Member m;
    m.index = index;
    m.name = memberName(archive, index);
    m.isFolder = m.name.endsWith(u'/') || m.name.endsWith(u'\\');
    m.refusal = typeRefusal(archive, index);
    if (m.refusal.isEmpty())
        m.refusal = pathRefusal(m.name, m.parts);
    if (!m.refusal.isEmpty())
        m.parts.clear();
    return m;
}

// True when path, once its folders exist, still lies inside root (no link inside root leads
// out of it).
bool staysInside(const QString &root, const QString &dir)
{
    const QString real = QFileInfo(dir).canonicalFilePath();
    return !real.isEmpty() && (real == root || real.startsWith(root + u'/'));
}

QString bombMessage(qint64 limit)
{
    return QStringLiteral("The archive unpacks to more than %1 MB; unpacking stopped. It may be "
                          "an archive made to fill the disk.")
        .arg(limit / (1024 * 1024));
}

// Creates the member's folders under root; empty when they would lie outside it.
QString memberFolder(const QString &root, const QStringList &folders)
{
    QString dir = root;
    for (const QString &part : folders) {
        dir += u'/' + part;
        if (!QFileInfo(dir).isDir() && !QDir().mkdir(dir))
            return {};
        if (!staysInside(root, dir))
            return {};
    }
    return dir;
}

bool copyData(zip_file_t *in, QSaveFile &out, qint64 &budget)
{
    char buffer[64 * 1024];
    for (;;) {
        const zip_int64_t n = zip_fread(in, buffer, sizeof buffer);
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        budget -= n;
        if (budget < 0 || out.write(buffer, n) != n)
            return false;
    }
}

void writeMember(zip_t *archive, const Member &m, const QString &root, qint64 &budget,
                 ZipExtractor::Result &result, qint64 limit)
{
    const QStringList folders = m.isFolder ? m.parts : m.parts.mid(0, m.parts.size() - 1);
    const QString dir = memberFolder(root, folders);
    if (dir.isEmpty()) {
        result.refused.append(
            QStringLiteral("%1: a folder outside the unpacking folder").arg(m.name));
        return;
    }
    if (m.isFolder)
        return;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, m.index, 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) &&
        qint64(stat.size) > budget) {
        result.error = bombMessage(limit);
        return;
    }
    const QString target = dir + u'/' + m.parts.last();
    if (QFileInfo(target).isDir()) {
        result.refused.append(QStringLiteral("%1: a folder has that name").arg(m.name));
        return;
    }
    zip_file_t *in = zip_fopen_index(archive, m.index, 0);
    QSaveFile out(target);
    if (!in || !out.open(QIODevice::WriteOnly)) {
        if (in)
            zip_fclose(in);
        result.error = QStringLiteral("Cannot unpack %1: %2").arg(m.name, out.errorString());
        return;
    }
    const bool copied = copyData(in, out, budget);
    const QString readError = QString::fromLocal8Bit(zip_file_strerror(in));
    zip_fclose(in);
    if (!copied) {
        out.cancelWriting();
        result.error =
            budget < 0 ? bombMessage(limit)
                       : QStringLiteral("Cannot unpack %1: %2")
                             .arg(m.name, out.error() != QFileDevice::NoError ? out.errorString()
                                                                              : readError);
        return;
    }
    if (!out.commit()) {
        result.error = QStringLiteral("Cannot write %1: %2").arg(target, out.errorString());
        return;
    }
    result.extracted.append(m.parts.join(u'/'));
}

} // namespace

ZipExtractor::Result ZipExtractor::extract(const QString &zipPath, const QString &folder) const
{
    Result result;
    QDir dir(folder);
    if (!dir.exists() && !QDir().mkdir(folder)) {
        result.error = QStringLiteral("Cannot create the folder %1.").arg(folder);
        return result;
    }
    const QString root = QFileInfo(folder).canonicalFilePath();
    int code = 0;
    zip_t *archive = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY, &code);
    if (!archive) {
        result.error = QStringLiteral("%1 is not an archive that can be read.").arg(zipPath);
        return result;
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    if (count > limits_.maxMembers) {
        result.error = QStringLiteral("The archive %1 holds %2 files, more than the %3 that "
                                      "are unpacked; nothing was unpacked.")
                           .arg(zipPath)
                           .arg(count)
                           .arg(limits_.maxMembers);
        zip_discard(archive);
        return result;
    }
    qint64 budget = limits_.maxTotalBytes;
    for (zip_int64_t i = 0; i < count && !result.error; ++i) {
        const Member m = describe(archive, zip_uint64_t(i));
        if (!m.refusal.isEmpty()) {
            result.refused.append(QStringLiteral("%1: %2").arg(m.name, m.refusal));
            continue;
        }
        writeMember(archive, m, root, budget, result, limits_.maxTotalBytes);
    }
    zip_discard(archive);
    return result;
}

ZipExtractor::ZipExtractor() : limits_(Limits{}) {}
