#pragma once

#include "kestrova/model/Journal.hpp"
#include "kestrova/model/Metric.hpp"

#include <vector>

namespace kestrova {

// What the actions and their entity queries know of the signed-in user: the copy cached in the shared
// defaults, read anew on every call and never fetched. Nothing cached, a copy that no longer decodes
// and a user without the list all read as an empty list, silently.
std::vector<Journal> cachedJournals();
std::vector<Metric> cachedMetrics();

}  // namespace kestrova
