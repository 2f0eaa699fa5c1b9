#include "browse/MainWindow.h"

#include "app/Ask.h"
#include "app/CaseFold.h"
#include "app/Colors.h"
#include "app/ProgramData.h"
#include "app/Startup.h"
#include "app/TextFile.h"
#include "browse/ChildWindow.h"
#include "browse/Downloads.h"
#include "browse/PopupPolicy.h"
#include "buttons/AssignButtonsDialog.h"
#include "buttons/ButtonBar.h"
#include "buttons/ButtonBarDrops.h"
#include "buttons/PageDrop.h"
#include "controls/ClockPanel.h"
#include "controls/GlowButton.h"
#include "controls/SchemeFollower.h"
#include "controls/ShellList.h"
#include "controls/ThemeIcon.h"
#include "controls/WindowTabBar.h"
#include "help/About.h"
#include "help/HelpWindow.h"
#include "help/QuickTips.h"
#include "lists/AddPagesDialog.h"
#include "lists/AutoCollect.h"
#include "lists/FindListDialog.h"
#include "lists/ListMaintenanceDialog.h"
#include "lists/ListRunner.h"
#include "lists/ListsPage.h"
#include "mail/AddressBookDialog.h"
#include "mail/MailWindow.h"
#include "organiser/FavoritesFolder.h"
#include "organiser/FavoritesPage.h"
#include "organiser/HistoryPage.h"
#include "organiser/OfflinePage.h"
#include "shell/DialogForm.h"
#include "shell/SettingsDialog.h"
#include "shell/SplashWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <algorithm>
#include <limits>

TQuillmere1 *Quillmere1 = nullptr;

namespace {

// Titles are the page's to choose; a frame caption this long would only slow the task bar.
constexpr int kCaptionLimit = 300;

// The rectangle moved (and shrunk if need be) onto the screen under its centre, or else the
// nearest one.
QRect onNearestScreen(const QRect &wanted)
{
    const QScreen *chosen = QGuiApplication::screenAt(wanted.center());
    qint64 best = std::numeric_limits<qint64>::max();
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (chosen)
            break;
        const QPoint gap = screen->availableGeometry().center() - wanted.center();
        const qint64 distance = qint64(gap.x()) * gap.x() + qint64(gap.y()) * gap.y();
        if (distance < best) {
            best = distance;
            chosen = screen;
        }
    }
    if (!chosen)
        return wanted;
    const QRect area = chosen->availableGeometry();
    QRect placed(QPoint(), wanted.size().boundedTo(area.size()));
    placed.moveTopLeft(
        QPoint(std::clamp(wanted.left(), area.left(), area.left() + area.width() - placed.width()),
               std::clamp(wanted.top(), area.top(), area.top() + area.height() - placed.height())));
    return placed;
}

QIcon bitmap(const ProgramData &data, const QString &name)
{
    const QString path = TextFile::resolveNoCase(data.filePath(QStringLiteral("Bmps")), name);
    QPixmap picture(path);
    return picture.isNull() ? QIcon() : QIcon(picture);
}

} // namespace

TQuillmere1::TQuillmere1(ProgramData &data, Ask &ask, QWidget *parent)
    : QMainWindow(parent), data_(data), ask_(ask)
{
    setObjectName(QStringLiteral("Quillmere1"));
    setWindowTitle(QStringLiteral("Quillmere"));
    resize(987, 780);
    createClientArea();
    createSidePanel();
    createMainToolBar();
    createMenus();
    createStatusBar();
    downloads_ = new TDownloads(this);
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TQuillmere1::Timer1Timer);
    Timer1->start();
    Timer1Timer();
    connect(qApp, &QCoreApplication::aboutToQuit, this, &TQuillmere1::FormClose);
    connect(&data_, &ProgramData::settingsChanged, this, &TQuillmere1::ApplyColors);
    // A new desktop palette changes what the scheme's system colours resolve to.
    TSchemeFollower::follow(this, [this] { data_.noteColorsChanged(); });
    createDialogs();
}

// The dialogs that live for the whole run, created hidden in the order of start-up, each
// taking the program's data and the ask seam:
//     addDialog(ListMainDialog, new TListMain1(data_, ask_, this));
// addDialog() enables the menu items and buttons that open the dialog.
void TQuillmere1::createDialogs()
{
    auto *setConf = new TSetConf1(data_, ask_, this);
    setConf->setAddressSource(CMBADDR);
    // A file that is not a picture leaves the view empty.
    connect(setConf, &TSetConf1::mainPictureRequested, this,
            [this](const QString &path) { pictureView_->setPixmap(QPixmap(path)); });
    addDialog(SetConfDialog, setConf);
    auto *mailWindow = new TEMail1(data_, ask_, this);
    connect(mailWindow, &TEMail1::openPageRequested, this, &TQuillmere1::OpenPage);
    addDialog(EMailDialog, mailWindow);
    auto *mailAddr = new TMailAddr1(data_, ask_, this);
    addDialog(MailAddrDialog, mailAddr);
    mailWindow->setAddressBook(mailAddr);
    auto *listMain = new TListMain1(data_, ask_, this);
    addDialog(ListMainDialog, listMain);
    auto *findList = new TFindList1(data_, ask_, this);
    addDialog(FindListDialog, findList);
    connect(listMain, &TListMain1::findRequested, this, [this] { openDialog(FindListDialog); });
    connect(findList, &TFindList1::findListRequested, listMain, &TListMain1::FindList);
    auto *addPages = new TListAddURL1(data_, ask_, this);
    addPages->setSidePanel(favoritesPage_->shellList(), listsPage_);
    addDialog(ListAddURLDialog, addPages);
    auto *runner = new TListRun1(data_, ask_, this);
    // CloseListWindow: the first window in child order that the runner opened.
    connect(runner, &TListRun1::closeListWindowRequested, this, [this] {
        for (TChildWin1 *child : browserWindows()) {
            if (child->tag() == 9999) {
                child->close();
                return;
            }
        }
    });
    addDialog(ListRunDialog, runner);
    addDialog(ListAutoDialog, new TListAuto1(data_, ask_, this));
    addDialog(AboutDialog, new TAbout1(data_, this));
    addDialog(QuikTipsDialog, new TQuikTips1(data_, this));
    // SetBtnsDialog: TSetBtns1, assign pages to buttons, and the bar's own drops.
    const TPageDrop::Sources pageSources{
        favoritesPage_->shellList(),
        CMBADDR,
        TreeView1,
        listsPage_->treeView(),
        offlinePage_->treeView(),
        historyPage_->treeView(),
        [this](const QString &title) {
            const QList<TChildWin1 *> windows = browserWindows();
            return std::any_of(windows.cbegin(), windows.cend(), [&title](TChildWin1 *child) {
                return CaseFold::sameText(child->windowTitle(), title);
            });
        }};
    auto *pageDrop = new TPageDrop(data_, pageSources, this);
    auto *setBtns = new TSetBtns1(data_, ask_, *pageDrop, this);
    addDialog(SetBtnsDialog, setBtns);
    auto *barDrops = new TButtonBarDrops(data_, ask_, *pageDrop, buttonBar_);
    connect(barDrops, &TButtonBarDrops::buttonAssigned, setBtns, &TSetBtns1::SetButtonField);
}

void TQuillmere1::addDialog(DialogSlot slot, TDialogForm *dialog)
{
    dialogs_[slot] = dialog;
    for (const QPointer<QObject> &opener : std::as_const(openers_[slot])) {
        if (opener)
            opener->setProperty("enabled", dialog != nullptr);
    }
}

void TQuillmere1::openDialog(DialogSlot slot)
{
    if (TDialogForm *dialog = dialogs_[slot])
        dialog->openModeless();
}

void TQuillmere1::openMail(const QString &mode)
{
    if (!dialogs_[EMailDialog])
        return;
    data_.globals().MailMode = mode;
    openDialog(EMailDialog);
}

void TQuillmere1::openSettings(const QString &page)
{
    auto *settings = qobject_cast<TSetConf1 *>(dialogs_[SetConfDialog].data());
    if (!settings)
        return;
    data_.globals().SettingsPage = page;
    settings->openFromMenu();
}

QAction *TQuillmere1::dialogAction(QMenu *menu, const QString &text, DialogSlot slot,
                                   const QKeySequence &keys)
{
    QAction *action = menu->addAction(text);
    action->setShortcut(keys);
    action->setEnabled(dialogs_[slot] != nullptr);
    openers_[slot].append(action);
    return action;
}

TQuillmere1::~TQuillmere1()
{
    // Hiding the sub-windows while the frame is taken down still activates them.
    disconnect(mdiArea_, nullptr, this, nullptr);
    if (&navigation() == this)
        setNavigation(nullptr);
}

QAction *TQuillmere1::menuAction(const QString &text) const
{
    const QList<QAction *> actions = findChildren<QAction *>();
    for (QAction *action : actions) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

void TQuillmere1::createMenus()
{
    QMenuBar *bar = menuBar();
    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&New Window"), QKeySequence(Qt::CTRL | Qt::Key_N), this,
                    &TQuillmere1::TNewWinBtnClick);
    file->addAction(QStringLiteral("&Open File"), QKeySequence(Qt::CTRL | Qt::Key_O), this,
                    &TQuillmere1::OpenFile1Click);
    file->addSeparator();
    file->addAction(QStringLiteral("Exit"), QKeySequence(Qt::Key_F12), this, &QWidget::close);

    mainEditMenu_ = bar->addMenu(QStringLiteral("&Edit"));
    mainEditMenu_->addAction(QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), this,
                             &TQuillmere1::Copy1Click);
    mainEditMenu_->addAction(QStringLiteral("C&ut"), QKeySequence(Qt::CTRL | Qt::Key_X), this,
                             &TQuillmere1::Cut1Click);
    mainEditMenu_->addAction(QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), this,
                             &TQuillmere1::Paste1Click);
    currentEditAction_ = mainEditMenu_->menuAction();

    // Items whose dialogs do not exist yet are shown, disabled, so nothing is silently dead.
    QMenu *lists = bar->addMenu(QStringLiteral("&Lists"));
    const auto opens = [this](DialogSlot slot) { return [this, slot] { openDialog(slot); }; };
    connect(dialogAction(lists, QStringLiteral("Create Web Page/Web Site List"), ListMainDialog),
            &QAction::triggered, this, opens(ListMainDialog));
    connect(dialogAction(lists, QStringLiteral("Add Web Pages to a List"), ListAddURLDialog),
            &QAction::triggered, this, opens(ListAddURLDialog));
    connect(dialogAction(lists, QStringLiteral("Run Web Page List"), ListRunDialog),
            &QAction::triggered, this, opens(ListRunDialog));
    lists->addSeparator();
    connect(dialogAction(lists, QStringLiteral("Auto Collect Web Pages per List"), ListAutoDialog),
            &QAction::triggered, this, opens(ListAutoDialog));
    lists->addSeparator();
    connect(dialogAction(lists, QStringLiteral("Assign Web Pages To Buttons"), SetBtnsDialog),
            &QAction::triggered, this, opens(SetBtnsDialog));

    QMenu *mail = bar->addMenu(QStringLiteral("E&mail"));
    connect(dialogAction(mail, QStringLiteral("Receive EMail"), EMailDialog,
                         QKeySequence(Qt::CTRL | Qt::Key_R)),
            &QAction::triggered, this, [this] { openMail(QStringLiteral("R")); });
    connect(dialogAction(mail, QStringLiteral("Send EMail"), EMailDialog,
                         QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, this, [this] { openMail(QStringLiteral("S")); });
    mail->addSeparator();
    connect(dialogAction(mail, QStringLiteral("Address Book"), MailAddrDialog,
                         QKeySequence(Qt::CTRL | Qt::Key_A)),
            &QAction::triggered, this, opens(MailAddrDialog));
    connect(dialogAction(mail, QStringLiteral("EMail Account"), EMailDialog), &QAction::triggered,
            this, [this] {
                if (auto *mailWindow = qobject_cast<TEMail1 *>(dialogs_[EMailDialog].data()))
                    mailWindow->AcctBtnClick();
            });

    QMenu *utilities = bar->addMenu(QStringLiteral("&Utilities"));
    connect(dialogAction(utilities, QStringLiteral("Set Application Colors"), SetConfDialog),
            &QAction::triggered, this, [this] { openSettings(QStringLiteral("C")); });
    connect(dialogAction(utilities, QStringLiteral("Set Application Options"), SetConfDialog),
            &QAction::triggered, this, [this] { openSettings(QStringLiteral("O")); });
    utilities->addSeparator();
    connect(dialogAction(utilities, QStringLiteral("Select Start Up Web Page"), SetConfDialog),
            &QAction::triggered, this, [this] { openSettings(QStringLiteral("O")); });

    windowMenu_ = bar->addMenu(QStringLiteral("&Window"));
    arrangeActions_ << windowMenu_->addAction(QStringLiteral("&Cascade"), this,
                                              &TQuillmere1::cascadeWindows)
                    << windowMenu_->addAction(QStringLiteral("Tile &Horizontally"), this,
                                              [this] { tileWindows(Qt::Horizontal); })
                    << windowMenu_->addAction(QStringLiteral("&Tile Vertically"), this,
                                              [this] { tileWindows(Qt::Vertical); });
    connect(windowMenu_, &QMenu::aboutToShow, this, &TQuillmere1::updateWindowMenu);
    updateWindowMenu();

    QMenu *help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("Help Contents"), QKeySequence(Qt::Key_F1), this,
                    &TQuillmere1::THelpBtnClick);
    connect(dialogAction(help, QStringLiteral("View Quick Tips"), QuikTipsDialog),
            &QAction::triggered, this, opens(QuikTipsDialog));
    help->addSeparator();
    QAction *about = dialogAction(help, QStringLiteral("About Quillmere"), AboutDialog);
    about->setObjectName(QStringLiteral("AboutQuillmere1"));
    connect(about, &QAction::triggered, this, opens(AboutDialog));
}

TGlowButton *TQuillmere1::addToolButton(const QString &caption, const QString &hint,
                                        const char *icon, int fallback,
                                        void (TQuillmere1::*handler)())
{
    auto *button = new TGlowButton(mainToolBar_);
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(ThemeIcon::themed(icon, fallback));
    if (caption.isEmpty())
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    if (handler)
        connect(button, &TGlowButton::clicked, this, handler);
    mainToolBar_->addWidget(button);
    toolButtons_.append(button);
    return button;
}

void TQuillmere1::createMainToolBar()
{
    mainToolBar_ = addToolBar(QStringLiteral("Main Tool Bar"));
    mainToolBar_->setObjectName(QStringLiteral("MainToolBar"));
    mainToolBar_->setMovable(false);
    mainToolBar_->setIconSize(QSize(16, 16));
    mainToolBar_->setFixedHeight(44);

    mainToolBar_->addWidget(buttonBar_->toggleButton());
    addToolButton(QStringLiteral("New"), QStringLiteral("Open Web Page in a New Window"),
                  "window-new", QStyle::SP_FileIcon, &TQuillmere1::TNewWinBtnClick);
    addToolButton(QStringLiteral("Home"), QStringLiteral("Go to Home Page"), "go-home",
                  QStyle::SP_DirHomeIcon, &TQuillmere1::THomeBtnClick);
    mainToolBar_->addSeparator();
    TGlowButton *addFavorite =
        addToolButton(QStringLiteral("Add"), QStringLiteral("Add to Favorites"), "bookmark-new",
                      QStyle::SP_DialogYesButton, nullptr);
    addFavorite->setObjectName(QStringLiteral("TAddFavBtn"));
    connect(addFavorite, &TGlowButton::clicked, favoritesPage_, &TFavoritesPage::AddToFavorites);
    TGlowButton *addToList =
        addToolButton(QStringLiteral("Add"), QStringLiteral("Add to Current List"), "list-add",
                      QStyle::SP_FileDialogNewFolder, nullptr);
    addToList->setObjectName(QStringLiteral("TAddListBtn"));
    connect(addToList, &TGlowButton::clicked, listsPage_, &TListsPage::AddToCurrentList);
    mainToolBar_->addWidget(buttonBar_->addButton());
    openers_[SetBtnsDialog].append(buttonBar_->addButton());
    mainToolBar_->addSeparator();
    TSwitchBtn = addToolButton(
        QStringLiteral("Switch"),
        QStringLiteral("Switch Between using the Current Page Window or Create a New Window"),
        "dialog-information", QStyle::SP_MessageBoxInformation, &TQuillmere1::TSwitchBtnClick);
    // The lit bulb says new windows, the mode every start begins in.
    const QIcon bulb = bitmap(data_, QStringLiteral("BulbOn.Bmp"));
    if (!bulb.isNull())
        TSwitchBtn->setIcon(bulb);
    mainToolBar_->addSeparator();

    CMBADDR = new QComboBox(mainToolBar_);
    CMBADDR->setObjectName(QStringLiteral("CMBADDR"));
    CMBADDR->setEditable(true);
    CMBADDR->setInsertPolicy(QComboBox::NoInsert);
    CMBADDR->setFixedWidth(221);
    CMBADDR->setMinimumContentsLength(20);
    CMBADDR->lineEdit()->setPlaceholderText(QStringLiteral("Address or window title"));
    // The address is dragged onto the dialogs' address fields and the web-site buttons.
    CMBADDR->lineEdit()->setDragEnabled(true);
    CMBADDR->installEventFilter(this);
    CMBADDR->lineEdit()->installEventFilter(this);
    connect(CMBADDR, &QComboBox::activated, this, &TQuillmere1::CMBADDRClick);
    // Real key presses reach the combo box, which hands them to its line edit past any event
    // filter; the line edit's own signal sees both Enter keys.
    connect(CMBADDR->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { CMBADDRKeyDown(Qt::Key_Return); });
    auto *toAddress = new QAction(QStringLiteral("Go to Address Box"), this);
    toAddress->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_L), QKeySequence(Qt::ALT | Qt::Key_D),
                             QKeySequence(Qt::Key_F6)});
    connect(toAddress, &QAction::triggered, this, &TQuillmere1::focusAddressBox);
    addAction(toAddress);
    auto *reload = new QAction(QStringLiteral("Reload Page"), this);
    reload->setShortcut(QKeySequence(Qt::Key_F5));
    connect(reload, &QAction::triggered, this, [this] {
        if (TChildWin1 *child = activeBrowserWindow())
            child->RefreshBtnClick();
    });
    addAction(reload);
    mainToolBar_->addWidget(CMBADDR);
    windowList_.attach(TreeView1, CMBADDR);
    mainToolBar_->addSeparator();
    addToolButton(QStringLiteral("Go"), QStringLiteral("Go to Web Page"), "go-jump",
                  QStyle::SP_CommandLink, &TQuillmere1::TGoBtnClick);
    mainToolBar_->addSeparator();
    addToolButton(QString(), QStringLiteral("Previous Window"), "go-previous", QStyle::SP_ArrowLeft,
                  &TQuillmere1::TPrevBtnClick);
    addToolButton(QString(), QStringLiteral("Next Window"), "go-next", QStyle::SP_ArrowRight,
                  &TQuillmere1::TNextBtnClick);
    mainToolBar_->addSeparator();
    TGlowButton *mailButton =
        addToolButton(QStringLiteral("Mail"), QStringLiteral("Send and Receive EMail"),
                      "mail-send-receive", QStyle::SP_DriveNetIcon, nullptr);
    mailButton->setEnabled(false);
    openers_[EMailDialog].append(mailButton);
    connect(mailButton, &TGlowButton::clicked, this, [this] { openMail(QStringLiteral("S")); });
    addToolButton(QStringLiteral("Find"), QStringLiteral("New Search Window"), "edit-find",
                  QStyle::SP_FileDialogContentsView, &TQuillmere1::TSearchBtnClick);
    mainToolBar_->addSeparator();
    addToolButton(QStringLiteral("Help"), QStringLiteral("Help Table of Contents"), "help-contents",
                  QStyle::SP_DialogHelpButton, &TQuillmere1::THelpBtnClick);
}

void TQuillmere1::createSidePanel()
{
    sidePanel_ = new QTabWidget;
    sidePanel_->setObjectName(QStringLiteral("SidePanel"));
    sidePanel_->setMovable(false);
    sidePanel_->setUsesScrollButtons(true);
    sidePanel_->setDocumentMode(false);
    // Five captioned tabs do not fit across a 268-pixel panel; down its side they all show.
    sidePanel_->setTabPosition(QTabWidget::West);
    sidePanel_->setMinimumWidth(180);

    TreeView1 = new QTreeWidget;
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setRootIsDecorated(false);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setDragEnabled(true);
    TreeView1->setDragDropMode(QAbstractItemView::DragOnly);
    connect(TreeView1, &QTreeWidget::itemClicked, this, &TQuillmere1::ShowSelectedWindow);
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, &TQuillmere1::ShowSelectedWindow);

    favoritesPage_ = new TFavoritesPage(data_, ask_);
    listsPage_ = new TListsPage(data_, ask_);
    offlinePage_ = new TOfflinePage(data_);
    historyPage_ = new THistoryPage(data_, ask_);
    sidePanel_->addTab(TreeView1, ThemeIcon::themed("window-new", QStyle::SP_DesktopIcon),
                       QStringLiteral("Web Pages"));
    sidePanel_->addTab(favoritesPage_, ThemeIcon::themed("user-bookmarks", QStyle::SP_DirIcon),
                       QStringLiteral("Favorites"));
    sidePanel_->addTab(listsPage_,
                       ThemeIcon::themed("view-list-details", QStyle::SP_FileDialogListView),
                       QStringLiteral("Lists"));
    sidePanel_->addTab(offlinePage_, ThemeIcon::themed("folder-download", QStyle::SP_DriveHDIcon),
                       QStringLiteral("OffLine"));
    sidePanel_->addTab(historyPage_,
                       ThemeIcon::themed("document-open-recent", QStyle::SP_BrowserReload),
                       QStringLiteral("History"));

    // Adding to favorites or to a list shows the page that received the addition.
    connect(listsPage_, &TListsPage::showRequested, this,
            [this] { sidePanel_->setCurrentWidget(listsPage_); });
    connect(favoritesPage_, &TFavoritesPage::showRequested, this,
            [this] { sidePanel_->setCurrentWidget(favoritesPage_); });
    // The Lists page's three small buttons do what the first three Lists menu items do.
    connect(listsPage_, &TListsPage::maintainListsRequested, this,
            [this] { openDialog(ListMainDialog); });
    connect(listsPage_, &TListsPage::addPagesRequested, this,
            [this] { openDialog(ListAddURLDialog); });
    connect(listsPage_, &TListsPage::runListRequested, this, [this] { openDialog(ListRunDialog); });
    openers_[ListMainDialog].append(listsPage_->listMainButton());
    openers_[ListAddURLDialog].append(listsPage_->listAddUrlButton());
    openers_[ListRunDialog].append(listsPage_->listRunButton());

    auto *pageList = new QToolButton(sidePanel_);
    pageList->setToolTip(QStringLiteral("Page List"));
    pageList->setAutoRaise(true);
    pageList->setArrowType(Qt::DownArrow);
    connect(pageList, &QToolButton::clicked, this, [this, pageList] {
        QMenu menu(this);
        for (int i = 0; i < sidePanel_->count(); ++i)
            menu.addAction(sidePanel_->tabIcon(i), sidePanel_->tabText(i), this,
                           [this, i] { sidePanel_->setCurrentIndex(i); });
        menu.exec(pageList->mapToGlobal(QPoint(0, pageList->height())));
    });
    sidePanel_->setCornerWidget(pageList, Qt::TopRightCorner);
    const QList<QToolButton *> scrollers = sidePanel_->tabBar()->findChildren<QToolButton *>();
    for (QToolButton *scroller : scrollers) {
        const bool back =
            scroller->arrowType() == Qt::LeftArrow || scroller->arrowType() == Qt::UpArrow;
        scroller->setToolTip(back ? QStringLiteral("Previous") : QStringLiteral("Next"));
    }

    buttonBar_ = new TButtonBar(data_);
    connect(buttonBar_, &TButtonBar::assignButtonsRequested, this,
            [this] { openDialog(SetBtnsDialog); });
    auto *left = new QWidget;
    auto *leftLayout = new QHBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    leftLayout->addWidget(sidePanel_, 1);
    leftLayout->addWidget(buttonBar_);

    Splitter1->insertWidget(0, left);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({268, 987 - 268});
}

void TQuillmere1::createClientArea()
{
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(4);
    Splitter1->setChildrenCollapsible(false);

    mdiArea_ = new QMdiArea;
    mdiArea_->setObjectName(QStringLiteral("ClientArea"));
    mdiArea_->setActivationOrder(QMdiArea::CreationOrder);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &TQuillmere1::onSubWindowActivated);

    pictureView_ = new QLabel;
    pictureView_->setObjectName(QStringLiteral("PictureView"));
    pictureView_->setAlignment(Qt::AlignCenter);
    pictureView_->setAutoFillBackground(true);
    clientStack_ = new QStackedWidget;
    clientStack_->addWidget(pictureView_);
    clientStack_->addWidget(mdiArea_);

    windowTabBar_ = new TWindowTabBar(mdiArea_);
    auto *right = new QWidget;
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    rightLayout->addWidget(windowTabBar_);
    rightLayout->addWidget(clientStack_, 1);
    Splitter1->addWidget(right);
    setCentralWidget(Splitter1);
}

void TQuillmere1::createStatusBar()
{
    statusPage_ = new QLabel;
    statusPage_->setObjectName(QStringLiteral("StatusPanel1"));
    statusPage_->setMinimumWidth(300);
    statusPage_->setTextFormat(Qt::PlainText);
    statusClock_ = new TClockPanel;
    statusClock_->setObjectName(QStringLiteral("StatusPanel2"));
    loadProgress_ = new QProgressBar;
    loadProgress_->setRange(0, 100);
    loadProgress_->setMaximumWidth(120);
    loadProgress_->setMaximumHeight(14);
    loadProgress_->setTextVisible(false);
    loadProgress_->hide();
    statusBar()->addWidget(statusPage_, 1);
    statusBar()->addPermanentWidget(loadProgress_);
    allowPopups_ = new QToolButton;
    allowPopups_->setObjectName(QStringLiteral("AllowPopups"));
    allowPopups_->setAutoRaise(true);
    allowPopups_->hide();
    connect(allowPopups_, &QToolButton::clicked, this, [this] {
        PopupPolicy::allow(blockedHost_);
        allowPopups_->hide();
        statusPage_->setText(QStringLiteral("Pop-up windows allowed from %1 until the program ends")
                                 .arg(blockedHost_));
    });
    statusBar()->addPermanentWidget(allowPopups_);
    statusBar()->addPermanentWidget(statusClock_);
}

// ---- Start-up and shutdown ----

void TQuillmere1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!firstShow_)
        return;
    firstShow_ = false;
    FormShow();
    QTimer::singleShot(0, this, &TQuillmere1::FirstPaint);
}

void TQuillmere1::FormShow()
{
    startupCompleted_ = runStartupSequence();
    // A start-up stopped early must not leave the splash standing over everything.
    closeSplash();
}

void TQuillmere1::closeSplash()
{
    if (!splash_)
        return;
    splash_->hide();
    splash_->deleteLater();
    splash_ = nullptr;
}

bool TQuillmere1::runStartupSequence()
{
    FirstPaintPending = true;
    TGlobals &g = data_.globals();
    g.HomePage = QString::fromLatin1(Defaults::HomePage);
    g.StartPage =
        QUrl::fromLocalFile(TextFile::resolveNoCase(data_.filePath(QStringLiteral("Help")),
                                                    QString::fromLatin1(Defaults::WelcomePageFile)))
            .toString();
    g.NewWindowMode = true;
    g.ListsChanged = g.HistoryChanged = g.ListRunning = false;
    g.ListNavigation = g.AutoCollect = g.HelpOpen = false;
    g.CurrentUrl.clear();
    g.CurrentTitle.clear();
    g.SearchPage.clear();
    favoritesPage_->setFavoritesFolder(favoritesFolder());
    Colors::SetDefaultColors(g);
    Options::SetDefaultOptions(g);
    if (const auto error = data_.prepareFolder()) {
        ask_.error(*error);
        return false;
    }
    if (const QIcon bulb = bitmap(data_, QStringLiteral("BulbOn.Bmp")); !bulb.isNull())
        TSwitchBtn->setIcon(bulb);
    // The long files are read on worker threads while the pages below load; the lists and
    // the history join their trees when read.
    connect(&data_, &ProgramData::listsLoaded, this, &TQuillmere1::listsRead,
            Qt::SingleShotConnection);
    connect(&data_, &ProgramData::historyLoaded, this, &TQuillmere1::historyRead,
            Qt::SingleShotConnection);
    data_.beginLoadingLists();
    data_.beginLoadingHistory();
    // An options file that cannot be written is not the user's business at start-up.
    data_.loadOptions();
    applyWindowRect();
    // The colours reach every window through settingsChanged.
    data_.loadColors();
    offlinePage_->prepare(listsPage_->treeView()->width() - 6);
    data_.loadOffline();
    for (const QString &page : Startup::rememberedPages(g))
        ::OpenPage(page);
    favoritesPage_->clearLabel();
    listsPage_->clearLabel();
    historyPage_->clearLabel();
    buttonBar_->LoadButtonBar();
    closeSplash();
    loadMainPicture();
    for (TChildWin1 *child : browserWindows()) {
        if (child->windowTitle() == g.StartPage) {
            child->show();
            mdiArea_->setActiveSubWindow(child);
            break;
        }
    }
    sidePanel_->setCurrentWidget(favoritesPage_);
    return true;
}

void TQuillmere1::listsRead(const QString &error)
{
    if (!error.isEmpty())
        ask_.error(error);
    const QString firstList = listsPage_->firstNodeText();
    if (!firstList.isEmpty())
        data_.globals().CurrentList = Startup::currentListFromFirstNode(firstList);
}

void TQuillmere1::historyRead(const QString &error)
{
    if (!error.isEmpty())
        ask_.error(error);
}

void TQuillmere1::applyWindowRect()
{
    // A first start (or a rectangle no screen can show) gets the designed size, centred.
    const MainWindowRect &rect = data_.windowRect();
    const QRect wanted(rect.WindowLeft, rect.WindowTop, rect.WindowWidth, rect.WindowHeight);
    if (rect.WindowWidth < 200 || rect.WindowHeight < 150 || !QGuiApplication::primaryScreen()) {
        const QScreen *primary = QGuiApplication::primaryScreen();
        QRect designed(0, 0, 987, 780);
        if (primary) {
            const QRect available = primary->availableGeometry();
            designed.setSize(designed.size().boundedTo(available.size()));
            designed.moveCenter(available.center());
        }
        move(designed.topLeft());
        resize(designed.size());
        return;
    }
    // The inner rectangle, as FormClose saves it: placing the frame at the inner area's
    // position would move the window by its title bar at every start.
    setGeometry(onNearestScreen(wanted));
    // The state is set after the normal rectangle, which is what un-maximising returns to.
    if (rect.Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TQuillmere1::loadMainPicture()
{
    const QString path = data_.globals().MainPicture;
    if (path.trimmed().isEmpty() || !QFileInfo::exists(path))
        return;
    QPixmap picture(path);
    if (!picture.isNull())
        pictureView_->setPixmap(picture);
}

void TQuillmere1::FirstPaint()
{
    // The flag keeps the tips to the first paint of a start-up that went through.
    if (FirstPaintPending && data_.globals().StartTips)
        openDialog(QuikTipsDialog);
    FirstPaintPending = false;
}

void TQuillmere1::closeEvent(QCloseEvent *event)
{
    FormClose();
    QMainWindow::closeEvent(event);
    qApp->quit();
}

void TQuillmere1::FormClose()
{
    if (shutdownDone_)
        return;
    shutdownDone_ = true;
    // The help window's place and size go into the options with the rest; its web view must
    // also be gone before the web engine shuts down.
    if (HelpWin1) {
        HelpWin1->close();
        delete HelpWin1.data();
    }
    // A start-up stopped before the options were read writes nothing: the files would lose
    // what the user had.
    if (!startupCompleted_)
        return;
    MainWindowRect &rect = data_.windowRect();
    const QRect inner = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
    rect.WindowLeft = inner.x();
    rect.WindowTop = inner.y();
    rect.WindowHeight = inner.height();
    rect.WindowWidth = inner.width();
    rect.Maximized = isMaximized();
    // Options that cannot be saved are logged by the data object; nobody is told at shutdown.
    data_.saveOptions();
    // Lists saved or deleted in the open maintenance dialog are written as if it were closed.
    if (auto *listMain = qobject_cast<TListMain1 *>(dialogs_[ListMainDialog].data()))
        listMain->FormClose();
    if (data_.globals().ListsChanged)
        listsPage_->SaveListDetails();
    if (data_.globals().HistoryChanged)
        historyPage_->SaveHistory();
}

// ---- Navigation ----

void TQuillmere1::OpenPage(const QString &address)
{
    TGlobals &g = data_.globals();
    g.PendingUrl = address;
    if (!g.NewWindowMode) {
        if (TChildWin1 *active = activeBrowserWindow())
            active->close();
    }
    auto *child = new TChildWin1(data_, ask_, *CMBADDR);
    connectWindow(child);
    mdiArea_->addSubWindow(child);
    child->FormShow(address);
    setPictureViewVisible(false);
    child->setWindowTitle(address);
    if (g.ListNavigation)
        child->setTag(9999);
    g.ListNavigation = false;
    child->show();
    mdiArea_->setActiveSubWindow(child);
    windowTabBar_->addWindow(child);
}

// Everything that listens to a browser window is connected here, once per window.
void TQuillmere1::connectWindow(TChildWin1 *child)
{
    connect(child, &TChildWin1::navigationCompleted, this,
            [this, child] { windowNavigated(child); });
    connect(child, &TChildWin1::statusTextChanged, statusPage_, &QLabel::setText);
    connect(child, &TChildWin1::loadProgress, this,
            [this, child](int percent) { windowProgress(child, percent); });
    connect(child, &TChildWin1::closing, this, [this, child] { windowClosing(child); });
    connect(child, &TChildWin1::documentCompleted, &data_, [this, child](const QString &address) {
        if (child->remembersPage())
            data_.RecordVisit(child->LocationName(), address);
    });
    // Until its first navigation completes a window's caption is only the address asked for.
    connect(child, &QWidget::windowTitleChanged, this, [this, child] {
        if (child == activeBrowserWindow() && child->listIndex() != -1)
            updateTitle();
    });
    connect(child, &TChildWin1::popupBlocked, this, &TQuillmere1::showBlockedPopup);
    connect(child, &TChildWin1::pageSaved, &data_,
            [this](const QString &title) { data_.addSavedPage(title); });
    if (auto *collect = qobject_cast<TListAuto1 *>(dialogs_[ListAutoDialog].data())) {
        connect(
            child, &TChildWin1::navigationCompleted, collect,
            [collect](const QString &, const QString &address) { collect->CollectPage(address); });
    }
}

void TQuillmere1::windowNavigated(TChildWin1 *child)
{
    if (child->listIndex() == -1)
        child->setListIndex(windowList_.append(data_.globals().PageTitle));
    else if (windowList_.isValid(child->listIndex()))
        windowList_.rename(child->listIndex(), child->LocationName());
    if (child == activeBrowserWindow())
        updateTitle();
}

void TQuillmere1::windowClosing(TChildWin1 *child)
{
    const int removed = child->listIndex();
    if (windowList_.isValid(removed)) {
        windowList_.remove(removed);
        child->setListIndex(-1);
        // The windows after it move up one place in both lists.
        for (TChildWin1 *other : browserWindows()) {
            if (other->listIndex() > removed)
                other->setListIndex(other->listIndex() - 1);
        }
    }
    if (browserWindows().isEmpty()) {
        setPictureViewVisible(true);
        // Nothing may go on showing a page that is gone.
        statusPage_->clear();
        CMBADDR->setCurrentIndex(-1);
        CMBADDR->setEditText(QString());
        updateTitle();
    }
}

void TQuillmere1::windowProgress(TChildWin1 *child, int percent)
{
    if (child != activeBrowserWindow())
        return;
    loadProgress_->setValue(percent);
    loadProgress_->setVisible(percent < 100);
}

void TQuillmere1::selectWindowEntries(TChildWin1 *child)
{
    const QString caption = child->windowTitle();
    const int item = windowList_.findAddressItem(caption);
    if (item >= 0)
        windowList_.selectAddressItem(item);
    const int node = windowList_.findNode(caption);
    if (node < 0)
        return;
    child->setListIndex(node);
    windowList_.selectNode(node);
    statusPage_->setText(QStringLiteral("        ") + child->LocationName() +
                         QStringLiteral(" - ") + child->LocationURL());
}

void TQuillmere1::ShowHelp(const QString &name)
{
    THelpWin1::ShowHelp(data_, name);
}

void TQuillmere1::ActivateWindowByTitle(const QString &title)
{
    const QString wanted = CaseFold::upper(title);
    for (TChildWin1 *child : browserWindows()) {
        if (CaseFold::upper(child->windowTitle()) == wanted) {
            child->show();
            mdiArea_->setActiveSubWindow(child);
            return;
        }
    }
}

QList<TChildWin1 *> TQuillmere1::browserWindows() const
{
    QList<TChildWin1 *> windows;
    const QList<QMdiSubWindow *> all = mdiArea_->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow *window : all) {
        auto *child = qobject_cast<TChildWin1 *>(window);
        if (child && !child->isClosing())
            windows.append(child);
    }
    return windows;
}

TChildWin1 *TQuillmere1::activeBrowserWindow() const
{
    auto *child = qobject_cast<TChildWin1 *>(mdiArea_->activeSubWindow());
    return child && !child->isClosing() ? child : nullptr;
}

void TQuillmere1::onSubWindowActivated()
{
    TChildWin1 *child = activeBrowserWindow();
    useEditMenuOf(child);
    loadProgress_->hide();
    updateTitle();
    if (!child)
        return;
    selectWindowEntries(child);
    child->FormActivate();
}

void TQuillmere1::useEditMenuOf(TChildWin1 *child)
{
    // The active browser window's Edit menu stands in the frame's place, so its short-cuts win.
    QAction *wanted = child ? child->editMenu()->menuAction() : mainEditMenu_->menuAction();
    if (currentEditAction_ == wanted)
        return;
    QMenuBar *bar = menuBar();
    const QList<QAction *> top = bar->actions();
    QAction *before = top.value(1);
    if (currentEditAction_) {
        const qsizetype at = top.indexOf(currentEditAction_.data());
        before = top.value(at + 1);
        bar->removeAction(currentEditAction_);
    }
    bar->insertAction(before, wanted);
    currentEditAction_ = wanted;
}

void TQuillmere1::updateWindowMenu()
{
    const QList<QAction *> actions = windowMenu_->actions();
    for (QAction *action : actions) {
        if (!arrangeActions_.contains(action))
            windowMenu_->removeAction(action);
    }
    const QList<TChildWin1 *> windows = browserWindows();
    for (QAction *action : std::as_const(arrangeActions_))
        action->setEnabled(!windows.isEmpty());
    if (windows.isEmpty())
        return;
    windowMenu_->addSeparator();
    TChildWin1 *active = activeBrowserWindow();
    int number = 1;
    for (TChildWin1 *child : windows) {
        const QString text = number < 10
                                 ? QStringLiteral("&%1 %2").arg(number).arg(child->windowTitle())
                                 : QStringLiteral("%1 %2").arg(number).arg(child->windowTitle());
        QAction *action = windowMenu_->addAction(text);
        action->setCheckable(true);
        action->setChecked(child == active);
        QPointer<TChildWin1> target(child);
        connect(action, &QAction::triggered, this, [this, target] {
            if (target)
                mdiArea_->setActiveSubWindow(target);
        });
        ++number;
    }
}

void TQuillmere1::tileWindows(Qt::Orientation orientation)
{
    const QList<TChildWin1 *> windows = browserWindows();
    if (windows.isEmpty())
        return;
    const QRect area = mdiArea_->viewport()->rect();
    const int count = static_cast<int>(windows.size());
    for (int i = 0; i < count; ++i) {
        TChildWin1 *child = windows[i];
        child->showNormal();
        if (orientation == Qt::Horizontal) {
            const int h = area.height() / count;
            child->setGeometry(0, i * h, area.width(), h);
        } else {
            const int w = area.width() / count;
            child->setGeometry(i * w, 0, w, area.height());
        }
    }
}

void TQuillmere1::cascadeWindows()
{
    // Each window a step below and right of the one before, all of a size to read a page in,
    // starting over at the top once the next step would leave the area.
    const QList<TChildWin1 *> windows = browserWindows();
    const QRect area = mdiArea_->viewport()->rect();
    const int step = std::max(20, style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const QSize size = QSize(area.width() * 3 / 4, area.height() * 3 / 4)
                           .expandedTo(windows.isEmpty() ? QSize() : windows[0]->minimumSizeHint())
                           .boundedTo(area.size());
    const int room = std::max(
        1, std::min(area.width() - size.width(), area.height() - size.height()) / step + 1);
    for (int i = 0; i < windows.size(); ++i) {
        TChildWin1 *child = windows[i];
        child->showNormal();
        const int offset = (i % room) * step;
        child->setGeometry(QRect(QPoint(offset, offset), size));
        child->raise();
    }
    if (TChildWin1 *active = activeBrowserWindow())
        active->raise();
}

void TQuillmere1::focusAddressBox()
{
    CMBADDR->setFocus(Qt::ShortcutFocusReason);
    CMBADDR->lineEdit()->selectAll();
}

void TQuillmere1::updateTitle()
{
    const QString app = QStringLiteral("Quillmere");
    const TChildWin1 *child = activeBrowserWindow();
    if (!child || child->listIndex() == -1 || child->windowTitle().isEmpty()) {
        setWindowTitle(app);
        return;
    }
    QString title = child->windowTitle();
    if (title.size() > kCaptionLimit)
        title = title.left(kCaptionLimit - 1) + QChar(0x2026);
    setWindowTitle(title + QStringLiteral(" - ") + app);
}

void TQuillmere1::showBlockedPopup(const QString &host)
{
    blockedHost_ = host;
    const QString site = host.isEmpty() ? QStringLiteral("this page") : host;
    statusPage_->setText(QStringLiteral("Pop-up window blocked from %1").arg(site));
    // The page's own status text soon takes the panel; the button stays until it is used.
    allowPopups_->setText(QStringLiteral("Pop-up blocked: allow %1").arg(site));
    allowPopups_->setToolTip(
        QStringLiteral("Let %1 open windows without a click until the program ends").arg(site));
    allowPopups_->show();
}

// ---- Commands ----

void TQuillmere1::TNewWinBtnClick()
{
    ::OpenPage(data_.globals().StartPage);
}

void TQuillmere1::THomeBtnClick()
{
    ::OpenPage(data_.globals().HomePage);
}

void TQuillmere1::TSearchBtnClick()
{
    ::OpenPage(data_.globals().SearchPage);
}

void TQuillmere1::THelpBtnClick()
{
    ::ShowHelp(QStringLiteral("Index.Htm"));
}

void TQuillmere1::TSwitchBtnClick()
{
    TGlobals &g = data_.globals();
    if (g.NewWindowMode) {
        TSwitchBtn->setIcon(bitmap(data_, QStringLiteral("BulbOff.Bmp")));
        g.NewWindowMode = false;
    } else {
        TSwitchBtn->setIcon(bitmap(data_, QStringLiteral("BulbOn.Bmp")));
        g.NewWindowMode = true;
    }
}

void TQuillmere1::TGoBtnClick()
{
    QString text = CMBADDR->currentText();
    if (!text.startsWith(QStringLiteral("http")) && !text.startsWith(QStringLiteral("www"))) {
        ::ActivateWindowByTitle(text);
        text = data_.globals().CurrentUrl;
    }
    ::OpenPage(text);
}

void TQuillmere1::CMBADDRKeyDown(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        ::OpenPage(CMBADDR->currentText());
}

void TQuillmere1::CMBADDRClick(int index)
{
    if (index >= 0)
        ::ActivateWindowByTitle(CMBADDR->itemText(index));
}

bool TQuillmere1::eventFilter(QObject *watched, QEvent *event)
{
    const bool addressBox = watched == CMBADDR || watched == CMBADDR->lineEdit();
    if (addressBox && event->type() == QEvent::ShortcutOverride) {
        // Cut, copy and paste in the address box take its whole text: leave the keys to the
        // Edit menu of the frame or of the active browser window.
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut) ||
            key->matches(QKeySequence::Paste)) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TQuillmere1::OpenFile1Click()
{
    const QString path = ask_.openFile(QStringLiteral("Open File"), QString(), {});
    if (path.isEmpty())
        return;
    data_.globals().HomePage = path;
    ::OpenPage(path);
}

void TQuillmere1::TPrevBtnClick()
{
    mdiArea_->activatePreviousSubWindow();
}

void TQuillmere1::TNextBtnClick()
{
    mdiArea_->activateNextSubWindow();
}

void TQuillmere1::Timer1Timer()
{
    statusClock_->showTime(QDateTime::currentDateTime());
}

bool TQuillmere1::addressBoxHasFocus() const
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && (focus == CMBADDR || focus == CMBADDR->lineEdit());
}

void TQuillmere1::copyAddressBox()
{
    QApplication::clipboard()->setText(CMBADDR->currentText());
}

void TQuillmere1::Copy1Click()
{
    if (addressBoxHasFocus())
        copyAddressBox();
}

void TQuillmere1::Cut1Click()
{
    if (!addressBoxHasFocus())
        return;
    copyAddressBox();
    CMBADDR->setEditText(QString());
}

void TQuillmere1::Paste1Click()
{
    if (addressBoxHasFocus())
        CMBADDR->setEditText(QApplication::clipboard()->text());
}

void TQuillmere1::ShowSelectedWindow()
{
    const QTreeWidgetItem *node = TreeView1->currentItem();
    if (!node)
        return;
    for (TChildWin1 *child : browserWindows()) {
        if (child->windowTitle() == node->text(0)) {
            child->show();
            mdiArea_->setActiveSubWindow(child);
            return;
        }
    }
}

// ---- The client area ----

void TQuillmere1::setPictureViewVisible(bool visible)
{
    clientStack_->setCurrentWidget(visible ? static_cast<QWidget *>(pictureView_) : mdiArea_);
}

bool TQuillmere1::pictureViewShown() const
{
    return clientStack_->currentWidget() == pictureView_;
}
