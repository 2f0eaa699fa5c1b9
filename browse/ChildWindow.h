#pragma once

#include <QList>
#include <QMdiSubWindow>

class BrowserHost;
class QMenu;
class QToolBar;
class TGlowButton;
class TWebControl;

// A browser window: one web page in the frame with its own tool bar and Edit menu. It keeps its
// entries in the window list and the address list and reports each completed navigation.
class TChildWin1 : public QMdiSubWindow
{
    Q_OBJECT
public:
    TChildWin1(BrowserHost &host, QWidget *parent = nullptr);

    // The web control operations and page facts the frame and other windows may ask for.
    TWebControl *webControl() const { return WebBrowser1; }
    QString LocationName() const;
    QString LocationURL() const;

    // Set once the window is closing, while it still exists until its deferred deletion.
    bool isClosing() const { return closing_; }

    int ListIndex = -1;
    int Tag = 0;

    QMenu *editMenu() const { return editMenu_; }
    QToolBar *toolBar() const { return toolBar_; }
    QList<TGlowButton *> toolButtons() const { return toolButtons_; }

    void FormShow();
    void FormActivate();
    void RegisterWindow();
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
    void navigationCompleted();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createToolBar();
    void createEditMenu();
    void WebBrowser1TitleChange();
    void WebBrowser1NavigateComplete2();
    void WebBrowser1DocumentComplete();
    void applyLastPageRule();

    BrowserHost &host_;
    TWebControl *WebBrowser1 = nullptr;
    QToolBar *toolBar_ = nullptr;
    QMenu *editMenu_ = nullptr;
    QList<TGlowButton *> toolButtons_;
    bool closing_ = false;
};
