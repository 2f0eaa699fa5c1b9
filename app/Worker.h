#pragma once

#include <QFuture>
#include <QPromise>
#include <QThreadPool>
#include <memory>
#include <type_traits>

// Runs work on a thread pool of its own and hands back its future: reading a data file need
// not hold up the user interface thread. The work must not touch widgets or objects in a model.
namespace Worker {

// The pool's threads run at a lower priority than the user interface and the web engine: a
// long file read at start-up takes what the loading pages leave of the processors.
QThreadPool &pool();
void lowerThisThreadsPriority();

template <typename Work> auto run(Work work) -> QFuture<std::invoke_result_t<Work>>
{
    using Result = std::invoke_result_t<Work>;
    auto promise = std::make_shared<QPromise<Result>>();
    QFuture<Result> future = promise->future();
    promise->start();
    pool().start([promise, work = std::move(work)]() mutable {
        lowerThisThreadsPriority();
        promise->addResult(work());
        promise->finish();
    });
    return future;
}

} // namespace Worker
