#include "organiser/HistoryStore.h"

#include "app/CaseFold.h"
#include "app/LocaleFormat.h"
#include "app/TextFile.h"

namespace {

bool isDateNode(const QStandardItem *item)
{
    const auto *node = dynamic_cast<const THistoryItem *>(item);
    return node && node->kind() == THistoryItem::DateNode;
}

// Compares without building a lowered copy: a visit checks thousands of entries of the day.
bool sameAsLowered(const QString &text, const QString &lowered)
{
    if (text.size() != lowered.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t c = text.at(i).unicode();
        if (c >= u'A' && c <= u'Z')
            c += u'a' - u'A';
        if (c != lowered.at(i).unicode())
            return false;
    }
    return true;
}

// A page text that begins like a day line would be read back as a day. The blank after the
// hashes becomes a no-break space: it reads as the same title and older readers take the line
// as a page too.
QString pageLine(const QString &text)
{
    // Written, a line break in the text becomes a blank: "##" and a break is a marker too.
    QString start = text.left(THistoryStore::DateMarker.size());
    start.replace(u'\r', u' ').replace(u'\n', u' ');
    if (start != THistoryStore::DateMarker)
        return text;
    QString line = text;
    line[THistoryStore::DateMarker.size() - 1] = QChar(0x00A0);
    return line;
}

void appendLines(const QStandardItem *item, QStringList &lines)
{
    for (int row = 0; row < item->rowCount(); ++row) {
        const QStandardItem *child = item->child(row);
        lines << pageLine(child->text());
        appendLines(child, lines);
    }
}

} // namespace

THistoryStore::THistoryStore()
{
    model_.setColumnCount(1);
}

QDateTime THistoryStore::now() const
{
    return now_ ? now_() : QDateTime::currentDateTime();
}

std::optional<QString> THistoryStore::LoadHistory(const QString &path)
{
    const TextFile::ReadResult file = TextFile::readLines(path);
    if (file.error)
        return file.error;
    appendFileLines(file.lines);
    return std::nullopt;
}

void THistoryStore::appendFileLines(const QStringList &lines)
{
    // The model hears of one insertion for the top level and one per day, not one per page.
    // The days join the model before their pages: pages added to a day that has no model
    // yet never learn of the model and have no index.
    QList<QStandardItem *> roots;
    QList<QList<QStandardItem *>> pages;
    for (const QString &line : lines) {
        if (line.startsWith(DateMarker)) {
            roots << new THistoryItem(line.mid(DateMarker.size()), THistoryItem::DateNode);
            pages.emplace_back();
        } else if (!pages.isEmpty()) {
            pages.last() << new THistoryItem(line, THistoryItem::PageEntry);
        } else {
            // A page line above the first date has no day to go under; it stays at the top
            // level so that it is shown and written back rather than lost.
            roots << new THistoryItem(line, THistoryItem::PageEntry);
        }
    }
    if (roots.isEmpty())
        return;
    const int first = model_.rowCount();
    model_.invisibleRootItem()->appendRows(roots);
    int day = 0;
    for (int row = first; row < model_.rowCount(); ++row) {
        QStandardItem *item = model_.item(row);
        if (!isDateNode(item))
            continue;
        if (!pages[day].isEmpty())
            item->appendRows(pages[day]);
        ++day;
    }
}

QStringList THistoryStore::fileLines() const
{
    QStringList lines;
    const QStandardItem *root = model_.invisibleRootItem();
    for (int row = 0; row < root->rowCount(); ++row) {
        const QStandardItem *item = root->child(row);
        lines << (isDateNode(item) ? DateMarker + item->text() : pageLine(item->text()));
        appendLines(item, lines);
    }
    return lines;
}

std::optional<QString> THistoryStore::SaveHistory(const QString &path) const
{
    return TextFile::writeLines(path, fileLines());
}

QString THistoryStore::dateText() const
{
    return CaseFold::upper(LocaleFormat::shortDate(now().date(), locale_));
}

QString THistoryStore::entryText(const QString &title, const QString &address) const
{
    const QDateTime moment = now();
    QString stamp = LocaleFormat::shortDate(moment.date(), locale_);
    const QTime time = moment.time();
    if (time.hour() != 0 || time.minute() != 0 || time.second() != 0)
        stamp += u' ' + LocaleFormat::longTime(time, locale_);
    // Made safe here already, so that the tree shows what the file will hold.
    return pageLine(title + QStringLiteral(" - ") + address + QStringLiteral(" - ") + stamp);
}

int THistoryStore::flatPosition(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != &model_)
        return -1;
    int position = index.parent().isValid() ? flatPosition(index.parent()) + 1 : 0;
    // The store makes two levels only, so a sibling's subtree is the sibling and its children.
    for (int row = 0; row < index.row(); ++row)
        position += 1 + model_.rowCount(model_.index(row, 0, index.parent()));
    return position;
}

int THistoryStore::dateRow(const QString &upperDateText) const
{
    const QStandardItem *root = model_.invisibleRootItem();
    for (int row = 0; row < root->rowCount(); ++row) {
        const QStandardItem *item = root->child(row);
        if (isDateNode(item) && CaseFold::upper(item->text()) == upperDateText)
            return row;
    }
    return -1;
}

int THistoryStore::FindDateNode(const QString &upperDateText) const
{
    const int row = dateRow(upperDateText);
    return row < 0 ? -1 : flatPosition(model_.index(row, 0));
}

void THistoryStore::AddTodayNode()
{
    const QString text = dateText();
    const int row = dateRow(text);
    if (row >= 0) {
        today_ = model_.index(row, 0);
        return;
    }
    QStandardItem *item = new THistoryItem(text, THistoryItem::DateNode);
    model_.appendRow(item);
    today_ = item->index();
}

int THistoryStore::TodayIndex() const
{
    return flatPosition(today_);
}

int THistoryStore::FindHistoryEntry(const QString &lowerText) const
{
    if (!today_.isValid())
        return -1;
    const QStandardItem *root = model_.invisibleRootItem();
    for (int row = today_.row(); row < root->rowCount(); ++row) {
        const QStandardItem *day = root->child(row);
        for (int entry = 0; entry < day->rowCount(); ++entry) {
            if (sameAsLowered(day->child(entry)->text(), lowerText))
                return flatPosition(day->child(entry)->index());
        }
    }
    return -1;
}

bool THistoryStore::RecordVisit(const QString &title, const QString &address)
{
    // Today's node may have been deleted by the user; the visit then makes it again instead
    // of every later visit of the run being dropped.
    if (!today_.isValid())
        AddTodayNode();
    const QString text = entryText(title, address);
    if (FindHistoryEntry(CaseFold::lower(text)) >= 0)
        return false;
    model_.itemFromIndex(today_)->appendRow(new THistoryItem(text, THistoryItem::PageEntry));
    return true;
}

void THistoryStore::Clear()
{
    model_.removeRows(0, model_.rowCount());
    AddTodayNode();
}

bool THistoryStore::Delete(const QModelIndex &index)
{
    if (!index.isValid() || index.model() != &model_)
        return false;
    return model_.removeRow(index.row(), index.parent());
}

QString THistoryStore::OpenAddress(const QString &nodeText)
{
    // An entry is title, address and time stamp joined by " - ". A title may hold the
    // separator itself ("Self-Help - Books"); the time stamp never does and an address holds
    // no blank, so the address is read from the right-hand end.
    static const QString separator = QStringLiteral(" - ");
    const qsizetype stamp = nodeText.lastIndexOf(separator);
    if (stamp <= 0)
        return {};
    const qsizetype title = nodeText.lastIndexOf(separator, stamp - 1);
    if (title < 0)
        return {};
    const qsizetype start = title + separator.size();
    return nodeText.mid(start, qMax<qsizetype>(0, stamp - start));
}
