// How long the saved-pages index takes to build, to refresh with nothing changed, and to answer.
// Usage: bench_offline_search [pages] [kilobytes per page]

#include "organiser/OfflineSearch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QByteArray makePage(int number, int kilobytes, QRandomGenerator &random)
{
    static const char *const vocabulary[] = {
        "harbour", "lantern",  "festival", "chowder", "weather", "market", "bridge", "river",
        "council", "election", "football", "recipe",  "garden",  "travel", "museum", "concert",
        "railway", "library",  "science",  "history", "winter",  "summer", "island", "mountain"};
    QByteArray body = "<html><head><title>Page " + QByteArray::number(number) +
                      "</title><style>p{margin:0}</style></head><body>";
    while (body.size() < kilobytes * 1024) {
        body += "<p class=\"c\">";
        for (int w = 0; w < 12; ++w) {
            body += vocabulary[random.bounded(int(std::size(vocabulary)))];
            body += QByteArray::number(random.bounded(5000));
            body += ' ';
        }
        body += "</p>\n";
    }
    return body + "</body></html>";
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int pages = argc > 1 ? atoi(argv[1]) : 400;
    const int kilobytes = argc > 2 ? atoi(argv[2]) : 60;
    QTemporaryDir dir;
    QRandomGenerator random(42);
    for (int i = 0; i < pages; ++i) {
        QFile file(dir.filePath(QStringLiteral("page%1.htm").arg(i)));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(makePage(i, kilobytes, random));
    }

    QElapsedTimer timer;
    timer.start();
    qsizetype words = 0;
    for (int i = 0; i < pages; ++i) {
        QFile file(dir.filePath(QStringLiteral("page%1.htm").arg(i)));
        if (file.open(QIODevice::ReadOnly))
            words +=
                TOfflineSearch::words(TOfflineSearch::pageText(file.fileName(), file.readAll()))
                    .size();
    }
    std::printf("read and split %d pages (%lld words): %lld ms\n", pages, qlonglong(words),
                timer.elapsed());
    TOfflineSearch search(dir.path());
    timer.restart();
    search.refresh();
    std::printf("build   %d pages of %d KB: %lld ms\n", pages, kilobytes, timer.elapsed());
    timer.restart();
    search.refresh();
    std::printf("refresh, nothing changed:  %lld ms\n", timer.elapsed());
    for (const char *query : {"lantern4", "h", "harbour12 river", "nothingmatches"}) {
        timer.restart();
        qsizetype hits = 0;
        for (int i = 0; i < 10; ++i)
            hits = search.find(QString::fromLatin1(query)).size();
        std::printf("find \"%s\": %lld hits, %.2f ms\n", query, qlonglong(hits),
                    timer.nsecsElapsed() / 10 / 1e6);
    }
    return 0;
}
