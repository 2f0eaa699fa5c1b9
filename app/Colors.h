#pragma once

#include "app/Globals.h"

#include <QString>
#include <optional>

// Colors.Ini: the 21 scheme colours, one signed decimal a line.
namespace Colors {

void SetDefaultColors(TGlobals &g);
bool LoadColors(const QString &path, TGlobals &g);
std::optional<QString> SaveColors(const QString &path, const TGlobals &g);

} // namespace Colors
