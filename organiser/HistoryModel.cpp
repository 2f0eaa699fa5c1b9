#include "organiser/HistoryModel.h"

QByteArrayView THistoryModel::Day::page(int index) const
{
    const quint32 start = index == 0 ? 0 : ends[index - 1];
    return QByteArrayView(bytes).sliced(start, ends[index] - start);
}

void THistoryModel::Day::appendPage(QByteArrayView utf8)
{
    bytes.append(utf8);
    ends.append(quint32(bytes.size()));
}

void THistoryModel::Day::removePage(int index)
{
    const quint32 start = index == 0 ? 0 : ends[index - 1];
    const quint32 length = ends[index] - start;
    bytes.remove(start, length);
    ends.removeAt(index);
    for (qsizetype i = index; i < ends.size(); ++i)
        ends[i] -= length;
}

THistoryModel::THistoryModel(QObject *parent) : QAbstractItemModel(parent) {}

THistoryModel::~THistoryModel() = default;

// A top-level index carries no pointer; a page's index points at its day.
const THistoryModel::Day *THistoryModel::dayOf(const QModelIndex &index) const
{
    return static_cast<const Day *>(index.internalPointer());
}

QModelIndex THistoryModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < dayCount() ? createIndex(row, 0) : QModelIndex();
    if (dayOf(parent) || parent.row() >= dayCount())
        return {};
    const Day &owner = day(parent.row());
    return row < owner.pageCount() ? createIndex(row, 0, &owner) : QModelIndex();
}

QModelIndex THistoryModel::parent(const QModelIndex &child) const
{
    const Day *owner = child.isValid() ? dayOf(child) : nullptr;
    return owner ? createIndex(owner->row, 0) : QModelIndex();
}

int THistoryModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return dayCount();
    if (parent.column() != 0 || dayOf(parent))
        return 0;
    return day(parent.row()).pageCount();
}

int THistoryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() && dayOf(parent) ? 0 : 1;
}

QString THistoryModel::text(const QModelIndex &index) const
{
    if (const Day *owner = dayOf(index))
        return QString::fromUtf8(owner->page(index.row()));
    return day(index.row()).text;
}

bool THistoryModel::isDate(const QModelIndex &index) const
{
    return !dayOf(index) && day(index.row()).date;
}

QVariant THistoryModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const bool date = isDate(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return text(index);
    case THistoryItem::KindRole:
        return date ? THistoryItem::DateNode : THistoryItem::PageEntry;
    case THistoryItem::PictureRole:
        return date ? THistoryItem::DatePicture : THistoryItem::EntryPicture;
    case THistoryItem::SelectedPictureRole:
        return date ? THistoryItem::DatePicture : THistoryItem::EntrySelectedPicture;
    case Qt::DecorationRole:
        return THistoryItem::icon(date ? THistoryItem::DateNode : THistoryItem::PageEntry);
    default:
        return {};
    }
}

Qt::ItemFlags THistoryModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
}

bool THistoryModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (row < 0 || count <= 0 || row + count > rowCount(parent))
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    if (parent.isValid()) {
        Day &owner = *days_[size_t(parent.row())];
        for (int i = 0; i < count; ++i)
            owner.removePage(row);
    } else {
        days_.erase(days_.begin() + row, days_.begin() + row + count);
        for (size_t i = size_t(row); i < days_.size(); ++i)
            days_[i]->row = int(i);
    }
    endRemoveRows();
    return true;
}

void THistoryModel::appendDays(Days &days, size_t from, size_t to)
{
    if (from >= to)
        return;
    const int first = dayCount();
    beginInsertRows({}, first, first + int(to - from) - 1);
    for (size_t i = from; i < to; ++i) {
        days[i]->row = dayCount();
        days_.push_back(std::move(days[i]));
    }
    endInsertRows();
}

void THistoryModel::appendDay(const QString &text)
{
    Days one;
    one.push_back(std::make_unique<Day>());
    one.back()->text = text;
    appendDays(one, 0, 1);
}

void THistoryModel::appendPage(int dayRow, const QString &text)
{
    Day &owner = *days_[size_t(dayRow)];
    beginInsertRows(index(dayRow, 0), owner.pageCount(), owner.pageCount());
    owner.appendPage(text.toUtf8());
    endInsertRows();
}
