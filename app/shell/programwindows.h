// The program's secondary windows: how each is made, and how those that hand each other data
// are joined.
#pragma once

namespace ovelo {

class WindowCoordinator;

// Gives the coordinator a factory for every window of the program.
void RegisterProgramWindows(WindowCoordinator& windows);

} // namespace ovelo
