#pragma once

#include "app/Globals.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class ProgramData;
class QToolButton;
class QUrl;
class QWebEngineView;
class TSearchPanel;

// The help window: the program's help pages in a web view of its own, with back, forward,
// home and a movable topic index. Created by the first request for help, gone when closed.
class THelpWin1 : public QWidget
{
    Q_OBJECT
public:
    explicit THelpWin1(ProgramData &data, QWidget *parent = nullptr);

    // The way in for every Help button: HelpTopic becomes the page called name in the Help
    // folder, found without regard to case; the open help window comes to the front on it, or
    // a new one opens there.
    static void ShowHelp(ProgramData &data, const QString &name);
    // The page last asked for or last reached, by any help window of this run.
    static QString LastHelpPage();

    // Brings the window to the front on HelpTopic. Activating the window by itself (a click, the
    // window manager) leaves the page the user went to alone.
    void turnToTopic();

    void FormShow();
    void InitColors();
    void NewPage();
    void FillTopicFiles();
    void WebBrowser1NavigateComplete2(const QUrl &url);
    void WebBrowser1DocumentComplete(bool ok);
    void TBackBtnClick();
    void TfrwdBtnClick();
    void THomeBtnClick();
    void TFindBtnClick();
    void CMBINDEXChange(const QString &text);
    void CMBINDEXKeyDown();
    void ListBox1DblClick();

    QWebEngineView *WebBrowser1 = nullptr;
    QToolButton *TBackBtn = nullptr;
    QToolButton *TfrwdBtn = nullptr;
    QToolButton *THomeBtn = nullptr;
    QToolButton *TFindBtn = nullptr;
    TSearchPanel *Panel1 = nullptr;
    QStringList TopicFiles;
    bool SearchShown = false;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *createToolBar();
    QToolButton *createButton(const QString &name, const QString &hint, const QIcon &icon);
    void createSearchPanel();
    void placeWindow();
    void showCaption(const QString &page);
    QIcon findButtonPicture(const QString &file, const char *themeName, int standardPixmap) const;

    ProgramData &data_;
    TGlobals &g_;
    QWidget *ToolBar1 = nullptr;
};

// The open help window, if any.
extern QPointer<THelpWin1> HelpWin1;
