// Times a report of 100,000 lines through the Qt report pane, from the first
// pane operation until the pane has been painted, as the window shows it
// after a check run. Run by hand (any platform; offscreen works):
//
//   QT_QPA_PLATFORM=offscreen qt_pane_benchmark [LINES] [--per-line]
//
// --per-line appends without holding layout back, for comparison (slow).

#include <QApplication>
#include <QElapsedTimer>
#include <QTextEdit>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>

#include "app/qt/qt_report_pane.h"

namespace {

using namespace venuecheck;

// A report shaped as the check run writes one: title, then headings, detail
// lines and findings in their colours.
void WriteReport(ReportPane& pane, int lines) {
    pane.PaneClear();
    pane.PaneSetFont(style::kFace, style::kTitleSize);
    pane.PaneSetColour(style::kTitle);
    pane.PaneAppend("Benchmark Water by Nobody ( 2026 )\n\n");
    for (int line = 0; line < lines; ++line) {
        const std::string number = std::to_string(line);
        switch (line % 20) {
            case 0:
                WriteSectionHeading(pane, "\n\nPeg details for Peg " + number);
                break;
            case 7:
                pane.PaneSetColour(style::kError);
                pane.PaneAppend("\n\tError : Peg data file not found (line " + number + ")");
                break;
            case 8:
                pane.PaneSetColour(style::kWarning);
                pane.PaneAppend("\n\tWarning : Unable to write to the records file");
                break;
            case 9:
                pane.PaneSetColour(style::kAdvice);
                pane.PaneAppend("\n\tAdvice : Depth accuracy could be better");
                break;
            default:
                pane.PaneSetColour(style::kBlack);
                pane.PaneAppend("\n\tFile-name\t\tpegs\\water\\peg" + number + ".peg");
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int lines = 100000;
    bool perLine = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--per-line") == 0) {
            perLine = true;
        } else {
            lines = std::atoi(argv[i]);
        }
    }
    PrepareReportFaces();

    QTextEdit edit;
    edit.resize(770, 400);
    edit.show();
    QApplication::processEvents();
    QtReportPane pane(edit);

    for (int round = 0; round < 3; ++round) {
        QElapsedTimer clock;
        clock.start();
        const std::clock_t cpuStart = std::clock();
        {
            std::optional<QtReportPane::Batch> batch;
            if (!perLine) batch.emplace(pane);
            WriteReport(pane, lines);
        }
        const qint64 written = clock.elapsed();
        edit.moveCursor(QTextCursor::Start);
        edit.viewport()->repaint();
        QApplication::processEvents();
        const qint64 shown = clock.elapsed();
        const long cpu = static_cast<long>((std::clock() - cpuStart) * 1000 / CLOCKS_PER_SEC);
        std::printf(
            "%d lines%s: written in %lld ms, shown after %lld ms (%ld ms of processor time)\n",
            lines, perLine ? " (per-line layout)" : "", static_cast<long long>(written),
            static_cast<long long>(shown), cpu);
        // The report replaced frees its document once back in the event loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return 0;
}
