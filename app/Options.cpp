#include "app/Options.h"

#include "app/TextFile.h"
#include "app/ValueReader.h"

namespace Options {

void SetDefaultOptions(TGlobals &g)
{
    g.BoldText = false;
    g.GridLines = false;
    g.MaximizeWindows = false;
    g.StartTips = false;
    g.HelpLeft = 450;
    g.HelpTop = 100;
    g.HelpHeight = 400;
    g.HelpWidth = 600;
    for (QString &address : g.ToAddresses)
        address.clear();
    g.SearchPage = QString::fromLatin1(Defaults::SearchPage);
}

bool LoadOptions(const QString &path, TGlobals &g, MainWindowRect &rect)
{
    g.LastPage.clear();
    const TextFile::ReadResult file = TextFile::readLines(path, TextFile::SettingsLimit);
    if (!file.exists || file.error)
        return false;
    ValueReader in(file.lines);
    in.readText(g.StartPage);
    in.readText(g.LastPage);
    in.readText(g.SearchPage);
    in.readText(g.MainPicture);
    in.readInt(rect.WindowLeft);
    in.readInt(rect.WindowTop);
    in.readInt(rect.WindowHeight);
    in.readInt(rect.WindowWidth);
    in.readInt(g.HelpLeft);
    in.readInt(g.HelpTop);
    in.readInt(g.HelpHeight);
    in.readInt(g.HelpWidth);
    in.readText(g.FromAddress);
    for (QString &address : g.ToAddresses)
        in.readText(address);
    if (in.failed())
        return false;
    g.BoldText = false;
    g.GridLines = false;
    g.StartTips = false;
    in.readFlag(g.BoldText);
    in.readFlag(g.GridLines);
    in.readFlag(g.MaximizeWindows);
    in.readFlag(g.StartTips);
    rect.Maximized = false;
    const bool complete = in.ok();
    in.readFlag(rect.Maximized);
    return complete;
}

std::optional<QString> SaveOptions(const QString &path, const TGlobals &g,
                                   const MainWindowRect &rect)
{
    auto flag = [](bool on) { return on ? QStringLiteral("TRUE") : QStringLiteral("FALSE"); };
    QStringList lines{g.StartPage, g.LastPage, g.SearchPage, g.MainPicture};
    for (qint32 value : {rect.WindowLeft, rect.WindowTop, rect.WindowHeight, rect.WindowWidth,
                         g.HelpLeft, g.HelpTop, g.HelpHeight, g.HelpWidth})
        lines << QString::number(value);
    lines << g.FromAddress;
    for (const QString &address : g.ToAddresses)
        lines << address;
    lines << flag(g.BoldText) << flag(g.GridLines) << flag(g.MaximizeWindows) << flag(g.StartTips);
    if (rect.Maximized)
        lines << flag(true);
    return TextFile::writeLines(path, lines);
}

} // namespace Options
