#pragma once

#include <QSet>
#include <QString>

// Sites the user let open windows by script without a click, for this run only.
class PopupPolicy
{
public:
    static bool allowed(const QString &host);
    static void allow(const QString &host);
    static void forgetAll();

private:
    static QSet<QString> &hosts();
};
