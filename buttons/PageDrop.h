#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class ProgramData;
class QAbstractItemView;
class QComboBox;
class QDropEvent;
class QModelIndex;
class TPTShellList;

// The places of the main window a page can be dragged from onto a web-site button, and the
// address each such drag yields. Drags from anywhere else, other programs included, are refused.
class TPageDrop : public QObject
{
    Q_OBJECT
public:
    struct Sources
    {
        QPointer<TPTShellList> favorites;    // PTShellList1
        QPointer<QComboBox> addressBox;      // CMBADDR
        QPointer<QAbstractItemView> windows; // TreeView1
        QPointer<QAbstractItemView> lists;   // TreeView3
        QPointer<QAbstractItemView> offline; // TreeView4
        QPointer<QAbstractItemView> history; // TreeView5
        // Whether a browser window is open under this caption, ignoring case.
        std::function<bool(const QString &)> hasWindowTitled;
    };
    enum class Source { None, Favorites, AddressBox, Windows, Lists, Offline, History };

    TPageDrop(ProgramData &data, const Sources &sources, QObject *parent = nullptr);

    Source sourceOf(const QObject *dragSource) const;
    bool accepts(const QDropEvent *event) const;
    // Accepts the drag as a copy when it comes from one of the sources, refuses it otherwise.
    // A drag that ends as a move makes the source view delete what was dragged.
    bool acceptAsCopy(QDropEvent *event) const;

    // The address a drag from dragSource yields; empty when it yields none.
    QString DropAddress(const QObject *dragSource) const;
    // Text that starts like an address is one; anything else is taken for a window title.
    // Returns fallback when no open window has that title.
    QString AddressFromText(const QString &text, const QString &fallback) const;
    // The address part of a history node's text: between the first " - " and the next "-".
    static QString HistoryAddress(const QString &nodeText);

private:
    static QModelIndex selectedNode(const QAbstractItemView *view);
    static QString selectedText(const QAbstractItemView *view);
    QString favoriteAddress() const;
    QString listPageAddress() const;
    QString offlinePageAddress() const;

    ProgramData &data_;
    Sources sources_;
};
