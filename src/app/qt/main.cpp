// venuecheck-gui: the venue checker's window. The game folder is the working
// directory, or the one folder given as the only argument.

#include <QApplication>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "check/checker.h"
#include "app/qt/checker_window.h"
#include "app/qt/qt_report_pane.h"

namespace {

constexpr int kExitUsage = 2;

const char* const kUsage = "usage: venuecheck-gui [GAME_FOLDER]\n";

}  // namespace

int main(int argc, char** argv) {
    // Takes Qt's own options (-platform, -display, ...) out of argv.
    QApplication app(argc, argv);

    std::filesystem::path gameDir = ".";
    if (argc > 2) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    if (argc == 2) {
        if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
            std::cout << kUsage;
            return 0;
        }
        gameDir = argv[1];
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(gameDir, ec)) {
        std::cerr << "venuecheck-gui: game folder '" << gameDir.string() << "' does not exist\n";
        return kExitUsage;
    }

    venuecheck::PrepareReportFaces();
    venuecheck::Checker checker{venuecheck::GameFolder(gameDir)};
    {
        const auto window = venuecheck::OpenCheckerWindow(checker);
        QApplication::exec();
    }
    checker.ShutDown();
    return 0;
}
