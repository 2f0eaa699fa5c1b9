#pragma once

#include <QFuture>
#include <QPromise>
#include <QThreadPool>
#include <memory>
#include <type_traits>

// Runs work on the shared thread pool and hands back its future: reading a data file need not
// hold up the user interface thread. The work must not touch widgets or objects in a model.
namespace Worker {

template <typename Work> auto run(Work work) -> QFuture<std::invoke_result_t<Work>>
{
    using Result = std::invoke_result_t<Work>;
    auto promise = std::make_shared<QPromise<Result>>();
    QFuture<Result> future = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, work = std::move(work)]() mutable {
        promise->addResult(work());
        promise->finish();
    });
    return future;
}

} // namespace Worker
