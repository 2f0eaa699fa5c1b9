#include "controls/SchemeColor.h"

#include <QGuiApplication>

namespace {
using Slot = TSchemeColor::PaletteSlot;
constexpr auto Active = QPalette::Active;

// Follows how desktop colours fill a palette on the platform the files come from, read the
// other way round; indexes without a palette counterpart take the nearest role.
bool lookup(int index, Slot &slot)
{
    switch (index) {
    case TSchemeColor::ScrollBar:
        slot = {Active, QPalette::Button};
        return true;
    case TSchemeColor::Desktop:
        slot = {Active, QPalette::Dark};
        return true;
    case TSchemeColor::ActiveCaption:
        slot = {Active, QPalette::Highlight};
        return true;
    case TSchemeColor::InactiveCaption:
        slot = {QPalette::Inactive, QPalette::Highlight};
        return true;
    case TSchemeColor::Menu:
        slot = {Active, QPalette::Window};
        return true;
    case TSchemeColor::WindowBackground:
        slot = {Active, QPalette::Base};
        return true;
    case TSchemeColor::WindowFrame:
        slot = {Active, QPalette::Shadow};
        return true;
    case TSchemeColor::MenuText:
        slot = {Active, QPalette::WindowText};
        return true;
    case TSchemeColor::WindowText:
        slot = {Active, QPalette::Text};
        return true;
    case TSchemeColor::CaptionText:
        slot = {Active, QPalette::HighlightedText};
        return true;
    case TSchemeColor::ActiveBorder:
        slot = {Active, QPalette::Window};
        return true;
    case TSchemeColor::InactiveBorder:
        slot = {QPalette::Inactive, QPalette::Window};
        return true;
    case TSchemeColor::AppWorkspace:
        slot = {Active, QPalette::Dark};
        return true;
    case TSchemeColor::Highlight:
        slot = {Active, QPalette::Highlight};
        return true;
    case TSchemeColor::HighlightText:
        slot = {Active, QPalette::HighlightedText};
        return true;
    case TSchemeColor::ButtonFace:
        slot = {Active, QPalette::Button};
        return true;
    case TSchemeColor::ButtonShadow:
        slot = {Active, QPalette::Dark};
        return true;
    case TSchemeColor::GrayText:
        slot = {QPalette::Disabled, QPalette::Text};
        return true;
    case TSchemeColor::ButtonText:
        slot = {Active, QPalette::ButtonText};
        return true;
    case TSchemeColor::InactiveCaptionText:
        slot = {QPalette::Inactive, QPalette::HighlightedText};
        return true;
    case TSchemeColor::ButtonHighlight:
        slot = {Active, QPalette::Light};
        return true;
    case TSchemeColor::DarkShadow3D:
        slot = {Active, QPalette::Shadow};
        return true;
    case TSchemeColor::Light3D:
        slot = {Active, QPalette::Midlight};
        return true;
    case TSchemeColor::InfoText:
        slot = {Active, QPalette::ToolTipText};
        return true;
    case TSchemeColor::InfoBackground:
        slot = {Active, QPalette::ToolTipBase};
        return true;
    case TSchemeColor::HotLight:
        slot = {Active, QPalette::Link};
        return true;
    case TSchemeColor::GradientActiveCaption:
        slot = {Active, QPalette::Highlight};
        return true;
    case TSchemeColor::GradientInactiveCaption:
        slot = {QPalette::Inactive, QPalette::Highlight};
        return true;
    case TSchemeColor::MenuHighlight:
        slot = {Active, QPalette::Highlight};
        return true;
    case TSchemeColor::MenuBar:
        slot = {Active, QPalette::Window};
        return true;
    default:
        return false;
    }
}
} // namespace

TSchemeColor TSchemeColor::fromColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return TSchemeColor(rgb.red() | rgb.green() << 8 | rgb.blue() << 16);
}

TSchemeColor TSchemeColor::system(SystemIndex index)
{
    return TSchemeColor(static_cast<qint32>(0xFF000000u | static_cast<quint32>(index)));
}

bool TSchemeColor::paletteSlot(int index, PaletteSlot &slot)
{
    return lookup(index, slot);
}

QColor TSchemeColor::resolve(const QPalette &palette) const
{
    if (!isSystem())
        return QColor(value_ & 0xFF, (value_ >> 8) & 0xFF, (value_ >> 16) & 0xFF);
    Slot slot{};
    if (!lookup(systemIndex(), slot))
        return QColor(Qt::black);
    return palette.color(slot.group, slot.role);
}

QColor TSchemeColor::resolve() const
{
    return resolve(QGuiApplication::palette());
}
