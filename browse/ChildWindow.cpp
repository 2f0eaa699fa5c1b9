#include "browse/ChildWindow.h"

#include "app/CaseFold.h"
#include "app/ErrorBox.h"
#include "app/Globals.h"
#include "app/Navigation.h"
#include "app/TextFile.h"
#include "browse/BrowserHost.h"
#include "browse/WebControl.h"
#include "browse/WindowList.h"
#include "controls/GlowButton.h"
#include "controls/PictureTable.h"

#include <QCloseEvent>
#include <QDir>
#include <QMenu>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

struct ToolSpec
{
    const char *caption;
    const char *hint;
    const char *icon;
    QStyle::StandardPixmap fallback;
    void (TChildWin1::*handler)();
    bool separatorAfter;
};

// A page title made fit to be a file name here: only "/" and NUL cannot stand in one.
QString fileNameFromTitle(const QString &title)
{
    QString name = title.trimmed();
    name.replace(u'/', u'_').replace(QChar(u'\0'), u'_');
    return name.isEmpty() ? QStringLiteral("page") : name;
}

} // namespace

TChildWin1::TChildWin1(BrowserHost &host, QWidget *parent) : QMdiSubWindow(parent), host_(host)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(PictureTable::themed("text-html", QStyle::SP_FileIcon));
    auto *content = new QWidget(this);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    WebBrowser1 = new TWebControl(content);
    createToolBar();
    layout->addWidget(toolBar_);
    layout->addWidget(WebBrowser1, 1);
    setWidget(content);
    resize(706, 397);
    createEditMenu();

    connect(WebBrowser1, &TWebControl::TitleChange, this, &TChildWin1::WebBrowser1TitleChange);
    connect(WebBrowser1, &TWebControl::NavigateComplete2, this,
            &TChildWin1::WebBrowser1NavigateComplete2);
    connect(WebBrowser1, &TWebControl::DocumentComplete, this,
            &TChildWin1::WebBrowser1DocumentComplete);
    connect(WebBrowser1, &TWebControl::progressChanged, this,
            [this](int percent) { host_.showLoadProgress(this, percent); });
}

void TChildWin1::createToolBar()
{
    static const ToolSpec tools[] = {
        {"Back", "Go To Previous Page", "go-previous", QStyle::SP_ArrowBack,
         &TChildWin1::BackBtnClick, false},
        {"Next", "Next Page", "go-next", QStyle::SP_ArrowForward, &TChildWin1::FwrdBtnClick, false},
        {"Stop", "Stop Loading Document", "process-stop", QStyle::SP_BrowserStop,
         &TChildWin1::StopBtnClick, false},
        {"Home", "Go to Home Page", "go-home", QStyle::SP_DirHomeIcon, &TChildWin1::HomeBtnClick,
         false},
        {"Refresh", "Reload Document", "view-refresh", QStyle::SP_BrowserReload,
         &TChildWin1::RefreshBtnClick, false},
        {"Find", "Find Web Pages", "edit-find", QStyle::SP_FileDialogContentsView,
         &TChildWin1::SearchBtnClick, true},
        {"Save", "Save Document to Disk", "document-save", QStyle::SP_DialogSaveButton,
         &TChildWin1::SaveBtnClick, false},
        {"Print", "Print Document", "document-print", QStyle::SP_FileIcon,
         &TChildWin1::PrintBtnClick, false},
        {"Properties", "View Document Properties", "document-properties",
         QStyle::SP_FileDialogInfoView, &TChildWin1::PropTBtnClick, true},
        {"Help", "Help with Browser Window", "help-browser", QStyle::SP_DialogHelpButton,
         &TChildWin1::HelpBtnClick, true},
    };
    toolBar_ = new QToolBar(widget());
    toolBar_->setObjectName(QStringLiteral("ChildToolBar"));
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setFixedHeight(44);
    for (const ToolSpec &tool : tools) {
        auto *button = new TGlowButton(toolBar_);
        button->setText(QString::fromLatin1(tool.caption));
        button->setToolTip(QString::fromLatin1(tool.hint));
        button->setIcon(PictureTable::themed(tool.icon, tool.fallback));
        button->setObjectName(QString::fromLatin1(tool.caption) + QStringLiteral("Btn"));
        connect(button, &TGlowButton::clicked, this, tool.handler);
        toolBar_->addWidget(button);
        toolButtons_.append(button);
        if (tool.separatorAfter)
            toolBar_->addSeparator();
    }
}

void TChildWin1::createEditMenu()
{
    editMenu_ = new QMenu(QStringLiteral("&Edit"), this);
    editMenu_->addAction(QStringLiteral("C&ut"), QKeySequence(Qt::CTRL | Qt::Key_X), this,
                         &TChildWin1::Cut1Click);
    editMenu_->addAction(QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), this,
                         &TChildWin1::Copy1Click);
    editMenu_->addAction(QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), this,
                         &TChildWin1::Paste1Click);
}

QString TChildWin1::LocationName() const
{
    return WebBrowser1->LocationName();
}

QString TChildWin1::LocationURL() const
{
    return WebBrowser1->LocationURL();
}

void TChildWin1::FormShow()
{
    ListIndex = -1;
    WebBrowser1->Navigate(Globals.PendingUrl);
    if (Globals.MaximizeWindows)
        showMaximized();
    host_.setPictureViewVisible(false);
}

void TChildWin1::FormActivate()
{
    WindowList &lists = host_.windowList();
    const QString caption = windowTitle();
    const int item = lists.findAddressItem(caption);
    if (item >= 0)
        lists.selectAddressItem(item);
    const int node = lists.findNode(caption);
    if (node >= 0) {
        ListIndex = node;
        lists.selectNode(node);
        host_.setPageStatus(QStringLiteral("        ") + LocationName() + QStringLiteral(" - ") +
                            LocationURL());
    }
    Globals.CurrentUrl = LocationURL();
    Globals.CurrentTitle = LocationName();
    applyLastPageRule();
    ApplyWindowColors();
}

void TChildWin1::applyLastPageRule()
{
    const QString current = CaseFold::lower(Globals.CurrentUrl);
    if (current != CaseFold::lower(Globals.StartPage) &&
        current != CaseFold::lower(Globals.SearchPage))
        Globals.LastPage = Globals.CurrentUrl;
}

void TChildWin1::WebBrowser1TitleChange()
{
    setWindowTitle(LocationName());
    Globals.PageTitle = LocationName();
}

void TChildWin1::WebBrowser1NavigateComplete2()
{
    // The caption follows the title even when the title did not change since the last page.
    WebBrowser1TitleChange();
    host_.setPageStatus(LocationName() + QStringLiteral(" - ") + LocationURL());
    WindowList &lists = host_.windowList();
    if (ListIndex == -1)
        RegisterWindow();
    else if (lists.isValid(ListIndex))
        lists.rename(ListIndex, LocationName());
    Globals.CurrentUrl = LocationURL();
    Globals.CurrentTitle = LocationName();
    applyLastPageRule();
    host_.collectPage(Globals.CurrentUrl);
    emit navigationCompleted();
}

void TChildWin1::RegisterWindow()
{
    ListIndex = host_.windowList().append(Globals.PageTitle);
}

void TChildWin1::WebBrowser1DocumentComplete()
{
    host_.recordVisit(LocationName());
}

void TChildWin1::closeEvent(QCloseEvent *event)
{
    closing_ = true;
    WindowList &lists = host_.windowList();
    if (lists.isValid(ListIndex)) {
        const int removed = ListIndex;
        lists.remove(removed);
        ListIndex = -1;
        host_.windowEntryRemoved(removed);
    }
    if (host_.browserWindowCount() == 0)
        host_.setPictureViewVisible(true);
    QMdiSubWindow::closeEvent(event);
}

void TChildWin1::BackBtnClick()
{
    WebBrowser1->GoBack();
}

void TChildWin1::FwrdBtnClick()
{
    WebBrowser1->GoForward();
}

void TChildWin1::StopBtnClick()
{
    WebBrowser1->ExecWB(WebCommand::Stop);
}

void TChildWin1::HomeBtnClick()
{
    WebBrowser1->GoHome();
}

void TChildWin1::RefreshBtnClick()
{
    if (Globals.CurrentUrl.isEmpty()) {
        ShowErrorBox(QStringLiteral("There is no current page to reload."), this);
        return;
    }
    WebBrowser1->Navigate(Globals.CurrentUrl);
}

void TChildWin1::SearchBtnClick()
{
    WebBrowser1->GoSearch();
}

void TChildWin1::SaveBtnClick()
{
    const QString folder = TextFile::resolveNoCase(Globals.AppDir, QStringLiteral("WebPages"));
    const QString proposed =
        QDir(folder).filePath(fileNameFromTitle(LocationName()) + QStringLiteral(".htm"));
    // A node for a page never saved would list a file that is not there.
    if (!WebBrowser1->ExecWB(WebCommand::SaveAs, proposed).isEmpty())
        host_.appendOfflineNode(LocationName());
}

void TChildWin1::PrintBtnClick()
{
    WebBrowser1->ExecWB(WebCommand::Print);
}

void TChildWin1::PropTBtnClick()
{
    WebBrowser1->ExecWB(WebCommand::Properties);
}

void TChildWin1::HelpBtnClick()
{
    ShowHelp(QStringLiteral("web_browser_window.htm"));
}

void TChildWin1::Cut1Click()
{
    WebBrowser1->ExecWB(WebCommand::Cut);
}

void TChildWin1::Copy1Click()
{
    if (host_.addressBoxHasFocus())
        host_.copyAddressBox();
    else
        WebBrowser1->ExecWB(WebCommand::Copy);
}

void TChildWin1::Paste1Click()
{
    if (host_.addressBoxHasFocus())
        host_.pasteAddressBox();
    else
        WebBrowser1->ExecWB(WebCommand::Paste);
}
