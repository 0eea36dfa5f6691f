// A minimal host: one window with one player control, playing the file named on the command line.
#include "platform/controlfactory.h"

#include <QApplication>
#include <QMainWindow>
#include <QTextStream>
#include <cstdio>

namespace {

bool HaveDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

QString CommandLineText(const QStringList& args) {
    QString text = args.mid(1).join(QLatin1Char(' '));
    text.replace(QLatin1Char('"'), QLatin1Char(' '));
    return text.trimmed();
}

// Prints the control's state reports; ends the program when playback ends.
class HeadlessReporter : public QObject {
    Q_OBJECT
  public slots:
    void onState(const QString& state) {
        QTextStream(stdout) << "state: " << state << Qt::endl;
        if (state == "Stop" || state == "FlvNotFound")
            QCoreApplication::quit();
    }
};

} // namespace

int main(int argc, char** argv) {
    const bool headless = !HaveDisplay();
    if (headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        std::fprintf(stderr,
                     "No display found: playing without a window, printing state reports.\n");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Ovelo");
    QMainWindow window;
    window.setObjectName("Form1");
    window.setWindowTitle("Ovelo 2011 Beta2");
    window.resize(661, 424);
    QWidget* flv = ovelo::CreateControl("Flv.Velmora", &window);
    if (flv) {
        flv->setObjectName("flv");
        window.setCentralWidget(flv);
    }
    HeadlessReporter reporter;
    if (flv && headless)
        QObject::connect(flv, SIGNAL(OnReadyStateChange(QString)), &reporter,
                         SLOT(onState(QString)));
    window.show();
    if (flv)
        QMetaObject::invokeMethod(flv, "PlayMovie",
                                  Q_ARG(QString, CommandLineText(app.arguments())));
    if (headless && !flv)
        return 1;
    return app.exec();
}

#include "main.moc"
