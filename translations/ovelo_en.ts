<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>flv::VelmoraControl</name>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>设计时不可用</source>
        <translation>Not available at design time</translation>
    </message>
</context>
<context>
    <name>ovelo::AboutWindow</name>
    <message>
        <source>%1由%2独立开发，专为播放Flash Video视频而作。</source>
        <translation>%1 is developed independently by %2, made for playing Flash Video.</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>ovelo::AddressWindow</name>
    <message>
        <source>打开URL...</source>
        <translation>Open URL</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
</context>
<context>
    <name>ovelo::AnalysisDialog</name>
    <message>
        <source>网络视频分析</source>
        <translation>Find web video</translation>
    </message>
    <message>
        <source>视频地址</source>
        <translation>Web page address</translation>
    </message>
    <message>
        <source>开始分析</source>
        <translation>Find video</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ovelo::FinderWindow</name>
    <message>
        <source>分析中...</source>
        <translation>Finding the video…</translation>
    </message>
    <message>
        <source>视频真实路径</source>
        <translation>Video address</translation>
    </message>
    <message>
        <source>无法分析!</source>
        <translation>No video found.</translation>
    </message>
    <message>
        <source>播放</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>分析完成!</source>
        <translation>Video found</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>Copied</translation>
    </message>
    <message>
        <source>复制完成!</source>
        <translation>The address is on the clipboard.</translation>
    </message>
</context>
<context>
    <name>ovelo::HintWindow</name>
    <message>
        <source>单击ESC按钮退出全屏模式</source>
        <translation>Press Esc to leave full screen</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>ovelo::KnowledgeWindow</name>
    <message>
        <source>FLV 是FLASH VIDEO的简称，FLV流媒体格式是随着Flash MX的推出发展而来的视频格式。由于它形成的文件极小、加载速度极快，使得网络观看视频文件成为可能，它的出现有效地解决了视频文件导入Flash后，使导出的SWF文件体积庞大，不能在网络上很好的使用等缺点。
</source>
        <translation>FLV, short for Flash Video, is the streaming format that came with Flash MX. Its files are very small and load very fast, which made watching video on the web possible; it also ended the large SWF files that video imported into Flash used to make.
</translation>
    </message>
    <message>
        <source>F4V是Adobe公司为了迎接高清时代而推出继FLV格式后的支持H.264的F4V流媒体格式。它和FLV主要的区别在于，FLV格式采用的是H263编码，而F4V则支持H.264编码的高清晰视频，码率最高可达50Mbps。 </source>
        <translation>F4V is the streaming format Adobe brought out after FLV for high-definition video. Where FLV uses H.263, F4V carries H.264 video in high definition, at up to 50 Mbps. </translation>
    </message>
    <message>
        <source>什么是Flv?</source>
        <translation>What is FLV?</translation>
    </message>
    <message>
        <source>什么是F4v?</source>
        <translation>What is F4V?</translation>
    </message>
    <message>
        <source>知识中心</source>
        <translation>Knowledge center</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>ovelo::MainWindow</name>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>操作</source>
        <translation>Playback</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>托盘菜单项</source>
        <translation>Tray menu</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open…</translation>
    </message>
    <message>
        <source>打开URL</source>
        <translation>Open URL…</translation>
    </message>
    <message>
        <source>分析视频地址</source>
        <translation>Find web video…</translation>
    </message>
    <message>
        <source>读取保存进度</source>
        <translation>Resume saved position</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>播放</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>全屏</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <source>皮肤管理器</source>
        <translation>Skin manager</translation>
    </message>
    <message>
        <source>全局设置</source>
        <translation>Preferences</translation>
    </message>
    <message>
        <source>Flv是什么?</source>
        <translation>What is FLV?</translation>
    </message>
    <message>
        <source>F4v是什么?</source>
        <translation>What is F4V?</translation>
    </message>
    <message>
        <source>检测升级</source>
        <translation>Check for updates</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>主界面</source>
        <translation>Show player</translation>
    </message>
    <message>
        <source>打开文件</source>
        <translation>Open file…</translation>
    </message>
    <message>
        <source>打开Url</source>
        <translation>Open URL…</translation>
    </message>
    <message>
        <source>提交Bug</source>
        <translation>Report a bug</translation>
    </message>
    <message>
        <source>拖动滑块快进或快退</source>
        <translation>Drag to go forward or back</translation>
    </message>
    <message>
        <source>音量:</source>
        <translation>Vol:</translation>
    </message>
    <message>
        <source>打开本地文件</source>
        <translation>Open a file</translation>
    </message>
    <message>
        <source>皮肤</source>
        <translation>Skins</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
</context>
<context>
    <name>ovelo::OpenDialog</name>
    <message>
        <source>打开Flv文件</source>
        <translation>Open FLV file</translation>
    </message>
    <message>
        <source>所有Flash Video视频文件(*.flv;*.f4v)</source>
        <translation>All Flash Video files (*.flv;*.f4v)</translation>
    </message>
    <message>
        <source>普通Flash Video文件(*.flv)</source>
        <translation>Flash Video files (*.flv)</translation>
    </message>
    <message>
        <source>高清Flash Video文件(*.f4v)</source>
        <translation>HD Flash Video files (*.f4v)</translation>
    </message>
    <message>
        <source>所有文件(*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
</context>
<context>
    <name>ovelo::Pictures</name>
    <message>
        <source>知识中心</source>
        <translation>Knowledge center</translation>
    </message>
    <message>
        <source>在线升级</source>
        <translation>Online update</translation>
    </message>
</context>
<context>
    <name>ovelo::PlaybackController</name>
    <message>
        <source>您未启动自动保存!</source>
        <translation>Saving the position is turned off: there is none to resume.</translation>
    </message>
</context>
<context>
    <name>ovelo::SettingsDialog</name>
    <message>
        <source>空格键</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>P键</source>
        <translation>P key</translation>
    </message>
    <message>
        <source>S键</source>
        <translation>S key</translation>
    </message>
    <message>
        <source>T键</source>
        <translation>T key</translation>
    </message>
    <message>
        <source>L键</source>
        <translation>L key</translation>
    </message>
    <message>
        <source>B键</source>
        <translation>B key</translation>
    </message>
    <message>
        <source>全局设置</source>
        <comment>the window&apos;s title</comment>
        <translation>Preferences</translation>
    </message>
    <message>
        <source>全局设置</source>
        <translation>General</translation>
    </message>
    <message>
        <source>声音设置</source>
        <translation>Sound</translation>
    </message>
    <message>
        <source>快捷键设置</source>
        <translation>Keys</translation>
    </message>
    <message>
        <source>自动保存播放进度</source>
        <translation>Save position</translation>
    </message>
    <message>
        <source>自动保存窗体大小</source>
        <translation>Save window size</translation>
    </message>
    <message>
        <source>启动时关联Flv</source>
        <translation>Open FLV files</translation>
    </message>
    <message>
        <source>启动音量保存</source>
        <translation>Save volume</translation>
    </message>
    <message>
        <source>启用快捷键</source>
        <translation>Shortcuts</translation>
    </message>
    <message>
        <source>启用老板键</source>
        <translation>Boss key</translation>
    </message>
    <message>
        <source>播放/暂停</source>
        <translation>Play/Pause</translation>
    </message>
    <message>
        <source>老板键</source>
        <translation>Boss key</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Preferences</translation>
    </message>
    <message>
        <source>设置完成!重启播放器生效!</source>
        <translation>Saved. The settings take effect when the player starts again.</translation>
    </message>
</context>
<context>
    <name>ovelo::SkinManager</name>
    <message>
        <source>皮肤管理器</source>
        <translation>Skin manager</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add…</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>皮肤文件</source>
        <translation>Skin files</translation>
    </message>
    <message>
        <source>添加成功!请重启此窗口!</source>
        <translation>Skin added. Open this window again to see it.</translation>
    </message>
</context>
<context>
    <name>ovelo::StatusPresenter</name>
    <message>
        <source>时间:%1</source>
        <translation>Time: %1</translation>
    </message>
    <message>
        <source>日期:%1</source>
        <translation>Date: %1</translation>
    </message>
    <message>
        <source>音量:%1%</source>
        <translation>Volume: %1%</translation>
    </message>
    <message>
        <source>正在缓冲</source>
        <translation>Buffering</translation>
    </message>
    <message>
        <source>正在缓冲:%1</source>
        <translation>Buffering: %1</translation>
    </message>
    <message>
        <source>播放</source>
        <translation>Playing</translation>
    </message>
    <message>
        <source>正在播放:%1</source>
        <translation>Playing: %1</translation>
    </message>
    <message>
        <source>暂停播放</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>停止播放</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>播放文件无效或不存在</source>
        <translation>The file is invalid or missing</translation>
    </message>
</context>
<context>
    <name>ovelo::UpdaterWindow</name>
    <message>
        <source>升级</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>总体进度:</source>
        <translation>Progress:</translation>
    </message>
    <message>
        <source>下载文件:</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>检测</source>
        <translation>Check</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>&gt;&gt;正在获取当前版本信息...(OK)</source>
        <translation>&gt;&gt;Reading the installed version... (OK)</translation>
    </message>
    <message>
        <source>&gt;&gt;当前版本: V%1</source>
        <translation>&gt;&gt;Installed version: V%1</translation>
    </message>
    <message>
        <source>&gt;&gt;正在获取最新版本信息...(OK)</source>
        <translation>&gt;&gt;Reading the latest version... (OK)</translation>
    </message>
    <message>
        <source>&gt;&gt;抱歉,无法连接服务器!</source>
        <translation>&gt;&gt;Sorry, the server cannot be reached.</translation>
    </message>
    <message>
        <source>&gt;&gt;最新版本: V%1</source>
        <translation>&gt;&gt;Latest version: V%1</translation>
    </message>
    <message>
        <source>&gt;&gt;正在分析信息...(OK)</source>
        <translation>&gt;&gt;Comparing the versions... (OK)</translation>
    </message>
    <message>
        <source>&gt;&gt;未发现升级信息!您使用的是最新版本软件!</source>
        <translation>&gt;&gt;No update found: you have the latest version.</translation>
    </message>
    <message>
        <source>&gt;&gt;开始下载升级程序...</source>
        <translation>&gt;&gt;Downloading the update...</translation>
    </message>
    <message>
        <source>总体进度: %1kb/%2kb</source>
        <translation>Progress: %1 KB/%2 KB</translation>
    </message>
    <message>
        <source>下载文件: %1</source>
        <translation>File: %1</translation>
    </message>
    <message>
        <source>&gt;&gt;下载完成!</source>
        <translation>&gt;&gt;Download complete.</translation>
    </message>
    <message>
        <source>&gt;&gt;准备安装中...</source>
        <translation>&gt;&gt;Preparing to install...</translation>
    </message>
    <message>
        <source>启动错误!</source>
        <translation>The installer could not be started.</translation>
    </message>
    <message>
        <source>检测被终止!</source>
        <translation>Check stopped.</translation>
    </message>
    <message>
        <source>下载被终止!</source>
        <translation>Download stopped.</translation>
    </message>
</context>
</TS>
