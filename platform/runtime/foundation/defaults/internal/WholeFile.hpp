#pragma once

#include <filesystem>
#include <string_view>

namespace foundation {

// Puts a new file under a name that nothing holds yet so that nobody ever
// finds it there partly written: the bytes are written and flushed to the
// disk first, and only then does the file get its name. Whoever opens the
// name finds either nothing or the whole file, even after a crash or a power
// cut in the middle.
class WholeFile {
public:
    enum class Outcome {
        created,
        // A file was there already, or came meanwhile; it is left as it is.
        nameTaken,
    };

    // Makes `file`, mode 0600 whatever the umask, holding `bytes`. The bytes
    // are written to a file without a name, which vanishes with the process
    // if it dies, so nothing is ever left behind; where the file system has
    // no such files it falls back to createThroughHiddenFile. Throws
    // std::system_error with the cause when the file cannot be made.
    static Outcome create(const std::filesystem::path& file, std::string_view bytes);

    // The same through a hidden file of a passing name beside `file`, which
    // is removed again whether or not the file could be made. Only a process
    // killed between the two steps leaves the hidden file behind.
    static Outcome createThroughHiddenFile(const std::filesystem::path& file, std::string_view bytes);
};

}  // namespace foundation
