#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Internet shortcut files (".Url"): the four-line form this program writes, and the address
// read back from the fourth line of any such file, whoever wrote it.

// The address stored in a shortcut file; empty when the extension is not ".URL" (any case),
// in which case the file is not opened. When the file cannot be read the address is empty
// and error, if given, receives the reason.
QString ReadShortcutUrl(const QString &fileName, std::optional<QString> *error = nullptr);

// The lines of a shortcut to address, as written.
QStringList ShortcutLines(const QString &address);

// The file name (without ".Url") for a page: its title, or, when the title is the address
// itself, the address less its scheme prefix and last character, cut before the first "/".
// Characters Linux cannot hold in a name are replaced by "_", and a name too long for the
// file system is shortened, so that adding a favorite never fails because of its title.
QString ShortcutName(const QString &title, const QString &address);

// name with the characters Linux cannot hold in a file name ("/" and NUL) replaced by "_" and
// shortened, whole characters at a time, until name + ".Url" fits in one file name.
QString SafeShortcutName(const QString &name);

// Writes a shortcut to address into path atomically; returns the error text on failure.
std::optional<QString> writeShortcutFile(const QString &path, const QString &address);

// Writes a shortcut to the page being viewed (Globals.CurrentUrl, Globals.CurrentTitle) into
// folder, replacing a file of the same name. Returns true when written; no message on failure.
bool WriteShortcut(const QString &folder);
