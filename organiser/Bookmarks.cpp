#include "organiser/Bookmarks.h"

#include "app/CaseFold.h"
#include "app/TextFile.h"
#include "organiser/Shortcut.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QUrl>

namespace Bookmarks {
namespace {

// Deeper folders than this are not followed: a guard against loops, not a real limit.
constexpr int kMaxDepth = 64;

QString decodeEntities(const QString &text)
{
    static const QHash<QString, QString> named = {{QStringLiteral("amp"), QStringLiteral("&")},
                                                  {QStringLiteral("lt"), QStringLiteral("<")},
                                                  {QStringLiteral("gt"), QStringLiteral(">")},
                                                  {QStringLiteral("quot"), QStringLiteral("\"")},
                                                  {QStringLiteral("apos"), QStringLiteral("'")},
                                                  {QStringLiteral("nbsp"), QStringLiteral(" ")}};
    QString out;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype amp = text.indexOf(u'&', pos);
        const qsizetype semi = amp < 0 ? -1 : text.indexOf(u';', amp);
        if (amp < 0 || semi < 0 || semi - amp > 10) {
            out += text.mid(pos, amp < 0 ? -1 : amp + 1 - pos);
            pos = amp < 0 ? text.size() : amp + 1;
            continue;
        }
        out += text.mid(pos, amp - pos);
        const QString entity = text.mid(amp + 1, semi - amp - 1);
        QString replacement;
        if (entity.startsWith(u'#')) {
            bool ok = false;
            const bool hex = entity.startsWith(QStringLiteral("#x"), Qt::CaseInsensitive);
            const uint code = entity.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
            const char32_t c = code;
            if (ok && code > 0 && code <= 0x10FFFF)
                replacement = QString::fromUcs4(&c, 1);
        } else {
            replacement = named.value(CaseFold::lower(entity));
        }
        if (replacement.isEmpty()) {
            out += u'&';
            pos = amp + 1;
        } else {
            out += replacement;
            pos = semi + 1;
        }
    }
    return out;
}

QString escape(const QString &text)
{
    return text.toHtmlEscaped();
}

struct Tag
{
    QString name;                       // upper case, "/" in front for an end tag
    QHash<QString, QString> attributes; // keys in upper case
    qsizetype end = 0;                  // index just past the ">"
};

// Reads the tag that starts at text[start] == '<'.
Tag readTag(const QString &text, qsizetype start)
{
    Tag tag;
    qsizetype pos = start + 1;
    auto atNameEnd = [&](qsizetype i) {
        const QChar c = text.at(i);
        return c.isSpace() || c == u'>' || c == u'=' || (c == u'/' && i > start + 1);
    };
    while (pos < text.size() && !atNameEnd(pos))
        tag.name += text.at(pos++);
    tag.name = CaseFold::upper(tag.name);
    while (pos < text.size() && text.at(pos) != u'>') {
        if (text.at(pos).isSpace() || text.at(pos) == u'/') {
            ++pos;
            continue;
        }
        QString key;
        while (pos < text.size() && !atNameEnd(pos))
            key += text.at(pos++);
        QString value;
        if (pos < text.size() && text.at(pos) == u'=') {
            ++pos;
            const QChar quote = pos < text.size() ? text.at(pos) : QChar();
            if (quote == u'"' || quote == u'\'') {
                // Exports keep each entry on one line: a quote left open ends with the line's
                // first ">", so that it cannot swallow the entries below it.
                qsizetype lineEnd = text.indexOf(u'\n', pos);
                if (lineEnd < 0)
                    lineEnd = text.size();
                qsizetype close = text.indexOf(quote, pos + 1);
                if (close < 0 || close > lineEnd) {
                    const qsizetype gt = text.indexOf(u'>', pos);
                    close = gt >= 0 && gt < lineEnd ? gt : lineEnd;
                    value = text.mid(pos + 1, close - pos - 1);
                    pos = close;
                } else {
                    value = text.mid(pos + 1, close - pos - 1);
                    pos = close + 1;
                }
            } else {
                while (pos < text.size() && !text.at(pos).isSpace() && text.at(pos) != u'>')
                    value += text.at(pos++);
            }
        }
        if (key.isEmpty())
            ++pos; // a stray "=" or quote: step over it
        else
            tag.attributes.insert(CaseFold::upper(key), decodeEntities(value));
    }
    tag.end = pos < text.size() ? pos + 1 : text.size();
    return tag;
}

bool isStructural(const QString &name)
{
    static const QStringList names = {QStringLiteral("DT"), QStringLiteral("DD"),
                                      QStringLiteral("DL"), QStringLiteral("/DL"),
                                      QStringLiteral("H3"), QStringLiteral("A")};
    return names.contains(name);
}

// A "<" that starts no tag (as in "a < b") is text.
bool startsTag(const QString &text, qsizetype at)
{
    if (at + 1 >= text.size())
        return false;
    const QChar next = text.at(at + 1);
    return next.isLetter() || next == u'/' || next == u'!';
}

QString stripTags(const QString &text)
{
    QString out;
    qsizetype pos = 0;
    while (pos < text.size()) {
        if (text.at(pos) == u'<' && startsTag(text, pos)) {
            pos = readTag(text, pos).end;
            continue;
        }
        out += text.at(pos++);
    }
    return out;
}

// The text up to the end tag closeName; from is moved past it. A missing end tag ends the
// text at the next bookmark or folder, so that one broken entry cannot swallow the rest.
QString readText(const QString &text, qsizetype &from, const QString &closeName)
{
    const QString closeTag = QStringLiteral("/") + closeName;
    qsizetype scan = from;
    qsizetype stop = text.size();
    qsizetype next = text.size();
    while ((scan = text.indexOf(u'<', scan)) >= 0) {
        if (!startsTag(text, scan)) {
            ++scan;
            continue;
        }
        const Tag tag = readTag(text, scan);
        if (tag.name == closeTag || isStructural(tag.name)) {
            stop = scan;
            next = tag.name == closeTag ? tag.end : scan;
            break;
        }
        scan = tag.end;
    }
    const QString inner = text.mid(from, stop - from);
    from = next;
    return decodeEntities(stripTags(inner)).simplified();
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

Folder parse(const QString &html)
{
    Builder builder;
    qsizetype pos = 0;
    while ((pos = html.indexOf(u'<', pos)) >= 0) {
        if (!startsTag(html, pos)) {
            ++pos;
            continue;
        }
        if (html.mid(pos, 4) == QStringLiteral("<!--")) {
            const qsizetype close = html.indexOf(QStringLiteral("-->"), pos + 4);
            pos = close < 0 ? html.size() : close + 3;
            continue;
        }
        const Tag tag = readTag(html, pos);
        pos = tag.end;
        if (tag.name == QStringLiteral("H3")) {
            builder.heading(readText(html, pos, QStringLiteral("H3")));
        } else if (tag.name == QStringLiteral("DL")) {
            builder.openList();
        } else if (tag.name == QStringLiteral("/DL")) {
            builder.closeList();
        } else if (tag.name == QStringLiteral("A")) {
            const QString title = readText(html, pos, QStringLiteral("A"));
            const QString address = tag.attributes.value(QStringLiteral("HREF")).trimmed();
            if (isBookmark(address))
                builder.link({title, address});
        }
    }
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

std::optional<QString> importFile(const QString &htmlPath, const QString &dir)
{
    const TextFile::ReadResult read = TextFile::readLines(htmlPath);
    if (!read.exists)
        return QStringLiteral("Cannot open %1: the file does not exist")
            .arg(QDir::toNativeSeparators(htmlPath));
    if (read.error)
        return read.error;
    return writeFolder(parse(read.lines.join(u'\n')), dir);
}

std::optional<QString> exportFile(const QString &dir, const QString &htmlPath)
{
    return TextFile::writeLines(htmlPath, render(readFolder(dir)));
}

} // namespace Bookmarks
