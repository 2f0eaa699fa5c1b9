#pragma once

#include <QByteArray>
#include <QStringList>

// Every reader of the program's files, fed with arbitrary bytes. Shared by the fuzz targets
// and by the test that replays the inputs that once broke a reader. A broken invariant (a
// written file that reads back otherwise) aborts.
namespace Readers {

// The readers by name: text, options, colors, history, shortcut, bookmarks, savedpage,
// webarchive, buttons, lists.
QStringList names();
// Feeds bytes to the reader called name; false when there is no such reader.
bool feed(const QString &name, const QByteArray &bytes);

} // namespace Readers
