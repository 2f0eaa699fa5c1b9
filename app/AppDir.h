#pragma once

#include <QString>
#include <optional>

// Where the program keeps its files: the executable's folder when it is writable and holds the
// shipped Help (a portable install or the build folder), otherwise the user's data folder.
// QUILLMERE_APPDIR overrides.
namespace AppDirectory {

QString resolve(const QString &executableDir);

// The folder that holds the shipped Help, Bmps and TipHelp.Txt for an executable in
// executableDir: the folder itself when it has them, else the installed share folder.
QString shippedDataDir(const QString &executableDir);

// Copies Help/, Bmps/ and TipHelp.Txt from dataDir into appDir where appDir lacks them.
std::optional<QString> seed(const QString &appDir, const QString &dataDir);

// Creates appDir + "/WebPages" when missing; returns the error text when it cannot.
std::optional<QString> ensureWebPages(const QString &appDir);

} // namespace AppDirectory
