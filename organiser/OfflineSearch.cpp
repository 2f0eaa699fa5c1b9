#include "organiser/OfflineSearch.h"

#include "app/CaseFold.h"
#include "app/HtmlDocument.h"
#include "app/SearchFold.h"
#include "app/TextFile.h"
#include "organiser/WebArchive.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <numeric>

namespace {

// Larger files are found by name only; nobody saves a web page that big.
constexpr qint64 MaxIndexedBytes = 32 * 1024 * 1024;
// Longer runs are encoded data or addresses, never a word anyone types.
constexpr qsizetype MaxWordLength = 40;

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
    return WebArchive::text(bytes, title);
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
