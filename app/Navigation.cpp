#include "app/Navigation.h"

namespace {
RecordingNavigation fallbackNavigation;
Navigation *currentNavigation = &fallbackNavigation;
} // namespace

void setNavigation(Navigation *provider)
{
    currentNavigation = provider ? provider : &fallbackNavigation;
}

Navigation &navigation()
{
    return *currentNavigation;
}

void OpenPage(const QString &address)
{
    navigation().OpenPage(address);
}

void ShowHelp(const QString &name)
{
    navigation().ShowHelp(name);
}

void ActivateWindowByTitle(const QString &title)
{
    navigation().ActivateWindowByTitle(title);
}
