#pragma once

#include <QByteArray>
#include <QString>
#include <gumbo.h>
#include <memory>
#include <vector>

// An HTML document parsed by gumbo, the HTML5 parsing algorithm: any tag soup gives a tree,
// in time linear in the input. The tree is walked without recursion, so no nesting depth can
// exhaust the stack.
class THtmlDocument
{
public:
    explicit THtmlDocument(const QString &html);
    THtmlDocument(const THtmlDocument &) = delete;
    THtmlDocument &operator=(const THtmlDocument &) = delete;
    ~THtmlDocument();

    const GumboNode *document() const;

    // Calls enter(node) for every node in document order and leave(node) after its children;
    // when enter returns false the node's children are passed over (leave is still called).
    template <typename Enter, typename Leave> void walk(Enter enter, Leave leave) const;

    // The text of node and everything below it, entities decoded.
    static QString textOf(const GumboNode *node);
    static bool isElement(const GumboNode *node, GumboTag tag);
    // The value of an attribute of an element node; empty when it has none.
    static QString attribute(const GumboNode *node, const char *name);
    // Tags that do not break a word: "<b>wo</b>rd" is one word.
    static bool isInline(const GumboNode *node);

    // html with the attributes of a tag past its 1000th dropped, and start tags dropped
    // where more than 512 elements would be open around them (their text stays): what the
    // parser is given, so that its time stays linear in the input.
    static QByteArray bounded(const QByteArray &html);

private:
    static const GumboVector *children(const GumboNode *node);

    class Arena;
    std::unique_ptr<Arena> arena_;
    GumboOutput *output_ = nullptr;
};

template <typename Enter, typename Leave> void THtmlDocument::walk(Enter enter, Leave leave) const
{
    struct Frame
    {
        const GumboNode *node;
        unsigned int next;
    };
    std::vector<Frame> stack;
    const GumboNode *root = document();
    if (!root)
        return;
    stack.push_back({root, enter(root) ? 0u : ~0u});
    while (!stack.empty()) {
        Frame &top = stack.back();
        const GumboVector *kids = children(top.node);
        if (top.next == ~0u || !kids || top.next >= kids->length) {
            leave(top.node);
            stack.pop_back();
            continue;
        }
        const auto *child = static_cast<const GumboNode *>(kids->data[top.next++]);
        stack.push_back({child, enter(child) ? 0u : ~0u});
    }
}
