#include "lists/ListStore.h"

#include "app/CaseFold.h"
#include "app/PictureTable.h"
#include "app/TextFile.h"
#include "lists/TreeOrder.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QPixmap>
#include <memory>
#include <vector>

namespace {

constexpr int kPictureSize = 16;

bool isOneColour(const QImage &image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] != colour)
                return false;
        }
    }
    return true;
}

// Reads a picture only from an ordinary file of a sane size: a pipe named like an icon must
// not hang the list load.
QImage readPicture(const QString &path)
{
    constexpr qint64 MaxPictureBytes = 4 << 20;
    const TextFile::BytesResult read = TextFile::readBytes(path, MaxPictureBytes);
    if (read.error || read.bytes.isEmpty())
        return {};
    return QImage::fromData(read.bytes);
}

// Bitmaps have no transparency of their own; image lists take the bottom-left pixel's colour
// as the background, and list icons are drawn for that.
QImage withBitmapBackground(const QImage &bitmap)
{
    if (bitmap.hasAlphaChannel())
        return bitmap;
    QImage image = bitmap.convertToFormat(QImage::Format_ARGB32);
    const QRgb background = image.pixel(0, image.height() - 1);
    // A picture of one colour has no background to take away: it would vanish whole.
    if (isOneColour(image, background))
        return image;
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == background)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return image;
}

// "BMP" or "ICO" for a name ending in that suffix in any case; empty for any other name.
QString pictureSuffix(const QString &name)
{
    if (name.size() < 4 || name[name.size() - 4] != u'.')
        return {};
    const QString suffix = CaseFold::upper(name.right(3));
    return suffix == u"BMP" || suffix == u"ICO" ? suffix : QString();
}

QImage fitPicture(const QImage &image)
{
    if (image.size() == QSize(kPictureSize, kPictureSize))
        return image;
    return image.scaled(kPictureSize, kPictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace

TListStore::TListStore(TGlobals &globals) : globals_(globals)
{
    pictures_ << PictureTable::image(PictureTable::ListPictures, ListPicture)
              << PictureTable::image(PictureTable::ListPictures, PagePicture);
}

QString TListStore::filePath(const char *name) const
{
    return TextFile::resolveNoCase(globals_.AppDir, QString::fromLatin1(name));
}

std::optional<QString> TListStore::LoadListsPanel()
{
    return applyFiles(readFiles(listFilePath(), detailFilePath()));
}

TListStore::Files TListStore::readFiles(const QString &listPath, const QString &detailPath)
{
    return Files{TextFile::readLines(listPath), TextFile::readLines(detailPath)};
}

std::optional<QString> TListStore::applyFiles(const Files &files)
{
    model_.clear();
    orphans_.clear();
    detailReadError_.reset();
    QStringList errors;

    if (files.lists.error)
        errors << *files.lists.error;
    readListFile(files.lists.lines);

    // Read even without a list file: its lines are then all kept as orphans, so that a later
    // save does not wipe the pages of every list.
    if (files.details.error) {
        errors << *files.details.error;
        detailReadError_ = files.details.error;
    }
    readDetailFile(files.details.lines);

    if (errors.isEmpty())
        return std::nullopt;
    return errors.join(u'\n');
}

void TListStore::readListFile(const QStringList &lines)
{
    // Every node starts as a copy of one prototype, whose roles it then overwrites in place:
    // far fewer allocations than growing each node's role table one setData at a time.
    QStandardItem prototype;
    prototype.setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    for (const int role :
         {int(Qt::DisplayRole), int(NameRole), int(DescriptionRole), int(IconFileRole)})
        prototype.setData(QString(), role);
    prototype.setData(-1, PictureRole);
    prototype.setData(-1, SelectedPictureRole);
    QList<QStandardItem *> items;
    items.reserve(lines.size());
    for (const QString &line : lines) {
        const TLstRec rec = ListFormat::parseListLine(line);
        const int picture =
            rec.IconFile.trimmed().isEmpty() ? ListPicture : ListIconIndex(rec.IconFile);
        QStandardItem *item = prototype.clone();
        item->setText(ListFormat::nodeText(rec));
        item->setData(rec.Name, NameRole);
        item->setData(rec.Description, DescriptionRole);
        item->setData(rec.IconFile, IconFileRole);
        // Its one column exists before any page does, so adding pages only inserts rows.
        item->setColumnCount(1);
        setPictures(item, picture, picture);
        items << item;
    }
    // One insertion, so that a view on the model lays itself out once, not once per list. The
    // column comes first: adding it within the row insertion would nest two changes.
    if (items.isEmpty())
        return;
    model_.setColumnCount(1);
    model_.invisibleRootItem()->appendRows(items);
}

QHash<QString, int> TListStore::rowsByName() const
{
    QHash<QString, int> byName;
    for (int row = model_.rowCount() - 1; row >= 0; --row) {
        const QString name = CaseFold::upper(model_.item(row)->data(NameRole).toString());
        if (!name.isEmpty())
            byName.insert(name, row);
    }
    return byName;
}

QHash<QString, int> TListStore::rowsByKey() const
{
    QHash<QString, int> byKey;
    for (int row = model_.rowCount() - 1; row >= 0; --row)
        byKey.insert(CaseFold::upper(ListFormat::listKey(model_.item(row)->text())), row);
    return byKey;
}

void TListStore::readDetailFile(const QStringList &lines)
{
    if (lines.isEmpty())
        return;
    // Look-up tables instead of a search of the whole tree per line; they keep listRow's rule,
    // the first list of a name winning. Names that break the name rule are rare, so the table
    // by node text is built only when a line needs it.
    const QHash<QString, int> byName = rowsByName();
    std::optional<QHash<QString, int>> byKey;
    std::vector<QList<QStandardItem *>> pages(size_t(model_.rowCount()));
    const std::unique_ptr<QStandardItem> prototype(newPage(QString(), PagePicture, ListPicture));
    for (const QString &line : lines) {
        const auto detail = ListFormat::parseDetailLine(line);
        const QString upper = detail ? CaseFold::upper(detail->name) : QString();
        int row = detail ? byName.value(upper, -1) : -1;
        if (detail && row < 0) {
            if (!byKey)
                byKey = rowsByKey();
            row = byKey->value(upper, -1);
        }
        if (row >= 0) {
            QStandardItem *page = prototype->clone();
            page->setText(detail->address);
            pages[size_t(row)] << page;
        } else if (!line.isEmpty()) {
            orphans_ << line;
        }
    }
    for (size_t row = 0; row < pages.size(); ++row) {
        if (!pages[row].isEmpty())
            model_.item(int(row))->appendRows(pages[row]);
    }
}

int TListStore::ListIconIndex(const QString &fileName)
{
    const QString name = fileName.trimmed();
    const auto known = iconIndex_.constFind(name);
    if (known != iconIndex_.cend())
        return iconFiles_.at(*known).picture;
    const QString suffix = pictureSuffix(name);
    if (suffix.isEmpty()) {
        iconIndex_.insert(name, int(iconFiles_.size()));
        iconFiles_.append({name, -1});
        return -1;
    }
    // Files written on Windows may use backslashes and a relative path means the program folder.
    QFileInfo info(QString(name).replace(u'\\', u'/'));
    const QString dir =
        info.isAbsolute() ? info.path() : QDir(globals_.AppDir).filePath(info.path());
    const QImage image = readPicture(TextFile::resolveNoCase(dir, info.fileName()));
    // A missing or broken file is not remembered: once it is mended, the next load shows it.
    if (image.isNull())
        return -1;
    pictures_.append(fitPicture(suffix == u"BMP" ? withBitmapBackground(image) : image));
    iconIndex_.insert(name, int(iconFiles_.size()));
    iconFiles_.append({name, int(pictures_.size() - 1)});
    return iconFiles_.last().picture;
}

int TListStore::listRow(const QString &upperName) const
{
    // The record's own name first: it finds a list whose name breaks the name rule (holds a
    // "-"); for every other list it is the same name that the node text gives back.
    if (!upperName.isEmpty()) {
        for (int row = 0; row < model_.rowCount(); ++row) {
            if (CaseFold::upper(model_.item(row)->data(NameRole).toString()) == upperName)
                return row;
        }
    }
    for (int row = 0; row < model_.rowCount(); ++row) {
        if (CaseFold::upper(ListFormat::listKey(model_.item(row)->text())) == upperName)
            return row;
    }
    return -1;
}

// The name a detail line carries for the list: what listRow finds that list by again.
QString TListStore::saveName(int listRow) const
{
    const QStandardItem *item = model_.item(listRow);
    const QString name = item->data(NameRole).toString();
    return name.isEmpty() ? ListFormat::listKey(item->text()) : name;
}

int TListStore::FindListNode(const QString &upperName) const
{
    const int row = listRow(upperName);
    return row < 0 ? -1 : TreeOrder::position(model_.index(row, 0));
}

int TListStore::FindListPage(const QString &lowerAddress, const QString &upperName) const
{
    const int row = listRow(upperName);
    if (row < 0)
        return -1;
    const QStandardItem *list = model_.item(row);
    for (int page = 0; page < list->rowCount(); ++page) {
        if (CaseFold::lower(list->child(page)->text()) == lowerAddress)
            return TreeOrder::position(list->child(page)->index());
    }
    return -1;
}

QStringList TListStore::ListPages(const QString &name) const
{
    QStringList pages;
    const int row = listRow(CaseFold::upper(name));
    if (row < 0)
        return pages;
    const QStandardItem *list = model_.item(row);
    for (int page = 0; page < list->rowCount(); ++page)
        pages << list->child(page)->text();
    return pages;
}

void TListStore::ReplaceListPages(const QString &name, const QStringList &addresses)
{
    const int row = listRow(CaseFold::upper(name));
    if (row < 0)
        return;
    QStandardItem *list = model_.item(row);
    if (list->rowCount() > 0)
        list->removeRows(0, list->rowCount());
    QList<QStandardItem *> pages;
    for (const QString &address : addresses)
        pages << newPage(address, ListPicture, ListPicture);
    if (!pages.isEmpty())
        list->appendRows(pages);
    globals_.ListsChanged = true;
}

std::optional<QString> TListStore::SaveListDetails() const
{
    if (detailReadError_)
        return QStringLiteral("The pages of the lists were not saved, because the file could "
                              "not be read at start and saving would have emptied it.\n") +
               *detailReadError_;
    QStringList lines;
    for (int row = 0; row < model_.rowCount(); ++row) {
        const QString name = saveName(row);
        const QStandardItem *list = model_.item(row);
        for (int page = 0; page < list->rowCount(); ++page)
            lines << ListFormat::detailLine(name, list->child(page)->text());
    }
    lines << orphans_;
    return TextFile::writeLines(filePath("WebPageListDtl.INI"), lines);
}

std::optional<QString> TListStore::WriteListFile(const QList<TLstRec> &lists) const
{
    QStringList lines;
    for (const TLstRec &rec : lists)
        lines << ListFormat::listLine(rec);
    return TextFile::writeLines(filePath("WebPageList.INI"), lines);
}

bool TListStore::AddToCurrentList()
{
    const QString upperName = CaseFold::upper(globals_.CurrentList);
    const int row = listRow(upperName);
    // No page reported yet: an empty address is no page to keep.
    if (row < 0 || globals_.CurrentUrl.isEmpty())
        return false;
    if (FindListPage(CaseFold::lower(globals_.CurrentUrl), upperName) >= 0)
        return false;
    model_.item(row)->appendRow(newPage(globals_.CurrentUrl, ListPicture, ListPicture));
    globals_.ListsChanged = true;
    return true;
}

void TListStore::removeNode(const QModelIndex &index)
{
    if (!index.isValid() || index.model() != &model_)
        return;
    model_.removeRow(index.row(), index.parent());
    globals_.ListsChanged = true;
}

QString TListStore::clickedListName(const QModelIndex &index) const
{
    if (!index.isValid())
        return {};
    // A list node answers with the name its pages are saved under, so that Add to Current List
    // finds it even when its name breaks the name rule.
    if (!index.parent().isValid())
        return saveName(index.row());
    return ListFormat::listName(index.data(Qt::DisplayRole).toString());
}

TLstRec TListStore::record(int listRow) const
{
    const QStandardItem *item = model_.item(listRow);
    if (!item)
        return {};
    return TLstRec{item->data(NameRole).toString(), item->data(DescriptionRole).toString(),
                   item->data(IconFileRole).toString()};
}

QList<TLstRec> TListStore::records() const
{
    QList<TLstRec> all;
    for (int row = 0; row < model_.rowCount(); ++row)
        all << record(row);
    return all;
}

QModelIndex TListStore::indexAt(int position) const
{
    return TreeOrder::at(model_, position);
}

QString TListStore::firstNodeText() const
{
    return model_.rowCount() > 0 ? model_.item(0)->text() : QString();
}

QIcon TListStore::picture(int index) const
{
    if (index < 0 || index >= pictures_.size())
        return {};
    return QIcon(QPixmap::fromImage(pictures_.at(index)));
}

QStandardItem *TListStore::newPage(const QString &address, int picture, int selectedPicture) const
{
    auto *item = new QStandardItem(address);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    setPictures(item, picture, selectedPicture);
    return item;
}

void TListStore::setPictures(QStandardItem *item, int picture, int selectedPicture) const
{
    item->setData(picture, PictureRole);
    item->setData(selectedPicture, SelectedPictureRole);
    if (picture >= 0)
        item->setData(icon(picture, selectedPicture), Qt::DecorationRole);
}

QIcon TListStore::icon(int picture, int selectedPicture) const
{
    // One icon per pair, shared by every node that shows it: pictures are only ever added.
    const std::pair key(picture, selectedPicture);
    const auto known = icons_.constFind(key);
    if (known != icons_.cend())
        return *known;
    // Views draw the Selected mode of the icon for a selected node.
    QIcon made;
    made.addPixmap(QPixmap::fromImage(pictures_.at(picture)), QIcon::Normal);
    if (selectedPicture >= 0)
        made.addPixmap(QPixmap::fromImage(pictures_.at(selectedPicture)), QIcon::Selected);
    icons_.insert(key, made);
    return made;
}

QImage TListStore::loadIconPicture(const QString &fileName, const QString &appDir)
{
    const QString name = fileName.trimmed();
    const QString suffix = pictureSuffix(name);
    if (suffix.isEmpty())
        return {};
    QFileInfo info(QString(name).replace(u'\\', u'/'));
    const QString dir = info.isAbsolute() ? info.path() : QDir(appDir).filePath(info.path());
    QImageReader reader(TextFile::resolveNoCase(dir, info.fileName()));
    const QImage image = reader.read();
    if (image.isNull())
        return {};
    return fitPicture(suffix == u"BMP" ? withBitmapBackground(image) : image);
}
