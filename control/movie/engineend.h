// Ending an engine is the one moment that waits for mpv's core, and a core can be stuck for good
// (inside an audio library's start, joining a thread of its own). So engines end on threads of
// their own: the window that dropped one goes on at once, and the process's end waits for those
// still ending only for a bounded time before it leaves them to the exit.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

struct mpv_handle;

namespace flv {

class SoftwareRenderer;

// Frees `renderer`'s render context, then destroys `handle`, then runs `afterwards` (what mpv
// used until its end), on a thread of their own; returns at once. Any may be null or empty.
void EndEngine(mpv_handle* handle, std::unique_ptr<SoftwareRenderer> renderer,
               std::vector<std::function<void()>> afterwards = {});

// How many engines are still ending.
int EnginesEnding();

// Waits at most `bound` for every engine still ending; true when none is left.
bool WaitForEnginesToEnd(std::chrono::milliseconds bound);

// What the process's end grants engines still ending.
inline constexpr std::chrono::milliseconds kEndingAtExitBound{2000};

} // namespace flv
