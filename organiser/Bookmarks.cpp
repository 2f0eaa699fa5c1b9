#include "organiser/Bookmarks.h"

#include "app/CaseFold.h"
#include "app/HtmlDocument.h"
#include "app/TextFile.h"
#include "organiser/Shortcut.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace Bookmarks {
namespace {

// Deeper folders than this are not followed: a guard against loops, not a real limit.
constexpr int kMaxDepth = 64;

QString escape(const QString &text)
{
    return text.toHtmlEscaped();
}

// The folders being filled while reading; a list level without its own heading (the
// outermost one) adds to the folder around it.
class Builder
{
public:
    Builder() { frames_.push_back({Folder{}, true}); }

    void heading(const QString &name)
    {
        flushHeading();
        pending_ = name;
    }
    void openList()
    {
        frames_.push_back({Folder{pending_.value_or(QString()), {}, {}}, pending_.has_value()});
        pending_.reset();
    }
    void closeList()
    {
        flushHeading();
        if (frames_.size() > 1)
            pop();
    }
    void link(Link link)
    {
        flushHeading();
        frames_.back().folder.links.push_back(std::move(link));
    }
    Folder finish()
    {
        flushHeading();
        while (frames_.size() > 1)
            pop();
        return std::move(frames_.front().folder);
    }

private:
    struct Frame
    {
        Folder folder;
        bool real = false;
    };

    // A heading with no list after it is still a folder, an empty one.
    void flushHeading()
    {
        if (pending_)
            frames_.back().folder.folders.push_back(Folder{*pending_, {}, {}});
        pending_.reset();
    }
    void pop()
    {
        Frame top = std::move(frames_.back());
        frames_.pop_back();
        Folder &parent = frames_.back().folder;
        if (top.real) {
            parent.folders.push_back(std::move(top.folder));
            return;
        }
        for (Link &l : top.folder.links)
            parent.links.push_back(std::move(l));
        for (Folder &f : top.folder.folders)
            parent.folders.push_back(std::move(f));
    }

    std::vector<Frame> frames_;
    std::optional<QString> pending_;
};

bool isBookmark(const QString &address)
{
    // Firefox's generated queries ("Most Visited" ...) only mean something inside Firefox.
    return !address.isEmpty() && !address.startsWith(QStringLiteral("place:"), Qt::CaseInsensitive);
}

// A bookmarklet runs its code in whatever page is open; an imported file must not bring that.
bool isScript(const QString &address)
{
    return address.startsWith(QStringLiteral("javascript:"), Qt::CaseInsensitive);
}

void renderFolder(const Folder &folder, int depth, QStringList &lines)
{
    const QString indent(4 * depth, u' ');
    for (const Folder &sub : folder.folders) {
        lines << indent + QStringLiteral("<DT><H3>") + escape(sub.name) + QStringLiteral("</H3>");
        lines << indent + QStringLiteral("<DL><p>");
        renderFolder(sub, depth + 1, lines);
        lines << indent + QStringLiteral("</DL><p>");
    }
    for (const Link &link : folder.links)
        lines << indent + QStringLiteral("<DT><A HREF=\"") + escape(link.address) +
                     QStringLiteral("\">") + escape(link.title) + QStringLiteral("</A>");
}

Folder readFolderAt(const QString &dir, const QString &name, int depth)
{
    Folder folder{name, {}, {}};
    if (depth > kMaxDepth)
        return folder;
    const QDir here(dir);
    const auto order = QDir::Name | QDir::IgnoreCase;
    // Linked folders are not followed: a link back up would never end.
    for (const QFileInfo &sub : here.entryInfoList(
             QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks, order))
        folder.folders.push_back(readFolderAt(sub.filePath(), sub.fileName(), depth + 1));
    for (const QFileInfo &file : here.entryInfoList(QDir::Files | QDir::Hidden, order)) {
        const QString address = ReadShortcutUrl(file.filePath());
        if (!address.isEmpty())
            folder.links.push_back(
                {file.fileName().left(file.fileName().lastIndexOf(u'.')), address});
    }
    return folder;
}

QString linkName(const Link &link)
{
    QString name = link.title;
    if (name.isEmpty())
        name = QUrl(link.address).host();
    if (name.isEmpty())
        name = QStringLiteral("Bookmark");
    return SafeShortcutName(name);
}

QString folderName(const QString &name)
{
    const QString safe = SafeShortcutName(name);
    if (safe.isEmpty() || safe == QStringLiteral(".") || safe == QStringLiteral(".."))
        return QStringLiteral("_") + safe;
    return safe;
}

// name with " (n)" at its end, shortened first when the whole would be too long.
QString numbered(const QString &name, int n)
{
    if (n < 2)
        return name;
    const QString suffix = QStringLiteral(" (%1)").arg(n);
    QString candidate = SafeShortcutName(name + suffix);
    if (candidate.endsWith(suffix))
        return candidate;
    QString base = name.chopped(qMin(name.size(), suffix.size()));
    if (!base.isEmpty() && base.back().isHighSurrogate())
        base.chop(1);
    return SafeShortcutName(base + suffix);
}

std::optional<QString> writeLink(const Link &link, const QDir &dir)
{
    const QString base = linkName(link);
    for (int n = 1; n < 10000; ++n) {
        const QString path = dir.filePath(numbered(base, n) + QStringLiteral(".Url"));
        const QFileInfo info(path);
        if (!info.exists())
            return writeShortcutFile(path, link.address);
        if (info.isFile() && ReadShortcutUrl(path) == link.address)
            return std::nullopt;
    }
    return QStringLiteral("Cannot find a free name for %1 in %2")
        .arg(base, QDir::toNativeSeparators(dir.path()));
}

std::optional<QString> makeFolder(const QString &name, const QDir &dir, QString &made)
{
    for (int n = 1; n < 10000; ++n) {
        made = dir.filePath(numbered(folderName(name), n));
        const QFileInfo info(made);
        if (info.isDir())
            return std::nullopt;
        if (!info.exists())
            return QDir().mkdir(made)
                       ? std::nullopt
                       : std::optional<QString>(QStringLiteral("Cannot create the folder %1")
                                                    .arg(QDir::toNativeSeparators(made)));
    }
    return QStringLiteral("Cannot find a free name for the folder %1").arg(name);
}

} // namespace

Folder parse(const QString &html, int *scriptsSkipped)
{
    Builder builder;
    int scripts = 0;
    const THtmlDocument document(html);
    const auto enter = [&](const GumboNode *node) {
        if (THtmlDocument::isElement(node, GUMBO_TAG_H3)) {
            builder.heading(THtmlDocument::textOf(node).simplified());
            return false;
        }
        if (THtmlDocument::isElement(node, GUMBO_TAG_DL)) {
            builder.openList();
        } else if (THtmlDocument::isElement(node, GUMBO_TAG_A)) {
            const QString address = THtmlDocument::attribute(node, "href").trimmed();
            if (isScript(address))
                ++scripts;
            else if (isBookmark(address))
                builder.link({THtmlDocument::textOf(node).simplified(), address});
            return false;
        }
        return true;
    };
    const auto leave = [&](const GumboNode *node) {
        if (THtmlDocument::isElement(node, GUMBO_TAG_DL))
            builder.closeList();
    };
    document.walk(enter, leave);
    if (scriptsSkipped)
        *scriptsSkipped = scripts;
    return builder.finish();
}

QStringList render(const Folder &root)
{
    QStringList lines = {
        QStringLiteral("<!DOCTYPE NETSCAPE-Bookmark-file-1>"),
        QStringLiteral("<!-- This is an automatically generated file."),
        QStringLiteral("     It will be read and overwritten."),
        QStringLiteral("     DO NOT EDIT! -->"),
        QStringLiteral("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">"),
        QStringLiteral("<TITLE>Bookmarks</TITLE>"),
        QStringLiteral("<H1>Bookmarks</H1>"),
        QStringLiteral("<DL><p>")};
    renderFolder(root, 1, lines);
    lines << QStringLiteral("</DL><p>");
    return lines;
}

Folder readFolder(const QString &dir)
{
    return readFolderAt(dir, QString(), 0);
}

std::optional<QString> writeFolder(const Folder &folder, const QString &dir)
{
    std::optional<QString> first;
    const QDir here(dir);
    for (const Link &link : folder.links) {
        const auto error = writeLink(link, here);
        if (error && !first)
            first = error;
    }
    for (const Folder &sub : folder.folders) {
        QString made;
        auto error = makeFolder(sub.name, here, made);
        if (!error)
            error = writeFolder(sub, made);
        if (error && !first)
            first = error;
    }
    return first;
}

std::optional<QString> importFile(const QString &htmlPath, const QString &dir, int *scriptsSkipped)
{
    const TextFile::ReadResult read = TextFile::readLines(htmlPath);
    if (!read.exists)
        return QStringLiteral("Cannot open %1: the file does not exist")
            .arg(QDir::toNativeSeparators(htmlPath));
    if (read.error)
        return read.error;
    return writeFolder(parse(read.lines.join(u'\n'), scriptsSkipped), dir);
}

std::optional<QString> exportFile(const QString &dir, const QString &htmlPath)
{
    return TextFile::writeLines(htmlPath, render(readFolder(dir)));
}

} // namespace Bookmarks
