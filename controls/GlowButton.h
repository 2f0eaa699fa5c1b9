#pragma once

#include <QColor>
#include <QToolButton>

// A tool bar button drawn with two gradients (upper half and its mirror below), a font colour
// and a small picture above or beside its caption.
class TGlowButton : public QToolButton
{
    Q_OBJECT
public:
    explicit TGlowButton(QWidget *parent = nullptr);

    void setGradient(const QColor &from, const QColor &to);
    void setMirrorGradient(const QColor &from, const QColor &to);
    void setFontColor(const QColor &color);
    void setBold(bool bold);

    QColor gradientFrom() const { return gradientFrom_; }
    QColor gradientTo() const { return gradientTo_; }
    QColor mirrorFrom() const { return mirrorFrom_; }
    QColor mirrorTo() const { return mirrorTo_; }
    QColor fontColor() const { return fontColor_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor gradientFrom_;
    QColor gradientTo_;
    QColor mirrorFrom_;
    QColor mirrorTo_;
    QColor fontColor_;
};
