#include "browse/ChildWindow.h"

#include "app/Ask.h"
#include "app/CaseFold.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "browse/WebControl.h"
#include "controls/GlowButton.h"
#include "controls/ThemeIcon.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QToolBar>
#include <QUrl>
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

TChildWin1::TChildWin1(ProgramData &data, Ask &ask, QComboBox &addressBox, QWidget *parent)
    : QMdiSubWindow(parent), data_(data), ask_(ask), addressBox_(addressBox)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(ThemeIcon::themed("text-html", QStyle::SP_FileIcon));
    auto *content = new QWidget(this);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    WebBrowser1 = new TWebControl(ask_, content);
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
    connect(WebBrowser1, &TWebControl::progressChanged, this, &TChildWin1::loadProgress);
    connect(WebBrowser1, &TWebControl::popupBlocked, this, &TChildWin1::popupBlocked);
    connect(WebBrowser1, &TWebControl::pageSaved, this,
            [this](const QString &path) { emit pageSaved(LocationName(), path); });
    connect(WebBrowser1, &TWebControl::saveFailed, this,
            [this](const QString &path, const QString &reason) {
                ask_.error(QStringLiteral("The page could not be saved as %1:\n%2")
                               .arg(QDir::toNativeSeparators(path), reason));
            });
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
    toolBar_->setMinimumHeight(44);
    for (const ToolSpec &tool : tools) {
        auto *button = new TGlowButton(toolBar_);
        // Captions under the pictures let all ten buttons stand in the designed width.
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setText(QString::fromLatin1(tool.caption));
        button->setToolTip(QString::fromLatin1(tool.hint));
        button->setIcon(ThemeIcon::themed(tool.icon, tool.fallback));
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

void TChildWin1::FormShow(const QString &address)
{
    ListIndex = -1;
    WebBrowser1->Navigate(address);
    if (data_.globals().MaximizeWindows)
        showMaximized();
}

void TChildWin1::FormActivate()
{
    takeCurrentPage();
    ApplyWindowColors();
}

// The page of whichever window reported last is the shared current page.
void TChildWin1::takeCurrentPage()
{
    TGlobals &g = data_.globals();
    g.CurrentUrl = LocationURL();
    g.CurrentTitle = LocationName();
    applyLastPageRule();
}

bool TChildWin1::remembersPage() const
{
    const QUrl address = WebBrowser1->url();
    if (address.isEmpty() || address.scheme() == u"about")
        return false;
    if (!address.isLocalFile())
        return true;
    const QString help = QDir::cleanPath(data_.filePath(QStringLiteral("Help"))) + u'/';
    return !QDir::cleanPath(address.toLocalFile()).startsWith(help, Qt::CaseInsensitive);
}

void TChildWin1::applyLastPageRule()
{
    if (!remembersPage())
        return;
    TGlobals &g = data_.globals();
    const QString current = CaseFold::lower(g.CurrentUrl);
    if (current != CaseFold::lower(g.StartPage) && current != CaseFold::lower(g.SearchPage))
        g.LastPage = g.CurrentUrl;
}

void TChildWin1::WebBrowser1TitleChange()
{
    setWindowTitle(LocationName());
    data_.globals().PageTitle = LocationName();
    emit titleChanged(LocationName());
}

void TChildWin1::WebBrowser1NavigateComplete2()
{
    // The caption follows the title even when the title did not change since the last page.
    WebBrowser1TitleChange();
    emit statusTextChanged(LocationName() + QStringLiteral(" - ") + LocationURL());
    takeCurrentPage();
    emit navigationCompleted(LocationName(), LocationURL());
}

void TChildWin1::WebBrowser1DocumentComplete()
{
    emit documentCompleted(LocationURL());
}

void TChildWin1::closeEvent(QCloseEvent *event)
{
    closing_ = true;
    emit closing();
    ListIndex = -1;
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
    // This window's own page: the shared current page may belong to a window that reported
    // after it.
    const QString own = WebBrowser1->reloadAddress();
    if (own.isEmpty()) {
        ask_.error(QStringLiteral("There is no page in this window to reload."));
        return;
    }
    WebBrowser1->Navigate(own);
}

void TChildWin1::SearchBtnClick()
{
    WebBrowser1->GoSearch();
}

void TChildWin1::SaveBtnClick()
{
    const QString proposed =
        QDir(data_.webPagesDir())
            .filePath(fileNameFromTitle(LocationName()) + QStringLiteral(".htm"));
    // The OffLine node follows pageSaved, once the file is really there.
    WebBrowser1->ExecWB(WebCommand::SaveAs, proposed);
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
    if (addressBoxHasFocus())
        QApplication::clipboard()->setText(addressBox_.currentText());
    else
        WebBrowser1->ExecWB(WebCommand::Copy);
}

void TChildWin1::Paste1Click()
{
    if (addressBoxHasFocus())
        addressBox_.setEditText(QApplication::clipboard()->text());
    else
        WebBrowser1->ExecWB(WebCommand::Paste);
}

bool TChildWin1::addressBoxHasFocus() const
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && (focus == &addressBox_ || focus == addressBox_.lineEdit());
}
