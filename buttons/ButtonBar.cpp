#include "buttons/ButtonBar.h"

#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "app/TextFile.h"
#include "buttons/ButtonStore.h"
#include "controls/ApplyScheme.h"
#include "controls/GlowButton.h"
#include "controls/SchemeStyle.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMainWindow>
#include <QPixmap>
#include <QShortcut>
#include <QStyle>
#include <QToolBar>

namespace {

constexpr int PanelWidth = 43;
constexpr int KeyedButtons = 10;
// Two columns of 17: all 34 fit the height a default window gives the bar, where one column
// of 34 would hide the last ones behind the tool bar's overflow arrow.
constexpr int Columns = 2;
constexpr int ButtonsPerColumn = (TButtonStore::ButtonCount + Columns - 1) / Columns;

// Alt+1 ... Alt+9 for buttons 1 to 9, Alt+0 for button 10.
QKeySequence shortcutFor(int number)
{
    return QKeySequence(Qt::ALT | Qt::Key(Qt::Key_0 + number % 10));
}

} // namespace

TButtonBar::TButtonBar(ProgramData &data, QWidget *parent) : QWidget(parent), data_(data)
{
    setObjectName(QStringLiteral("AdvDockPanel3"));

    toggle_ = new TGlowButton(this);
    toggle_->setObjectName(QStringLiteral("TToggleBtn"));
    toggle_->setToolTip(QStringLiteral("Toggle between Web Site Buttons"));
    toggle_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toggle_->setMinimumSize(23, 25);
    toggle_->setIcon(QIcon::fromTheme(QStringLiteral("view-list-details"),
                                      style()->standardIcon(QStyle::SP_FileDialogListView)));
    add_ = new TGlowButton(this);
    add_->setObjectName(QStringLiteral("TAddButBtn"));
    add_->setText(QStringLiteral("Add"));
    add_->setToolTip(QStringLiteral("Add to Buttons"));
    add_->setEnabled(false);
    connect(toggle_, &TGlowButton::clicked, this, &TButtonBar::TToggleBtnClick);
    connect(add_, &TGlowButton::clicked, this, &TButtonBar::assignButtonsRequested);

    createButtons();
    connect(data_.buttons().model(), &QStandardItemModel::dataChanged, this,
            [this](const QModelIndex &from, const QModelIndex &to) {
                for (int row = from.row(); row <= to.row(); ++row)
                    showButton(row + 1);
            });
    hide();
    hostShortcuts();
    connect(&data_, &ProgramData::settingsChanged, this, &TButtonBar::applyColors);
}

void TButtonBar::createButtons()
{
    // A tool bar floats only out of a main window, so the strip carries a small one of its own.
    dock_ = new QMainWindow(this);
    // A main window always starts as a window of its own; this one lives inside the strip.
    dock_->setWindowFlags(Qt::Widget);
    dock_->setContextMenuPolicy(Qt::PreventContextMenu);
    toolBar_ = new QToolBar(dock_);
    toolBar_->setObjectName(QStringLiteral("AdvToolBar2"));
    toolBar_->setWindowTitle(QStringLiteral("Web Site Buttons"));
    toolBar_->setOrientation(Qt::Vertical);
    toolBar_->setFloatable(true);
    toolBar_->setMovable(true);
    toolBar_->setAllowedAreas(Qt::LeftToolBarArea | Qt::RightToolBarArea);
    dock_->addToolBar(Qt::LeftToolBarArea, toolBar_);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(dock_);

    auto *grid = new QWidget(toolBar_);
    grid->setObjectName(QStringLiteral("buttonGrid"));
    auto *gridLayout = new QGridLayout(grid);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    gridLayout->setSpacing(1);
    for (int column = 0; column < Columns; ++column)
        gridLayout->setColumnStretch(column, 1);
    for (int number = 1; number <= TButtonStore::ButtonCount; ++number) {
        auto *button = new TGlowButton(grid);
        button->setObjectName(QStringLiteral("TButton%1").arg(number));
        button->setText(QString::number(number));
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setMinimumSize(23, 22);
        connect(button, &TGlowButton::clicked, this, [this, number] { TButtonClick(number); });
        // Down the first column, then down the second: still in number order from the top.
        gridLayout->addWidget(button, (number - 1) % ButtonsPerColumn,
                              (number - 1) / ButtonsPerColumn);
        buttons_.append(button);
        showButton(number);
    }
    toolBar_->addWidget(grid);
    setFixedWidth(qMax(PanelWidth, dock_->sizeHint().width()));
}

void TButtonBar::showButton(int number)
{
    TGlowButton *button = buttons_.value(number - 1);
    if (!button)
        return;
    const TButtonStore &store = data_.buttons();
    button->setEnabled(store.isAssigned(number));
    QString tip = store.hint(number);
    // The key does nothing for a button without an address, so the tip does not offer it.
    if (number <= KeyedButtons && store.isAssigned(number)) {
        const QString keys = shortcutFor(number).toString(QKeySequence::NativeText);
        tip = tip.isEmpty() ? keys : tip + QLatin1Char('\n') + keys;
    }
    button->setToolTip(tip);
}

void TButtonBar::LoadButtonBar()
{
    data_.loadButtons();
}

void TButtonBar::TButtonClick(int number)
{
    OpenPage(data_.buttons().ButtonAddress(number));
}

void TButtonBar::TToggleBtnClick()
{
    const bool showing = isHidden();
    setVisible(showing);
    // A strip floated off the panel goes and comes with it.
    if (toolBar_->isFloating())
        toolBar_->setVisible(showing);
    setToggleBitmap(showing ? QStringLiteral("Toggle2.Bmp") : QStringLiteral("Start.Bmp"));
}

void TButtonBar::setToggleBitmap(const QString &name)
{
    const QString bmps = data_.filePath(QStringLiteral("Bmps"));
    const QPixmap picture(TextFile::resolveNoCase(bmps, name));
    toggle_->setIcon(picture.isNull() ? QIcon() : QIcon(picture));
}

void TButtonBar::applyColors()
{
    QList<TGlowButton *> all = buttons_;
    all << toggle_ << add_;
    ApplyScheme::applyButtonColors(all, data_.globals());
    ApplyScheme::useStyle(toolBar_, TSchemeStyle::shared(TSchemeStyle::ToolBars));
}

TButtonBar::~TButtonBar()
{
    dropShortcuts();
}

void TButtonBar::dropShortcuts()
{
    for (const QPointer<QShortcut> &shortcut : std::as_const(shortcuts_))
        delete shortcut.data();
    shortcuts_.clear();
}

bool TButtonBar::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange)
        hostShortcuts();
    return QWidget::event(event);
}

bool TButtonBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ParentChange)
        hostShortcuts();
    return QWidget::eventFilter(watched, event);
}

// The keys must work while the bar is hidden, so they hang on the window that holds it; the
// ancestors are watched because the bar may reach that window only when a parent is re-homed.
void TButtonBar::hostShortcuts()
{
    for (QWidget *above = parentWidget(); above; above = above->parentWidget())
        above->installEventFilter(this);
    QWidget *host = window();
    if (host == shortcutHost_ && !shortcuts_.isEmpty())
        return;
    dropShortcuts();
    shortcutHost_ = host;
    for (int number = 1; number <= KeyedButtons; ++number) {
        auto *shortcut = new QShortcut(shortcutFor(number), host);
        shortcut->setContext(Qt::ApplicationShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, number] {
            if (data_.buttons().isAssigned(number))
                TButtonClick(number);
        });
        shortcuts_.append(shortcut);
    }
}
