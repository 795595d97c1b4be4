#include "platform/concurrency/ContinuationFault.hpp"

#include <cstdlib>
#include <iostream>
#include <mutex>
#include <utility>

namespace concurrency {

namespace {

std::mutex reporterMutex;
ContinuationFault::Reporter installedReporter;

void reportByDefault(const ContinuationFault& fault) {
    std::cerr << fault.message() << std::endl;
    if (fault.kind == ContinuationFault::Kind::resumedTwice) {
        std::abort();
    }
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
