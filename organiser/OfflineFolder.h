#pragma once

#include <QString>
#include <QStringList>

// The saved-pages folder as the OffLine page lists it, and the file a node of that page names.
namespace OfflineFolder {

inline const QString Patterns = QStringLiteral("*.Htm;*.Html;*.mht;*.txt");

// Names (no folder) of the ordinary files in dir matching the ";"-separated patterns without
// regard to case. Each pattern is searched in turn and its matches added as they come, so a
// name matching two patterns is there twice; the whole list is sorted by name without case.
QStringList list(const QString &dir, const QString &patterns = Patterns);

// The path a node's text opens: dir + "/" + text. A node added by a browser window's Save
// carries the page title, so when no file has that name, a saved file whose name is the title
// plus a page extension is taken instead.
QString pathForNode(const QString &dir, const QString &text);

} // namespace OfflineFolder
