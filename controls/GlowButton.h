#pragma once

#include "controls/Wash.h"

#include <QColor>
#include <QToolButton>
#include <optional>

// A tool bar button drawn with two gradients (upper half and its mirror below), a font colour
// and a small picture above or beside its caption. Scheme colours that refer to the desktop
// are resolved each time it paints.
class TGlowButton : public QToolButton
{
    Q_OBJECT
public:
    explicit TGlowButton(QWidget *parent = nullptr);

    void setGradient(const QColor &from, const QColor &to);
    void setMirrorGradient(const QColor &from, const QColor &to);
    void setFontColor(const QColor &color);
    void setGradient(TSchemeColor from, TSchemeColor to);
    void setMirrorGradient(TSchemeColor from, TSchemeColor to);
    void setFontColor(TSchemeColor color);
    void setBold(bool bold);

    QColor gradientFrom() const;
    QColor gradientTo() const;
    QColor mirrorFrom() const;
    QColor mirrorTo() const;
    QColor fontColor() const;
    // The colours as given, before the desktop's are looked up.
    std::optional<TWash> upperWash() const { return upper_; }
    std::optional<TWash> lowerWash() const { return lower_; }
    std::optional<TSchemeColor> schemeFontColor() const { return font_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TWash lowerOrDefault() const;
    void paintFace(QPainter &painter);

    std::optional<TWash> upper_;
    std::optional<TWash> lower_;
    std::optional<TSchemeColor> font_;
};
