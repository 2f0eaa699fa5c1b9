#pragma once

#include <QtGlobal>
#include <atomic>
#include <chrono>
#include <memory>
#include <vmime/net/timeoutHandler.hpp>

// Time-outs for every network wait of vmime (its own default factory is not exported by the
// library as packaged). A wait ends when the server has sent nothing for the limit, or at once
// when the user cancels: vmime then throws operation_timed_out and the step fails.
class MailTimeoutFactory : public vmime::net::timeoutHandlerFactory
{
public:
    // Raised by Cancel; each network step compares it with the value it started under.
    struct Control
    {
        std::atomic<quint64> cancelEpoch{0};
        std::atomic<quint64> stepEpoch{0};
        std::atomic<qint64> limitMs{30000};
        bool cancelled() const { return stepEpoch.load() < cancelEpoch.load(); }
    };

    explicit MailTimeoutFactory(std::shared_ptr<Control> control) : control_(std::move(control)) {}

    std::shared_ptr<vmime::net::timeoutHandler> create() override;

private:
    std::shared_ptr<Control> control_;
};
