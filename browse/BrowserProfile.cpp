#include "browse/BrowserProfile.h"

#include <QCoreApplication>
#include <QWebEngineProfile>

QWebEngineProfile *browserProfile()
{
    static QWebEngineProfile *profile = [] {
        auto *p = new QWebEngineProfile(QStringLiteral("Quillmere"), QCoreApplication::instance());
        p->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
        return p;
    }();
    return profile;
}
