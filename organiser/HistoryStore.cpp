#include "organiser/HistoryStore.h"

#include "app/CaseFold.h"
#include "app/LocaleFormat.h"
#include "app/TextFile.h"
#include "app/Worker.h"

#include <limits>
#include <utility>

namespace {

// Compares without building a lowered copy: a visit checks thousands of entries of the day.
// Lowering the ASCII letters of UTF-8 bytes is lowering them in the text.
bool sameAsLowered(QByteArrayView text, QByteArrayView lowered)
{
    if (text.size() != lowered.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c += 'a' - 'A';
        if (c != lowered[i])
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

// One line of the file as TextFile::writeLines writes it: a line break inside becomes a blank.
void appendLine(QByteArray &bytes, QByteArrayView utf8)
{
    const qsizetype start = bytes.size();
    bytes.append(utf8);
    for (qsizetype i = start; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n')
            bytes[i] = ' ';
    }
    bytes.append("\r\n");
}

// pageLine on a page's UTF-8 bytes: the marker's characters are all single bytes.
void appendPageLine(QByteArray &bytes, QByteArrayView page)
{
    const auto blank = [&page](qsizetype i) {
        return page[i] == ' ' || page[i] == '\r' || page[i] == '\n';
    };
    if (page.size() < 3 || !page.startsWith("##") || !blank(2)) {
        appendLine(bytes, page);
        return;
    }
    QByteArray safe = page.toByteArray();
    safe.replace(2, 1, "\xc2\xa0");
    appendLine(bytes, safe);
}

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// Hands each line of a file on with its text in UTF-8. Plain ASCII lines, nearly all of a
// history, go through without being decoded.
template <typename Take> void forEachUtf8Line(const QByteArray &bytes, Take take)
{
    TextFile::forEachLine(bytes, [&take](QByteArrayView line) {
        if (isAscii(line))
            take(line);
        else
            take(QByteArrayView(TextFile::decodeLine(line).toUtf8()));
    });
}

} // namespace

THistoryStore::THistoryStore() = default;

QDateTime THistoryStore::now() const
{
    return now_ ? now_() : QDateTime::currentDateTime();
}

// A file's days before they join the tree: they belong to no model, so a worker thread may
// make them.
struct THistoryStore::Nodes
{
    THistoryModel::Days days;
    std::optional<QString> error;
    size_t next = 0; // the day that goes into the tree next

    void take(QByteArrayView line)
    {
        const QByteArrayView marker("## ");
        if (line.startsWith(marker) || days.empty() || !days.back()->date) {
            auto day = std::make_unique<THistoryModel::Day>();
            // A page line above the first date has no day to go under; it stays at the top
            // level so that it is shown and written back rather than lost.
            day->date = line.startsWith(marker);
            day->text = QString::fromUtf8(day->date ? line.sliced(marker.size()) : line);
            days.push_back(std::move(day));
            return;
        }
        days.back()->appendPage(line);
    }
};

std::shared_ptr<THistoryStore::Nodes> THistoryStore::nodesOf(const QStringList &lines)
{
    auto nodes = std::make_shared<Nodes>();
    for (const QString &line : lines)
        nodes->take(QByteArrayView(line.toUtf8()));
    return nodes;
}

std::shared_ptr<THistoryStore::Nodes> THistoryStore::readNodes(const QString &path)
{
    auto nodes = std::make_shared<Nodes>();
    const TextFile::BytesResult file = TextFile::readBytes(path);
    if (file.error)
        nodes->error = file.error;
    else
        forEachUtf8Line(file.bytes, [&nodes](QByteArrayView line) { nodes->take(line); });
    // Grown by appending, a day's buffers hold up to twice what they need.
    for (const auto &day : nodes->days) {
        day->bytes.squeeze();
        day->ends.squeeze();
    }
    return nodes;
}

void THistoryStore::appendNodes(Nodes &nodes, int pages)
{
    // The model hears of one insertion per batch of days, their pages with them.
    const size_t first = nodes.next;
    while (nodes.next < nodes.days.size() && pages > 0)
        pages -= qMax(1, nodes.days[nodes.next++]->pageCount());
    model_.appendDays(nodes.days, first, nodes.next);
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
        if (nodes->next < nodes->days.size())
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
    for (int row = 0; row < model_.dayCount(); ++row) {
        const THistoryModel::Day &day = model_.day(row);
        lines << (day.date ? DateMarker + day.text : pageLine(day.text));
        for (int page = 0; page < day.pageCount(); ++page)
            lines << pageLine(QString::fromUtf8(day.page(page)));
    }
    return lines;
}

QByteArray THistoryStore::fileBytes()
{
    finishLoad();
    qsizetype size = 0;
    for (int row = 0; row < model_.dayCount(); ++row)
        size += model_.day(row).bytes.size() + 2 * model_.day(row).pageCount() + 64;
    QByteArray bytes;
    bytes.reserve(size);
    for (int row = 0; row < model_.dayCount(); ++row) {
        const THistoryModel::Day &day = model_.day(row);
        appendLine(bytes, (day.date ? DateMarker + day.text : pageLine(day.text)).toUtf8());
        for (int page = 0; page < day.pageCount(); ++page)
            appendPageLine(bytes, day.page(page));
    }
    return bytes;
}

std::optional<QString> THistoryStore::SaveHistory(const QString &path)
{
    // Written straight from the pages' bytes: the file is what fileLines() gives, as
    // TextFile::writeLines would write it, without a string for every page on the way.
    return TextFile::writeBytes(path, fileBytes());
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
    const QModelIndex parent = index.parent();
    const int dayRow = parent.isValid() ? parent.row() : index.row();
    int position = 0;
    for (int row = 0; row < dayRow; ++row)
        position += 1 + model_.day(row).pageCount();
    return parent.isValid() ? position + 1 + index.row() : position;
}

int THistoryStore::dateRow(const QString &upperDateText) const
{
    for (int row = 0; row < model_.dayCount(); ++row) {
        const THistoryModel::Day &day = model_.day(row);
        if (day.date && CaseFold::upper(day.text) == upperDateText)
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
    int row = dateRow(text);
    if (row < 0) {
        model_.appendDay(text);
        row = model_.dayCount() - 1;
    }
    today_ = model_.index(row, 0);
}

int THistoryStore::TodayIndex() const
{
    return flatPosition(today_);
}

int THistoryStore::FindHistoryEntry(const QString &lowerText) const
{
    if (!today_.isValid())
        return -1;
    const QByteArray lowered = lowerText.toUtf8();
    for (int row = today_.row(); row < model_.dayCount(); ++row) {
        const THistoryModel::Day &day = model_.day(row);
        for (int page = 0; page < day.pageCount(); ++page) {
            if (sameAsLowered(day.page(page), lowered))
                return flatPosition(model_.index(page, 0, model_.index(row, 0)));
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
    model_.appendPage(today_.row(), text);
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
