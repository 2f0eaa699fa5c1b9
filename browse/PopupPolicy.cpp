#include "browse/PopupPolicy.h"

QSet<QString> &PopupPolicy::hosts()
{
    static QSet<QString> allowedHosts;
    return allowedHosts;
}

bool PopupPolicy::allowed(const QString &host)
{
    return hosts().contains(host.toLower());
}

void PopupPolicy::allow(const QString &host)
{
    hosts().insert(host.toLower());
}

void PopupPolicy::forgetAll()
{
    hosts().clear();
}
