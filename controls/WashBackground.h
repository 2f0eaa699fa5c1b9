#pragma once

#include "controls/Wash.h"

#include <QObject>

class QWidget;

// Paints a wash behind a widget that is not ours to subclass (a side-panel page, a bar),
// just before the widget paints itself.
class TWashBackground : public QObject
{
    Q_OBJECT
public:
    // Gives widget the wash, reusing the one it already has.
    static TWashBackground *attach(QWidget *widget, const TWash &wash);
    // The wash widget carries, or nullptr.
    static TWashBackground *of(const QWidget *widget);

    TWash wash() const { return wash_; }
    void setWash(const TWash &wash);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TWashBackground(QWidget *widget);

    QWidget *widget_;
    TWash wash_;
};
