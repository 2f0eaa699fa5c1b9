#include "app/HtmlDocument.h"

#include <QSet>
#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>

namespace {

// Gumbo compares each new attribute of a tag with all earlier ones, and checks the elements
// open around each new one: past these bounds both grow with the square of the input. Real
// pages stay far below them; browsers stop nesting at the same depth.
constexpr int MaxAttributes = 1000;
constexpr int MaxDepth = 512;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Elements whose content the tokenizer reads as text up to their end tag.
bool holdsRawText(const QByteArray &name)
{
    static const char *const names[] = {"script", "style",  "title",   "textarea",
                                        "xmp",    "iframe", "noembed", "noframes"};
    for (const char *raw : names) {
        if (name == raw)
            return true;
    }
    return false;
}

// Index of "</name" (any case) from 'from' on, or the end of the text.
qsizetype endTagAt(const QByteArray &html, qsizetype from, const QByteArray &name)
{
    for (qsizetype at = html.indexOf("</", from); at >= 0; at = html.indexOf("</", at + 2)) {
        const QByteArrayView rest = QByteArrayView(html).sliced(at + 2);
        if (rest.size() >= name.size() &&
            rest.first(name.size()).compare(name, Qt::CaseInsensitive) == 0)
            return at;
    }
    return html.size();
}

// Elements that hold nothing or whose end the parser implies: they never deepen the tree.
bool closesByItself(const QByteArray &name)
{
    static const QSet<QByteArray> names = {
        "area",    "base",  "br",       "col",     "embed", "hr",   "img",    "input",
        "link",    "meta",  "param",    "source",  "track", "wbr",  "keygen", "basefont",
        "bgsound", "frame", "p",        "li",      "dt",    "dd",   "option", "optgroup",
        "tr",      "td",    "th",       "rb",      "rp",    "rt",   "rtc",    "tbody",
        "thead",   "tfoot", "colgroup", "caption", "html",  "head", "body",   "a"};
    return names.contains(name);
}

// Moves pos past a tag's attributes to its ">" (or the end); returns where the attributes
// past the first MaxAttributes begin, -1 when there are not that many.
qsizetype skipAttributes(const QByteArray &html, qsizetype &pos)
{
    const qsizetype size = html.size();
    int count = 0;
    qsizetype dropFrom = -1;
    while (pos < size && html[pos] != '>') {
        if (isBlank(html[pos]) || html[pos] == '/') {
            ++pos;
            continue;
        }
        if (++count > MaxAttributes && dropFrom < 0)
            dropFrom = pos;
        ++pos; // the first character of a name may be anything, "=" included
        while (pos < size && !isBlank(html[pos]) && html[pos] != '/' && html[pos] != '>' &&
               html[pos] != '=')
            ++pos;
        while (pos < size && isBlank(html[pos]))
            ++pos;
        if (pos >= size || html[pos] != '=')
            continue;
        ++pos;
        while (pos < size && isBlank(html[pos]))
            ++pos;
        if (pos < size && (html[pos] == '"' || html[pos] == '\'')) {
            const qsizetype close = html.indexOf(html[pos], pos + 1);
            pos = close < 0 ? size : close + 1;
        } else {
            while (pos < size && !isBlank(html[pos]) && html[pos] != '>')
                ++pos;
        }
    }
    return dropFrom;
}

} // namespace

// Gumbo's memory comes from here and goes all at once with the document: freeing it node by
// node (gumbo_destroy_output) recurses once per level of nesting. A parse takes some twenty
// times its input in small pieces, so most of its time used to go on the kernel handing out
// fresh pages; blocks grow to huge pages for the big documents, and pieces are packed at the
// 8 bytes gumbo's structures need rather than malloc's 16.
class THtmlDocument::Arena
{
public:
    static void *allocate(void *self, size_t size)
    {
        return static_cast<Arena *>(self)->take(size);
    }
    static void deallocate(void *, void *) {}

private:
    static constexpr size_t FirstBlock = 64 * 1024;
    static constexpr size_t HugePage = 2 * 1024 * 1024;
    static constexpr size_t Alignment = alignof(void *);
    static_assert(alignof(GumboNode) <= Alignment && alignof(GumboAttribute) <= Alignment);

    void *take(size_t size)
    {
        size = (size + Alignment - 1) & ~(Alignment - 1);
        if (size > blockSize_ / 4)
            return newBlock(size);
        if (used_ + size > blockSize_ || current_ == nullptr) {
            if (current_ != nullptr)
                blockSize_ = std::min(blockSize_ * 2, HugePage);
            current_ = newBlock(blockSize_);
            used_ = 0;
        }
        void *out = current_ + used_;
        used_ += size;
        return out;
    }

    std::byte *newBlock(size_t size)
    {
        const bool huge = size >= HugePage;
        const size_t alignment = huge ? HugePage : 16;
        blocks_.emplace_back(new (std::align_val_t(alignment)) std::byte[size], Free{alignment});
        std::byte *block = blocks_.back().get();
#ifdef MADV_HUGEPAGE
        if (huge)
            madvise(block, size & ~(HugePage - 1), MADV_HUGEPAGE);
#endif
        return block;
    }

    struct Free
    {
        size_t alignment;
        void operator()(std::byte *p) const { ::operator delete[](p, std::align_val_t(alignment)); }
    };
    std::vector<std::unique_ptr<std::byte[], Free>> blocks_;
    std::byte *current_ = nullptr;
    size_t used_ = 0;
    size_t blockSize_ = FirstBlock;
};

THtmlDocument::THtmlDocument(const QString &html) : arena_(std::make_unique<Arena>())
{
    const QByteArray bytes = bounded(html.toUtf8());
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = &Arena::allocate;
    options.deallocator = &Arena::deallocate;
    options.userdata = arena_.get();
    options.max_errors = 0; // nobody reads them, and recording them costs time and memory
    output_ = gumbo_parse_with_options(&options, bytes.constData(), size_t(bytes.size()));
}

THtmlDocument::~THtmlDocument() = default;

const GumboNode *THtmlDocument::document() const
{
    return output_ ? output_->document : nullptr;
}

const GumboVector *THtmlDocument::children(const GumboNode *node)
{
    switch (node->type) {
    case GUMBO_NODE_DOCUMENT:
        return &node->v.document.children;
    case GUMBO_NODE_ELEMENT:
    case GUMBO_NODE_TEMPLATE:
        return &node->v.element.children;
    default:
        return nullptr;
    }
}

bool THtmlDocument::isElement(const GumboNode *node, GumboTag tag)
{
    return node->type == GUMBO_NODE_ELEMENT && node->v.element.tag == tag;
}

QString THtmlDocument::attribute(const GumboNode *node, const char *name)
{
    if (node->type != GUMBO_NODE_ELEMENT)
        return {};
    const GumboAttribute *found = gumbo_get_attribute(&node->v.element.attributes, name);
    return found ? QString::fromUtf8(found->value) : QString();
}

bool THtmlDocument::isInline(const GumboNode *node)
{
    if (node->type != GUMBO_NODE_ELEMENT)
        return true;
    switch (node->v.element.tag) {
    case GUMBO_TAG_A:
    case GUMBO_TAG_ABBR:
    case GUMBO_TAG_B:
    case GUMBO_TAG_CODE:
    case GUMBO_TAG_EM:
    case GUMBO_TAG_FONT:
    case GUMBO_TAG_I:
    case GUMBO_TAG_MARK:
    case GUMBO_TAG_S:
    case GUMBO_TAG_SMALL:
    case GUMBO_TAG_SPAN:
    case GUMBO_TAG_STRONG:
    case GUMBO_TAG_SUB:
    case GUMBO_TAG_SUP:
    case GUMBO_TAG_U:
        return true;
    default:
        return false;
    }
}

QString THtmlDocument::textOf(const GumboNode *node)
{
    QByteArray text;
    std::vector<const GumboNode *> stack{node};
    while (!stack.empty()) {
        const GumboNode *top = stack.back();
        stack.pop_back();
        if (top->type == GUMBO_NODE_TEXT || top->type == GUMBO_NODE_WHITESPACE ||
            top->type == GUMBO_NODE_CDATA) {
            text += top->v.text.text;
            continue;
        }
        if (const GumboVector *kids = children(top)) {
            if (!isInline(top))
                text += ' ';
            for (unsigned int i = kids->length; i > 0; --i)
                stack.push_back(static_cast<const GumboNode *>(kids->data[i - 1]));
        }
    }
    return QString::fromUtf8(text);
}

QByteArray THtmlDocument::bounded(const QByteArray &html)
{
    // A small copy of the tokenizer's tag states: enough to count the attributes of each tag
    // the way the parser will, and the elements left open, never to build anything.
    QByteArray out;
    qsizetype copied = 0;
    qsizetype at = 0;
    int depth = 0;
    const qsizetype size = html.size();
    const auto drop = [&](qsizetype from, qsizetype to) {
        out += QByteArrayView(html).sliced(copied, from - copied);
        copied = to;
    };
    while ((at = html.indexOf('<', at)) >= 0) {
        if (QByteArrayView(html).sliced(at).startsWith("<!--")) {
            const qsizetype close = html.indexOf("-->", at + 4);
            at = close < 0 ? size : close + 3;
            continue;
        }
        const bool endTag = at + 1 < size && html[at + 1] == '/';
        const qsizetype nameStart = at + (endTag ? 2 : 1);
        if (nameStart >= size || !isAsciiLetter(html[nameStart])) {
            ++at;
            continue;
        }
        qsizetype pos = nameStart;
        while (pos < size && !isBlank(html[pos]) && html[pos] != '/' && html[pos] != '>')
            ++pos;
        const QByteArray name = html.mid(nameStart, pos - nameStart).toLower();
        const qsizetype dropFrom = skipAttributes(html, pos);
        const qsizetype tagEnd = pos < size ? pos + 1 : size;
        const bool nests = !endTag && !holdsRawText(name) && !closesByItself(name);
        if (nests && depth >= MaxDepth) {
            drop(at, tagEnd);
        } else if (dropFrom >= 0) {
            drop(dropFrom, pos);
        }
        if (nests)
            depth = qMin(depth + 1, MaxDepth);
        else if (endTag && depth > 0 && !closesByItself(name))
            --depth;
        at = tagEnd;
        if (!endTag && holdsRawText(name))
            at = endTagAt(html, at, name);
    }
    if (copied == 0)
        return html;
    out += QByteArrayView(html).sliced(copied);
    return out;
}
