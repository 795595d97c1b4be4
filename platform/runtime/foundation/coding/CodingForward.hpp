#pragma once

// The names a record's header needs to declare its coding, equality and
// hashing members, without pulling the coders in.
namespace foundation {
class Decoder;
class Encoder;
class Hasher;
}  // namespace foundation
