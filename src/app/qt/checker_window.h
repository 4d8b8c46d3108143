#pragma once

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTime>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/qt/change_watcher.h"
#include "app/qt/findings_panel.h"
#include "app/qt/peg_map_panel.h"
#include "app/qt/qt_report_pane.h"
#include "app/qt/report_view.h"
#include "app/qt/window_settings.h"
#include "check/checker.h"
#include "check/peg_maps.h"
#include "report/check_record.h"
#include "report/finding_filter.h"
#include "report/report_output.h"

namespace venuecheck {

// A peg's section of the shown report, and what its map is drawn from.
struct PegSection {
    std::string name;
    std::string file;      // the peg file, as the findings name it
    std::string dataFile;  // its Data value
    float dpRatio = 1.0f;
    int begin = 0;  // where its heading starts in the pane
    int end = 0;    // where the section ends
};

// The check run the window shows: what the pane holds, recorded for saving,
// and the findings with their lines in the pane.
struct ShownCheck {
    int position = -1;
    std::string venue;
    std::string venueFile;
    CheckRecorder recorded;
    std::vector<int> findingPositions;    // of each finding's line break, in the pane
    std::vector<PegSection> pegSections;  // in report order
    FindingCounts counts;
    qint64 milliseconds = 0;
    QTime checkedAt;
};

// The checker's window on Linux and macOS, a workbench for a venue
// builder's loop of checking, mending and checking again: the venue
// selector on top; below it the report pane, exactly as the command line
// writes the report, and the findings panel, sharing the rest with a
// splitter; the status bar with the counts, the time the check took and the
// game folder. It watches what the shown check run read and checks again
// when that changes.
class CheckerWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Pelarin Venue checker - Dobrenn 2007 Ver 1.0";

    // Every action of the window, each with its menu entry and shortcut.
    enum class ActionId {
        kOpenFolder,
        kClearRecent,
        kSaveReport,
        kQuit,
        kReload,
        kRecheckOnChange,
        kChooseVenue,
        kPreviousVenue,
        kNextVenue,
        kShowErrors,
        kShowWarnings,
        kShowAdvice,
        kFilterFindings,
        kNextFinding,
        kPreviousFinding,
        kOpenFile,
        kCopyFinding,
        kRuleHelp,
        kIgnoreRule,
        kIgnoredRules,
        kShowPegMap,
        kAbout,
        kAboutQt,
        kCount
    };

    // Where the window asks the desktop or the user; tests put their own.
    struct Desktop {
        std::function<QString()> chooseFolder;
        // The file to save to, or empty; `filter` is the format's filter
        // chosen (in: the one proposed).
        std::function<QString(const QString& proposed, QString& filter)> chooseSaveFile;
        std::function<bool(const QUrl& url)> openUrl;
    };

    explicit CheckerWindow(WindowSettings& settings, QWidget* parent = nullptr);
    ~CheckerWindow() override;

    // Opens a game folder in the checker's start-up order: maximum sizes,
    // the window shown (when it is not yet), species, venues; then fills the
    // selector and shows the venue shown last in that folder again.
    void OpenGameFolder(const std::filesystem::path& folder);

    // Reads maximum sizes, species and venues again and checks the selected
    // venue again, found by its name.
    void Reload();

    // Writes the shown check run's report in a format, through the command
    // line's writers; false, with the reason in the status bar, when it
    // cannot be written.
    bool SaveReport(const QString& file, ReportFormat format);

    void SetDesktop(Desktop desktop) { desktop_ = std::move(desktop); }

    QComboBox* Selector() const { return selector_; }
    QTextEdit* PaneEdit() const { return view_; }
    ReportView* View() const { return view_; }
    FindingsPanel* Findings() const { return findings_; }
    PegMapPanel* MapPanel() const { return pegMap_; }
    ChangeWatcher* Watcher() const { return watcher_; }
    QAction* Action(ActionId id) const { return actions_[static_cast<size_t>(id)]; }
    QMenu* RecentMenu() const { return recentMenu_; }
    // The shown check run; null when the pane shows none (or a message).
    const ShownCheck* Shown() const { return shown_.get(); }
    // The peg section of the shown report that holds a place of the pane;
    // null when none does.
    const PegSection* SectionAt(int position) const;
    // The peg section whose map is shown; null when none is.
    const PegSection* ShownPeg() const;
    const Checker* CurrentChecker() const { return checker_.get(); }
    const std::filesystem::path& GameFolderPath() const { return gameFolder_; }
    // How many check runs have been shown since the window opened.
    int ChecksShown() const { return checksShown_; }
    // The status bar's texts: the message, the counts, the time, the folder.
    QString StatusMessage() const;
    QString StatusCounts() const { return countsLabel_->text(); }
    QString StatusTime() const { return timeLabel_->text(); }
    QString StatusFolder() const { return folderLabel_->text(); }
    QStringList IgnoredRules() const;
    // The text of Help > About: the program, its version and licence.
    static QString AboutText();
    void StopIgnoring(const QString& ruleId);
    // The rule help window, once a rule's help was shown.
    QDialog* RuleHelpWindow() const { return ruleHelp_; }
    QDialog* IgnoredRulesWindow() const { return ignoredRules_; }

signals:
    // A check run starts, with the busy cursor up.
    void CheckStarted();
    // A check run's report is shown in the pane.
    void CheckShown();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Why { kChosen, kChanged, kReloaded, kFilterChanged, kSaving };

    void CreateActions();
    void CreateMenus();
    void CreateLayout();
    void RestoreLayout();
    void SaveLayout();

    // The catalogues of the open folder, in the start-up order.
    std::unique_ptr<Checker> NewChecker();
    void FillSelector(const QString& venue);
    // With `maps`, the run draws a map of every peg for it.
    void RunCheck(Why why, PegMapMaker* maps = nullptr);
    void ShowCheck(std::unique_ptr<ShownCheck> shown, Why why, int scroll);
    void ForgetCheck();
    void WatchWhatWasUsed();

    void ShowNoVenues();
    void ShowGameFolderGone();
    void ShowVenueGone(const QString& venue);
    void NoteUnreadable(const FolderUse& before);
    // A message in the status bar, with what cannot be read after it.
    void Tell(const QString& text, int milliseconds = 0);

    void OnChanged(bool catalogues, const QStringList& paths);
    void OnFindingChosen(const ShownFinding* finding);
    // Shows the map of a peg of the shown report (null: none).
    void ShowPeg(const PegSection* section);
    void OnPaneLink(const QUrl& url);

    void ChooseFolder();
    void ChooseSaveFile();
    void OpenFindingFile(const ShownFinding& finding);
    void CopyFinding();
    void ShowRuleHelp();
    void IgnoreRule();
    void ShowIgnoredRules();
    void UpdateIgnoredRulesList();
    void StepVenue(int direction);
    void UpdateRecentMenu();
    void UpdateActions();
    void UpdateStatus();
    FindingFilter CurrentFilter() const;
    QString FolderText() const;

    WindowSettings& settings_;
    Desktop desktop_;
    std::filesystem::path gameFolder_;
    std::unique_ptr<Checker> checker_;
    // What the catalogues and the shown check run used of the game folder;
    // `use_` collects during a step.
    FolderUse use_;
    FolderUse catalogueUse_;
    FolderUse runUse_;
    bool collecting_ = false;
    std::unique_ptr<ShownCheck> shown_;
    int shownPeg_ = -1;  // the section whose map is shown
    int checksShown_ = 0;
    QString wantedVenue_;
    QString note_;  // the files that the last check could not read any more
    // Files of the shown report changed while re-check on change was off
    // (the catalogues' files among them).
    bool stale_ = false;
    bool staleCatalogues_ = false;  // the venue to show again when the folder opens

    QComboBox* selector_ = nullptr;
    ReportView* view_ = nullptr;
    std::optional<QtReportPane> pane_;
    FindingsPanel* findings_ = nullptr;
    QSplitter* splitter_ = nullptr;      // the report above the findings
    QSplitter* sideSplitter_ = nullptr;  // those beside the peg map
    PegMapPanel* pegMap_ = nullptr;
    ChangeWatcher* watcher_ = nullptr;
    QLabel* countsLabel_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    QLabel* folderLabel_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    std::vector<QAction*> actions_;
    QPointer<QDialog> ruleHelp_;
    QTextBrowser* ruleHelpText_ = nullptr;
    QPointer<QDialog> ignoredRules_;
    QListWidget* ignoredRulesList_ = nullptr;
};

// The window started as the program starts it: the settings' size and
// layout, then the game folder opened in the checker's start-up order.
std::unique_ptr<CheckerWindow> OpenCheckerWindow(const std::filesystem::path& folder,
                                                 WindowSettings& settings);

}  // namespace venuecheck
