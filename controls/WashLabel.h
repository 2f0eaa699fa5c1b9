#pragma once

#include "controls/Wash.h"

#include <QLabel>

// A caption on a two-colour wash, in a font colour of the scheme.
class TWashLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TWashLabel(QWidget *parent = nullptr);
    explicit TWashLabel(const QString &text, QWidget *parent = nullptr);

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
