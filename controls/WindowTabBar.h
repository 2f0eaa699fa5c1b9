#pragma once

#include <QWidget>

class QMdiArea;
class QMdiSubWindow;
class QTabBar;
class QToolButton;

// One tab per browser window, kept in step with the frame's sub-windows: a click on a tab
// activates its window, closing a window removes its tab, a new caption renames it.
class TWindowTabBar : public QWidget
{
    Q_OBJECT
public:
    explicit TWindowTabBar(QMdiArea *area, QWidget *parent = nullptr);

    void addWindow(QMdiSubWindow *window);
    QTabBar *tabBar() const { return tabs_; }
    int indexOf(const QMdiSubWindow *window) const;

private:
    void removeWindow(QObject *window);
    void followActivation(QMdiSubWindow *window);
    void showTabList();

    QMdiArea *area_;
    QTabBar *tabs_;
    QList<QMdiSubWindow *> windows_;
};
