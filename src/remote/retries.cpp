#include "remote/retries.h"

#include <condition_variable>
#include <mutex>

namespace quorbin {

bool mayRetry(const FtpError& error)
{
    if (error.cancelled() || error.certificateChanged())
        return false;
    return error.replyCode() == 0 || (error.replyCode() >= 400 && error.replyCode() < 500);
}

bool waitBeforeRetry(const RetryPolicy& policy, int round, std::stop_token stop)
{
    if (round >= policy.retries || stop.stop_requested())
        return false;
    std::mutex m;
    std::condition_variable_any woken;
    std::unique_lock held(m);
    woken.wait_for(held, stop, policy.firstBackOff * (1 << round), [] { return false; });
    return !stop.stop_requested();
}

}  // namespace quorbin
