// The program's secondary windows by name.
#pragma once

#include <array>

namespace ovelo {

// Each window's objectName, which skins and tests see, stands beside it.
enum class WindowId {
    Address,       // Form2, 打开URL...
    FullScreen,    // Form3
    SkinManager,   // Form4, 皮肤管理器
    About,         // Form5, 关于
    Settings,      // Form6, 全局设置
    AboutFlv,      // Form7, 知识中心: what is Flv
    AboutF4v,      // Form8, 知识中心: what is F4v
    Analysis,      // Form9, 网络视频分析: the page address the finder looks behind
    Finder,        // Form10, the finder's answer
    Updater,       // Form11, 升级
    FullScreenHint // Form12, the banner over full screen
};

// The order in which closing the program unloads them.
inline constexpr std::array<WindowId, 11> kUnloadOrder = {
    WindowId::FullScreenHint, WindowId::Updater,    WindowId::Finder,   WindowId::Analysis,
    WindowId::AboutF4v,       WindowId::AboutFlv,   WindowId::Settings, WindowId::About,
    WindowId::SkinManager,    WindowId::FullScreen, WindowId::Address};

} // namespace ovelo
