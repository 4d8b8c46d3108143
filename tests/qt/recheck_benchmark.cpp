// Times re-check on change on the benchmark's game: the window shows the big
// venue ("Aaa Benchmark Water"), a burst of writes changes one of its peg
// files, and the clock runs from the last write until the new report has
// been painted. What counts is the time after the writes have settled (the
// watcher's wait of ChangeWatcher::kSettleMilliseconds). Run by hand (any
// platform; offscreen works):
//
//   QT_QPA_PLATFORM=offscreen qt_recheck_benchmark [--scale S|M|L] [--rounds N]
//
// The game is generated into a temporary folder (tools/make_game's code).

#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/qt/checker_window.h"
#include "app/qt/qt_report_pane.h"
#include "app/qt/window_settings.h"
#include "gamegen/synthetic_game.h"

namespace fs = std::filesystem;
using namespace venuecheck;

namespace {

void Append(const fs::path& file, const std::string& text) {
    std::FILE* out = std::fopen(file.c_str(), "ab");
    if (out == nullptr) return;
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
}

// Lets the event loop run until the window shows a check run, or a limit.
bool WaitForCheck(CheckerWindow& window, int limitMilliseconds) {
    QEventLoop loop;
    bool shown = false;
    const auto connection = QObject::connect(&window, &CheckerWindow::CheckShown, &loop, [&] {
        // Painted as the user sees it.
        window.View()->viewport()->repaint();
        shown = true;
        loop.quit();
    });
    QTimer::singleShot(limitMilliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(connection);
    return shown;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::string scale = "M";
    int rounds = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--scale") == 0) scale = argv[i + 1];
        if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::max(1, std::atoi(argv[i + 1]));
    }
    const auto parsed = gamegen::ParseGameScale(scale);
    if (!parsed) {
        std::fprintf(stderr, "usage: qt_recheck_benchmark [--scale S|M|L] [--rounds N]\n");
        return 2;
    }
    PrepareReportFaces();

    std::error_code ec;
    const fs::path work =
        fs::temp_directory_path() / ("venuecheck-recheck-" + std::to_string(::getpid()));
    fs::remove_all(work, ec);
    const fs::path game = work / "game";
    QElapsedTimer clock;
    clock.start();
    const gamegen::GameSummary made = gamegen::MakeGame(gamegen::GameSpecForScale(*parsed), game);
    if (!made.Ok()) {
        std::fprintf(stderr, "qt_recheck_benchmark: %s\n", made.error.c_str());
        return 1;
    }
    std::printf("game %s: %llu files, %.1f MiB, written in %lld ms\n", scale.c_str(),
                static_cast<unsigned long long>(made.files),
                static_cast<double>(made.bytes) / 1048576.0,
                static_cast<long long>(clock.elapsed()));

    int status = 0;
    {
        WindowSettings settings(QString::fromStdString((work / "settings.ini").string()));
        const auto window = OpenCheckerWindow(game, settings);
        window->resize(1000, 720);
        QComboBox& selector = *window->Selector();
        selector.setCurrentIndex(selector.findText(QString::fromLatin1(
            gamegen::kBigVenueName.data(), static_cast<qsizetype>(gamegen::kBigVenueName.size()))));
        clock.restart();
        emit selector.activated(selector.currentIndex());
        QCoreApplication::processEvents();
        const ShownCheck* shown = window->Shown();
        if (shown == nullptr) {
            std::fprintf(stderr, "qt_recheck_benchmark: the big venue was not checked\n");
            return 1;
        }
        std::printf(
            "first check: %lld ms in all, the check run %lld ms; %lld lines, %zu findings; "
            "%lld paths watched\n",
            static_cast<long long>(clock.elapsed()), static_cast<long long>(shown->milliseconds),
            static_cast<long long>(
                window->View()->document()->toPlainText().count(QLatin1Char('\n')) + 1),
            shown->recorded.Findings().size(),
            static_cast<long long>(window->Watcher()->WatchedPaths().size()));
        // The checker's own probe files settle and start nothing.
        QEventLoop settle;
        QTimer::singleShot(ChangeWatcher::kSettleMilliseconds * 3, &settle, &QEventLoop::quit);
        settle.exec();

        std::vector<fs::path> pegFiles;
        for (const auto& entry : fs::directory_iterator(game / "venues" / "bench")) {
            if (entry.path().extension() == ".peg") pegFiles.push_back(entry.path());
        }
        std::sort(pegFiles.begin(), pegFiles.end());
        std::vector<qint64> afterSettling;
        for (int round = 0; round < rounds && !pegFiles.empty(); ++round) {
            const fs::path& peg = pegFiles[static_cast<size_t>(round) % pegFiles.size()];
            // A burst of five writes, 40 ms apart, as an editor's save may do.
            for (int write = 0; write < 5; ++write) {
                if (write > 0) {
                    QEventLoop pause;
                    QTimer::singleShot(40, &pause, &QEventLoop::quit);
                    pause.exec();
                }
                Append(peg, "\n; round " + std::to_string(round) + "\n");
            }
            clock.restart();
            if (!WaitForCheck(*window, 10000)) {
                std::fprintf(stderr, "qt_recheck_benchmark: no re-check after round %d\n", round);
                status = 1;
                break;
            }
            const qint64 total = clock.elapsed();
            afterSettling.push_back(total - ChangeWatcher::kSettleMilliseconds);
            std::printf(
                "round %d: shown %lld ms after the last write, %lld ms after the writes "
                "settled (check run %lld ms)\n",
                round, static_cast<long long>(total), static_cast<long long>(afterSettling.back()),
                static_cast<long long>(window->Shown()->milliseconds));
        }
        if (!afterSettling.empty()) {
            std::sort(afterSettling.begin(), afterSettling.end());
            std::printf("after settling: median %lld ms, worst %lld ms over %zu rounds\n",
                        static_cast<long long>(afterSettling[afterSettling.size() / 2]),
                        static_cast<long long>(afterSettling.back()), afterSettling.size());
        }
    }
    fs::remove_all(work, ec);
    return status;
}
