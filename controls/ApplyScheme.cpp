#include "controls/ApplyScheme.h"

#include "controls/GlowButton.h"
#include "controls/SchemeStyle.h"
#include "controls/WashBackground.h"
#include "controls/WashLabel.h"
#include "controls/WashPanel.h"

#include <QWidget>

namespace ApplyScheme {

namespace {
// Text roles keep their disabled shade, so a disabled control still looks disabled.
void setTextRoles(QPalette &palette, std::initializer_list<QPalette::ColorRole> roles,
                  const QColor &color)
{
    for (QPalette::ColorRole role : roles) {
        palette.setColor(QPalette::Active, role, color);
        palette.setColor(QPalette::Inactive, role, color);
    }
}

void setFieldColors(QWidget *widget, TSchemeColor back, TSchemeColor text, bool bold)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, back.resolve());
    setTextRoles(palette, {QPalette::Text}, text.resolve());
    widget->setPalette(palette);
    setBold(widget, bold);
}

void applyGroup(QWidget *window, TSchemeColor back, TSchemeColor end, TSchemeColor text,
                const TGlobals &g)
{
    setBackground(window, back);
    setFontColor(window, text);
    const TWash wash{back, end, false};
    for (TWashPanel *panel : window->findChildren<TWashPanel *>()) {
        panel->setWash(wash);
        panel->setFontColor(text);
    }
    for (TWashLabel *label : window->findChildren<TWashLabel *>()) {
        label->setWash(wash);
        label->setFontColor(text);
    }
    applyButtonColors(window->findChildren<TGlowButton *>(), g);
}
} // namespace

void setBackground(QWidget *widget, TSchemeColor color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color.resolve());
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setFontColor(QWidget *widget, TSchemeColor color)
{
    QPalette palette = widget->palette();
    setTextRoles(palette, {QPalette::WindowText, QPalette::ButtonText}, color.resolve());
    widget->setPalette(palette);
}

void setBold(QWidget *widget, bool bold)
{
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

void setWash(QWidget *widget, const TWash &wash)
{
    TWashBackground::attach(widget, wash);
}

void useStyle(QWidget *widget, TSchemeStyle *style)
{
    if (widget->style() != style) {
        widget->setStyle(style);
        // A widget not yet polished would meet its style only when first shown.
        widget->ensurePolished();
    } else {
        style->polish(widget); // picks up drop-down menus and tab rows added since
    }
}

void applyListColors(QWidget *view, const TGlobals &g)
{
    setFieldColors(view, TSchemeColor(g.ListBackColor), TSchemeColor(g.ListTextColor), g.BoldText);
}

void applyEntryColors(QWidget *entry, const TGlobals &g)
{
    setFieldColors(entry, TSchemeColor(g.EntryBackColor), TSchemeColor(g.EntryTextColor),
                   g.BoldText);
}

void applyButtonColors(TGlowButton *button, const TGlobals &g)
{
    const TSchemeColor back(g.ButtonBackColor);
    const TSchemeColor end(g.ButtonEndColor);
    button->setGradient(back, end);
    button->setMirrorGradient(back, end);
    button->setFontColor(TSchemeColor(g.ButtonTextColor));
    button->setBold(g.BoldText);
}

void applyButtonColors(const QList<TGlowButton *> &buttons, const TGlobals &g)
{
    for (TGlowButton *button : buttons)
        applyButtonColors(button, g);
}

void applySelectColors(QWidget *window, const TGlobals &g)
{
    applyGroup(window, TSchemeColor(g.SelectBackColor), TSchemeColor(g.SelectEndColor),
               TSchemeColor(g.SelectTextColor), g);
}

void applyTipsColors(QWidget *window, const TGlobals &g)
{
    applyGroup(window, TSchemeColor(g.TipsBackColor), TSchemeColor(g.TipsEndColor),
               TSchemeColor(g.TipsTextColor), g);
}

} // namespace ApplyScheme
