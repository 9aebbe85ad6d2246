#pragma once
// When and how often a failed FTP step is tried again: the same rule for a single download,
// a tree's files and its listings.
#include "remote/ftperror.h"

#include <chrono>
#include <stop_token>

namespace quorbin {

struct RetryPolicy {
    int retries = 3;  // tries after the first
    std::chrono::milliseconds firstBackOff{500};  // doubling: 0.5, 1, 2 s
};

// Whether a step may go better on another try: the connection broke (no reply) or the server
// refused for the time being (4xx). A 5xx refusal stays what it is, and so does a certificate
// that is not the stored one.
bool mayRetry(const FtpError& error);

// Waits before try `round` + 1 as the policy says, or less when the stop comes first; false
// then, or when no tries are left.
bool waitBeforeRetry(const RetryPolicy& policy, int round, std::stop_token stop);

}  // namespace quorbin
