#include "organiser/HistoryFilter.h"

#include "organiser/HistoryItem.h"
#include "organiser/HistoryModel.h"

#include <QApplication>
#include <QHash>
#include <QMimeData>
#include <QStyle>

namespace {

QIcon themeIcon(int picture)
{
    switch (picture) {
    case THistoryItem::DatePicture:
        return QIcon::fromTheme(QStringLiteral("x-office-calendar"),
                                QApplication::style()->standardIcon(QStyle::SP_DirIcon));
    case THistoryItem::EntrySelectedPicture:
        return QIcon::fromTheme(QStringLiteral("document-open"),
                                QApplication::style()->standardIcon(QStyle::SP_FileIcon));
    default:
        return QIcon::fromTheme(QStringLiteral("text-html"),
                                QApplication::style()->standardIcon(QStyle::SP_FileIcon));
    }
}

} // namespace

THistoryFilter::THistoryFilter(QObject *parent) : QSortFilterProxyModel(parent)
{
    setRecursiveFilteringEnabled(true);
}

void THistoryFilter::setWords(const QString &words)
{
    if (words == words_)
        return;
    // New words decide every row afresh. An incremental update would move and remove rows
    // range by range under a view holding a hundred thousand of them; a reset lets the view
    // ask again for what it shows and nothing more.
    QAbstractItemModel *source = sourceModel();
    setSourceModel(nullptr);
    words_ = words;
    matcher_ = QStringMatcher(words, Qt::CaseInsensitive);
    setSourceModel(source);
}

QIcon THistoryFilter::pictureIcon(int picture, int selectedPicture)
{
    // Painting asks for the picture of every visible row; build each pair once.
    static QHash<int, QIcon> cache;
    const int key = picture * 100 + selectedPicture;
    auto found = cache.constFind(key);
    if (found != cache.cend())
        return *found;
    QIcon icon = themeIcon(picture);
    if (selectedPicture != picture) {
        const QIcon normal = icon;
        const QIcon selected = themeIcon(selectedPicture);
        icon = QIcon();
        for (const QSize &size : {QSize(16, 16), QSize(24, 24), QSize(32, 32)}) {
            icon.addPixmap(normal.pixmap(size), QIcon::Normal);
            icon.addPixmap(selected.pixmap(size), QIcon::Selected);
        }
    }
    return *cache.insert(key, icon);
}

QVariant THistoryFilter::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DecorationRole)
        return QSortFilterProxyModel::data(index, role);
    const QVariant picture = QSortFilterProxyModel::data(index, THistoryItem::PictureRole);
    if (!picture.isValid())
        return {};
    const QVariant selected = QSortFilterProxyModel::data(index, THistoryItem::SelectedPictureRole);
    return pictureIcon(picture.toInt(), selected.isValid() ? selected.toInt() : picture.toInt());
}

QMimeData *THistoryFilter::mimeData(const QModelIndexList &indexes) const
{
    // A drop target takes the dragged node's text and cuts the address out of it itself.
    auto *mime = QSortFilterProxyModel::mimeData(indexes);
    if (mime && !indexes.isEmpty())
        mime->setText(indexes.first().data().toString());
    return mime;
}

bool THistoryFilter::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (words_.isEmpty())
        return true;
    // A day is shown because of its pages, never because of its own text.
    if (!sourceParent.isValid())
        return false;
    // Straight to the item: this runs for every page of a long history at each change.
    const auto *model = static_cast<const THistoryModel *>(sourceModel());
    const QModelIndex page = model->index(sourceRow, 0, sourceParent);
    return page.isValid() && matcher_.indexIn(model->text(page)) >= 0;
}
