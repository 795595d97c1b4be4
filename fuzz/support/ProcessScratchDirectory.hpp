#pragma once

#include <filesystem>

namespace fuzzsupport {

// The fuzzing process's own directory, in memory (/dev/shm) where the system
// has it and else in the temporary directory, made at the first call and removed, with everything in it, when the process
// exits; each process that libFuzzer forks makes its own.
const std::filesystem::path& scratchDirectory();

}  // namespace fuzzsupport
