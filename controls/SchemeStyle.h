#pragma once

#include "controls/Wash.h"

#include <QList>
#include <QPointer>
#include <QProxyStyle>

// The running style with the scheme's gradients on tool bars, menus and tab bars. One shared
// instance per kind, so every window that uses a kind changes when the scheme does.
class TSchemeStyle : public QProxyStyle
{
    Q_OBJECT
public:
    enum Kind { ToolBars, Menus, WindowTabs, SidePanel };

    explicit TSchemeStyle(Kind kind);
    // The instance shared by every window; lives as long as the application.
    static TSchemeStyle *shared(Kind kind);

    Kind kind() const { return kind_; }
    // The background gradient of bars and tab rows, and of each tab.
    void setGradient(TSchemeColor from, TSchemeColor to);
    void setTextColor(TSchemeColor color);
    void setBorderColor(TSchemeColor color);
    TWash gradient() const { return {from_, to_, false}; }
    TSchemeColor textColor() const { return text_; }
    TSchemeColor borderColor() const { return border_; }

    void polish(QWidget *widget) override;
    void unpolish(QWidget *widget) override;
    using QProxyStyle::polish;
    using QProxyStyle::unpolish;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void changed();
    void applyTextPalette(QWidget *widget) const;
    QRect washArea(const QStyleOption *option, const QWidget *widget) const;
    void paintBar(QPainter *painter, const QRect &clip, const QRect &area) const;
    void paintTabShape(const QStyleOption *option, QPainter *painter) const;
    void paintTabRow(QWidget *widget) const;
    void drawWithText(ControlElement element, const QStyleOption *option, QPainter *painter,
                      const QWidget *widget, bool clearBackground) const;

    Kind kind_;
    TSchemeColor from_;
    TSchemeColor to_;
    TSchemeColor text_;
    TSchemeColor border_;
    QList<QPointer<QWidget>> widgets_;
};
