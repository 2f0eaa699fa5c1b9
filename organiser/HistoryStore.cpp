#include "organiser/HistoryStore.h"

#include "app/CaseFold.h"
#include "app/LocaleFormat.h"
#include "app/TextFile.h"
#include "app/Worker.h"

#include <limits>
#include <utility>

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

// A file's nodes before they join the tree. They belong to no model, so a worker thread may
// make them; the ones never moved into the tree are freed with it.
struct THistoryStore::Nodes
{
    QList<QStandardItem *> roots;
    QList<QList<QStandardItem *>> pages; // per date node among the roots
    std::optional<QString> error;
    bool rootsAdded = false;
    int firstRow = 0; // the first root's row in the tree
    int nextRoot = 0; // the root whose pages go in next

    Nodes() = default;
    Nodes(const Nodes &) = delete;
    Nodes &operator=(const Nodes &) = delete;
    ~Nodes()
    {
        if (!rootsAdded)
            qDeleteAll(roots);
        for (const QList<QStandardItem *> &day : std::as_const(pages))
            qDeleteAll(day);
    }
};

std::shared_ptr<THistoryStore::Nodes> THistoryStore::nodesOf(const QStringList &lines)
{
    auto nodes = std::make_shared<Nodes>();
    for (const QString &line : lines) {
        if (line.startsWith(DateMarker)) {
            nodes->roots << new THistoryItem(line.mid(DateMarker.size()), THistoryItem::DateNode);
            nodes->pages.emplace_back();
        } else if (!nodes->pages.isEmpty()) {
            nodes->pages.last() << new THistoryItem(line, THistoryItem::PageEntry);
        } else {
            // A page line above the first date has no day to go under; it stays at the top
            // level so that it is shown and written back rather than lost.
            nodes->roots << new THistoryItem(line, THistoryItem::PageEntry);
        }
    }
    return nodes;
}

std::shared_ptr<THistoryStore::Nodes> THistoryStore::readNodes(const QString &path)
{
    TextFile::ReadResult file = TextFile::readLines(path);
    if (file.error) {
        auto nodes = std::make_shared<Nodes>();
        nodes->error = file.error;
        return nodes;
    }
    auto nodes = nodesOf(file.lines);
    // The lines go here, on this thread, not later on the user interface thread.
    file.lines = QStringList();
    return nodes;
}

void THistoryStore::appendNodes(Nodes &nodes, int pages)
{
    // The model hears of one insertion for the top level and one per day, not one per page.
    // The days join the model before their pages: pages added to a day that has no model
    // yet never learn of the model and have no index.
    if (!nodes.rootsAdded) {
        nodes.rootsAdded = true;
        nodes.firstRow = model_.rowCount();
        if (!nodes.roots.isEmpty())
            model_.invisibleRootItem()->appendRows(nodes.roots);
    }
    int day = 0;
    for (int root = 0; root < nodes.nextRoot; ++root)
        day += isDateNode(nodes.roots[root]) ? 1 : 0;
    while (nodes.nextRoot < nodes.roots.size() && pages > 0) {
        QStandardItem *item = nodes.roots[nodes.nextRoot++];
        if (!isDateNode(item))
            continue;
        QList<QStandardItem *> &dayPages = nodes.pages[day++];
        pages -= int(dayPages.size());
        if (!dayPages.isEmpty())
            item->appendRows(std::exchange(dayPages, {}));
    }
}

std::optional<QString> THistoryStore::LoadHistory(const QString &path)
{
    finishLoad();
    const std::shared_ptr<Nodes> nodes = readNodes(path);
    if (nodes->error)
        return nodes->error;
    appendNodes(*nodes, std::numeric_limits<int>::max());
    return std::nullopt;
}

void THistoryStore::appendFileLines(const QStringList &lines)
{
    finishLoad();
    appendNodes(*nodesOf(lines), std::numeric_limits<int>::max());
}

void THistoryStore::beginLoad(const QString &path)
{
    finishLoad();
    loadError_.reset();
    loading_ = true;
    reading_ = Worker::run([path] { return readNodes(path); });
}

bool THistoryStore::fillSome(int pages)
{
    if (!loading_)
        return true;
    if (!reading_.isFinished())
        return false;
    const std::shared_ptr<Nodes> nodes = reading_.result();
    if (nodes->error) {
        loadError_ = nodes->error;
    } else {
        appendNodes(*nodes, pages);
        if (nodes->nextRoot < nodes->roots.size())
            return false;
    }
    loading_ = false;
    reading_ = QFuture<std::shared_ptr<Nodes>>();
    return true;
}

void THistoryStore::finishLoad()
{
    if (!loading_)
        return;
    reading_.waitForFinished();
    fillSome(std::numeric_limits<int>::max());
}

QStringList THistoryStore::fileLines()
{
    finishLoad();
    QStringList lines;
    const QStandardItem *root = model_.invisibleRootItem();
    for (int row = 0; row < root->rowCount(); ++row) {
        const QStandardItem *item = root->child(row);
        lines << (isDateNode(item) ? DateMarker + item->text() : pageLine(item->text()));
        appendLines(item, lines);
    }
    return lines;
}

std::optional<QString> THistoryStore::SaveHistory(const QString &path)
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
    finishLoad();
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
    finishLoad();
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
    finishLoad();
    model_.removeRows(0, model_.rowCount());
    AddTodayNode();
}

bool THistoryStore::Delete(const QModelIndex &index)
{
    finishLoad();
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
