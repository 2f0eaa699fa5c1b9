#include "organiser/OfflineSearch.h"

#include "app/CaseFold.h"
#include "app/HtmlDocument.h"
#include "app/SearchFold.h"
#include "app/TextFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <numeric>

namespace {

// Larger files are found by name only; nobody saves a web page that big.
constexpr qint64 MaxIndexedBytes = 32 * 1024 * 1024;
// Longer runs are encoded data or addresses, never a word anyone types.
constexpr qsizetype MaxWordLength = 40;
constexpr int MaxMimeDepth = 8;

// Calls use(word) for each run of letters, digits and the marks that follow them, with the
// ASCII letters in lower case.
template <typename Use> void forEachWord(const QString &text, Use use)
{
    const QString folded = SearchFold::fold(text);
    const qsizetype size = folded.size();
    qsizetype at = 0;
    while (at < size) {
        while (at < size && !folded[at].isLetterOrNumber())
            ++at;
        const qsizetype start = at;
        while (at < size && (folded[at].isLetterOrNumber() || folded[at].isMark()))
            ++at;
        if (at > start && at - start <= MaxWordLength)
            use(folded.mid(start, at - start));
    }
}

struct MimePart
{
    QHash<QByteArray, QByteArray> headers; // names in lower case, folded lines joined
    QByteArray body;
};

MimePart splitPart(const QByteArray &bytes)
{
    MimePart part;
    QByteArray last;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0)
            end = bytes.size();
        QByteArray line = bytes.mid(pos, end - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        pos = end + 1;
        if (line.isEmpty()) {
            part.body = bytes.mid(pos);
            return part;
        }
        if ((line[0] == ' ' || line[0] == '\t') && !last.isEmpty()) {
            part.headers[last] += ' ' + line.trimmed();
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        last = line.left(colon).trimmed().toLower();
        part.headers[last] = line.mid(colon + 1).trimmed();
    }
    return part;
}

QByteArray headerParameter(const QByteArray &value, const QByteArray &name)
{
    const QByteArray lower = value.toLower();
    qsizetype at = 0;
    while ((at = lower.indexOf(name + '=', at)) >= 0) {
        if (at > 0 && lower[at - 1] != ';' && lower[at - 1] != ' ' && lower[at - 1] != '\t') {
            ++at;
            continue;
        }
        qsizetype start = at + name.size() + 1;
        if (start < value.size() && value[start] == '"') {
            const qsizetype close = value.indexOf('"', start + 1);
            return value.mid(start + 1, close < 0 ? -1 : close - start - 1);
        }
        qsizetype end = start;
        while (end < value.size() && value[end] != ';' && value[end] != ' ' && value[end] != '\t')
            ++end;
        return value.mid(start, end - start);
    }
    return QByteArray();
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray decodeQuotedPrintable(const QByteArray &in)
{
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] != '=') {
            out += in[i];
            continue;
        }
        if (i + 1 < in.size() && in[i + 1] == '\n') {
            i += 1;
        } else if (i + 2 < in.size() && in[i + 1] == '\r' && in[i + 2] == '\n') {
            i += 2;
        } else if (i + 2 < in.size() && hexDigit(in[i + 1]) >= 0 && hexDigit(in[i + 2]) >= 0) {
            out += char(hexDigit(in[i + 1]) * 16 + hexDigit(in[i + 2]));
            i += 2;
        } else {
            out += '=';
        }
    }
    return out;
}

QString decodeCharset(const QByteArray &bytes, const QByteArray &charset)
{
    static const QByteArrayList plain{"",           "utf-8",  "utf8",         "us-ascii",
                                      "iso-8859-1", "latin1", "windows-1252", "cp1252"};
    const QByteArray name = charset.trimmed().toLower();
    if (!plain.contains(name)) {
        QStringDecoder decoder(name.constData());
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    return TextFile::decode(bytes);
}

void collectMimeText(const QByteArray &bytes, int depth, QString &text, QString *title)
{
    if (depth > MaxMimeDepth)
        return;
    const MimePart part = splitPart(bytes);
    const QByteArray type = part.headers.value("content-type", "text/plain");
    const QByteArray mediaType = type.split(';').value(0).trimmed().toLower();
    if (mediaType.startsWith("multipart/")) {
        const QByteArray delimiter = "--" + headerParameter(type, "boundary");
        if (delimiter.size() == 2)
            return;
        const QByteArray &body = part.body;
        qsizetype at = body.startsWith(delimiter) ? 0 : body.indexOf("\n" + delimiter);
        if (at > 0)
            ++at;
        while (at >= 0) {
            const qsizetype after = at + delimiter.size();
            if (body.mid(after, 2) == "--")
                break;
            const qsizetype lineEnd = body.indexOf('\n', after);
            if (lineEnd < 0)
                break;
            const qsizetype next = body.indexOf("\n" + delimiter, lineEnd);
            QByteArray inner = body.mid(lineEnd + 1, next < 0 ? -1 : next - lineEnd - 1);
            if (inner.endsWith('\r'))
                inner.chop(1);
            collectMimeText(inner, depth + 1, text, title);
            at = next < 0 ? -1 : next + 1;
        }
        return;
    }
    if (mediaType != "text/html" && mediaType != "text/plain")
        return;
    const QByteArray encoding = part.headers.value("content-transfer-encoding").toLower();
    QByteArray raw = part.body;
    if (encoding == "quoted-printable")
        raw = decodeQuotedPrintable(raw);
    else if (encoding == "base64")
        raw = QByteArray::fromBase64(raw);
    const QString decoded = decodeCharset(raw, headerParameter(type, "charset"));
    QString partTitle;
    text += mediaType == "text/html" ? TOfflineSearch::htmlText(decoded, &partTitle) : decoded;
    text += QLatin1Char('\n');
    if (title && title->isEmpty())
        *title = partTitle;
}

} // namespace

TOfflineSearch::TOfflineSearch(const QString &dir, const QString &patterns)
    : dir_(dir), patterns_(patterns)
{
}

void TOfflineSearch::setFolder(const QString &dir)
{
    if (dir == dir_)
        return;
    dir_ = dir;
    pages_.clear();
    words_.clear();
    wordIds_.clear();
    sortedIds_.clear();
    sortedCount_ = 0;
    postings_.clear();
    complete_ = false;
}

QString TOfflineSearch::htmlText(const QString &html, QString *title)
{
    const THtmlDocument document(html);
    QByteArray text;
    bool titleSeen = false;
    const auto enter = [&](const GumboNode *node) {
        switch (node->type) {
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_WHITESPACE:
        case GUMBO_NODE_CDATA:
            text += node->v.text.text;
            return false;
        case GUMBO_NODE_DOCUMENT:
            return true;
        case GUMBO_NODE_ELEMENT:
            break;
        default: // comments and templates are never shown
            return false;
        }
        const GumboTag tag = node->v.element.tag;
        if (tag == GUMBO_TAG_SCRIPT || tag == GUMBO_TAG_STYLE)
            return false;
        if (tag == GUMBO_TAG_TITLE && !titleSeen) {
            titleSeen = true;
            if (title)
                *title = THtmlDocument::textOf(node).simplified();
        }
        if (!THtmlDocument::isInline(node))
            text += ' ';
        return true;
    };
    const auto leave = [&](const GumboNode *node) {
        if (!THtmlDocument::isInline(node))
            text += ' ';
    };
    document.walk(enter, leave);
    return QString::fromUtf8(text);
}

QString TOfflineSearch::mhtmlText(const QByteArray &bytes, QString *title)
{
    QString text;
    collectMimeText(bytes, 0, text, title);
    if (title && title->isEmpty()) {
        const QByteArray subject = splitPart(bytes).headers.value("subject");
        if (!subject.isEmpty() && !subject.startsWith("=?"))
            *title = TextFile::decode(subject);
    }
    return text;
}

QString TOfflineSearch::pageText(const QString &fileName, const QByteArray &bytes, QString *title)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == u"htm" || suffix == u"html")
        return htmlText(TextFile::decode(bytes), title);
    if (suffix == u"mht" || suffix == u"mhtml")
        return mhtmlText(bytes, title);
    return TextFile::decode(bytes);
}

QStringList TOfflineSearch::words(const QString &text)
{
    QStringList found;
    forEachWord(text, [&found](const QString &word) { found.append(word); });
    return found;
}

int TOfflineSearch::wordId(const QString &word)
{
    const auto known = wordIds_.constFind(word);
    if (known != wordIds_.cend())
        return *known;
    const int id = int(words_.size());
    words_.append(word);
    wordIds_.insert(word, id);
    return id;
}

TOfflineSearch::Page TOfflineSearch::readPage(const QString &name)
{
    Page page;
    page.name = name;
    page.path = QDir(dir_).filePath(name);
    const QFileInfo info(page.path);
    page.size = info.size();
    page.modified = info.lastModified();
    QString text = info.completeBaseName();
    // A file that is not an ordinary one, or too big to be a saved page, is found by name.
    const TextFile::BytesResult read = TextFile::readBytes(page.path, MaxIndexedBytes);
    if (!read.error)
        text += QLatin1Char(' ') + pageText(name, read.bytes, &page.title);
    forEachWord(text, [&](const QString &word) { page.words.push_back(wordId(word)); });
    std::sort(page.words.begin(), page.words.end());
    page.words.erase(std::unique(page.words.begin(), page.words.end()), page.words.end());
    return page;
}

bool TOfflineSearch::refresh(int budgetMs)
{
    QElapsedTimer clock;
    clock.start();
    QStringList names = OfflineFolder::list(dir_, patterns_);
    names.removeDuplicates();
    QHash<QString, qsizetype> known;
    for (qsizetype i = 0; i < pages_.size(); ++i)
        known.insert(pages_[i].name, i);
    bool changed = names.size() != pages_.size();
    complete_ = true;
    QList<Page> next;
    next.reserve(names.size());
    for (const QString &name : std::as_const(names)) {
        const QFileInfo info(QDir(dir_).filePath(name));
        const qsizetype was = known.value(name, -1);
        const bool current = was >= 0 && pages_[was].size == info.size() &&
                             pages_[was].modified == info.lastModified();
        const bool timeLeft = budgetMs < 0 || clock.elapsed() < budgetMs;
        if (current || (was >= 0 && !timeLeft)) {
            // Out of time, a changed page keeps its old words until the next slice.
            complete_ = complete_ && current;
            changed = changed || was != next.size();
            next.append(std::move(pages_[was]));
        } else if (timeLeft) {
            next.append(readPage(name));
            changed = true;
        } else {
            complete_ = false;
        }
    }
    pages_ = std::move(next);
    postingsStale_ = postingsStale_ || changed;
    return changed;
}

void TOfflineSearch::rebuildPostings() const
{
    if (!postingsStale_)
        return;
    postingsStale_ = false;
    if (sortedCount_ != words_.size()) {
        sortedIds_.resize(words_.size());
        std::iota(sortedIds_.begin(), sortedIds_.end(), 0);
        std::sort(sortedIds_.begin(), sortedIds_.end(),
                  [this](int a, int b) { return words_[a] < words_[b]; });
        sortedCount_ = words_.size();
    }
    postings_.assign(words_.size(), {});
    for (int p = 0; p < int(pages_.size()); ++p) {
        for (const int id : pages_[p].words)
            postings_[id].push_back(p);
    }
}

QList<TOfflineSearch::Hit> TOfflineSearch::find(const QString &query) const
{
    QList<Hit> hits;
    QStringList terms = words(query);
    terms.removeDuplicates();
    if (terms.isEmpty())
        return hits;
    rebuildPostings();
    std::vector<int> matched(pages_.size(), 0);
    for (const QString &term : std::as_const(terms)) {
        std::vector<bool> seen(pages_.size(), false);
        auto it = std::lower_bound(sortedIds_.begin(), sortedIds_.end(), term,
                                   [this](int id, const QString &t) { return words_[id] < t; });
        for (; it != sortedIds_.end() && words_[*it].startsWith(term); ++it) {
            for (const int p : postings_[*it])
                seen[p] = true;
        }
        for (size_t p = 0; p < seen.size(); ++p)
            matched[p] += seen[p] ? 1 : 0;
    }
    for (qsizetype p = 0; p < pages_.size(); ++p) {
        if (matched[p] == terms.size())
            hits.append({pages_[p].name, pages_[p].path, pages_[p].title});
    }
    return hits;
}
