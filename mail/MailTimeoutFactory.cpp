#include "mail/MailTimeoutFactory.h"

namespace {

class Handler : public vmime::net::timeoutHandler
{
public:
    explicit Handler(std::shared_ptr<MailTimeoutFactory::Control> control)
        : control_(std::move(control))
    {
        resetTimeOut();
    }

    bool isTimeOut() override
    {
        const auto quiet = std::chrono::steady_clock::now() - start_;
        return control_->cancelled() || quiet > std::chrono::milliseconds(control_->limitMs.load());
    }
    void resetTimeOut() override { start_ = std::chrono::steady_clock::now(); }
    // Never wait on: a silent server is given up, not waited for again.
    bool handleTimeOut() override { return false; }

private:
    std::shared_ptr<MailTimeoutFactory::Control> control_;
    std::chrono::steady_clock::time_point start_;
};

} // namespace

std::shared_ptr<vmime::net::timeoutHandler> MailTimeoutFactory::create()
{
    return std::make_shared<Handler>(control_);
}
