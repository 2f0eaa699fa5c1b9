#include "app/Colors.h"

#include "app/TextFile.h"
#include "app/ValueReader.h"

#include <QFileInfo>

namespace Colors {

namespace {
constexpr qint32 SystemWindow = -16777211;     // desktop colour 5, window background
constexpr qint32 SystemWindowText = -16777208; // desktop colour 8, window text
constexpr qint32 System3DLight = -16777194;    // desktop colour 22
constexpr qint32 Grey = 0x808080;
constexpr qint32 Silver = 0xC0C0C0;
constexpr qint32 Black = 0;
constexpr qint32 White = 0xFFFFFF;
constexpr qint32 Olive = 0x008080; // red and green 128, blue 0, red in the low byte
constexpr qint32 Navy = 0x800000;  // blue 128

// Files made on a system that ignores letter case may spell the name differently.
QString existingSpelling(const QString &path)
{
    const QFileInfo info(path);
    return TextFile::resolveNoCase(info.path(), info.fileName());
}
} // namespace

void SetDefaultColors(TGlobals &g)
{
    g.MainBackColor = SystemWindow;
    g.MainEndColor = Grey;
    g.MainTextColor = SystemWindowText;
    g.ToolbarBackColor = System3DLight;
    g.ToolbarTextColor = SystemWindowText;
    g.ListBackColor = Silver;
    g.ListTextColor = Black;
    g.EntryBackColor = White;
    g.EntryTextColor = Black;
    g.DisplayBackColor = White;
    g.DisplayTextColor = Black;
    g.SelectBackColor = SystemWindow;
    g.SelectEndColor = Grey;
    g.SelectTextColor = SystemWindowText;
    g.TipsBackColor = Olive;
    g.TipsEndColor = Grey;
    g.TipsTextColor = Navy;
    g.ButtonBackColor = SystemWindow;
    g.ButtonEndColor = Grey;
    g.ButtonTextColor = Black;
}

bool LoadColors(const QString &path, TGlobals &g)
{
    const TextFile::ReadResult file =
        TextFile::readLines(existingSpelling(path), TextFile::SettingsLimit);
    if (!file.exists || file.error)
        return false;
    ValueReader in(file.lines);
    for (qint32 TGlobals::*field : FileOrder) {
        if (!in.readInt(g.*field))
            return false;
    }
    return true;
}

std::optional<QString> SaveColors(const QString &path, const TGlobals &g)
{
    QStringList lines;
    for (qint32 TGlobals::*field : FileOrder)
        lines << QString::number(g.*field);
    return TextFile::writeLines(existingSpelling(path), lines);
}

} // namespace Colors
