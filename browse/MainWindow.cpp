#include "browse/MainWindow.h"

#include "app/AppDir.h"
#include "app/CaseFold.h"
#include "app/Colors.h"
#include "app/ErrorBox.h"
#include "app/Globals.h"
#include "app/LocaleFormat.h"
#include "app/SplashWindow.h"
#include "app/Startup.h"
#include "app/TextFile.h"
#include "browse/ChildWindow.h"
#include "browse/Downloads.h"
#include "buttons/ButtonBar.h"
#include "controls/GlowButton.h"
#include "controls/PictureTable.h"
#include "controls/WindowTabBar.h"
#include "lists/ListsPage.h"
#include "organiser/FavoritesFolder.h"
#include "organiser/FavoritesPage.h"
#include "organiser/HistoryPage.h"
#include "organiser/OfflinePage.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
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

TQuillmere1 *Quillmere1 = nullptr;

namespace {

QIcon bitmap(const QString &name)
{
    const QString path = TextFile::resolveNoCase(
        TextFile::resolveNoCase(Globals.AppDir, QStringLiteral("Bmps")), name);
    QPixmap picture(path);
    return picture.isNull() ? QIcon() : QIcon(picture);
}

} // namespace

TQuillmere1::TQuillmere1(const QString &appDir, QWidget *parent)
    : QMainWindow(parent), appDir_(appDir)
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

    // Items whose windows come later are shown, disabled, so nothing is silently dead.
    auto later = [](QMenu *menu, const QString &text, const QKeySequence &keys = {}) {
        QAction *action = menu->addAction(text);
        action->setShortcut(keys);
        action->setEnabled(false);
        return action;
    };
    QMenu *lists = bar->addMenu(QStringLiteral("&Lists"));
    later(lists, QStringLiteral("Create Web Page/Web Site List"));
    later(lists, QStringLiteral("Add Web Pages to a List"));
    later(lists, QStringLiteral("Run Web Page List"));
    lists->addSeparator();
    later(lists, QStringLiteral("Auto Collect Web Pages per List"));
    lists->addSeparator();
    later(lists, QStringLiteral("Assign Web Pages To Buttons"));

    QMenu *mail = bar->addMenu(QStringLiteral("E&mail"));
    later(mail, QStringLiteral("Receive EMail"), QKeySequence(Qt::CTRL | Qt::Key_R));
    later(mail, QStringLiteral("Send EMail"), QKeySequence(Qt::CTRL | Qt::Key_S));
    mail->addSeparator();
    later(mail, QStringLiteral("Address Book"), QKeySequence(Qt::CTRL | Qt::Key_A));

    QMenu *utilities = bar->addMenu(QStringLiteral("&Utilities"));
    later(utilities, QStringLiteral("Set Application Colors"));
    later(utilities, QStringLiteral("Set Application Options"));
    utilities->addSeparator();
    later(utilities, QStringLiteral("Select Start Up Web Page"));

    windowMenu_ = bar->addMenu(QStringLiteral("&Window"));
    arrangeActions_ << windowMenu_->addAction(QStringLiteral("&Cascade"), mdiArea_,
                                              &QMdiArea::cascadeSubWindows)
                    << windowMenu_->addAction(QStringLiteral("Tile &Horizontally"), this,
                                              [this] { tileWindows(Qt::Horizontal); })
                    << windowMenu_->addAction(QStringLiteral("&Tile Vertically"), this,
                                              [this] { tileWindows(Qt::Vertical); });
    connect(windowMenu_, &QMenu::aboutToShow, this, &TQuillmere1::updateWindowMenu);
    updateWindowMenu();

    QMenu *help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("Help Contents"), QKeySequence(Qt::Key_F1), this,
                    &TQuillmere1::THelpBtnClick);
    later(help, QStringLiteral("View Quick Tips"));
    help->addSeparator();
    later(help, QStringLiteral("About Quillmere"))
        ->setObjectName(QStringLiteral("AboutQuillmere1"));
}

TGlowButton *TQuillmere1::addToolButton(const QString &caption, const QString &hint,
                                        const char *icon, int fallback,
                                        void (TQuillmere1::*handler)())
{
    auto *button = new TGlowButton(mainToolBar_);
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(PictureTable::themed(icon, fallback));
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
    mainToolBar_->addSeparator();
    TSwitchBtn = addToolButton(
        QStringLiteral("Switch"),
        QStringLiteral("Switch Between using the Current Page Window or Create a New Window"), "",
        QStyle::SP_DialogApplyButton, &TQuillmere1::TSwitchBtnClick);
    mainToolBar_->addSeparator();

    CMBADDR = new QComboBox(mainToolBar_);
    CMBADDR->setObjectName(QStringLiteral("CMBADDR"));
    CMBADDR->setEditable(true);
    CMBADDR->setInsertPolicy(QComboBox::NoInsert);
    CMBADDR->setFixedWidth(221);
    CMBADDR->setMinimumContentsLength(20);
    CMBADDR->lineEdit()->setPlaceholderText(QStringLiteral("Address or window title"));
    CMBADDR->installEventFilter(this);
    CMBADDR->lineEdit()->installEventFilter(this);
    connect(CMBADDR, &QComboBox::activated, this, &TQuillmere1::CMBADDRClick);
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
    addToolButton(QStringLiteral("Mail"), QStringLiteral("Send and Receive EMail"),
                  "mail-send-receive", QStyle::SP_DriveNetIcon, nullptr)
        ->setEnabled(false);
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

    favoritesPage_ = new TFavoritesPage;
    listsPage_ = new TListsPage;
    offlinePage_ = new TOfflinePage;
    historyPage_ = new THistoryPage;
    sidePanel_->addTab(TreeView1, PictureTable::themed("window-new", QStyle::SP_DesktopIcon),
                       QStringLiteral("Web Pages"));
    sidePanel_->addTab(favoritesPage_, PictureTable::themed("user-bookmarks", QStyle::SP_DirIcon),
                       QStringLiteral("Favorites"));
    sidePanel_->addTab(listsPage_,
                       PictureTable::themed("view-list-details", QStyle::SP_FileDialogListView),
                       QStringLiteral("Lists"));
    sidePanel_->addTab(offlinePage_,
                       PictureTable::themed("folder-download", QStyle::SP_DriveHDIcon),
                       QStringLiteral("OffLine"));
    sidePanel_->addTab(historyPage_,
                       PictureTable::themed("document-open-recent", QStyle::SP_BrowserReload),
                       QStringLiteral("History"));

    // Adding to favorites or to a list shows the page that received the addition.
    connect(listsPage_, &TListsPage::showRequested, this,
            [this] { sidePanel_->setCurrentWidget(listsPage_); });
    connect(favoritesPage_, &TFavoritesPage::showRequested, this,
            [this] { sidePanel_->setCurrentWidget(favoritesPage_); });

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

    buttonBar_ = new TButtonBar;
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
    statusClock_ = new QLabel;
    statusClock_->setObjectName(QStringLiteral("StatusPanel2"));
    loadProgress_ = new QProgressBar;
    loadProgress_->setRange(0, 100);
    loadProgress_->setMaximumWidth(120);
    loadProgress_->setMaximumHeight(14);
    loadProgress_->setTextVisible(false);
    loadProgress_->hide();
    statusBar()->addWidget(statusPage_, 1);
    statusBar()->addPermanentWidget(loadProgress_);
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
    Globals.HomePage = QString::fromLatin1(Defaults::HomePage);
    Globals.StartPage =
        QUrl::fromLocalFile(
            TextFile::resolveNoCase(TextFile::resolveNoCase(appDir_, QStringLiteral("Help")),
                                    QString::fromLatin1(Defaults::WelcomePageFile)))
            .toString();
    Globals.NewWindowMode = true;
    Globals.ListsChanged = Globals.HistoryChanged = Globals.ListRunning = false;
    Globals.ListNavigation = Globals.AutoCollect = Globals.HelpOpen = false;
    Globals.CurrentUrl.clear();
    Globals.CurrentTitle.clear();
    Globals.SearchPage.clear();
    favoritesPage_->setFavoritesFolder(favoritesFolder());
    Colors::SetDefaultColors(Globals);
    Options::SetDefaultOptions(Globals);
    Globals.AppDir = appDir_;
    if (const auto error = AppDirectory::ensureWebPages(Globals.AppDir)) {
        ShowErrorBox(*error, this);
        return false;
    }
    const QString optionsPath =
        TextFile::resolveNoCase(Globals.AppDir, QStringLiteral("Options.INI"));
    if (!Options::LoadOptions(optionsPath, Globals, rect_))
        Options::SaveOptions(optionsPath, Globals, rect_);
    optionsLoaded_ = true;
    applyWindowRect();
    favoritesPage_->setGridLines(Globals.GridLines);
    Colors::LoadColors(TextFile::resolveNoCase(Globals.AppDir, QStringLiteral("Colors.Ini")),
                       Globals);
    ApplyColors();
    offlinePage_->prepare(TextFile::resolveNoCase(Globals.AppDir, QStringLiteral("WebPages")),
                          listsPage_->treeView()->width() - 6);
    offlinePage_->LoadOfflinePanel();
    for (const QString &page : Startup::rememberedPages(Globals))
        ::OpenPage(page);
    listsPage_->LoadListsPanel();
    const QString firstList = listsPage_->firstNodeText();
    if (!firstList.isEmpty())
        Globals.CurrentList = Startup::currentListFromFirstNode(firstList);
    favoritesPage_->clearLabel();
    listsPage_->clearLabel();
    historyPage_->clearLabel();
    historyPage_->LoadHistory();
    historyPage_->AddTodayNode();
    buttonBar_->LoadButtonBar();
    closeSplash();
    loadMainPicture();
    for (TChildWin1 *child : browserWindows()) {
        if (child->windowTitle() == Globals.StartPage) {
            child->show();
            mdiArea_->setActiveSubWindow(child);
            break;
        }
    }
    sidePanel_->setCurrentWidget(favoritesPage_);
    return true;
}

void TQuillmere1::applyWindowRect()
{
    // A first start (or a rectangle no screen can show) gets the designed size, centred.
    const QRect wanted(rect_.WindowLeft, rect_.WindowTop, rect_.WindowWidth, rect_.WindowHeight);
    const QScreen *screen = QGuiApplication::screenAt(wanted.center());
    if (rect_.WindowWidth < 200 || rect_.WindowHeight < 150 || !screen) {
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
    move(rect_.WindowLeft, rect_.WindowTop);
    resize(rect_.WindowWidth, rect_.WindowHeight);
}

void TQuillmere1::loadMainPicture()
{
    const QString path = Globals.MainPicture.trimmed();
    if (path.isEmpty() || !QFileInfo::exists(Globals.MainPicture))
        return;
    QPixmap picture(Globals.MainPicture);
    if (!picture.isNull())
        pictureView_->setPixmap(picture);
}

void TQuillmere1::FirstPaint()
{
    // The quick tips window comes with its own change; the flag keeps them to the first paint.
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
    // Without the options read at start, writing them would replace the user's file with
    // defaults.
    if (!optionsLoaded_)
        return;
    rect_.WindowLeft = x();
    rect_.WindowTop = y();
    rect_.WindowHeight = height();
    rect_.WindowWidth = width();
    const QString optionsPath =
        TextFile::resolveNoCase(Globals.AppDir, QStringLiteral("Options.INI"));
    if (const auto error = Options::SaveOptions(optionsPath, Globals, rect_))
        qWarning("%s", qPrintable(*error));
    if (Globals.ListsChanged)
        listsPage_->SaveListDetails();
    if (Globals.HistoryChanged)
        historyPage_->SaveHistory();
}

// ---- Navigation ----

void TQuillmere1::OpenPage(const QString &address)
{
    try {
        Globals.PendingUrl = address;
        if (!Globals.NewWindowMode) {
            if (TChildWin1 *active = activeBrowserWindow())
                active->close();
        }
        auto *child = new TChildWin1(*this);
        mdiArea_->addSubWindow(child);
        child->FormShow();
        child->setWindowTitle(Globals.PendingUrl);
        if (Globals.ListNavigation)
            child->Tag = 9999;
        Globals.ListNavigation = false;
        child->show();
        mdiArea_->setActiveSubWindow(child);
        windowTabBar_->addWindow(child);
    } catch (...) {
    }
}

void TQuillmere1::ShowHelp(const QString &name)
{
    Globals.HelpTopic = TextFile::resolveNoCase(
        TextFile::resolveNoCase(Globals.AppDir, QStringLiteral("Help")), name);
    // Until the help window exists, a help page opens like any other page.
    OpenPage(QUrl::fromLocalFile(Globals.HelpTopic).toString());
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
    if (child)
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

// ---- Commands ----

void TQuillmere1::TNewWinBtnClick()
{
    ::OpenPage(Globals.StartPage);
}

void TQuillmere1::THomeBtnClick()
{
    ::OpenPage(Globals.HomePage);
}

void TQuillmere1::TSearchBtnClick()
{
    ::OpenPage(Globals.SearchPage);
}

void TQuillmere1::THelpBtnClick()
{
    ::ShowHelp(QStringLiteral("Index.Htm"));
}

void TQuillmere1::TSwitchBtnClick()
{
    if (Globals.NewWindowMode) {
        TSwitchBtn->setIcon(bitmap(QStringLiteral("BulbOff.Bmp")));
        Globals.NewWindowMode = false;
    } else {
        TSwitchBtn->setIcon(bitmap(QStringLiteral("BulbOn.Bmp")));
        Globals.NewWindowMode = true;
    }
}

void TQuillmere1::TGoBtnClick()
{
    QString text = CMBADDR->currentText();
    if (!text.startsWith(QStringLiteral("http")) && !text.startsWith(QStringLiteral("www"))) {
        ::ActivateWindowByTitle(text);
        text = Globals.CurrentUrl;
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
    if (watched == CMBADDR->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            CMBADDRKeyDown(key);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TQuillmere1::OpenFile1Click()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open File"));
    if (path.isEmpty())
        return;
    Globals.HomePage = path;
    ::OpenPage(Globals.HomePage);
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
    statusClock_->setText(QStringLiteral("       ") +
                          LocaleFormat::dateTime(QDateTime::currentDateTime()));
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

void TQuillmere1::pasteAddressBox()
{
    CMBADDR->setEditText(QApplication::clipboard()->text());
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
        pasteAddressBox();
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

// ---- What the browser windows ask of the frame ----

int TQuillmere1::browserWindowCount() const
{
    return static_cast<int>(browserWindows().size());
}

void TQuillmere1::setPageStatus(const QString &text)
{
    statusPage_->setText(text);
}

void TQuillmere1::setPictureViewVisible(bool visible)
{
    clientStack_->setCurrentWidget(visible ? static_cast<QWidget *>(pictureView_) : mdiArea_);
}

bool TQuillmere1::pictureViewShown() const
{
    return clientStack_->currentWidget() == pictureView_;
}

void TQuillmere1::windowEntryRemoved(int index)
{
    for (TChildWin1 *child : browserWindows()) {
        if (child->ListIndex > index)
            --child->ListIndex;
    }
}

void TQuillmere1::showLoadProgress(TChildWin1 *window, int percent)
{
    if (window != activeBrowserWindow())
        return;
    loadProgress_->setValue(percent);
    loadProgress_->setVisible(percent < 100);
}

void TQuillmere1::recordVisit(const QString &locationName)
{
    historyPage_->RecordVisit(locationName);
}

void TQuillmere1::collectPage(const QString &)
{
    // Auto collect comes with its own dialog.
}

void TQuillmere1::appendOfflineNode(const QString &title)
{
    offlinePage_->AppendSavedNode(title);
}
