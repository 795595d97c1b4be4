#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

// How the database file of a defaults suite is found damaged.
enum class SuiteDamage {
    // Something else in its place: SQLite refuses to open it.
    notADatabase,
    // Every page but the first overwritten, as a stray write or a failing
    // disk leaves it: the suite opens, and every read of a stored value
    // fails with "database disk image is malformed".
    damagedPages,
};

// Damages the file of a suite that no connection holds open (so that its
// write-ahead log has been folded in) and gives the bytes it now holds, for
// the test to check that nothing changes them.
std::string damageSuite(const std::filesystem::path& file, SuiteDamage damage);

}  // namespace testsupport
