#pragma once

#include <QColor>
#include <QPalette>
#include <QtGlobal>

// One colour of the scheme as the files keep it: an RGB value with red in the low byte, or,
// when the value is negative (high byte 0xFF), a reference to a desktop colour by its index.
// References are resolved against the palette at hand, so they follow the desktop's colours.
class TSchemeColor
{
public:
    // The desktop colour indexes the files may refer to.
    enum SystemIndex {
        ScrollBar = 0,
        Desktop = 1,
        ActiveCaption = 2,
        InactiveCaption = 3,
        Menu = 4,
        WindowBackground = 5,
        WindowFrame = 6,
        MenuText = 7,
        WindowText = 8,
        CaptionText = 9,
        ActiveBorder = 10,
        InactiveBorder = 11,
        AppWorkspace = 12,
        Highlight = 13,
        HighlightText = 14,
        ButtonFace = 15,
        ButtonShadow = 16,
        GrayText = 17,
        ButtonText = 18,
        InactiveCaptionText = 19,
        ButtonHighlight = 20,
        DarkShadow3D = 21,
        Light3D = 22,
        InfoText = 23,
        InfoBackground = 24,
        HotLight = 26,
        GradientActiveCaption = 27,
        GradientInactiveCaption = 28,
        MenuHighlight = 29,
        MenuBar = 30,
    };

    // Where a desktop colour index lives in a palette.
    struct PaletteSlot
    {
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
    };

    constexpr TSchemeColor() = default;
    constexpr explicit TSchemeColor(qint32 value) : value_(value) {}
    static TSchemeColor fromColor(const QColor &color);
    static TSchemeColor system(SystemIndex index);

    qint32 value() const { return value_; }
    bool isSystem() const { return value_ < 0; }
    int systemIndex() const { return value_ & 0xFF; }

    // An RGB value as it is; a reference looked up in palette (black for an index the desktop
    // does not have, as the old system call answered).
    QColor resolve(const QPalette &palette) const;
    // Resolved against the application's current palette, the desktop's colours.
    QColor resolve() const;

    static bool paletteSlot(int index, PaletteSlot &slot);

    friend constexpr bool operator==(TSchemeColor a, TSchemeColor b)
    {
        return a.value_ == b.value_;
    }

private:
    qint32 value_ = 0;
};
