// Times seeks through the control, as the host makes them: from GotoTime to the first
// PlayProgress at the new position (the control's CurrentTime changes exactly when it raises
// one), and on to the first position past it (playing again). Run under an X server by
// bench/run, which compares mpv's own seek through its IPC.
#include "eventloop.h"
#include "player/controlfactory.h"

#include "flv/velmora.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <vector>

using ovelo::bench::Median;
using ovelo::bench::MsUntil;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString movie = QFileInfo(args.value(1)).absoluteFilePath();
    const int rounds = args.value(2, "3").toInt();
    QWidget window;
    // The picture the main window shows at its default size.
    window.resize(584, 328);
    QWidget* control = ovelo::CreateControl(QString::fromLatin1(flv::ProgId), &window,
                                            QStringLiteral(OVELO_PROGRAM_DIR));
    auto* player = qobject_cast<flv::Velmora*>(control);
    if (!player) {
        QTextStream(stderr) << "no control in " << OVELO_PROGRAM_DIR << Qt::endl;
        return 1;
    }
    control->setGeometry(window.rect());
    window.show();
    player->PlayMovie(movie);
    MsUntil([&] { return player->State() == flv::state::Play && player->CurrentTime() > 1; },
            10000);

    std::vector<double> at, past;
    for (int round = 0; round < rounds; ++round)
        for (const int target : {20, 5, 25, 10, 15}) {
            QElapsedTimer t;
            t.start();
            player->GotoTime(target);
            if (MsUntil([&] { return std::abs(player->CurrentTime() - target) < 0.5f; }) >= 0)
                at.push_back(t.nsecsElapsed() / 1e6);
            if (MsUntil([&] { return player->CurrentTime() > target + 0.04f; }) >= 0)
                past.push_back(t.nsecsElapsed() / 1e6);
            MsUntil([] { return false; }, 300);
        }
    QTextStream(stdout) << "median " << QString::number(Median(at), 'f', 1)
                        << " ms to the position reported, " << QString::number(Median(past), 'f', 1)
                        << " ms to playing past it (" << at.size() << " seeks)" << Qt::endl;
    player->StopMovie();
    return 0;
}
