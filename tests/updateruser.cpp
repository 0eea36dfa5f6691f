// Preloaded into the real program by a test, it stands in for the user who chooses
// 帮助 > 检测升级 once the main window is up. The program itself runs unchanged.
#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace {

void ChooseCheckForUpdates() {
    // The installer the program starts is a shell script: it needs none of this.
    qunsetenv("LD_PRELOAD");
    auto* poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* item = top->findChild<QAction*>(QStringLiteral("jcsj"))) {
                poll->stop();
                item->trigger();
                return;
            }
        }
    });
    poll->start(100);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(ChooseCheckForUpdates)
