#include "organiser/FavoritesPage.h"

#include "app/Ask.h"
#include "app/LastCharPos.h"
#include "app/Logging.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "controls/ApplyScheme.h"
#include "controls/ShellList.h"
#include "organiser/Bookmarks.h"
#include "organiser/Shortcut.h"

#include <QAction>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// A shortcut's "address" may be a script: run in whatever page is shown, it would act there.
bool isScript(const QString &address)
{
    return address.trimmed().startsWith(QStringLiteral("javascript:"), Qt::CaseInsensitive);
}

const QString kFolderType = QStringLiteral("File Folder");
const QStringList kBookmarkFilters{QStringLiteral("Bookmark files (*.html *.htm)"),
                                   QStringLiteral("All files (*)")};
} // namespace

TFavoritesPage::TFavoritesPage(ProgramData &data, Ask &ask, QWidget *parent)
    : QWidget(parent), data_(data), ask_(ask)
{
    FavUpBtn = createButton(QStringLiteral("FavUpBtn"), tr("Go Up One Level"),
                            QStringLiteral("go-up"), QStyle::SP_FileDialogToParent);
    FavHomeBtn = createButton(QStringLiteral("FavHomeBtn"), tr("Go to Start of Favorites"),
                              QStringLiteral("go-home"), QStyle::SP_DirHomeIcon);
    FavAddFldrBtn = createButton(QStringLiteral("FavAddFldrBtn"), tr("Add New Folder to Favorites"),
                                 QStringLiteral("folder-new"), QStyle::SP_FileDialogNewFolder);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setMinimumHeight(25);
    // Where the list stands, so that a folder several levels down is never a mystery.
    folderLabel_ = new QLabel(this);
    folderLabel_->setObjectName(QStringLiteral("FavFolderLabel"));
    folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    PTShellList1 = new TPTShellList(ask_, this);
    PTShellList1->setObjectName(QStringLiteral("PTShellList1"));

    auto *top = new QHBoxLayout;
    top->setSpacing(2);
    top->addWidget(FavUpBtn);
    top->addWidget(FavHomeBtn);
    top->addWidget(FavAddFldrBtn);
    top->addWidget(Label1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(top);
    layout->addWidget(folderLabel_);
    layout->addWidget(PTShellList1, 1);

    importAction_ = new QAction(tr("&Import Bookmarks..."), this);
    exportAction_ = new QAction(tr("&Export Bookmarks..."), this);
    addAction(importAction_);
    addAction(exportAction_);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    PTShellList1->addContextActions({importAction_, exportAction_});

    connect(FavUpBtn, &QToolButton::clicked, this, &TFavoritesPage::FavUpBtnClick);
    connect(FavHomeBtn, &QToolButton::clicked, this, &TFavoritesPage::FavHomeBtnClick);
    connect(FavAddFldrBtn, &QToolButton::clicked, this, &TFavoritesPage::FavAddFldrBtnClick);
    connect(PTShellList1, &QAbstractItemView::clicked, this, &TFavoritesPage::PTShellList1Click);
    connect(PTShellList1, &TPTShellList::doubleClickOpen, this,
            &TFavoritesPage::PTShellList1DblClickOpen);
    connect(PTShellList1, &QAbstractItemView::doubleClicked, this,
            &TFavoritesPage::PTShellList1DblClick);
    connect(PTShellList1, &TPTShellList::pathChanged, this, &TFavoritesPage::showFolder);
    connect(importAction_, &QAction::triggered, this, &TFavoritesPage::importBookmarks);
    connect(exportAction_, &QAction::triggered, this, &TFavoritesPage::exportBookmarks);
    connect(&data_, &ProgramData::settingsChanged, this, &TFavoritesPage::applyColors);
    connect(&data_, &ProgramData::optionsChanged, this,
            [this] { setGridLines(data_.globals().GridLines); });
}

QToolButton *TFavoritesPage::createButton(const QString &name, const QString &hint,
                                          const QString &icon, int fallback)
{
    auto *button = new QToolButton(this);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFixedSize(25, 25);
    button->setIcon(QIcon::fromTheme(
        icon, style()->standardIcon(static_cast<QStyle::StandardPixmap>(fallback))));
    return button;
}

void TFavoritesPage::setFavoritesFolder(const QString &path)
{
    favorites_ = path;
    PTShellList1->setTopPath(path);
    PTShellList1->setPath(path);
}

void TFavoritesPage::showFolder()
{
    const QString path = PTShellList1->path();
    QString shown = QDir::toNativeSeparators(path);
    if (!favorites_.isEmpty()) {
        const QString inside = QDir(favorites_).relativeFilePath(path);
        if (inside == QStringLiteral("."))
            shown = tr("Favorites");
        else if (!inside.startsWith(QStringLiteral("..")))
            shown = tr("Favorites") + QDir::separator() + QDir::toNativeSeparators(inside);
    }
    folderLabel_->setText(shown);
    folderLabel_->setToolTip(QDir::toNativeSeparators(path));
    FavUpBtn->setEnabled(PTShellList1->canGoUp());
}

void TFavoritesPage::setGridLines(bool on)
{
    PTShellList1->setGridLines(on);
}

void TFavoritesPage::clearLabel()
{
    Label1->clear();
}

void TFavoritesPage::applyColors()
{
    const TGlobals &g = data_.globals();
    ApplyScheme::applyListColors(PTShellList1, g);
    ApplyScheme::setFontColor(Label1, TSchemeColor(g.MainTextColor));
}

void TFavoritesPage::AddToFavorites()
{
    emit showRequested();
    QString target = PTShellList1->path();
    const auto item = PTShellList1->selectedItem();
    if (item && item->typeName == kFolderType)
        target = item->path;
    if (!WriteShortcut(target.isEmpty() ? QString() : target + u'/'))
        qCWarning(lcFavorites, "Shortcut to %s not written in %s",
                  qPrintable(data_.globals().CurrentUrl), qPrintable(target));
}

void TFavoritesPage::FavHomeBtnClick()
{
    // The folder may have been removed since start-up; it is made again as at start-up.
    if (!favorites_.isEmpty())
        QDir().mkpath(favorites_);
    PTShellList1->setPath(favorites_);
}

void TFavoritesPage::FavUpBtnClick()
{
    PTShellList1->goUp();
}

void TFavoritesPage::FavAddFldrBtnClick()
{
    // Without a folder on disk there is nowhere sensible to put it (not the root).
    if (!PTShellList1->path().isEmpty())
        QDir(PTShellList1->path()).mkdir(QStringLiteral("New Folder"));
}

void TFavoritesPage::PTShellList1Click()
{
    const auto item = PTShellList1->selectedItem();
    if (!item)
        return;
    QString name = item->fileName;
    // Meant to drop a three-letter extension; it cuts four characters wherever the dot is.
    if (LastCharPos(name, u'.') > 0)
        name = name.left(qMax<qsizetype>(0, name.size() - 4));
    Label1->setText(name);
}

void TFavoritesPage::PTShellList1DblClickOpen(const QString &, bool *handled)
{
    // Shortcuts open in our own windows, never with the desktop's default program.
    *handled = true;
}

void TFavoritesPage::PTShellList1DblClick()
{
    const auto item = PTShellList1->selectedItem();
    if (!item)
        return;
    std::optional<QString> error;
    const QString address = ReadShortcutUrl(item->path, &error);
    if (error)
        ask_.error(*error);
    else if (isScript(address))
        ask_.information(tr("The shortcut \"%1\" holds a script, not a web page address. "
                            "Quillmere does not run scripts from shortcuts.")
                             .arg(item->fileName));
    else if (!address.isEmpty())
        OpenPage(address);
}

void TFavoritesPage::importBookmarks()
{
    const QString target = PTShellList1->path().isEmpty() ? favorites_ : PTShellList1->path();
    if (target.isEmpty())
        return;
    const QString file = ask_.openFile(tr("Import Bookmarks"), QDir::homePath(), kBookmarkFilters);
    if (file.isEmpty())
        return;
    int scripts = 0;
    if (const auto error = Bookmarks::importFile(file, target, &scripts)) {
        ask_.error(*error);
        return;
    }
    if (scripts > 0)
        ask_.information(QStringLiteral("%1 bookmark(s) that would run code in a page "
                                        "(javascript:) were not imported.")
                             .arg(scripts));
}

void TFavoritesPage::exportBookmarks()
{
    if (favorites_.isEmpty())
        return;
    const QString file =
        ask_.saveFile(tr("Export Bookmarks"),
                      QDir::home().filePath(QStringLiteral("bookmarks.html")), kBookmarkFilters);
    if (file.isEmpty())
        return;
    if (const auto error = Bookmarks::exportFile(favorites_, file))
        ask_.error(*error);
}

QAbstractItemView *TFavoritesPage::listView() const
{
    return PTShellList1;
}

QLabel *TFavoritesPage::label() const
{
    return Label1;
}
