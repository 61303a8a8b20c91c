#pragma once

#include <cstdint>

// What the Access reader's child process and its parent agree on. The child
// is this program's own file started afresh under another name, so that it
// carries nothing of the caller's memory and no lock another thread held.
namespace db::access::child {

// argv[0] of the child; its arguments: the file, the table, the seconds,
// the memory and the bytes it may hand over.
extern const char* const kName;
constexpr int kArguments = 6;
// The child writes its result into this descriptor.
constexpr int kOutput = 3;

// What the child says by its exit status; anything else is a failure.
enum Exit : int {
    kRead = 0,
    kNoTable = 3,
    kNotText = 4,
    kNotReadable = 5,
};

constexpr uint32_t kNull = 0xffffffff;
constexpr char kMagic[] = "ACC1";

} // namespace db::access::child
