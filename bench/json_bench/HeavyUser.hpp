#pragma once

#include "kestrova/model/User.hpp"

namespace bench {

// A heavy signed-in user as the cache holds one: `journalCount` journals of
// `entriesPerJournal` entries each, the entries with blocks and their files
// and with comments by other users, plus journal groups and metrics.
// Optional fields are set on some records and left out on others; texts mix
// ASCII with other scripts, emoji, decomposed accents and JSON escapes.
// Dates fall on whole milliseconds, so that the server's text form holds them
// exactly. The same arguments always give the same user.
kestrova::User makeHeavyUser(int journalCount, int entriesPerJournal);

}  // namespace bench
