#include "app/Startup.h"

#include "app/CaseFold.h"

namespace Startup {

QStringList rememberedPages(const TGlobals &g)
{
    QStringList pages;
    if (!g.LastPage.isEmpty())
        pages << g.LastPage;
    if (!g.SearchPage.isEmpty())
        pages << g.SearchPage;
    if (!g.StartPage.isEmpty() && CaseFold::lower(g.StartPage) != CaseFold::lower(g.LastPage))
        pages << g.StartPage;
    return pages;
}

QString currentListFromFirstNode(const QString &nodeText)
{
    const qsizetype position = nodeText.indexOf(u'-') + 1;
    if (position > 2)
        return nodeText.left(position - 2);
    return {};
}

} // namespace Startup
