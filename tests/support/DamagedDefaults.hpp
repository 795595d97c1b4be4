#pragma once

#include <filesystem>

namespace testsupport {

// Overwrites every page of a closed defaults suite but the first with noise: the suite still
// opens (its header and schema are on the first page), but every read and write of a value
// fails with "database disk image is malformed", as after a disk error.
void damageDefaultsFile(const std::filesystem::path& file);

}  // namespace testsupport
