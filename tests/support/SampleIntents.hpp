#pragma once

#include "platform/kits/appintents/IntentCatalogue.hpp"

#include <string>
#include <vector>

namespace testsupport {

// A small catalogue of actions of a notebook application, for the tests of whatever carries
// actions: "Write Page" (a required "Notebook" entity with a search, required text, a Boolean with
// a default and an optional file; it returns the "Page" it made), "Tag Page" (takes that page and a
// number), "Fail Loudly" (always fails with "The notebook is closed.") and "Show Notebook" (opens the
// application, with an optional notebook). Notebooks "3" Music, "7" Workout and "12" Workbench;
// the suggestions are "Today" (Workout) and "Not Today" (Music, Workbench); pages count from 345.
void addSampleIntents(appintents::IntentCatalogue& catalogue);

// What each run of an action got, one line a run, in the order they ran.
std::vector<std::string>& sampleIntentRuns();

}  // namespace testsupport
