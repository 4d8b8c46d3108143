#pragma once

// What the Qt window's tests share: a window opened on a copy of a game
// folder with settings of its own, and the pane read back as styled runs.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/qt/ansi_text.h"
#include "app/qt/checker_window.h"
#include "app/qt/window_settings.h"
#include "report/recording_pane.h"
#include "support/test_support.h"

namespace venuecheck::test {

inline TextStyle StyleOf(const QTextCharFormat& format) {
    TextStyle style;
    // The face asked for, not the one the font system found for it.
    style.face = EncodeAnsi(format.fontFamilies().toStringList().value(0));
    style.size = qRound(format.fontPointSize() * 20);
    const QColor colour = format.foreground().color();
    style.colour = Rgb{static_cast<uint8_t>(colour.red()), static_cast<uint8_t>(colour.green()),
                       static_cast<uint8_t>(colour.blue())};
    style.bold = format.fontWeight() == QFont::Bold;
    return style;
}

inline void AddRun(std::vector<StyledRun>& runs, const std::string& text, const TextStyle& style) {
    if (text.empty()) return;
    if (!runs.empty() && runs.back().style == style) {
        runs.back().text += text;
    } else {
        runs.push_back(StyledRun{text, style});
    }
}

// The document as styled runs. The pane writes a line break as a line
// separator, and some as a paragraph break, which reads as "\n" in the format
// it was appended with (the document keeps it as the next paragraph's
// character format).
inline std::vector<StyledRun> RunsOf(const QTextDocument& document) {
    std::vector<StyledRun> runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin()) AddRun(runs, "\n", StyleOf(block.charFormat()));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QString text = fragment.text();
            text.replace(QChar(QChar::LineSeparator), QLatin1Char('\n'));
            AddRun(runs, EncodeAnsi(text), StyleOf(fragment.charFormat()));
        }
    }
    return runs;
}

// The pane shows CR, LF and CR LF each as one paragraph break, as the
// rich-edit control does, so a CR in the game's data reads back as LF.
inline std::vector<StyledRun> AsShown(std::vector<StyledRun> runs) {
    for (StyledRun& run : runs) {
        std::string shown;
        for (size_t i = 0; i < run.text.size(); ++i) {
            if (run.text[i] != '\r') {
                shown += run.text[i];
            } else if (i + 1 >= run.text.size() || run.text[i + 1] != '\n') {
                shown += '\n';
            }
        }
        run.text = std::move(shown);
    }
    return runs;
}

// A game folder of its own for each checker: check runs write probe files.
struct GameCopy {
    TempFolder folder;
    explicit GameCopy(const std::filesystem::path& game) {
        std::filesystem::copy(game, folder.Path() / "game",
                              std::filesystem::copy_options::recursive);
    }
    std::filesystem::path Path() const { return folder.Path() / "game"; }
};

inline std::filesystem::path FixtureGame(const char* fixture) {
    return TestDataDir() / "fixtures" / fixture / "game";
}

inline std::filesystem::path SampleGame() {
    return TestDataDir().parent_path() / "examples" / "sample-game";
}

inline QString SettingsFile(const TempFolder& folder) {
    return QString::fromStdString((folder.Path() / "settings.ini").string());
}

// The window started on a copy of a game folder, as the program starts it,
// with settings of its own and the desktop's dialogs and file opener
// answered by the test.
struct OpenWindow {
    GameCopy game;
    TempFolder settingsFolder;
    WindowSettings settings{SettingsFile(settingsFolder)};
    std::unique_ptr<CheckerWindow> window;
    QStringList foldersToChoose;  // answers of the folder dialog
    std::vector<QUrl> opened;     // what the desktop was asked to open

    explicit OpenWindow(const std::filesystem::path& gameDir) : game(gameDir) { Open(); }

    void Open() {
        window = OpenCheckerWindow(game.Path(), settings);
        CheckerWindow::Desktop desktop;
        desktop.chooseFolder = [this] {
            return foldersToChoose.isEmpty() ? QString() : foldersToChoose.takeFirst();
        };
        desktop.openUrl = [this](const QUrl& url) {
            opened.push_back(url);
            return true;
        };
        window->SetDesktop(desktop);
    }
    // Closes the window as the user does, and opens it again.
    void Reopen() {
        window->close();
        window.reset();
        Open();
    }

    QComboBox& Selector() const { return *window->Selector(); }
    QTextEdit& Pane() const { return *window->PaneEdit(); }
};

// Lets the event loop run until the condition holds or the time is up.
inline bool WaitFor(const std::function<bool()>& condition, int milliseconds = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds) return false;
        QTest::qWait(20);
    }
    return true;
}

}  // namespace venuecheck::test
