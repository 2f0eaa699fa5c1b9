#pragma once

#include "controls/Wash.h"

#include <QFrame>

// A panel on a two-colour wash, optionally mirrored in its lower half; the labels on it take
// the font colour.
class TWashPanel : public QFrame
{
    Q_OBJECT
public:
    explicit TWashPanel(QWidget *parent = nullptr);

    void setWash(const TWash &wash);
    void setFontColor(TSchemeColor color);
    TWash wash() const { return wash_; }
    TSchemeColor fontColor() const { return fontColor_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void applyFontColor();

    TWash wash_{TSchemeColor::system(TSchemeColor::ButtonFace),
                TSchemeColor::system(TSchemeColor::ButtonFace), false};
    TSchemeColor fontColor_ = TSchemeColor::system(TSchemeColor::WindowText);
};
