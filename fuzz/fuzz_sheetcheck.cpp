// The skin engine's check of any style sheet.
#include "fuzzinput.h"
#include "skins/sheetcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::EnsureApplication(); // the check asks a widget whether Qt takes the sheet
    ovelo::CheckStyleSheet(fuzz::Text(data, size));
    return 0;
}
