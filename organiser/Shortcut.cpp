#include "organiser/Shortcut.h"

#include "app/CaseFold.h"
#include "app/Globals.h"
#include "app/TextFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Longest file name, in bytes, that Linux file systems take.
constexpr qsizetype kNameMax = 255;
const QString kExtension = QStringLiteral(".Url");

// Blanks and control characters at both ends, as the old text files were trimmed.
QString trimControl(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start).unicode() <= u' ')
        ++start;
    while (end > start && text.at(end - 1).unicode() <= u' ')
        --end;
    return text.mid(start, end - start);
}

QString extensionOf(const QString &fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot);
}

// Drops whole characters from the end until name plus the extension fits in one file name.
QString fitNameMax(QString name)
{
    const qsizetype room = kNameMax - kExtension.toUtf8().size();
    while (name.toUtf8().size() > room) {
        name.chop(1);
        if (!name.isEmpty() && name.back().isHighSurrogate())
            name.chop(1);
    }
    return name;
}

} // namespace

QString ReadShortcutUrl(const QString &fileName, std::optional<QString> *error)
{
    if (CaseFold::upper(extensionOf(fileName)).trimmed() != QStringLiteral(".URL"))
        return {};
    const TextFile::ReadResult read = TextFile::readLines(fileName, TextFile::ShortcutLimit);
    if (!read.exists || read.error) {
        if (error)
            *error = read.error ? *read.error
                                : QStringLiteral("Cannot open %1: the file does not exist")
                                      .arg(QDir::toNativeSeparators(fileName));
        return {};
    }
    const QString line = trimControl(read.lines.value(3));
    const qsizetype equals = line.indexOf(u'=');
    return equals < 0 ? line : line.mid(equals + 1);
}

QStringList ShortcutLines(const QString &address)
{
    return {QStringLiteral("[Default]"), QStringLiteral("BASEURL=") + address,
            QStringLiteral("[InternetShortcut]"), QStringLiteral("URL=") + address};
}

QString ShortcutName(const QString &title, const QString &address)
{
    QString name = title;
    if (title == address) {
        // "http://" is seven characters; the last character of the address goes too.
        name = address.size() > 8 ? address.mid(7, address.size() - 8) : QString();
        const qsizetype slash = name.indexOf(u'/');
        if (slash >= 0)
            name.truncate(slash);
    }
    return SafeShortcutName(name);
}

QString SafeShortcutName(const QString &name)
{
    QString safe = name;
    safe.replace(u'/', u'_').replace(QChar(0), u'_');
    return fitNameMax(safe);
}

std::optional<QString> writeShortcutFile(const QString &path, const QString &address)
{
    return TextFile::writeLines(path, ShortcutLines(address));
}

bool WriteShortcut(const QString &folder)
{
    // A view without a file-system folder would otherwise put the shortcut at the root.
    if (folder.isEmpty())
        return false;
    const QString name = ShortcutName(Globals.CurrentTitle, Globals.CurrentUrl);
    QString path = folder;
    if (!path.endsWith(u'/'))
        path += u'/';
    return !writeShortcutFile(path + name + kExtension, Globals.CurrentUrl);
}
