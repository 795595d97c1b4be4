#pragma once

namespace intents {

class Extension;

// The extension side of the host's protocol, the whole of an extension
// process's main(): reads request messages from standard input, asks the
// extension for one handler per intent (kept until the intent is handled),
// sends each operation to it and writes each answer to standard output, on
// whatever thread the handler answers. Runs the main loop meanwhile, so
// handlers may answer on the main queue. Returns, with the exit status, once
// the input has ended and every operation has been answered.
class ExtensionRuntime {
public:
    ExtensionRuntime() = delete;

    static int run(Extension& extension);
};

}  // namespace intents
