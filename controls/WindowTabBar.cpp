#include "controls/WindowTabBar.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>

namespace {
QToolButton *barButton(QWidget *parent, const QString &hint, const QIcon &icon)
{
    auto *button = new QToolButton(parent);
    button->setToolTip(hint);
    button->setIcon(icon);
    button->setAutoRaise(true);
    return button;
}

// Tabs stay narrow enough for many windows; the tip holds the title, within reason. The
// cut comes first so a huge title never reaches the font measuring.
QString tabText(const QString &title, const QFontMetrics &metrics)
{
    constexpr int widest = 200;
    return metrics.elidedText(title.left(200), Qt::ElideRight, widest);
}

QString tabTip(const QString &title)
{
    constexpr int limit = 1000;
    return title.size() > limit ? title.left(limit - 1) + QChar(0x2026) : title;
}
} // namespace

TWindowTabBar::TWindowTabBar(QMdiArea *area, QWidget *parent)
    : QWidget(parent), area_(area), tabs_(new QTabBar(this))
{
    setObjectName(QStringLiteral("WindowTabBar"));
    tabs_->setTabsClosable(true);
    tabs_->setExpanding(false);
    tabs_->setUsesScrollButtons(true);
    // Captions are cut to a readable length beforehand; eliding again would leave "P..." tabs.
    tabs_->setElideMode(Qt::ElideNone);
    tabs_->setDocumentMode(true);
    tabs_->setDrawBase(false);

    auto *previous =
        barButton(this, QStringLiteral("Previous"), style()->standardIcon(QStyle::SP_ArrowLeft));
    auto *next =
        barButton(this, QStringLiteral("Next"), style()->standardIcon(QStyle::SP_ArrowRight));
    auto *list = barButton(this, QStringLiteral("TabList"),
                           style()->standardIcon(QStyle::SP_TitleBarUnshadeButton));
    auto *close = barButton(this, QStringLiteral("Close"),
                            style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tabs_, 1);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(list);
    layout->addWidget(close);
    setFixedHeight(30);

    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index < windows_.size() && area_->activeSubWindow() != windows_[index])
            area_->setActiveSubWindow(windows_[index]);
    });
    connect(tabs_, &QTabBar::tabCloseRequested, this, [this](int index) {
        if (index >= 0 && index < windows_.size())
            windows_[index]->close();
    });
    connect(previous, &QToolButton::clicked, area_, &QMdiArea::activatePreviousSubWindow);
    connect(next, &QToolButton::clicked, area_, &QMdiArea::activateNextSubWindow);
    connect(list, &QToolButton::clicked, this, &TWindowTabBar::showTabList);
    connect(close, &QToolButton::clicked, this, [this] {
        if (QMdiSubWindow *window = area_->activeSubWindow())
            window->close();
    });
    connect(area_, &QMdiArea::subWindowActivated, this, &TWindowTabBar::followActivation);
}

void TWindowTabBar::addWindow(QMdiSubWindow *window)
{
    windows_.append(window);
    const int index = tabs_->addTab(tabText(window->windowTitle(), tabs_->fontMetrics()));
    tabs_->setTabToolTip(index, tabTip(window->windowTitle()));
    connect(window, &QWidget::windowTitleChanged, this, [this, window](const QString &title) {
        const int at = indexOf(window);
        if (at >= 0) {
            tabs_->setTabText(at, tabText(title, tabs_->fontMetrics()));
            tabs_->setTabToolTip(at, tabTip(title));
        }
    });
    connect(window, &QObject::destroyed, this, &TWindowTabBar::removeWindow);
    if (area_->activeSubWindow() == window)
        tabs_->setCurrentIndex(index);
}

int TWindowTabBar::indexOf(const QMdiSubWindow *window) const
{
    return static_cast<int>(windows_.indexOf(const_cast<QMdiSubWindow *>(window)));
}

void TWindowTabBar::removeWindow(QObject *window)
{
    // Called from destroyed(): only the pointer's value may be used here.
    for (qsizetype i = 0; i < windows_.size(); ++i) {
        if (static_cast<QObject *>(windows_[i]) == window) {
            windows_.removeAt(i);
            tabs_->removeTab(static_cast<int>(i));
            return;
        }
    }
}

void TWindowTabBar::followActivation(QMdiSubWindow *window)
{
    const int index = indexOf(window);
    if (index >= 0 && tabs_->currentIndex() != index)
        tabs_->setCurrentIndex(index);
}

void TWindowTabBar::showTabList()
{
    QMenu menu(this);
    for (QMdiSubWindow *window : std::as_const(windows_)) {
        QAction *action = menu.addAction(tabTip(window->windowTitle()));
        action->setCheckable(true);
        action->setChecked(window == area_->activeSubWindow());
        connect(action, &QAction::triggered, area_,
                [this, window] { area_->setActiveSubWindow(window); });
    }
    menu.exec(mapToGlobal(rect().bottomRight() - QPoint(menu.sizeHint().width(), 0)));
}
