#include "lists/ListEdits.h"

#include "app/CaseFold.h"
#include "app/PictureTable.h"
#include "lists/ListStore.h"

#include <QPixmap>

TListEdits::TListEdits(const QString &appDir) : appDir_(appDir)
{
    pictures_ << PictureTable::image(PictureTable::ListPictures, PictureTable::ListNode)
              << PictureTable::image(PictureTable::ListPictures, PictureTable::PageNode);
}

void TListEdits::LoadDialogLists(const TListStore &store)
{
    model_.clear();
    const QList<TLstRec> lists = store.records();
    for (const TLstRec &rec : lists)
        model_.appendRow(newNode(rec, iconPicture(rec.IconFile), SelectedListPicture));
}

int TListEdits::FindListRecord(const QString &name) const
{
    // The record's own name, not the one the node text gives back: a list saved on Windows
    // with a "-" in its name is still found by the name the dialog shows.
    const QString upper = CaseFold::upper(name);
    for (int row = 0; row < model_.rowCount(); ++row) {
        if (CaseFold::upper(model_.item(row)->data(NameRole).toString()) == upper)
            return row;
    }
    return -1;
}

int TListEdits::saveRecord(const TORRec &rec)
{
    const int row = FindListRecord(rec.Name);
    if (row < 0) {
        model_.appendRow(newNode(rec, iconPicture(rec.IconFile), ListPicture));
        return model_.rowCount() - 1;
    }
    // Its picture stays until the next load, even when the icon file changed.
    setRecord(model_.item(row), rec);
    return row;
}

void TListEdits::removeList(int row)
{
    if (row >= 0 && row < model_.rowCount())
        model_.removeRow(row);
}

TORRec TListEdits::record(int row) const
{
    const QStandardItem *item = model_.item(row);
    if (!item)
        return {};
    return TORRec{item->data(NameRole).toString(), item->data(DescriptionRole).toString(),
                  item->data(IconFileRole).toString()};
}

QList<TORRec> TListEdits::records() const
{
    QList<TORRec> all;
    for (int row = 0; row < model_.rowCount(); ++row)
        all << record(row);
    return all;
}

QString TListEdits::newListName() const
{
    // Counting alone would offer a name a list already has ("New List 3" beside "New List 2"
    // and "New List 3"), and Save would then overwrite that list.
    for (int n = model_.rowCount() + 1;; ++n) {
        const QString name = QStringLiteral("New List %1").arg(n);
        if (FindListRecord(name) < 0)
            return name;
    }
}

std::optional<QString> TListEdits::recordProblem(const TORRec &rec)
{
    const auto breaksLine = [](const QString &text) {
        return text.contains(QLatin1String(ListFormat::Separator)) || text.contains(u'\n') ||
               text.contains(u'\r');
    };
    // The Lists page and its detail lines find a list by the name in front of the first "-".
    if (rec.Name.trimmed().isEmpty())
        return QStringLiteral("Please enter a name for the web page list.");
    if (rec.Name.contains(u'-') || breaksLine(rec.Name))
        return QStringLiteral("A web page list name cannot hold \"-\", \"|@|\" or a line break.");
    if (breaksLine(rec.Description))
        return QStringLiteral("A web page list description cannot hold \"|@|\" or a line break.");
    if (breaksLine(rec.IconFile))
        return QStringLiteral("A list icon path cannot hold \"|@|\" or a line break.");
    return std::nullopt;
}

int TListEdits::positionPercent(int index, int count)
{
    if (count <= 0 || index < 0)
        return 0;
    const qint64 scaled = qint64(index) * 100;
    const qint64 whole = scaled / count;
    const qint64 twiceRest = 2 * (scaled % count);
    if (twiceRest > count || (twiceRest == count && whole % 2 == 1))
        return int(whole + 1);
    return int(whole);
}

int TListEdits::findByPrefix(const QString &letters) const
{
    // The whole node text counts, so the letters may run on past the name.
    const QString wanted = CaseFold::lower(letters);
    for (int row = 0; row < model_.rowCount(); ++row) {
        if (CaseFold::lower(model_.item(row)->text()).startsWith(wanted))
            return row;
    }
    return -1;
}

int TListEdits::DialogIconIndex(const QString &fileName)
{
    const QString key = CaseFold::upper(fileName.trimmed());
    const auto known = iconFiles_.constFind(key);
    if (known != iconFiles_.constEnd())
        return known.value();
    const QImage image = TListStore::loadIconPicture(fileName, appDir_);
    // A missing or broken file is not remembered: once mended, the next show finds it.
    if (image.isNull())
        return -1;
    pictures_.append(image);
    iconFiles_.insert(key, int(pictures_.size() - 1));
    return int(pictures_.size() - 1);
}

int TListEdits::iconPicture(const QString &iconFile)
{
    return iconFile.trimmed().isEmpty() ? ListPicture : DialogIconIndex(iconFile);
}

QStandardItem *TListEdits::newNode(const TORRec &rec, int picture, int selectedPicture) const
{
    auto *item = new QStandardItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    setRecord(item, rec);
    item->setData(picture, PictureRole);
    item->setData(selectedPicture, SelectedPictureRole);
    if (picture >= 0) {
        QIcon icon;
        icon.addPixmap(QPixmap::fromImage(pictures_.at(picture)), QIcon::Normal);
        icon.addPixmap(QPixmap::fromImage(pictures_.at(selectedPicture)), QIcon::Selected);
        item->setData(icon, Qt::DecorationRole);
    }
    return item;
}

void TListEdits::setRecord(QStandardItem *item, const TORRec &rec) const
{
    item->setText(ListFormat::nodeText(rec));
    item->setData(rec.Name, NameRole);
    item->setData(rec.Description, DescriptionRole);
    item->setData(rec.IconFile, IconFileRole);
}
