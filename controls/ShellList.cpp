#include "controls/ShellList.h"

#include "app/Ask.h"
#include "app/LocaleFormat.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QUrl>
#include <algorithm>

namespace {

enum Column { NameColumn = 0, SizeColumn = 1, TypeColumn = 2, DateColumn = 3 };

// "75 bytes", "2.5 KB", "80 MB": whole units once the figure has two digits.
QString readableSize(qint64 bytes)
{
    qint64 unit = 1;
    while (unit < (qint64(1) << 50) && bytes >= unit * 1024)
        unit *= 1024;
    const int decimals = unit > 1 && bytes < 10 * unit ? 1 : 0;
    return QLocale().formattedDataSize(bytes, decimals, QLocale::DataSizeTraditionalFormat);
}

// The file system as the shell would describe it: "File Folder" for folders, sizes a person
// reads at a glance, dates in the user's locale, and drags that carry full paths as text as
// well as file URLs.
class ShellFileModel : public QFileSystemModel
{
public:
    using QFileSystemModel::QFileSystemModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::DisplayRole && index.column() == TypeColumn && isDir(index))
            return QStringLiteral("File Folder");
        if (role == Qt::DisplayRole && index.column() == DateColumn)
            return LocaleFormat::dateTime(lastModified(index));
        if (role == Qt::DisplayRole && index.column() == SizeColumn && !isDir(index))
            return readableSize(size(index));
        return QFileSystemModel::data(index, role);
    }

    QMimeData *mimeData(const QModelIndexList &indexes) const override
    {
        QMimeData *data = QFileSystemModel::mimeData(indexes);
        QStringList paths;
        for (const QModelIndex &index : indexes) {
            if (index.column() == NameColumn)
                paths << filePath(index);
        }
        data->setText(paths.join(u'\n'));
        return data;
    }
};

} // namespace

TPTShellList::TPTShellList(Ask &ask, QWidget *parent) : QTreeView(parent), ask_(ask)
{
    model_ = new ShellFileModel(this);
    model_->setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    model_->setReadOnly(false); // renaming in place
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setMouseTracking(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    setSortingEnabled(true);
    sortByColumn(NameColumn, Qt::AscendingOrder);
    setLineWidth(1);
    header()->resizeSection(NameColumn, 180);
    header()->setSectionResizeMode(SizeColumn, QHeaderView::ResizeToContents);

    openAction_ = createAction(tr("&Open"), [this] { activateItem(currentIndex()); });
    renameAction_ = createAction(tr("Rena&me"), [this] { renameCurrent(); });
    deleteAction_ = createAction(tr("&Delete"), [this] { deleteSelected(); });
    newFolderAction_ = createAction(tr("New &Folder"), [this] { newFolder(); });

    connect(this, &QAbstractItemView::doubleClicked, this, &TPTShellList::openItem);
}

QAction *TPTShellList::createAction(const QString &text, std::function<void()> run)
{
    auto *action = new QAction(text, this);
    connect(action, &QAction::triggered, this, std::move(run));
    return action;
}

void TPTShellList::setPath(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        return;
    path_ = QDir::cleanPath(info.absoluteFilePath());
    clearSelection();
    setRootIndex(model_->setRootPath(path_));
    emit pathChanged(path_);
}

QString TPTShellList::path() const
{
    return path_;
}

void TPTShellList::goUp()
{
    QDir dir(path_);
    if (canGoUp() && dir.cdUp())
        setPath(dir.absolutePath());
}

void TPTShellList::setTopPath(const QString &path)
{
    top_ = path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    emit pathChanged(path_);
}

bool TPTShellList::canGoUp() const
{
    return !path_.isEmpty() && path_ != top_ && !QDir(path_).isRoot();
}

void TPTShellList::resizeEvent(QResizeEvent *event)
{
    QTreeView::resizeEvent(event);
    // The name gives way so that the size stays in sight in a narrow panel.
    const int room = viewport()->width() - header()->sectionSize(SizeColumn);
    header()->resizeSection(NameColumn, qBound(80, room, 180));
}

int TPTShellList::selectedCount() const
{
    return static_cast<int>(selectionModel()->selectedRows(NameColumn).size());
}

std::optional<TPTShellList::Item> TPTShellList::selectedItem() const
{
    QModelIndexList rows = selectionModel()->selectedRows(NameColumn);
    if (rows.isEmpty())
        return std::nullopt;
    const QModelIndex first = *std::min_element(
        rows.cbegin(), rows.cend(),
        [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    return Item{model_->filePath(first), model_->fileName(first),
                first.siblingAtColumn(TypeColumn).data().toString()};
}

QStringList TPTShellList::selectedPaths() const
{
    QModelIndexList rows = selectionModel()->selectedRows(NameColumn);
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QStringList paths;
    for (const QModelIndex &row : rows)
        paths << model_->filePath(row);
    return paths;
}

void TPTShellList::setGridLines(bool on)
{
    gridLines_ = on;
    viewport()->update();
}

void TPTShellList::addContextActions(const QList<QAction *> &actions)
{
    ownerActions_ += actions;
}

QList<QAction *> TPTShellList::contextActions()
{
    const bool onItem = currentIndex().isValid() && selectionModel()->isSelected(currentIndex());
    openAction_->setEnabled(onItem);
    renameAction_->setEnabled(onItem);
    deleteAction_->setEnabled(selectedCount() > 0);
    newFolderAction_->setEnabled(!path_.isEmpty());
    QList<QAction *> actions = {openAction_, renameAction_, deleteAction_, newFolderAction_};
    return actions + ownerActions_;
}

void TPTShellList::activateItem(const QModelIndex &index)
{
    if (index.isValid())
        emit doubleClicked(index.siblingAtColumn(NameColumn));
}

void TPTShellList::openItem(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const QString path = model_->filePath(index);
    if (model_->isDir(index)) {
        setPath(path);
        return;
    }
    bool handled = false;
    emit doubleClickOpen(path, &handled);
    if (!handled)
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void TPTShellList::renameCurrent()
{
    const QModelIndex index = currentIndex();
    if (index.isValid())
        edit(index.siblingAtColumn(NameColumn));
}

QString TPTShellList::deleteQuestion(const QStringList &paths) const
{
    if (paths.size() == 1) {
        const QFileInfo info(paths.first());
        return QStringLiteral("Do You want to Delete the %1 - %2?")
            .arg(info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File"), info.fileName());
    }
    QStringList names;
    for (const QString &path : paths)
        names << QFileInfo(path).fileName();
    return QStringLiteral("Do You want to Delete the %1 Items - %2?")
        .arg(paths.size())
        .arg(names.join(QStringLiteral(", ")));
}

void TPTShellList::deleteSelected()
{
    const QStringList paths = selectedPaths();
    if (paths.isEmpty() || !ask_.question(deleteQuestion(paths)))
        return;
    for (const QString &path : paths) {
        // Never deleted for good: a trash that cannot take the item leaves it where it is.
        if (!QFile::moveToTrash(path))
            ask_.error(
                QStringLiteral("Cannot move %1 to the trash.").arg(QDir::toNativeSeparators(path)));
    }
}

void TPTShellList::newFolder()
{
    if (path_.isEmpty())
        return;
    const QDir dir(path_);
    QString name = QStringLiteral("New Folder");
    for (int n = 2; dir.exists(name); ++n)
        name = QStringLiteral("New Folder (%1)").arg(n);
    const QModelIndex made = model_->mkdir(rootIndex(), name);
    if (!made.isValid()) {
        ask_.error(QStringLiteral("Cannot create the folder %1.")
                       .arg(QDir::toNativeSeparators(dir.filePath(name))));
        return;
    }
    setCurrentIndex(made);
    edit(made);
}

void TPTShellList::keyPressEvent(QKeyEvent *event)
{
    const bool editing = state() == QAbstractItemView::EditingState;
    if (!editing && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        activateItem(currentIndex());
        return;
    }
    if (!editing && event->key() == Qt::Key_Delete) {
        deleteSelected();
        return;
    }
    if (!editing && (event->key() == Qt::Key_Backspace ||
                     (event->key() == Qt::Key_Up && event->modifiers() == Qt::AltModifier))) {
        goUp();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void TPTShellList::contextMenuEvent(QContextMenuEvent *event)
{
    const QModelIndex at = indexAt(event->pos());
    if (!at.isValid()) {
        clearSelection();
        setCurrentIndex(QModelIndex());
    } else if (!selectionModel()->isSelected(at)) {
        setCurrentIndex(at);
    }
    QMenu menu(this);
    const QList<QAction *> actions = contextActions();
    menu.addActions(actions.mid(0, 3));
    menu.addSeparator();
    menu.addAction(actions.at(3));
    if (actions.size() > 4) {
        menu.addSeparator();
        menu.addActions(actions.mid(4));
    }
    menu.exec(event->globalPos());
}

void TPTShellList::drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                           const QModelIndex &index) const
{
    QTreeView::drawRow(painter, option, index);
    if (!gridLines_)
        return;
    painter->save();
    painter->setPen(palette().color(QPalette::Mid));
    const QRect row = option.rect;
    painter->drawLine(row.left(), row.bottom(), row.right(), row.bottom());
    for (int section = 0; section < header()->count() - 1; ++section) {
        const int x =
            header()->sectionViewportPosition(section) + header()->sectionSize(section) - 1;
        painter->drawLine(x, row.top(), x, row.bottom());
    }
    painter->restore();
}
