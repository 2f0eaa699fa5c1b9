#pragma once

#include <QList>
#include <QMdiSubWindow>

class Ask;
class ProgramData;
class QComboBox;
class QMenu;
class QToolBar;
class TGlowButton;
class TWebControl;

// A browser window: one web page in the frame with its own tool bar and Edit menu. It keeps the
// shared current page up to date and emits what happens to its page; the frame and the
// subsystems listen.
class TChildWin1 : public QMdiSubWindow
{
    Q_OBJECT
public:
    // Cut, copy and paste while addressBox has the focus take the address box's whole text.
    TChildWin1(ProgramData &data, Ask &ask, QComboBox &addressBox, QWidget *parent = nullptr);

    // The web control operations and page facts the frame and other windows may ask for.
    TWebControl *webControl() const { return WebBrowser1; }
    QString LocationName() const;
    QString LocationURL() const;

    // False for the program's own stand-in pages (help files, a blank page): they are shown
    // but never become the last page or a history entry.
    bool remembersPage() const;

    // Set once the window is closing, while it still exists until its deferred deletion.
    bool isClosing() const { return closing_; }

    // Position of this window's entries in the window list and the address list, -1 for none.
    int listIndex() const { return ListIndex; }
    void setListIndex(int index) { ListIndex = index; }
    // 9999 for a window the list runner opened.
    int tag() const { return Tag; }
    void setTag(int tag) { Tag = tag; }

    QMenu *editMenu() const { return editMenu_; }
    QToolBar *toolBar() const { return toolBar_; }
    QList<TGlowButton *> toolButtons() const { return toolButtons_; }

    // Loads address, the first page of the window.
    void FormShow(const QString &address);
    void FormActivate();
    void ApplyWindowColors();

    // Tool bar and Edit menu commands.
    void BackBtnClick();
    void FwrdBtnClick();
    void StopBtnClick();
    void HomeBtnClick();
    void RefreshBtnClick();
    void SearchBtnClick();
    void SaveBtnClick();
    void PrintBtnClick();
    void PropTBtnClick();
    void HelpBtnClick();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();

signals:
    // A navigation is complete once its title is known; the window's caption is the title.
    void navigationCompleted(const QString &title, const QString &address);
    void documentCompleted(const QString &address);
    void titleChanged(const QString &title);
    void statusTextChanged(const QString &text);
    void loadProgress(int percent);
    // Only once the file is written.
    void pageSaved(const QString &title, const QString &path);
    void popupBlocked(const QString &host);
    // Emitted while the window still holds its list entries, before it goes.
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createToolBar();
    void createEditMenu();
    void WebBrowser1TitleChange();
    void WebBrowser1NavigateComplete2();
    void WebBrowser1DocumentComplete();
    void applyLastPageRule();
    void takeCurrentPage();
    bool addressBoxHasFocus() const;

    ProgramData &data_;
    Ask &ask_;
    QComboBox &addressBox_;
    TWebControl *WebBrowser1 = nullptr;
    QToolBar *toolBar_ = nullptr;
    QMenu *editMenu_ = nullptr;
    QList<TGlowButton *> toolButtons_;
    int ListIndex = -1;
    int Tag = 0;
    bool closing_ = false;
};
