#include "help/HelpWindow.h"

#include "app/ProgramData.h"
#include "app/TextFile.h"
#include "controls/ApplyScheme.h"
#include "controls/ThemeIcon.h"
#include "help/HelpBounds.h"
#include "help/HelpTopics.h"
#include "help/SearchPanel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QWebEngineHistory>
#include <QWebEngineView>

QPointer<THelpWin1> HelpWin1;

namespace {

QString lastHelpPage;

QList<QRect> availableScreens()
{
    QList<QRect> screens;
    if (QScreen *primary = QGuiApplication::primaryScreen())
        screens << primary->availableGeometry();
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            screens << screen->availableGeometry();
    }
    return screens;
}

} // namespace

THelpWin1::THelpWin1(ProgramData &data, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), data_(data), g_(data.globals())
{
    setObjectName(QStringLiteral("HelpWin1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Help with ..."));
    WebBrowser1 = new QWebEngineView(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(createToolBar());
    layout->addWidget(WebBrowser1, 1);
    createSearchPanel();
    connect(WebBrowser1, &QWebEngineView::urlChanged, this,
            &THelpWin1::WebBrowser1NavigateComplete2);
    connect(WebBrowser1, &QWebEngineView::loadFinished, this,
            &THelpWin1::WebBrowser1DocumentComplete);
    connect(&data_, &ProgramData::settingsChanged, this, &THelpWin1::InitColors);
}

QWidget *THelpWin1::createToolBar()
{
    auto *strip = new QWidget(this);
    ToolBar1 = new QFrame(strip);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    static_cast<QFrame *>(ToolBar1)->setFrameShape(QFrame::StyledPanel);
    TBackBtn = createButton(QStringLiteral("TBackBtn"), QStringLiteral("Go Back one Page"),
                            ThemeIcon::themed("go-previous", QStyle::SP_ArrowBack));
    TfrwdBtn = createButton(QStringLiteral("TfrwdBtn"), QStringLiteral("Go Forward One Page"),
                            ThemeIcon::themed("go-next", QStyle::SP_ArrowForward));
    THomeBtn = createButton(QStringLiteral("THomeBtn"), QStringLiteral("Go to Home Page"),
                            ThemeIcon::themed("go-home", QStyle::SP_DirHomeIcon));
    TFindBtn =
        createButton(QStringLiteral("TFindBtn"), QStringLiteral("Search Help for Topic"), {});
    TFindBtn->setIcon(findButtonPicture(QStringLiteral("search16_h.bmp"), "edit-find",
                                        QStyle::SP_FileDialogContentsView));
    auto *buttons = new QHBoxLayout(ToolBar1);
    buttons->setContentsMargins(2, 2, 2, 2);
    buttons->setSpacing(1);
    for (QToolButton *button : {TBackBtn, TfrwdBtn, THomeBtn, TFindBtn})
        buttons->addWidget(button);
    // The buttons keep to the right edge, clear of the page's own headings.
    auto *row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 10, 0);
    row->addStretch(1);
    row->addWidget(ToolBar1);
    connect(TBackBtn, &QToolButton::clicked, this, &THelpWin1::TBackBtnClick);
    connect(TfrwdBtn, &QToolButton::clicked, this, &THelpWin1::TfrwdBtnClick);
    connect(THomeBtn, &QToolButton::clicked, this, &THelpWin1::THomeBtnClick);
    connect(TFindBtn, &QToolButton::clicked, this, &THelpWin1::TFindBtnClick);
    return strip;
}

QToolButton *THelpWin1::createButton(const QString &name, const QString &hint, const QIcon &icon)
{
    auto *button = new QToolButton(ToolBar1);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setIcon(icon);
    button->setAutoRaise(true);
    button->setFixedSize(23, 25);
    return button;
}

void THelpWin1::createSearchPanel()
{
    Panel1 = new TSearchPanel(this);
    Panel1->move(0, 36);
    Panel1->hide();
    Panel1->ListBox1->addItems(HelpTopics::titles());
    Panel1->CMBINDEX->setCompleter(nullptr);
    connect(Panel1->CMBINDEX, &QComboBox::editTextChanged, this, &THelpWin1::CMBINDEXChange);
    connect(Panel1->CMBINDEX->lineEdit(), &QLineEdit::returnPressed, this,
            &THelpWin1::CMBINDEXKeyDown);
    connect(Panel1->ListBox1, &QListWidget::itemActivated, this, &THelpWin1::ListBox1DblClick);
}

void THelpWin1::ShowHelp(ProgramData &data, const QString &name)
{
    TGlobals &g = data.globals();
    g.HelpTopic = TextFile::resolveNoCase(data.filePath(QStringLiteral("Help")), name);
    if (g.HelpOpen && HelpWin1) {
        HelpWin1->turnToTopic();
        return;
    }
    HelpWin1 = new THelpWin1(data);
    HelpWin1->FormShow();
    HelpWin1->show();
    HelpWin1->raise();
    HelpWin1->activateWindow();
}

QString THelpWin1::LastHelpPage()
{
    return lastHelpPage;
}

void THelpWin1::turnToTopic()
{
    // Turning here rather than on activation: the window may already be the active one, and a
    // later activation must not undo the links the user has followed since.
    NewPage();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void THelpWin1::FormShow()
{
    NewPage();
    showCaption(g_.HelpTopic);
    placeWindow();
    g_.HelpOpen = true;
    SearchShown = false;
    FillTopicFiles();
    InitColors();
}

void THelpWin1::InitColors()
{
    ApplyScheme::applyListColors(Panel1->ListBox1, g_);
    ApplyScheme::applyListColors(Panel1->CMBINDEX, g_);
}

void THelpWin1::placeWindow()
{
    const QRect rect = HelpBounds::onScreen(HelpBounds::limited(g_), availableScreens());
    g_.HelpLeft = rect.left();
    g_.HelpTop = rect.top();
    g_.HelpWidth = rect.width();
    g_.HelpHeight = rect.height();
    // Kept as the frame's place and the page area's size, and given back the same way, so the
    // window opens where it closed.
    move(rect.topLeft());
    resize(rect.size());
}

void THelpWin1::NewPage()
{
    WebBrowser1->load(QUrl::fromLocalFile(g_.HelpTopic));
    lastHelpPage = g_.HelpTopic;
}

void THelpWin1::showCaption(const QString &page)
{
    setWindowTitle(QStringLiteral("Help with ") + page.left(qMax(0, page.size() - 4)));
}

void THelpWin1::WebBrowser1DocumentComplete(bool ok)
{
    // The caption names the page on show, also after a link or Back, once it is there.
    const QUrl shown = WebBrowser1->url();
    if (ok && shown.isLocalFile())
        showCaption(shown.toLocalFile());
}

void THelpWin1::FillTopicFiles()
{
    TopicFiles = HelpTopics::files();
}

void THelpWin1::WebBrowser1NavigateComplete2(const QUrl &url)
{
    lastHelpPage = url.toString();
}

void THelpWin1::TBackBtnClick()
{
    WebBrowser1->back();
}

void THelpWin1::TfrwdBtnClick()
{
    WebBrowser1->forward();
}

void THelpWin1::THomeBtnClick()
{
    ShowHelp(data_, QStringLiteral("Index.htm"));
}

void THelpWin1::TFindBtnClick()
{
    SearchShown = !SearchShown;
    Panel1->setVisible(SearchShown);
    if (SearchShown) {
        Panel1->raise();
        Panel1->CMBINDEX->setFocus();
        TFindBtn->setIcon(
            findButtonPicture(QStringLiteral("Undo.bmp"), "edit-undo", QStyle::SP_ArrowBack));
    } else {
        TFindBtn->setIcon(findButtonPicture(QStringLiteral("search16_h.bmp"), "edit-find",
                                            QStyle::SP_FileDialogContentsView));
    }
}

QIcon THelpWin1::findButtonPicture(const QString &file, const char *themeName,
                                   int standardPixmap) const
{
    const QString path = TextFile::resolveNoCase(data_.filePath(QStringLiteral("Bmps")), file);
    const QPixmap picture(path);
    if (!picture.isNull())
        return QIcon(picture);
    return ThemeIcon::themed(themeName, standardPixmap);
}

void THelpWin1::CMBINDEXChange(const QString &text)
{
    const int found = HelpTopics::findTopic(text);
    if (found >= 0)
        Panel1->ListBox1->setCurrentRow(found);
}

void THelpWin1::CMBINDEXKeyDown()
{
    Panel1->CMBINDEX->addItem(Panel1->CMBINDEX->currentText());
    ListBox1DblClick();
}

void THelpWin1::ListBox1DblClick()
{
    const int row = Panel1->ListBox1->currentRow();
    if (row < 0 || row >= TopicFiles.size())
        return;
    ShowHelp(data_, TopicFiles.at(row).trimmed());
}

void THelpWin1::closeEvent(QCloseEvent *event)
{
    g_.HelpLeft = pos().x();
    g_.HelpTop = pos().y();
    g_.HelpHeight = height();
    g_.HelpWidth = width();
    g_.HelpOpen = false;
    QWidget::closeEvent(event);
}

void THelpWin1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // A panel the user left near the right or bottom edge stays within reach.
    if (Panel1->x() + Panel1->width() > width() || Panel1->y() + Panel1->height() > height())
        Panel1->move(qBound(0, Panel1->x(), qMax(0, width() - Panel1->width())),
                     qBound(0, Panel1->y(), qMax(0, height() - Panel1->height())));
}
