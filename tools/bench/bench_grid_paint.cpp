// Grid paint benchmark: the time one repaint of a browser-sized grid takes
// (16-pixel rows of five text columns in a 600 x 260 view), painted by the
// style's own item painting and by GridTextDelegate, median of 60 repaints
// each. Run with QT_QPA_PLATFORM=offscreen on a headless machine. With
// --style or --lean it paints only that way, 600 times (for perf stat).
#include "windows/GridTextDelegate.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTableWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double medianRepaintMs(bool lean, int repaints = 60) {
    QTableWidget grid(1025, 5);
    grid.verticalHeader()->hide();
    grid.verticalHeader()->setDefaultSectionSize(16);
    grid.setWordWrap(false);
    for (int row = 0; row < grid.rowCount(); ++row) {
        const QStringList texts{QStringLiteral("A server with a long name %1").arg(row),
                                QStringLiteral("127.0.0.1:%1").arg(30001 + row),
                                QStringLiteral("50"), QStringLiteral("16/32"),
                                QStringLiteral("a_mission_name")};
        for (int column = 0; column < texts.size(); ++column)
            grid.setItem(row, column, new QTableWidgetItem(texts[column]));
    }
    if (lean)
        grid.setItemDelegate(new GridTextDelegate(&grid));
    grid.resize(600, 260);
    grid.show();
    QCoreApplication::processEvents();
    std::vector<double> millis;
    for (int i = 0; i < repaints; ++i) {
        QElapsedTimer timer;
        timer.start();
        grid.viewport()->repaint();
        millis.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(millis.begin(), millis.end());
    return millis[millis.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (!only.isEmpty()) {
        std::printf("%.2f ms\n", medianRepaintMs(only == QLatin1String("--lean"), 600));
        return 0;
    }
    const double style = medianRepaintMs(false);
    const double lean = medianRepaintMs(true);
    std::printf("grid repaint, 16 rows x 5 columns (median of 60): style %.2f ms, "
                "GridTextDelegate %.2f ms, ratio %.2f\n",
                style, lean, style / lean);
    return 0;
}
