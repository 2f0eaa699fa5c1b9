#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The bookmark HTML file every browser imports and exports, mapped onto a folder of internet
// shortcuts: a bookmark is a ".Url" file, a bookmark folder a sub-folder.
namespace Bookmarks {

struct Link
{
    QString title;
    QString address;
};

struct Folder
{
    QString name;
    std::vector<Link> links;
    std::vector<Folder> folders;
};

// The bookmarks of an HTML file, read as a browser reads HTML; the root's name is empty.
// Anything that is not a bookmark or a folder is passed over. "javascript:" bookmarks are
// left out too, and counted in scriptsSkipped when given.
Folder parse(const QString &html, int *scriptsSkipped = nullptr);

// The lines of a bookmark file holding root's links and folders.
QStringList render(const Folder &root);

// The shortcuts and sub-folders of dir, folders first, each level by name.
Folder readFolder(const QString &dir);

// Writes folder's links as shortcuts and its folders as sub-folders into dir. An existing
// shortcut to the same address is kept; one to another address is never overwritten, the new
// one gets a numbered name instead. Keeps going past a failure and returns the first.
std::optional<QString> writeFolder(const Folder &folder, const QString &dir);

std::optional<QString> importFile(const QString &htmlPath, const QString &dir,
                                  int *scriptsSkipped = nullptr);
std::optional<QString> exportFile(const QString &dir, const QString &htmlPath);

} // namespace Bookmarks
