#pragma once

#include <QString>
#include <QStringList>

// The help window's topic index: the title shown for each entry and the help file it leads to,
// by position. Several titles lead to the same file so that people find a page by the word they
// think of first.
namespace HelpTopics {

inline constexpr int Count = 40;

QStringList titles();
// The help file of each entry, in the same order as titles().
QStringList files();

// The first entry whose title starts with text, ignoring letter case; -1 when none does. An
// empty text matches the first entry.
int findTopic(const QString &text);

} // namespace HelpTopics
