// Reads arbitrary bytes as what a bus peer sends the application's actions or what the application
// answers a runner: parameter values, a result, entities, the list of actions. Besides never
// crashing: a text is either refused with a wire error, or read into a value that is written back
// and read again to the very same text.

#include "fuzz/support/FuzzFailure.hpp"
#include "platform/kits/appintents/IntentWire.hpp"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string_view input;

void check(bool holds, std::string_view what) {
    if (!holds) {
        fuzzsupport::fail("intent_wire_fuzz", what, input);
    }
}

template <typename T>
void readsBackWhatItWrites(std::string_view type) {
    T value;
    try {
        value = appintents::fromWire<T>(input);
    } catch (const appintents::IntentWireError&) {
        return;
    } catch (...) {
        check(false, std::string(type) + ": a text was refused with something other than a wire error");
    }
    const std::string written = appintents::toWire(value);
    try {
        check(appintents::toWire(appintents::fromWire<T>(written)) == written,
              std::string(type) + ": what was written reads back as something else");
    } catch (const appintents::IntentWireError&) {
        check(false, std::string(type) + ": what was written is refused");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    input = std::string_view(reinterpret_cast<const char*>(bytes), size);
    readsBackWhatItWrites<appintents::IntentValues>("values");
    readsBackWhatItWrites<appintents::IntentResult>("result");
    readsBackWhatItWrites<appintents::EntityCollection>("entity collection");
    readsBackWhatItWrites<std::vector<appintents::EntityValue>>("entities");
    readsBackWhatItWrites<std::vector<appintents::IntentDescription>>("actions");
    return 0;
}
