#include "buttons/ButtonStore.h"

#include "app/TextFile.h"

#include <algorithm>

namespace {
const QString Separator = QStringLiteral("##");

// Blanks and control characters alone do not make an address.
bool holdsText(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar ch) { return ch.unicode() > 0x20; });
}

QString withoutLineBreaks(QString text)
{
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text;
}
} // namespace

std::optional<TButtonStore::Line> TButtonStore::parseLine(const QString &line)
{
    const qsizetype at = line.indexOf(Separator);
    if (at < 0)
        return std::nullopt;
    bool ok = false;
    const int number = line.left(at).trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return Line{number, line.mid(at + Separator.size())};
}

QStringList TButtonStore::fileLines(const QStringList &addresses)
{
    QStringList lines;
    const qsizetype count = std::min<qsizetype>(addresses.size(), ButtonCount);
    for (qsizetype index = 0; index < count; ++index) {
        if (holdsText(addresses.at(index)))
            lines << QString::number(index + 1) + Separator +
                         withoutLineBreaks(addresses.at(index));
    }
    return lines;
}

std::optional<QString> TButtonStore::SaveButtonFields(const QString &appDir,
                                                      const QStringList &addresses)
{
    return TextFile::writeLines(TextFile::resolveNoCase(appDir, FileName), fileLines(addresses));
}

TButtonStore::TButtonStore()
{
    for (int number = 1; number <= ButtonCount; ++number) {
        auto *row = new QStandardItem(QString::number(number));
        row->setEditable(false);
        row->setEnabled(false);
        row->setData(QString(), AddressRole);
        model_.appendRow(row);
    }
}

QStandardItem *TButtonStore::item(int number) const
{
    if (number < 1 || number > ButtonCount)
        return nullptr;
    return model_.item(number - 1);
}

QString TButtonStore::ButtonAddress(int number) const
{
    const QStandardItem *row = item(number);
    return row ? row->data(AddressRole).toString() : QString();
}

bool TButtonStore::isAssigned(int number) const
{
    const QStandardItem *row = item(number);
    return row && row->isEnabled();
}

QString TButtonStore::hint(int number) const
{
    const QStandardItem *row = item(number);
    return row ? row->toolTip() : QString();
}

void TButtonStore::LoadButtonBar(const QString &appDir)
{
    for (int number = 1; number <= ButtonCount; ++number)
        item(number)->setData(QString(), AddressRole);
    ResetButtonBar();
    const TextFile::ReadResult file =
        TextFile::readLines(TextFile::resolveNoCase(appDir, FileName), TextFile::SettingsLimit);
    for (const QString &line : file.lines) {
        // A line the assign dialog would never write is skipped, not allowed to end the load.
        if (const auto parsed = parseLine(line))
            AssignButton(parsed->number, parsed->address);
    }
}

void TButtonStore::ResetButtonBar()
{
    for (int number = 1; number <= ButtonCount; ++number)
        item(number)->setEnabled(false);
}

void TButtonStore::AssignButton(int number, const QString &address)
{
    QStandardItem *row = item(number);
    if (!row)
        return;
    row->setData(address, AddressRole);
    row->setToolTip(address);
    row->setEnabled(true);
}
