#include "platform/runtime/concurrency/ContinuationFault.hpp"

#include "platform/runtime/base/Verify.hpp"

#include <iostream>
#include <mutex>
#include <utility>

namespace concurrency {

namespace {

std::mutex reporterMutex;
ContinuationFault::Reporter installedReporter;

// A second resume is a broken invariant: the awaiter may already have gone on with the first outcome.
// A leak is reported only: the awaiter has already been failed with an error of its own.
void reportByDefault(const ContinuationFault& fault) {
    VERIFY(fault.kind != ContinuationFault::Kind::resumedTwice, fault.message());
    std::cerr << fault.message() << std::endl;
}

}  // namespace

std::string ContinuationFault::message() const {
    switch (kind) {
    case Kind::resumedTwice:
        return "continuation " + name + " resumed more than once";
    case Kind::leaked:
        return "continuation " + name + " leaked without being resumed";
    }
    return "continuation " + name + " misused";
}

ContinuationFault::Reporter ContinuationFault::setReporter(Reporter reporter) {
    const std::lock_guard lock(reporterMutex);
    return std::exchange(installedReporter, std::move(reporter));
}

void ContinuationFault::report(const ContinuationFault& fault) {
    Reporter reporter;
    {
        const std::lock_guard lock(reporterMutex);
        reporter = installedReporter;
    }
    if (reporter) {
        reporter(fault);
    } else {
        reportByDefault(fault);
    }
}

}  // namespace concurrency
