// The finder's decoding of any answer body.
#include "finder/pagefetch.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ovelo::bytes2BSTR(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
