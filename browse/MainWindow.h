#pragma once

#include "app/Navigation.h"
#include "browse/WindowList.h"
#include "shell/DialogForm.h"
#include "shell/SplashWindow.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <array>

class Ask;
class ProgramData;
class QAction;
class QComboBox;
class QLabel;
class QMdiArea;
class QMenu;
class QProgressBar;
class QSplitter;
class QStackedWidget;
class QTabWidget;
class QTimer;
class TClockPanel;
class QToolBar;
class QToolButton;
class QTreeWidget;
class TButtonBar;
class TChildWin1;

class TDownloads;
class TFavoritesPage;
class TGlowButton;
class THistoryPage;
class TListsPage;

class TOfflinePage;
class TWindowTabBar;

// The frame: every page in a browser window of its own, with the address box, the tool bar,
// the window tabs and the side panel around them. It owns the pages, the bars and the dialogs
// and wires their signals; each feature lives in its own class.
class TQuillmere1 : public QMainWindow, public Navigation
{
    Q_OBJECT
public:
    // The dialogs created once at start, in the order of their creation.
    enum DialogSlot {
        SetConfDialog,
        EMailDialog,
        MailAddrDialog,
        ListMainDialog,
        ListAddURLDialog,
        FindListDialog,
        ListRunDialog,
        ListAutoDialog,
        AboutDialog,
        QuikTipsDialog,
        SetBtnsDialog,
        DialogCount
    };

    TQuillmere1(ProgramData &data, Ask &ask, QWidget *parent = nullptr);
    ~TQuillmere1() override;

    // Hidden by start-up step 17 and destroyed then.
    void setSplash(TLoadForm1 *splash) { splash_ = splash; }

    // Navigation services every subsystem calls.
    void OpenPage(const QString &address) override;
    void ShowHelp(const QString &name) override;
    void ActivateWindowByTitle(const QString &title) override;

    void FormShow();
    void FormClose();
    void ApplyColors();

    // Browser windows in the frame's child order (creation order), closing ones left out.
    QList<TChildWin1 *> browserWindows() const;
    TChildWin1 *activeBrowserWindow() const;
    bool startupCompleted() const { return startupCompleted_; }
    // The dialog in a slot, null until createDialogs() makes it.
    TDialogForm *dialog(DialogSlot slot) const { return dialogs_[slot]; }

    // Parts of the frame that the colour scheme and tests reach.
    QToolBar *mainToolBar() const { return mainToolBar_; }
    TWindowTabBar *windowTabBar() const { return windowTabBar_; }
    QTabWidget *sidePanel() const { return sidePanel_; }
    TFavoritesPage *favoritesPage() const { return favoritesPage_; }
    TListsPage *listsPage() const { return listsPage_; }
    TOfflinePage *offlinePage() const { return offlinePage_; }
    THistoryPage *historyPage() const { return historyPage_; }
    QTreeWidget *windowListView() const { return TreeView1; }
    QComboBox *addressBox() const { return CMBADDR; }
    QLabel *pictureView() const { return pictureView_; }
    bool pictureViewShown() const;
    QList<TGlowButton *> toolButtons() const { return toolButtons_; }
    TButtonBar *buttonBar() const { return buttonBar_; }
    QMdiArea *mdiArea() const { return mdiArea_; }
    QLabel *statusPagePanel() const { return statusPage_; }
    TClockPanel *statusClockPanel() const { return statusClock_; }
    QMenu *windowMenu() const { return windowMenu_; }
    QAction *menuAction(const QString &text) const;

    // Commands of the tool bar, the address box and the menus.
    void TNewWinBtnClick();
    void THomeBtnClick();
    void TSwitchBtnClick();
    void TGoBtnClick();
    void CMBADDRKeyDown(int key);
    void CMBADDRClick(int index);
    void TSearchBtnClick();
    void THelpBtnClick();
    void OpenFile1Click();
    void TPrevBtnClick();
    void TNextBtnClick();
    void Timer1Timer();
    void Copy1Click();
    void Cut1Click();
    void Paste1Click();
    void ShowSelectedWindow();
    // Opens the dialog in a slot modeless (raised when already open); nothing before it exists.
    void openDialog(DialogSlot slot);
    void openMail(const QString &mode);
    void openSettings(const QString &page);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createMenus();
    void createMainToolBar();
    void createSidePanel();
    void createClientArea();
    void listsRead(const QString &error);
    void historyRead(const QString &error);
    void createStatusBar();
    void createDialogs();
    void addDialog(DialogSlot slot, TDialogForm *dialog);
    QAction *dialogAction(QMenu *menu, const QString &text, DialogSlot slot,
                          const QKeySequence &keys = {});
    void connectWindow(TChildWin1 *child);
    void windowNavigated(TChildWin1 *child);
    void windowClosing(TChildWin1 *child);
    void windowProgress(TChildWin1 *child, int percent);
    void selectWindowEntries(TChildWin1 *child);
    void setPictureViewVisible(bool visible);
    void focusAddressBox();
    void updateTitle();
    void showBlockedPopup(const QString &host);
    void cascadeWindows();
    bool addressBoxHasFocus() const;
    void copyAddressBox();
    TGlowButton *addToolButton(const QString &caption, const QString &hint, const char *icon,
                               int fallback, void (TQuillmere1::*handler)());
    void onSubWindowActivated();
    void useEditMenuOf(TChildWin1 *child);
    void updateWindowMenu();
    void tileWindows(Qt::Orientation orientation);
    void FirstPaint();
    void closeSplash();
    bool runStartupSequence();
    void applyWindowRect();
    void loadMainPicture();

    ProgramData &data_;
    Ask &ask_;
    bool startupCompleted_ = false;
    bool shutdownDone_ = false;
    bool firstShow_ = true;
    bool FirstPaintPending = false;
    QPointer<TLoadForm1> splash_;

    QMenu *mainEditMenu_ = nullptr;
    QPointer<QAction> currentEditAction_;
    QMenu *windowMenu_ = nullptr;
    QList<QAction *> arrangeActions_;
    QToolBar *mainToolBar_ = nullptr;
    QList<TGlowButton *> toolButtons_;
    TGlowButton *TSwitchBtn = nullptr;
    QComboBox *CMBADDR = nullptr;
    TWindowTabBar *windowTabBar_ = nullptr;
    QTabWidget *sidePanel_ = nullptr;
    QTreeWidget *TreeView1 = nullptr;
    TFavoritesPage *favoritesPage_ = nullptr;
    TListsPage *listsPage_ = nullptr;
    TOfflinePage *offlinePage_ = nullptr;
    THistoryPage *historyPage_ = nullptr;
    TButtonBar *buttonBar_ = nullptr;
    QSplitter *Splitter1 = nullptr;
    QStackedWidget *clientStack_ = nullptr;
    QLabel *pictureView_ = nullptr;
    QMdiArea *mdiArea_ = nullptr;
    QLabel *statusPage_ = nullptr;
    TClockPanel *statusClock_ = nullptr;
    QToolButton *allowPopups_ = nullptr;
    QString blockedHost_;
    QProgressBar *loadProgress_ = nullptr;
    QTimer *Timer1 = nullptr;
    TDownloads *downloads_ = nullptr;
    WindowList windowList_;
    std::array<QPointer<TDialogForm>, DialogCount> dialogs_;
    // Menu items and buttons that open each dialog: enabled once it exists.
    std::array<QList<QPointer<QObject>>, DialogCount> openers_;
};

// The one main window, valid from its creation to the end of the program.
extern TQuillmere1 *Quillmere1;
