// The control's report handler with any command and argument, in any order: the first line
// of each input is the command, the rest its argument.
#include "fuzzinput.h"
#include "velmoracontrol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::EnsureApplication();
    // No engine: the reports come from the input alone.
    static flv::VelmoraControl control(nullptr, [](QObject*) { return nullptr; });
    const auto [command, argument] = fuzz::TwoTexts(data, size);
    control.OnFSCommand(command, argument);
    control.TotalTime();
    control.Volume();
    return 0;
}
