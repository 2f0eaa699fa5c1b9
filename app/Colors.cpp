#include "app/Colors.h"

namespace Colors {

void SetDefaultColors(TGlobals &) {}
bool LoadColors(const QString &, TGlobals &)
{
    return false;
}
std::optional<QString> SaveColors(const QString &, const TGlobals &)
{
    return std::nullopt;
}

} // namespace Colors
