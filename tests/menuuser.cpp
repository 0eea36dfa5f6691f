// Preloaded into the real program by a test, it stands in for the user who chooses one menu
// item once the main window is up: the item whose object name OVELO_TEST_MENU_ITEM holds, or
// 帮助 > 检测升级 when it holds none. The program itself runs unchanged.
#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace {

void ChooseMenuItem() {
    const QString item = qEnvironmentVariable("OVELO_TEST_MENU_ITEM", QStringLiteral("jcsj"));
    // What the program starts (the updater's installer is a shell script) needs none of this.
    qunsetenv("LD_PRELOAD");
    auto* poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, poll, [poll, item] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* action = top->findChild<QAction*>(item)) {
                poll->stop();
                action->trigger();
                return;
            }
        }
    });
    // Looks for the item every 20 ms: the user chooses it as soon as the window has it.
    poll->start(20);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(ChooseMenuItem)
