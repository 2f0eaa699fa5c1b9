#pragma once

#include <QString>
#include <functional>

// A name taken from a message or an archive, made fit to be one file name in one folder: it can
// neither climb out of the folder nor name a hidden special entry.
namespace SafeFileName {

// "/", "\", NUL and other control characters become "_"; "", "." and ".." become "_";
// the result is cut to a length every Linux file system takes.
QString make(const QString &name);

// The first of name, "stem (2).ext", "stem (3).ext" ... that taken() does not report.
QString numbered(const QString &name, const std::function<bool(const QString &)> &taken);

} // namespace SafeFileName
