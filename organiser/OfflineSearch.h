#pragma once

#include "organiser/OfflineFolder.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

// A word index over the text of the pages saved for offline reading, so that a search answers
// at once however many pages there are; refreshing re-reads only files that changed.
class TOfflineSearch
{
public:
    struct Hit
    {
        QString name;  // file name in the folder
        QString path;  // what OpenPage is given
        QString title; // the page's title, when it has one
    };

    explicit TOfflineSearch(const QString &dir = QString(),
                            const QString &patterns = OfflineFolder::Patterns);

    void setFolder(const QString &dir);
    QString folder() const { return dir_; }
    // Brings the index in line with the folder; files whose size and time are unchanged are
    // not read again. With a budget, stops reading files once that many milliseconds have
    // passed and leaves the rest to the next call (see isComplete). Returns whether anything
    // changed.
    bool refresh(int budgetMs = -1);
    // Whether the last refresh read every new or changed file.
    bool isComplete() const { return complete_; }
    // Pages holding every typed word, each word matching the start of a word in the page,
    // without regard to case or accents in any script; in the folder's order. No words, no
    // pages.
    QList<Hit> find(const QString &query) const;
    qsizetype pageCount() const { return pages_.size(); }

    // The readable text of a saved file, chosen by its extension; title set when known.
    static QString pageText(const QString &fileName, const QByteArray &bytes,
                            QString *title = nullptr);
    // Text of an HTML document: tags, comments, scripts and styles dropped, entities decoded.
    static QString htmlText(const QString &html, QString *title = nullptr);
    // Text of the HTML and plain text parts of a MIME web archive, decoded from
    // quoted-printable or base64 and from their character set.
    static QString mhtmlText(const QByteArray &bytes, QString *title = nullptr);
    // The searchable words of a text: runs of letters and digits, folded by SearchFold.
    static QStringList words(const QString &text);

private:
    struct Page
    {
        QString name;
        QString path;
        QString title;
        qint64 size = -1;
        QDateTime modified;
        std::vector<int> words; // ids into words_, sorted, each once
    };

    Page readPage(const QString &name);
    int wordId(const QString &word);
    void rebuildPostings() const;

    QString dir_;
    QString patterns_;
    QList<Page> pages_;
    // Every word met so far, by id; words of pages since removed stay but match nothing.
    QStringList words_;
    QHash<QString, int> wordIds_;
    // Word ids in the words' order, so that a typed beginning finds its words by bisection.
    // Built when a search needs them, not on every refresh slice.
    mutable std::vector<int> sortedIds_;
    mutable qsizetype sortedCount_ = 0;
    // For each word id, the pages (indexes into pages_) holding it.
    mutable std::vector<std::vector<int>> postings_;
    mutable bool postingsStale_ = false;
    bool complete_ = false;
};
