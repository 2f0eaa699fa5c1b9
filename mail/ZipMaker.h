#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Packs the files to send into one archive under their bare names.
namespace ZipMaker {

// The archive name the first attachment gives when the user chose none: the folder of that file,
// its name up to the first "." of the name (not of the path, so ~/.cache/x.jpg gives
// ~/.cache/x.Zip), then ".Zip"; a name without "." keeps all of it. Leading dots are part of the
// name, so ".profile" gives ".profile.Zip".
QString deriveZipName(const QString &firstFile);

// Writes zipPath holding each of files under its bare name (no folders, no folder entries);
// a second file with the same bare name is stored as "name (2).ext". The archive replaces any
// old one only once it is complete. Refuses to write over one of the files it packs. Returns
// the error text, nothing on success.
std::optional<QString> MakeZipFile(const QStringList &files, const QString &zipPath);

} // namespace ZipMaker
