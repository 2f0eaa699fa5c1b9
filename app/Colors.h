#pragma once

#include "app/Globals.h"

#include <QString>
#include <array>
#include <optional>

// Colors.Ini: the 21 scheme colours, one signed decimal a line.
namespace Colors {

// The colour fields in the order of the file's lines.
inline constexpr std::array<qint32 TGlobals::*, 21> FileOrder{
    &TGlobals::MainBackColor,    &TGlobals::MainEndColor,     &TGlobals::MainTextColor,
    &TGlobals::ToolbarBackColor, &TGlobals::ToolbarEndColor,  &TGlobals::ToolbarTextColor,
    &TGlobals::ListBackColor,    &TGlobals::ListTextColor,    &TGlobals::EntryBackColor,
    &TGlobals::EntryTextColor,   &TGlobals::DisplayBackColor, &TGlobals::DisplayTextColor,
    &TGlobals::SelectBackColor,  &TGlobals::SelectEndColor,   &TGlobals::SelectTextColor,
    &TGlobals::TipsBackColor,    &TGlobals::TipsEndColor,     &TGlobals::TipsTextColor,
    &TGlobals::ButtonBackColor,  &TGlobals::ButtonEndColor,   &TGlobals::ButtonTextColor};

inline constexpr auto FileName = "Colors.Ini";

// Leaves ToolbarEndColor as it is: it has no default.
void SetDefaultColors(TGlobals &g);
// True when all 21 lines were read; a missing file or a bad number stops quietly, keeping the
// colours read so far and the previous values of the rest.
bool LoadColors(const QString &path, TGlobals &g);
std::optional<QString> SaveColors(const QString &path, const TGlobals &g);

} // namespace Colors
