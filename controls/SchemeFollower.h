#pragma once

#include <QObject>
#include <functional>

// Runs a window's colour routine again when the desktop's palette changes, so that colours the
// scheme takes from the desktop and has copied into widget palettes stay current.
class TSchemeFollower : public QObject
{
    Q_OBJECT
public:
    // Watches window (normally a top-level widget, which hears of every palette change) and
    // becomes its child. A second call for the same window replaces the routine.
    static TSchemeFollower *follow(QObject *window, std::function<void()> reapply);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TSchemeFollower(QObject *window);

    std::function<void()> reapply_;
    bool busy_ = false;
};
