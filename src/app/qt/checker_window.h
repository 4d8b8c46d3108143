#pragma once

#include <QComboBox>
#include <QString>
#include <QTextEdit>
#include <QWidget>
#include <memory>
#include <optional>

#include "app/qt/qt_report_pane.h"
#include "check/checker.h"

namespace venuecheck {

// The checker's one window: the venue selector and the report pane, at fixed
// places that do not follow resizing, below a menu bar whose Help menu tells
// the version. It is shown empty first; the controls come once the
// catalogues are loaded.
class CheckerWindow : public QWidget {
public:
    static constexpr const char* kTitle = "Pelarin Venue checker - Dobrenn 2007 Ver 1.0";

    explicit CheckerWindow(Checker& checker);

    // Creates the venue selector, filled with the venue names in catalogue
    // order and nothing selected, and the report pane, empty.
    void CreateControls();

    // Null until the controls exist.
    QComboBox* Selector() const { return selector_; }
    QTextEdit* PaneEdit() const { return paneEdit_; }

    // The text of Help > About: the program, its version and licence.
    static QString AboutText();

private:
    void RunCheck();
    void ShowAbout();

    Checker& checker_;
    QWidget* client_ = nullptr;  // the area below the menu bar
    QComboBox* selector_ = nullptr;
    QTextEdit* paneEdit_ = nullptr;
    std::optional<QtReportPane> pane_;
};

// Start-up in the checker's fixed order: maximum sizes, the window shown,
// species, venues, then the selector and the pane.
std::unique_ptr<CheckerWindow> OpenCheckerWindow(Checker& checker);

}  // namespace venuecheck
