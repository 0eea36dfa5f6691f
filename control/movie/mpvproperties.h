// Every libmpv property and option name the engine uses, in one place.
#pragma once

namespace flv::mpvprop {
inline constexpr char Pause[] = "pause";
inline constexpr char Volume[] = "volume";
inline constexpr char Duration[] = "duration";
inline constexpr char TimePos[] = "time-pos";
inline constexpr char FileSize[] = "file-size";
inline constexpr char CacheDuration[] = "demuxer-cache-duration";
inline constexpr char CacheState[] = "demuxer-cache-state";
inline constexpr char StreamPos[] = "stream-pos";
inline constexpr char PausedForCache[] = "paused-for-cache";
inline constexpr char CachePauseInitial[] = "cache-pause-initial";
inline constexpr char CachePauseWait[] = "cache-pause-wait";
inline constexpr char Background[] = "background";
inline constexpr char Vid[] = "vid";
inline constexpr char Path[] = "path";
inline constexpr char DisplayWidth[] = "dwidth";
inline constexpr char DisplayHeight[] = "dheight";
inline constexpr char Wid[] = "wid";
inline constexpr char VoConfigured[] = "vo-configured";
inline constexpr char VideoOutput[] = "vo";
} // namespace flv::mpvprop
