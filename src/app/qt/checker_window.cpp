#include "app/qt/checker_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPalette>
#include <QVBoxLayout>

#include "app/qt/ansi_text.h"
#include "common/version.h"
#include "report/report.h"

namespace venuecheck {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 500;
// The selector's height is the combo box's own.
constexpr int kSelectorX = 10, kSelectorY = 20, kSelectorWidth = 250;
constexpr int kPaneX = 10, kPaneY = 50, kPaneWidth = 770, kPaneHeight = 400;
// The light grey of the Windows stock brush the original window class used.
constexpr int kBackgroundGrey = 192;

}  // namespace

CheckerWindow::CheckerWindow(Checker& checker) : checker_(checker) {
    setWindowTitle(QString::fromLatin1(kTitle));
    resize(kWidth, kHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(kBackgroundGrey, kBackgroundGrey, kBackgroundGrey));
    setPalette(palette);
    setAutoFillBackground(true);

    // The controls keep their places in the area below the menu bar.
    auto* menus = new QMenuBar(this);
    QMenu* help = menus->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&About venuecheck-gui"), this, [this] { ShowAbout(); });
    help->addAction(QStringLiteral("About &Qt"), qApp, &QApplication::aboutQt);
    client_ = new QWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menus);
    layout->addWidget(client_);
}

QString CheckerWindow::AboutText() {
    return QStringLiteral(
               "<p><b>venuecheck-gui %1</b></p>"
               "<p>Checks the venues of a Pelarin game folder and reports errors, "
               "warnings and advice.</p>"
               "<p>Copyright (c) 2026 the venuecheck developers. Free software under "
               "the MIT licence; built with Qt %2.</p>")
        .arg(QString::fromUtf8(kVersion.data(), static_cast<qsizetype>(kVersion.size())),
             QString::fromLatin1(qVersion()));
}

void CheckerWindow::ShowAbout() {
    QMessageBox::about(this, QStringLiteral("About venuecheck-gui"), AboutText());
}

void CheckerWindow::CreateControls() {
    selector_ = new QComboBox(client_);
    for (const std::string& name : checker_.VenueNames()) selector_->addItem(DecodeAnsi(name));
    // A drop-down list starts with nothing chosen; only the user's choice
    // runs a check.
    selector_->setCurrentIndex(-1);
    selector_->setGeometry(kSelectorX, kSelectorY, kSelectorWidth, selector_->sizeHint().height());

    paneEdit_ = new QTextEdit(client_);
    paneEdit_->setGeometry(kPaneX, kPaneY, kPaneWidth, kPaneHeight);
    pane_.emplace(*paneEdit_);

    // Every choice the user makes runs the check run, re-choosing the shown
    // venue included; it runs to its end before the next event is handled.
    connect(selector_, &QComboBox::activated, this, [this] { RunCheck(); });

    selector_->show();
    paneEdit_->show();
    selector_->setFocus();
}

void CheckerWindow::RunCheck() {
    QtReportPane::Batch batch(*pane_);
    Report report(*pane_);
    checker_.CheckRun(selector_->currentIndex(), report);
}

std::unique_ptr<CheckerWindow> OpenCheckerWindow(Checker& checker) {
    checker.LoadMaxSizes();
    auto window = std::make_unique<CheckerWindow>(checker);
    window->show();
    // The empty window is painted before the slower catalogues load.
    QCoreApplication::processEvents();
    checker.LoadSpecies();
    checker.LoadVenues();
    window->CreateControls();
    return window;
}

}  // namespace venuecheck
