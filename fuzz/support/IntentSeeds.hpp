#pragma once

#include "platform/kits/intents/ObjectCollection.hpp"
#include "platform/kits/intents/UserActivity.hpp"
#include "kestrova/intents/CreateEntryIntent.hpp"

#include <cstddef>
#include <memory>

namespace fuzzsupport {

// The objects that cross processes in keyed archives, at a realistic size, for
// the generated seeds of the archive and the extension's stream. The same
// arguments give the same objects, but for the identifier of each intent,
// which is fresh.

// The options of a journal parameter for a heavy user's `journalCount`
// journals: "Today" with the daily ones, "Not Today" with the others.
std::shared_ptr<intents::ObjectCollection> journalOptions(int journalCount);

// An entry of notes and one attached photo of `fileSize` bytes, as the
// Shortcuts action hands it over.
std::shared_ptr<kestrova::CreateEntryIntent> createEntryIntent(std::size_t fileSize);

// A request to open a journal's publish page, handed over as a user activity.
std::shared_ptr<intents::UserActivity> openPublishViewActivity();

}  // namespace fuzzsupport
