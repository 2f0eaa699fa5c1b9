#include "buttons/PageDrop.h"

#include "app/LeftChars.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "controls/ShellList.h"
#include "organiser/Shortcut.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QLineEdit>

TPageDrop::TPageDrop(ProgramData &data, const Sources &sources, QObject *parent)
    : QObject(parent), data_(data), sources_(sources)
{
}

TPageDrop::Source TPageDrop::sourceOf(const QObject *dragSource) const
{
    if (!dragSource)
        return Source::None;
    if (dragSource == sources_.favorites)
        return Source::Favorites;
    // The address box's text is dragged by its line edit.
    if (sources_.addressBox &&
        (dragSource == sources_.addressBox || dragSource == sources_.addressBox->lineEdit()))
        return Source::AddressBox;
    if (dragSource == sources_.windows)
        return Source::Windows;
    if (dragSource == sources_.lists)
        return Source::Lists;
    if (dragSource == sources_.offline)
        return Source::Offline;
    if (dragSource == sources_.history)
        return Source::History;
    return Source::None;
}

bool TPageDrop::accepts(const QDropEvent *event) const
{
    return sourceOf(event->source()) != Source::None;
}

bool TPageDrop::acceptAsCopy(QDropEvent *event) const
{
    if (!accepts(event)) {
        event->ignore();
        return false;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

QString TPageDrop::DropAddress(const QObject *dragSource) const
{
    switch (sourceOf(dragSource)) {
    case Source::Favorites:
        return favoriteAddress();
    case Source::AddressBox:
        return AddressFromText(sources_.addressBox->currentText(),
                               sources_.addressBox->currentText());
    case Source::Windows:
        return AddressFromText(selectedText(sources_.windows), QString());
    case Source::Lists:
        return listPageAddress();
    case Source::Offline:
        return offlinePageAddress();
    case Source::History:
        return HistoryAddress(selectedText(sources_.history));
    case Source::None:
        break;
    }
    return QString();
}

QString TPageDrop::AddressFromText(const QString &text, const QString &fallback) const
{
    if (text.startsWith(u"http") || text.startsWith(u"www"))
        return text;
    // Activating a window makes its page the current one; with no such window the current
    // page belongs to some other window and is not what was dropped.
    if (!sources_.hasWindowTitled || !sources_.hasWindowTitled(text))
        return fallback;
    ::ActivateWindowByTitle(text);
    return data_.globals().CurrentUrl;
}

QString TPageDrop::HistoryAddress(const QString &nodeText)
{
    const qsizetype p = nodeText.indexOf(QLatin1Char('-')) + 1;
    const QString rest = nodeText.mid(p + 1);
    const qsizetype q = rest.indexOf(QLatin1Char('-')) + 1;
    return LeftChars(rest, q - 2);
}

QModelIndex TPageDrop::selectedNode(const QAbstractItemView *view)
{
    if (!view || !view->selectionModel())
        return QModelIndex();
    const QModelIndexList selected = view->selectionModel()->selectedRows();
    return selected.isEmpty() ? QModelIndex() : selected.first();
}

QString TPageDrop::selectedText(const QAbstractItemView *view)
{
    const QModelIndex node = selectedNode(view);
    return node.isValid() ? node.data(Qt::DisplayRole).toString() : QString();
}

QString TPageDrop::favoriteAddress() const
{
    if (!sources_.favorites)
        return QString();
    const auto item = sources_.favorites->selectedItem();
    return item ? ReadShortcutUrl(item->path) : QString();
}

QString TPageDrop::listPageAddress() const
{
    const QModelIndex node = selectedNode(sources_.lists);
    const bool page = node.parent().isValid() && !node.parent().parent().isValid();
    return page ? node.data(Qt::DisplayRole).toString() : QString();
}

QString TPageDrop::offlinePageAddress() const
{
    const QString name = selectedText(sources_.offline);
    return name.isEmpty() ? QString() : data_.webPagesDir() + QLatin1Char('/') + name;
}
