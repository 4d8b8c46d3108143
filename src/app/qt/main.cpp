// venuecheck-gui: the venue checker's window. The game folder is the one
// folder given as the only argument, else the folder opened last, else the
// working directory.

#include <QApplication>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "app/qt/checker_window.h"
#include "app/qt/qt_report_pane.h"
#include "app/qt/window_settings.h"

namespace {

constexpr int kExitUsage = 2;

const char* const kUsage = "usage: venuecheck-gui [GAME_FOLDER]\n";

}  // namespace

int main(int argc, char** argv) {
    // Takes Qt's own options (-platform, -display, ...) out of argv.
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("venuecheck"));
    QApplication::setApplicationName(QStringLiteral("venuecheck-gui"));

    if (argc > 2) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    venuecheck::WindowSettings settings;
    std::filesystem::path gameDir = ".";
    std::error_code ec;
    if (argc == 2) {
        if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
            std::cout << kUsage;
            return 0;
        }
        gameDir = argv[1];
        if (!std::filesystem::is_directory(gameDir, ec)) {
            std::cerr << "venuecheck-gui: game folder '" << gameDir.string()
                      << "' does not exist\n";
            return kExitUsage;
        }
    } else {
        gameDir = settings.FolderToOpen();
    }

    venuecheck::PrepareReportFaces();
    {
        const auto window = venuecheck::OpenCheckerWindow(gameDir, settings);
        QApplication::exec();
    }
    return 0;
}
