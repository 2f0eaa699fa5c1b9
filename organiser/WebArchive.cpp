#include "organiser/WebArchive.h"

#include "app/TextFile.h"
#include "organiser/OfflineSearch.h"

#include <QByteArrayList>
#include <sstream>
#include <vmime/vmime.hpp>

namespace WebArchive {
namespace {

// Parts nested deeper than this are not read: a saved page has one or two levels.
constexpr int MaxDepth = 8;
// The parser follows nested parts by recursion, copying what is left at every level: an archive
// with more multipart headers than this (no saved page has more than a few) would take time
// with the square of its size and could exhaust the stack, so it is read as plain HTML instead.
constexpr int MaxMultipartHeaders = 32;

bool startsWithNoCase(QByteArrayView line, const char *prefix)
{
    const QByteArrayView start(prefix);
    return line.size() >= start.size() &&
           line.first(start.size()).compare(start, Qt::CaseInsensitive) == 0;
}

// The Content-Type header lines, folded lines included, that name a multipart.
int multipartHeaders(const QByteArray &bytes)
{
    int count = 0;
    bool inContentType = false;
    for (qsizetype pos = 0; pos < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0)
            end = bytes.size();
        const QByteArrayView line = QByteArrayView(bytes).sliced(pos, end - pos);
        pos = end + 1;
        if (line.isEmpty() || (line[0] != ' ' && line[0] != '\t'))
            inContentType = startsWithNoCase(line, "content-type");
        if (inContentType && line.toByteArray().toLower().contains("multipart")) {
            ++count;
            inContentType = false;
        }
    }
    return count;
}

std::string decoded(const vmime::contentHandler &content)
{
    std::ostringstream out;
    vmime::utility::outputStreamAdapter adapter(out);
    content.extract(adapter);
    return out.str();
}

// Text in the part's character set. No set, or one of those that TextFile reads anyway (it
// takes each line as UTF-8 when it is that, else as Windows-1252), goes through TextFile;
// any other through the mail library's converters, and when it knows no such set, TextFile.
QString inCharset(const std::string &bytes, const vmime::charset &charset)
{
    static const QByteArrayList plain{"",           "utf-8",  "utf8",         "us-ascii",
                                      "iso-8859-1", "latin1", "windows-1252", "cp1252"};
    const QByteArray name = QByteArray::fromStdString(charset.getName()).trimmed().toLower();
    if (!plain.contains(name)) {
        try {
            std::string utf8;
            vmime::charset::convert(bytes, utf8, charset, vmime::charset(vmime::charsets::UTF_8));
            return QString::fromStdString(utf8);
        } catch (const std::exception &) {
        }
    }
    return TextFile::decode(QByteArray::fromStdString(bytes));
}

bool isTextPart(const vmime::mediaType &type, bool *html)
{
    const QByteArray major = QByteArray::fromStdString(type.getType()).toLower();
    const QByteArray minor = QByteArray::fromStdString(type.getSubType()).toLower();
    *html = minor == "html";
    return major == "text" && (minor == "html" || minor == "plain");
}

void collect(const vmime::bodyPart &part, int depth, QString &text, QString *title)
{
    const auto body = part.getBody();
    if (body->getPartCount() > 0) {
        if (depth < MaxDepth) {
            for (const auto &child : body->getPartList())
                collect(*child, depth + 1, text, title);
        }
        return;
    }
    bool html = false;
    if (!isTextPart(body->getContentType(), &html))
        return;
    const QString content = inCharset(decoded(*body->getContents()), body->getCharset());
    QString partTitle;
    text += html ? TOfflineSearch::htmlText(content, &partTitle) : content;
    text += QLatin1Char('\n');
    if (title && title->isEmpty())
        *title = partTitle;
}

QString subject(const vmime::message &message)
{
    const auto header = message.getHeader();
    if (!header->hasField(vmime::fields::SUBJECT))
        return {};
    const auto value = header->findFieldValue<vmime::text>(vmime::fields::SUBJECT);
    return value ? QString::fromStdString(value->getConvertedText(vmime::charsets::UTF_8))
                       .simplified()
                 : QString();
}

} // namespace

QString text(const QByteArray &bytes, QString *title)
{
    if (multipartHeaders(bytes) > MaxMultipartHeaders)
        return TOfflineSearch::htmlText(TextFile::decode(bytes), title);
    QString out;
    try {
        vmime::message message;
        message.parse(bytes.toStdString());
        collect(message, 0, out, title);
        if (title && title->isEmpty())
            *title = subject(message);
    } catch (const std::exception &) {
        // The text read before the fault is kept; the file is still found by its name.
    }
    return out;
}

} // namespace WebArchive
