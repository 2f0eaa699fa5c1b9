#include "buttons/ButtonStore.h"

#include "app/TextFile.h"

namespace {
const QString Separator = QStringLiteral("##");
}

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
