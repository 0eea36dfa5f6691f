// The classes root's store read from any file; what it reads writes back to the same store.
#include "association/classesroot.h"
#include "fuzzinput.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto root = ovelo::ClassesRoot::fromBytes(fuzz::Bytes(data, size));
    if (!root)
        return 0;
    const QByteArray again = root->toBytes();
    const auto reread = ovelo::ClassesRoot::fromBytes(again);
    if (!reread || reread->toBytes() != again)
        std::abort();
    return 0;
}
