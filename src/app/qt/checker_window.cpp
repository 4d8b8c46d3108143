#include "app/qt/checker_window.h"

#include <unistd.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <sstream>

#include "app/qt/ansi_text.h"
#include "app/qt/tee_pane.h"
#include "common/host_path.h"
#include "common/scrambled_file.h"
#include "common/version.h"
#include "report/report.h"
#include "report/rules.h"

namespace fs = std::filesystem;

namespace venuecheck {
namespace {

constexpr int kDefaultWidth = 1120;
constexpr int kDefaultHeight = 740;
constexpr int kMessageMilliseconds = 8000;

// The link of the pane's messages that opens another game folder.
const QString kOpenLink = QStringLiteral("venuecheck:open");
const QString kReloadLink = QStringLiteral("venuecheck:reload");

// The wait cursor for as long as it lives.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Takes each finding of the check run into the record, with the place in
// the pane where its line begins.
class ShownCheckListener : public FindingListener {
public:
    ShownCheckListener(ShownCheck& shown, QtReportPane& pane) : shown_(shown), pane_(pane) {}
    void OnFinding(const Finding& finding) override {
        shown_.recorded.OnFinding(finding);
        shown_.findingPositions.push_back(pane_.Position());
    }
    void OnPegBegun(const std::string& name, const std::string& file) override {
        PegSection section;
        section.name = name;
        section.file = file;
        section.begin = pane_.Position();
        shown_.pegSections.push_back(std::move(section));
    }
    void OnPegEnded() override {
        if (!shown_.pegSections.empty()) shown_.pegSections.back().end = pane_.Position();
    }

private:
    ShownCheck& shown_;
    QtReportPane& pane_;
};

// How the settings name the rows of a severity.
QString SeverityKey(Severity severity) {
    switch (severity) {
        case Severity::kError:
            return QStringLiteral("errors");
        case Severity::kWarning:
            return QStringLiteral("warnings");
        case Severity::kAdvice:
            return QStringLiteral("advice");
    }
    return {};
}

QString Html(const QString& text) {
    return text.toHtmlEscaped();
}

QString Latin(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString HostText(const fs::path& path) {
    return QFile::decodeName(path.native().c_str());
}

// A message in the pane: a heading and sentences, in the report's face.
QString MessageHtml(const QString& heading, const QString& body) {
    return QStringLiteral(
               "<div style=\"font-family: 'Tahoma'; margin: 24px;\">"
               "<p style=\"font-size: 14pt; color: #00008c;\">%1</p>"
               "<p style=\"font-size: 10pt;\">%2</p></div>")
        .arg(heading, body);
}

bool SameFinding(const Finding& a, const Finding& b) {
    return a.rule == b.rule && a.message == b.message && a.file == b.file && a.line == b.line &&
           a.peg == b.peg && a.stock == b.stock;
}

struct SaveFormat {
    ReportFormat format;
    const char* filter;
    const char* extension;
};

// The formats a report is saved in, as the save dialog offers them.
const std::vector<SaveFormat>& SaveFormats() {
    static const std::vector<SaveFormat> formats = {
        {ReportFormat::kHtml, "Web page (*.html *.htm)", "html"},
        {ReportFormat::kText, "Text (*.txt)", "txt"},
        {ReportFormat::kJson, "JSON findings (*.json)", "json"},
        {ReportFormat::kSarif, "SARIF log for code scanning (*.sarif)", "sarif"},
    };
    return formats;
}

// A venue's name as a file name: what a file system cannot hold becomes '_'.
QString FileNameOf(const QString& venue) {
    QString name;
    for (const QChar c : venue) {
        name += (c.isLetterOrNumber() || c == QLatin1Char(' ') || c == QLatin1Char('-') ||
                 c == QLatin1Char('_') || c == QLatin1Char('.'))
                    ? c
                    : QLatin1Char('_');
    }
    name = name.trimmed();
    return name.isEmpty() ? QStringLiteral("report") : name;
}

}  // namespace

CheckerWindow::CheckerWindow(WindowSettings& settings, QWidget* parent)
    : QMainWindow(parent), settings_(settings), watcher_(new ChangeWatcher(this)) {
    setWindowTitle(QString::fromLatin1(kTitle));
    desktop_.chooseFolder = [this] {
        return QFileDialog::getExistingDirectory(this, tr("Open game folder"),
                                                 HostText(gameFolder_));
    };
    desktop_.chooseSaveFile = [this](const QString& proposed, QString& filter) {
        QStringList filters;
        for (const SaveFormat& format : SaveFormats()) filters << tr(format.filter);
        return QFileDialog::getSaveFileName(this, tr("Save report"), proposed,
                                            filters.join(QStringLiteral(";;")), &filter);
    };
    desktop_.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };

    CreateActions();
    CreateLayout();
    CreateMenus();
    RestoreLayout();
    UpdateRecentMenu();
    UpdateActions();
    UpdateStatus();

    connect(watcher_, &ChangeWatcher::Changed, this, &CheckerWindow::OnChanged);
    connect(watcher_, &ChangeWatcher::GameFolderGone, this, &CheckerWindow::ShowGameFolderGone);
}

CheckerWindow::~CheckerWindow() {
    watcher_->Stop();
    if (checker_) checker_->ShutDown();
}

void CheckerWindow::CreateActions() {
    actions_.assign(static_cast<size_t>(ActionId::kCount), nullptr);
    const auto make = [this](ActionId id, const QString& text, const QKeySequence& keys,
                             const QString& tip, auto slot, bool checkable = false) {
        auto* action = new QAction(text, this);
        action->setShortcut(keys);
        action->setStatusTip(tip);
        action->setToolTip(tip);
        action->setCheckable(checkable);
        // A toggle follows its state, however it is set.
        if (checkable) {
            connect(action, &QAction::toggled, this, slot);
        } else {
            connect(action, &QAction::triggered, this, slot);
        }
        addAction(action);
        actions_[static_cast<size_t>(id)] = action;
        return action;
    };
    using A = ActionId;
    QStyle* look = style();

    make(A::kOpenFolder, tr("&Open game folder..."), QKeySequence::Open,
         tr("Open another game folder"), [this] { ChooseFolder(); })
        ->setIcon(look->standardIcon(QStyle::SP_DirOpenIcon));
    make(A::kClearRecent, tr("&Clear the list"),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete),
         tr("Forget the game folders opened before"), [this] {
             settings_.ClearRecentFolders();
             UpdateRecentMenu();
         });
    make(A::kSaveReport, tr("&Save report..."), QKeySequence::Save,
         tr("Save the shown report as a web page, text, JSON or SARIF"),
         [this] { ChooseSaveFile(); })
        ->setIcon(look->standardIcon(QStyle::SP_DialogSaveButton));
    make(A::kQuit, tr("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), tr("Close the window"),
         [this] { close(); });

    make(A::kReload, tr("&Reload"), QKeySequence(Qt::Key_F5),
         tr("Read the maximum sizes, species and venues again and check the venue again"),
         [this] { Reload(); })
        ->setIcon(look->standardIcon(QStyle::SP_BrowserReload));
    QAction* recheck = make(
        A::kRecheckOnChange, tr("Re-check on &change"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R),
        tr("Check again by itself when a file the report read changes"),
        [this](bool on) {
            settings_.SetRecheckOnChange(on);
            // What changed while it was off is checked now.
            if (on && stale_) RunCheck(Why::kChanged);
            UpdateStatus();
        },
        true);
    {
        const QSignalBlocker quiet(recheck);
        recheck->setChecked(settings_.RecheckOnChange());
    }
    make(A::kChooseVenue, tr("C&hoose venue"), QKeySequence(Qt::CTRL | Qt::Key_L),
         tr("Go to the venue selector"), [this] {
             selector_->setFocus();
             selector_->showPopup();
         });
    make(A::kPreviousVenue, tr("&Previous venue"), QKeySequence(Qt::CTRL | Qt::Key_PageUp),
         tr("Check the venue before this one"), [this] { StepVenue(-1); });
    make(A::kNextVenue, tr("&Next venue"), QKeySequence(Qt::CTRL | Qt::Key_PageDown),
         tr("Check the venue after this one"), [this] { StepVenue(1); });

    const auto severityToggle = [this, &make](ActionId id, const QString& text, Qt::Key key,
                                              Severity severity) {
        QAction* action = make(
            id, text, QKeySequence(Qt::CTRL | key),
            tr("Show or hide these rows of the findings panel"),
            [this, severity](bool on) { findings_->SetShown(severity, on); }, true);
        const QSignalBlocker quiet(action);
        action->setChecked(settings_.ShowsSeverity(SeverityKey(severity)));
        action->setIcon(FindingsPanel::IconOf(severity));
    };
    severityToggle(A::kShowErrors, tr("Show &errors"), Qt::Key_1, Severity::kError);
    severityToggle(A::kShowWarnings, tr("Show &warnings"), Qt::Key_2, Severity::kWarning);
    severityToggle(A::kShowAdvice, tr("Show &advice"), Qt::Key_3, Severity::kAdvice);
    make(A::kFilterFindings, tr("&Filter findings"), QKeySequence::Find,
         tr("Show only the findings that hold a text"), [this] {
             findings_->FilterBox()->setFocus();
             findings_->FilterBox()->selectAll();
         });
    make(A::kNextFinding, tr("Ne&xt finding"), QKeySequence(Qt::Key_F8),
         tr("Go to the next finding in the report"), [this] { findings_->Step(1); });
    make(A::kPreviousFinding, tr("Pre&vious finding"), QKeySequence(Qt::SHIFT | Qt::Key_F8),
         tr("Go to the previous finding in the report"), [this] { findings_->Step(-1); });
    make(A::kOpenFile, tr("&Open the finding's file"), QKeySequence(Qt::CTRL | Qt::Key_E),
         tr("Open the file to mend with the desktop's program for it"), [this] {
             if (const ShownFinding* shown = findings_->Current()) OpenFindingFile(*shown);
         });
    make(A::kCopyFinding, tr("&Copy finding"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
         tr("Copy the finding as one line of text"), [this] { CopyFinding(); });
    make(A::kRuleHelp, tr("Rule &help"), QKeySequence::HelpContents,
         tr("What the finding's rule means and how to mend it"), [this] { ShowRuleHelp(); });
    make(A::kIgnoreRule, tr("&Ignore the rule in this game folder"),
         QKeySequence(Qt::CTRL | Qt::Key_I),
         tr("Leave the rule's findings out of this game folder's reports"),
         [this] { IgnoreRule(); });
    make(A::kIgnoredRules, tr("I&gnored rules..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I),
         tr("The rules ignored in this game folder, to take back"), [this] { ShowIgnoredRules(); });

    QAction* pegMap = make(
        A::kShowPegMap, tr("&Peg map"), QKeySequence(Qt::CTRL | Qt::Key_M),
        tr("Show or hide the map of the chosen peg beside the report"),
        [this](bool on) {
            pegMap_->setVisible(on);
            settings_.SetShows(QStringLiteral("peg-map"), on);
        },
        true);
    {
        const QSignalBlocker quiet(pegMap);
        pegMap->setChecked(settings_.Shows(QStringLiteral("peg-map")));
    }

    make(A::kAbout, tr("&About venuecheck-gui"), QKeySequence(Qt::SHIFT | Qt::Key_F1),
         tr("The program's version and licence"),
         [this] { QMessageBox::about(this, tr("About venuecheck-gui"), AboutText()); });
    make(A::kAboutQt, tr("About &Qt"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F1),
         tr("The version of Qt the window is built with"), [] { QApplication::aboutQt(); });
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

void CheckerWindow::CreateMenus() {
    using A = ActionId;
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(Action(A::kOpenFolder));
    recentMenu_ = file->addMenu(tr("Open &recent"));
    file->addSeparator();
    file->addAction(Action(A::kSaveReport));
    file->addSeparator();
    file->addAction(Action(A::kQuit));

    QMenu* check = menuBar()->addMenu(tr("&Check"));
    check->addAction(Action(A::kReload));
    check->addAction(Action(A::kRecheckOnChange));
    check->addSeparator();
    check->addAction(Action(A::kChooseVenue));
    check->addAction(Action(A::kPreviousVenue));
    check->addAction(Action(A::kNextVenue));

    QMenu* findings = menuBar()->addMenu(tr("F&indings"));
    findings->addAction(Action(A::kShowErrors));
    findings->addAction(Action(A::kShowWarnings));
    findings->addAction(Action(A::kShowAdvice));
    findings->addAction(Action(A::kFilterFindings));
    findings->addSeparator();
    findings->addAction(Action(A::kNextFinding));
    findings->addAction(Action(A::kPreviousFinding));
    findings->addSeparator();
    findings->addAction(Action(A::kOpenFile));
    findings->addAction(Action(A::kCopyFinding));
    findings->addAction(Action(A::kRuleHelp));
    findings->addSeparator();
    findings->addAction(Action(A::kIgnoreRule));
    findings->addAction(Action(A::kIgnoredRules));

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->addAction(Action(A::kShowPegMap));

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(Action(A::kAbout));
    help->addAction(Action(A::kAboutQt));
}

void CheckerWindow::CreateLayout() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 6, 8, 4);
    layout->setSpacing(6);

    auto* top = new QHBoxLayout;
    top->setSpacing(6);
    auto* label = new QLabel(tr("&Venue:"), central);
    selector_ = new QComboBox(central);
    selector_->setMinimumWidth(250);
    selector_->setMaxVisibleItems(24);
    selector_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    selector_->setMinimumContentsLength(30);
    label->setBuddy(selector_);
    top->addWidget(label);
    top->addWidget(selector_);
    auto* reload = new QToolButton(central);
    reload->setDefaultAction(Action(ActionId::kReload));
    reload->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    reload->setAutoRaise(true);
    top->addWidget(reload);
    // The toggle as a check box, which says plainly whether it is on.
    auto* recheck =
        new QCheckBox(Action(ActionId::kRecheckOnChange)->text().remove(QLatin1Char('&')), central);
    recheck->setToolTip(Action(ActionId::kRecheckOnChange)->toolTip());
    recheck->setFocusPolicy(Qt::TabFocus);
    recheck->setChecked(Action(ActionId::kRecheckOnChange)->isChecked());
    connect(recheck, &QCheckBox::toggled, Action(ActionId::kRecheckOnChange), &QAction::setChecked);
    connect(Action(ActionId::kRecheckOnChange), &QAction::toggled, recheck, &QCheckBox::setChecked);
    top->addWidget(recheck);
    top->addStretch(1);
    auto* save = new QToolButton(central);
    save->setDefaultAction(Action(ActionId::kSaveReport));
    save->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    save->setAutoRaise(true);
    top->addWidget(save);
    layout->addLayout(top);

    sideSplitter_ = new QSplitter(Qt::Horizontal, central);
    sideSplitter_->setChildrenCollapsible(false);
    splitter_ = new QSplitter(Qt::Vertical, sideSplitter_);
    splitter_->setChildrenCollapsible(false);
    view_ = new ReportView(splitter_);
    findings_ = new FindingsPanel(splitter_);
    splitter_->addWidget(view_);
    splitter_->addWidget(findings_);
    splitter_->setStretchFactor(0, 3);
    splitter_->setStretchFactor(1, 2);
    pegMap_ = new PegMapPanel(sideSplitter_);
    pegMap_->setVisible(Action(ActionId::kShowPegMap)->isChecked());
    sideSplitter_->addWidget(splitter_);
    sideSplitter_->addWidget(pegMap_);
    sideSplitter_->setStretchFactor(0, 1);
    sideSplitter_->setStretchFactor(1, 0);
    layout->addWidget(sideSplitter_, 1);
    setCentralWidget(central);
    pane_.emplace(*view_);

    for (const auto& [severity, id] : {std::pair{Severity::kError, ActionId::kShowErrors},
                                       std::pair{Severity::kWarning, ActionId::kShowWarnings},
                                       std::pair{Severity::kAdvice, ActionId::kShowAdvice}}) {
        findings_->SetShown(severity, Action(id)->isChecked());
    }

    countsLabel_ = new QLabel(this);
    timeLabel_ = new QLabel(this);
    folderLabel_ = new QLabel(this);
    folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    for (QLabel* part : {countsLabel_, timeLabel_, folderLabel_})
        part->setContentsMargins(8, 0, 8, 0);
    statusBar()->addPermanentWidget(countsLabel_);
    statusBar()->addPermanentWidget(timeLabel_);
    statusBar()->addPermanentWidget(folderLabel_);

    // Every choice the user makes runs the check run, re-choosing the shown
    // venue included.
    connect(selector_, &QComboBox::activated, this, [this] { RunCheck(Why::kChosen); });
    connect(view_, &QTextBrowser::anchorClicked, this, &CheckerWindow::OnPaneLink);
    // A click in a peg's section shows its map.
    connect(view_, &ReportView::ClickedAt, this, [this](int position) {
        if (const PegSection* section = SectionAt(position)) ShowPeg(section);
    });
    connect(findings_, &FindingsPanel::CurrentChanged, this, &CheckerWindow::OnFindingChosen);
    connect(findings_, &FindingsPanel::OpenRequested, this, &CheckerWindow::OpenFindingFile);
    connect(findings_, &FindingsPanel::ShownChanged, this, [this](Severity severity, bool shown) {
        const ActionId id = severity == Severity::kError     ? ActionId::kShowErrors
                            : severity == Severity::kWarning ? ActionId::kShowWarnings
                                                             : ActionId::kShowAdvice;
        Action(id)->setChecked(shown);
        settings_.SetShowsSeverity(SeverityKey(severity), shown);
    });
    connect(findings_, &FindingsPanel::ContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(Action(ActionId::kOpenFile));
        menu.addAction(Action(ActionId::kCopyFinding));
        menu.addAction(Action(ActionId::kRuleHelp));
        menu.addSeparator();
        menu.addAction(Action(ActionId::kIgnoreRule));
        menu.addAction(Action(ActionId::kIgnoredRules));
        UpdateActions();
        menu.exec(at);
    });
    selector_->setFocus();
}

void CheckerWindow::RestoreLayout() {
    if (!restoreGeometry(settings_.Value(QStringLiteral("geometry")))) {
        resize(kDefaultWidth, kDefaultHeight);
    }
    if (!splitter_->restoreState(settings_.Value(QStringLiteral("splitter")))) {
        splitter_->setSizes({420, 220});
    }
    if (!sideSplitter_->restoreState(settings_.Value(QStringLiteral("side-splitter")))) {
        sideSplitter_->setSizes({kDefaultWidth - 330, 310});
    }
    // The splitter's state holds the panel's visibility too: the toggle rules.
    pegMap_->setVisible(Action(ActionId::kShowPegMap)->isChecked());
    findings_->View()->header()->restoreState(settings_.Value(QStringLiteral("findings-columns")));
}

void CheckerWindow::SaveLayout() {
    settings_.SetValue(QStringLiteral("geometry"), saveGeometry());
    settings_.SetValue(QStringLiteral("splitter"), splitter_->saveState());
    settings_.SetValue(QStringLiteral("side-splitter"), sideSplitter_->saveState());
    settings_.SetValue(QStringLiteral("findings-columns"),
                       findings_->View()->header()->saveState());
}

void CheckerWindow::closeEvent(QCloseEvent* event) {
    SaveLayout();
    settings_.Sync();
    event->accept();
}

QString CheckerWindow::FolderText() const {
    return HostText(gameFolder_);
}

std::unique_ptr<Checker> CheckerWindow::NewChecker() {
    GameFolder folder(gameFolder_);
    use_ = FolderUse();
    use_.Leave(folder.Resolve(kTempPlainCopy));
    folder.OnFileRead([this](const fs::path& path) {
        if (collecting_) use_.FileRead(path);
    });
    folder.OnFolderListed([this](const fs::path& path) {
        if (collecting_) use_.FolderListed(path);
    });
    auto checker = std::make_unique<Checker>(std::move(folder));
    collecting_ = true;
    checker->LoadMaxSizes();
    if (!isVisible()) {
        // The window is on screen, still empty, while the slower catalogues load.
        show();
        QCoreApplication::processEvents();
    }
    checker->LoadSpecies();
    checker->LoadVenues();
    collecting_ = false;
    catalogueUse_ = use_;
    catalogueUse_.StampFolders();
    use_.Clear();
    return checker;
}

void CheckerWindow::OpenGameFolder(const fs::path& folder) {
    watcher_->Stop();
    ForgetCheck();
    if (checker_) checker_->ShutDown();
    checker_.reset();
    runUse_ = FolderUse();
    catalogueUse_ = FolderUse();

    std::error_code ec;
    fs::path absolute = fs::absolute(folder, ec);
    if (ec) absolute = folder;
    absolute = absolute.lexically_normal();
    if (!absolute.has_filename() && absolute.has_relative_path()) absolute = absolute.parent_path();
    gameFolder_ = absolute;
    settings_.AddRecentFolder(FolderText());
    UpdateRecentMenu();
    wantedVenue_ = settings_.LastVenue(FolderText());
    selector_->clear();

    if (!fs::is_directory(gameFolder_, ec)) {
        view_->ShowMessage(MessageHtml(
            tr("There is no game folder here"),
            tr("The folder %1 does not exist. <a href=\"%2\">Open another game folder...</a>")
                .arg(Html(FolderText()), kOpenLink)));
        Tell(tr("%1 does not exist").arg(FolderText()));
        if (!isVisible()) show();
        UpdateStatus();
        UpdateActions();
        return;
    }
    {
        const BusyCursor busy;
        checker_ = NewChecker();
    }
    const int position = [&] {
        const QSignalBlocker quiet(selector_);
        FillSelector(wantedVenue_);
        return selector_->currentIndex();
    }();
    if (selector_->count() == 0) {
        ShowNoVenues();
    } else if (position >= 0) {
        RunCheck(Why::kChosen);
    } else if (!wantedVenue_.isEmpty()) {
        Tell(tr("The venue \"%1\" shown last is no longer in this game folder").arg(wantedVenue_),
             kMessageMilliseconds);
    }
    WatchWhatWasUsed();
    UpdateStatus();
    UpdateActions();
}

void CheckerWindow::FillSelector(const QString& venue) {
    const int before = selector_->currentIndex();
    selector_->clear();
    if (!checker_) return;
    int found = -1;
    const std::vector<std::string> names = checker_->VenueNames();
    const std::string wanted = EncodeAnsi(venue);
    for (size_t i = 0; i < names.size(); ++i) {
        selector_->addItem(DecodeAnsi(names[i]));
        if (found < 0 && !venue.isEmpty() && names[i] == wanted) found = static_cast<int>(i);
    }
    // Of venues of equal names, the one at the same place stays.
    if (before >= 0 && static_cast<size_t>(before) < names.size() &&
        names[static_cast<size_t>(before)] == wanted) {
        found = before;
    }
    selector_->setCurrentIndex(found);
}

FindingFilter CheckerWindow::CurrentFilter() const {
    FindingFilter filter;
    for (const QString& id : IgnoredRules()) {
        if (const Rule* rule = FindRule(id.toStdString())) filter.AddIgnore({rule->rule, {}});
    }
    return filter;
}

QStringList CheckerWindow::IgnoredRules() const {
    return gameFolder_.empty() ? QStringList() : settings_.IgnoredRules(FolderText());
}

void CheckerWindow::RunCheck(Why why, PegMapMaker* maps) {
    if (!checker_) return;
    const int position = selector_->currentIndex();
    const VenueRecord* venue =
        position < 0 ? nullptr : checker_->Venues().VenueAtIndex(static_cast<size_t>(position));
    if (venue == nullptr) return;
    std::error_code ec;
    if (!fs::is_directory(gameFolder_, ec)) {
        ShowGameFolderGone();
        return;
    }

    const BusyCursor busy;
    emit CheckStarted();
    if (why != Why::kReloaded) note_.clear();
    if (why == Why::kChanged && staleCatalogues_) {
        // A venue file changed while re-check on change was off.
        Reload();
        return;
    }
    stale_ = false;
    staleCatalogues_ = false;
    const int scroll = why == Why::kChosen ? 0 : view_->verticalScrollBar()->value();
    const FolderUse before = runUse_;
    auto shown = std::make_unique<ShownCheck>();
    shown->position = position;
    shown->venue = venue->Name;
    shown->venueFile = checker_->Folder().FoundPath(venue->Path);
    view_->MarkLine(-1);

    QElapsedTimer clock;
    clock.start();
    use_.Clear();
    collecting_ = true;
    {
        QtReportPane::Batch batch(*pane_);
        TeePane tee(*pane_, shown->recorded);
        ShownCheckListener listener(*shown, *pane_);
        Report report(tee, &listener);
        const FindingFilter filter = CurrentFilter();
        report.SetFilter([&filter](const Finding& finding) { return filter.Shows(finding); });
        checker_->SetPegGridObserver(maps);
        checker_->CheckRun(position, report);
        checker_->SetPegGridObserver(nullptr);
        shown->counts = report.Counts();
    }
    // The sections come in the order of the pegs.
    const std::vector<PegRecord>& pegs = checker_->Pegs();
    for (size_t i = 0; i < shown->pegSections.size() && i < pegs.size(); ++i) {
        shown->pegSections[i].dataFile = pegs[i].Data;
        shown->pegSections[i].dpRatio = pegs[i].DPRatio;
    }
    collecting_ = false;
    shown->milliseconds = clock.elapsed();
    shown->checkedAt = QTime::currentTime();
    runUse_ = use_;
    runUse_.StampFolders();
    // A run may delete "shoalcat.txt", next to "maxsize.txt".
    catalogueUse_.StampFolders();
    use_.Clear();

    wantedVenue_ = DecodeAnsi(shown->venue);
    settings_.SetLastVenue(FolderText(), wantedVenue_);
    ShowCheck(std::move(shown), why, scroll);
    NoteUnreadable(before);
    WatchWhatWasUsed();
}

void CheckerWindow::ShowCheck(std::unique_ptr<ShownCheck> shown, Why why, int scroll) {
    // The finding chosen before stays chosen when the run finds it again.
    std::optional<Finding> chosen;
    if (why != Why::kChosen) {
        if (const ShownFinding* current = findings_->Current()) chosen = current->finding;
    }
    std::vector<ShownFinding> rows;
    rows.reserve(shown->recorded.Findings().size());
    for (size_t i = 0; i < shown->recorded.Findings().size(); ++i) {
        // Each finding's line starts with its own line break.
        rows.push_back(
            ShownFinding{shown->recorded.Findings()[i].finding, shown->findingPositions[i] + 1});
    }
    // The peg whose map is shown stays shown when the run has it again.
    const PegSection* before = ShownPeg();
    const std::string pegFile = before != nullptr ? before->file : std::string();
    shown_ = std::move(shown);
    shownPeg_ = -1;
    const PegSection* again = nullptr;
    for (const PegSection& section : shown_->pegSections) {
        if (!pegFile.empty() && section.file == pegFile) {
            again = &section;
            break;
        }
    }
    ShowPeg(again);
    {
        const QSignalBlocker quiet(findings_);
        findings_->SetFindings(std::move(rows));
    }
    if (scroll > 0) {
        // The editor lays a long report out lazily: lay it out as far as the
        // place shown before.
        QScrollBar* bar = view_->verticalScrollBar();
        QAbstractTextDocumentLayout* layout = view_->document()->documentLayout();
        for (QTextBlock block = view_->document()->begin(); block.isValid(); block = block.next()) {
            if (layout->blockBoundingRect(block).bottom() > scroll + view_->viewport()->height()) {
                break;
            }
        }
        bar->setValue(scroll);
    }
    if (chosen) {
        const auto& all = findings_->Findings();
        for (size_t i = 0; i < all.size(); ++i) {
            if (SameFinding(all[i].finding, *chosen)) {
                const QSignalBlocker quiet(findings_);
                if (findings_->SelectFinding(static_cast<int>(i))) {
                    const int top = view_->verticalScrollBar()->value();
                    view_->MarkLine(all[i].position);
                    view_->verticalScrollBar()->setValue(top);
                }
                break;
            }
        }
    }
    ++checksShown_;
    UpdateStatus();
    UpdateActions();
    emit CheckShown();
}

const PegSection* CheckerWindow::SectionAt(int position) const {
    if (!shown_) return nullptr;
    for (const PegSection& section : shown_->pegSections) {
        if (position >= section.begin && position < section.end) return &section;
    }
    return nullptr;
}

const PegSection* CheckerWindow::ShownPeg() const {
    if (!shown_ || shownPeg_ < 0 || static_cast<size_t>(shownPeg_) >= shown_->pegSections.size()) {
        return nullptr;
    }
    return &shown_->pegSections[static_cast<size_t>(shownPeg_)];
}

void CheckerWindow::ShowPeg(const PegSection* section) {
    shownPeg_ =
        section == nullptr || !shown_ ? -1 : static_cast<int>(section - shown_->pegSections.data());
    if (shownPeg_ < 0 || !checker_) {
        pegMap_->ShowNothing();
        return;
    }
    // Read from the data file as it is now: a map costs nothing until a peg
    // is chosen.
    pegMap_->ShowPeg(checker_->Folder(), section->name, section->dataFile, section->dpRatio);
}

void CheckerWindow::ForgetCheck() {
    ShowPeg(nullptr);
    shown_.reset();
    stale_ = false;
    staleCatalogues_ = false;
    findings_->SetFindings({});
    view_->MarkLine(-1);
    UpdateStatus();
    UpdateActions();
}

void CheckerWindow::WatchWhatWasUsed() {
    // Also without re-check on change: a report whose files changed is then
    // said to be out of date, and a game folder that goes is noticed.
    if (gameFolder_.empty()) {
        watcher_->Stop();
        return;
    }
    watcher_->Watch(gameFolder_, catalogueUse_, runUse_);
    UpdateStatus();
}

void CheckerWindow::ShowNoVenues() {
    ForgetCheck();
    const QString folder = Html(FolderText());
    view_->ShowMessage(MessageHtml(
        tr("No venues in this folder"),
        tr("There are no venue files in %1, so there is nothing to check. Is %2 the game "
           "folder? <a href=\"%3\">Open another game folder...</a> (Ctrl+O)")
            .arg(Html(HostText(gameFolder_ / "venues")), folder, kOpenLink)));
    Tell(tr("No venue files in %1").arg(HostText(gameFolder_ / "venues")));
}

void CheckerWindow::ShowGameFolderGone() {
    const QString venue = shown_ ? DecodeAnsi(shown_->venue) : selector_->currentText();
    ForgetCheck();
    QString body = tr("The game folder %1 is no longer there: it was deleted, moved or renamed.")
                       .arg(Html(FolderText()));
    if (!venue.isEmpty()) {
        body += QLatin1Char(' ') +
                tr("The report of %1 is not shown, as it would be out of date.").arg(Html(venue));
    }
    body += QLatin1Char(' ') + tr("Put the folder back and it is checked again, or ") +
            tr("<a href=\"%1\">open another game folder...</a>").arg(kOpenLink);
    view_->ShowMessage(MessageHtml(tr("The game folder is gone"), body));
    Tell(tr("The game folder %1 is gone").arg(FolderText()));
    // Waits for the folder to come back.
    watcher_->Watch(gameFolder_, catalogueUse_, runUse_);
}

void CheckerWindow::ShowVenueGone(const QString& venue) {
    ForgetCheck();
    view_->ShowMessage(MessageHtml(
        tr("The venue is gone"),
        tr("The venue %1 is no longer in this game folder: its venue file was removed or "
           "renamed, cannot be read, or gives another name now. Choose a venue above, or "
           "<a href=\"%2\">reload</a> (F5) once it is back.")
            .arg(Html(QLatin1Char('"') + venue + QLatin1Char('"')), kReloadLink)));
    Tell(tr("The venue \"%1\" is no longer in the game folder").arg(venue));
}

void CheckerWindow::Tell(const QString& text, int milliseconds) {
    if (note_.isEmpty()) {
        statusBar()->showMessage(text, milliseconds);
    } else {
        // What cannot be read stays until the next check says otherwise.
        statusBar()->showMessage(text.isEmpty() ? note_ : text + QStringLiteral(". ") + note_);
    }
}

void CheckerWindow::NoteUnreadable(const FolderUse& before) {
    // A file that the step before read and that this one could not open:
    // the report takes it for missing, so say why.
    QStringList unreadable;
    for (const auto& [path, stamp] : before.Files()) {
        if (!stamp.exists || runUse_.Files().count(path) != 0 ||
            catalogueUse_.Files().count(path) != 0) {
            continue;
        }
        std::error_code ec;
        const fs::file_status status = fs::status(path, ec);
        if (ec || status.type() == fs::file_type::not_found) continue;
        if (status.type() == fs::file_type::regular && ::access(path.c_str(), R_OK) == 0) {
            continue;  // readable, and not needed any more
        }
        const fs::path relative = path.lexically_relative(gameFolder_);
        unreadable << HostText(relative.empty() ? path : relative);
    }
    if (unreadable.isEmpty()) return;
    if (!note_.isEmpty()) note_ += QStringLiteral(". ");
    note_ += tr("%1 cannot be read any more: the report takes it for missing")
                 .arg(unreadable.join(QStringLiteral(", ")));
    Tell({});
}

void CheckerWindow::Reload() {
    if (gameFolder_.empty()) return;
    std::error_code ec;
    if (!fs::is_directory(gameFolder_, ec)) {
        ShowGameFolderGone();
        return;
    }
    // The venue shown, or chosen, or the one that was gone and may be back.
    QString venue = shown_ ? DecodeAnsi(shown_->venue) : selector_->currentText();
    if (venue.isEmpty()) venue = wantedVenue_;
    const FolderUse before = catalogueUse_;
    note_.clear();
    staleCatalogues_ = false;
    watcher_->Stop();
    {
        const BusyCursor busy;
        if (checker_) checker_->ShutDown();
        checker_ = NewChecker();
    }
    {
        const QSignalBlocker quiet(selector_);
        FillSelector(venue);
    }
    if (selector_->count() == 0) {
        ShowNoVenues();
    } else if (selector_->currentIndex() >= 0) {
        RunCheck(Why::kReloaded);
        Tell(tr("Reloaded %n venue(s) and checked %1 again", nullptr, selector_->count())
                 .arg(selector_->currentText()),
             kMessageMilliseconds);
    } else if (!venue.isEmpty()) {
        ShowVenueGone(venue);
    } else {
        Tell(tr("Reloaded %n venue(s)", nullptr, selector_->count()), kMessageMilliseconds);
    }
    NoteUnreadable(before);
    WatchWhatWasUsed();
}

void CheckerWindow::OnChanged(bool catalogues, const QStringList& paths) {
    const QString what = paths.size() == 1 ? paths.front()
                                           : tr("%1 and %n other file(s)", nullptr,
                                                static_cast<int>(paths.size() - 1))
                                                 .arg(paths.front());
    if (!Action(ActionId::kRecheckOnChange)->isChecked()) {
        if (!shown_) return;
        // The report stays, said to be out of date, until it is checked again.
        stale_ = true;
        staleCatalogues_ = staleCatalogues_ || catalogues;
        UpdateStatus();
        Tell(tr("%1 changed since this check: Reload (F5) checks again").arg(what));
        return;
    }
    if (catalogues) {
        Reload();
    } else if (shown_ || selector_->currentIndex() >= 0) {
        RunCheck(Why::kChanged);
    } else {
        WatchWhatWasUsed();
        return;
    }
    if (shown_) {
        Tell(tr("Checked again after a change to %1").arg(what), kMessageMilliseconds);
    }
}

void CheckerWindow::OnFindingChosen(const ShownFinding* finding) {
    view_->MarkLine(finding != nullptr ? finding->position : -1);
    // A finding of a peg shows that peg's map.
    if (finding != nullptr && !finding->finding.peg.empty()) {
        if (const PegSection* section = SectionAt(finding->position)) ShowPeg(section);
    }
    UpdateActions();
}

void CheckerWindow::OnPaneLink(const QUrl& url) {
    if (url.toString() == kOpenLink) ChooseFolder();
    if (url.toString() == kReloadLink) Reload();
}

void CheckerWindow::ChooseFolder() {
    const QString folder = desktop_.chooseFolder ? desktop_.chooseFolder() : QString();
    if (!folder.isEmpty()) OpenGameFolder(fs::path(QFile::encodeName(folder).toStdString()));
}

void CheckerWindow::ChooseSaveFile() {
    if (!shown_) return;
    const SaveFormat& proposedFormat = SaveFormats().front();
    QString filter = tr(proposedFormat.filter);
    QString folder = QString::fromUtf8(settings_.Value(QStringLiteral("save-folder")));
    if (folder.isEmpty()) folder = QDir::homePath();
    const QString proposed =
        QDir(folder).filePath(FileNameOf(DecodeAnsi(shown_->venue)) + QLatin1Char('.') +
                              QLatin1String(proposedFormat.extension));
    QString file = desktop_.chooseSaveFile ? desktop_.chooseSaveFile(proposed, filter) : QString();
    if (file.isEmpty()) return;
    // The file's extension names the format; else the filter chosen does.
    const SaveFormat* chosen = nullptr;
    const QString suffix = QFileInfo(file).suffix().toLower();
    for (const SaveFormat& format : SaveFormats()) {
        if (suffix == QLatin1String(format.extension) ||
            (format.format == ReportFormat::kHtml && suffix == QLatin1String("htm"))) {
            chosen = &format;
        }
    }
    if (chosen == nullptr) {
        for (const SaveFormat& format : SaveFormats()) {
            if (filter == tr(format.filter)) chosen = &format;
        }
        if (chosen == nullptr) chosen = &proposedFormat;
        if (suffix.isEmpty()) file += QLatin1Char('.') + QLatin1String(chosen->extension);
    }
    settings_.SetValue(QStringLiteral("save-folder"), QFileInfo(file).absolutePath().toUtf8());
    SaveReport(file, chosen->format);
}

bool CheckerWindow::SaveReport(const QString& file, ReportFormat format) {
    if (!shown_) {
        Tell(tr("There is no report to save"), kMessageMilliseconds);
        return false;
    }
    HtmlPageOptions page;
    std::vector<HtmlPegMap> maps;
    if (format == ReportFormat::kHtml) {
        // The web page has a map beside every peg section, drawn from the
        // grids the check run reads: the venue is checked again for it, as
        // the command line checks it for its page, and that run is shown.
        if (staleCatalogues_) Reload();
        PegMapMaker maker;
        if (shown_) RunCheck(Why::kSaving, &maker);
        if (!shown_) {
            Tell(tr("Could not save the report to %1: the venue could not be checked again")
                     .arg(file));
            return false;
        }
        for (PegMap& map : maker.TakeMaps()) maps.push_back(ForPage(std::move(map)));
        page = HtmlPageOptions{CheckedAt(), true, PegMapLegend()};
    }
    std::ostringstream out;
    {
        const RunHeader header{"venuecheck", kVersion, AbsoluteGameFolder(GameName(gameFolder_))};
        ReportWriter writer(format, header, out, std::move(page));
        writer.Add(shown_->position, shown_->venue, shown_->venueFile, shown_->recorded,
                   std::move(maps));
        writer.Finish();
    }
    const std::string bytes = out.str();
    // Written beside the file and put in its place at the end: a failure
    // leaves the file that was there as it was.
    QSaveFile saved(file);
    if (!saved.open(QIODevice::WriteOnly) ||
        saved.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !saved.commit()) {
        Tell(tr("Could not save the report to %1: %2").arg(file, saved.errorString()));
        return false;
    }
    Tell(tr("Saved the report of %1 to %2")
             .arg(DecodeAnsi(shown_->venue), QDir::toNativeSeparators(file)),
         kMessageMilliseconds);
    return true;
}

void CheckerWindow::OpenFindingFile(const ShownFinding& shown) {
    if (!checker_) return;
    const std::string& file =
        shown.finding.file.empty() ? shown.finding.venueFile : shown.finding.file;
    if (file.empty()) return;
    std::error_code ec;
    fs::path path = checker_->Folder().Resolve(file);
    QString said;
    if (!fs::is_regular_file(path, ec)) {
        // The nearest folder that exists, where the file is to be made.
        fs::path folder = path.parent_path();
        while (!folder.empty() && folder != gameFolder_ && !fs::is_directory(folder, ec)) {
            folder = folder.parent_path();
        }
        if (folder.empty()) folder = gameFolder_;
        said =
            tr("%1 does not exist: opening the folder %2").arg(DecodeAnsi(file), HostText(folder));
        path = folder;
    } else {
        said = tr("Opening %1").arg(DecodeAnsi(file));
    }
    const bool opened = desktop_.openUrl && desktop_.openUrl(QUrl::fromLocalFile(HostText(path)));
    Tell(opened ? said : tr("No program to open %1").arg(HostText(path)), kMessageMilliseconds);
}

void CheckerWindow::CopyFinding() {
    const ShownFinding* shown = findings_->Current();
    if (shown == nullptr) return;
    const Finding& f = shown->finding;
    // As compilers write theirs: file:line: severity: message [rule].
    QString line;
    if (!f.file.empty()) {
        line += DecodeAnsi(f.file);
        if (f.line > 0) line += QLatin1Char(':') + QString::number(f.line);
        line += QStringLiteral(": ");
    }
    line += Latin(SeverityName(f.severity)) + QStringLiteral(": ") + DecodeAnsi(f.message);
    if (!f.peg.empty()) line += tr(" (peg %1)").arg(DecodeAnsi(f.peg));
    line += QStringLiteral(" [") + Latin(RuleOf(f.rule).id) + QLatin1Char(']');
    QApplication::clipboard()->setText(line);
    Tell(tr("Copied: %1").arg(line), kMessageMilliseconds);
}

void CheckerWindow::ShowRuleHelp() {
    const ShownFinding* shown = findings_->Current();
    if (shown == nullptr) return;
    const Rule& rule = RuleOf(shown->finding.rule);
    if (!ruleHelp_) {
        ruleHelp_ = new QDialog(this);
        ruleHelp_->resize(520, 320);
        auto* layout = new QVBoxLayout(ruleHelp_);
        ruleHelpText_ = new QTextBrowser(ruleHelp_);
        layout->addWidget(ruleHelpText_);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, ruleHelp_);
        connect(buttons, &QDialogButtonBox::rejected, ruleHelp_, &QDialog::close);
        layout->addWidget(buttons);
    }
    ruleHelp_->setWindowTitle(tr("Rule %1").arg(Latin(rule.id)));
    ruleHelpText_->setHtml(QStringLiteral("<h3>%1</h3><p><code>%2</code> &middot; %3</p>"
                                          "<p>The report writes: <i>%4</i></p><p>%5</p>")
                               .arg(Html(DecodeAnsi(rule.title)), Latin(rule.id),
                                    Latin(SeverityName(rule.severity)),
                                    Html(DecodeAnsi(RuleLine(rule))), Html(DecodeAnsi(rule.help))));
    ruleHelp_->show();
    ruleHelp_->raise();
}

void CheckerWindow::IgnoreRule() {
    const ShownFinding* shown = findings_->Current();
    if (shown == nullptr || gameFolder_.empty()) return;
    const QString id = Latin(RuleOf(shown->finding.rule).id);
    QStringList ignored = IgnoredRules();
    if (!ignored.contains(id)) ignored << id;
    settings_.SetIgnoredRules(FolderText(), ignored);
    UpdateIgnoredRulesList();
    RunCheck(Why::kFilterChanged);
    Tell(tr("Ignoring %1 in this game folder (Findings > Ignored rules to take it back)").arg(id),
         kMessageMilliseconds);
}

void CheckerWindow::StopIgnoring(const QString& ruleId) {
    QStringList ignored = IgnoredRules();
    if (ignored.removeAll(ruleId) == 0) return;
    settings_.SetIgnoredRules(FolderText(), ignored);
    UpdateIgnoredRulesList();
    RunCheck(Why::kFilterChanged);
    Tell(tr("%1 is reported again").arg(ruleId), kMessageMilliseconds);
}

void CheckerWindow::ShowIgnoredRules() {
    if (!ignoredRules_) {
        ignoredRules_ = new QDialog(this);
        ignoredRules_->setWindowTitle(tr("Ignored rules"));
        ignoredRules_->resize(480, 300);
        auto* layout = new QVBoxLayout(ignoredRules_);
        layout->addWidget(new QLabel(
            tr("Rules whose findings this game folder's reports leave out:"), ignoredRules_));
        ignoredRulesList_ = new QListWidget(ignoredRules_);
        layout->addWidget(ignoredRulesList_);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, ignoredRules_);
        QPushButton* undo = buttons->addButton(tr("&Report again"), QDialogButtonBox::ActionRole);
        undo->setEnabled(false);
        connect(ignoredRulesList_, &QListWidget::currentRowChanged, undo,
                [undo](int row) { undo->setEnabled(row >= 0); });
        connect(undo, &QPushButton::clicked, this, [this] {
            if (QListWidgetItem* item = ignoredRulesList_->currentItem()) {
                StopIgnoring(item->data(Qt::UserRole).toString());
            }
        });
        connect(buttons, &QDialogButtonBox::rejected, ignoredRules_, &QDialog::close);
        layout->addWidget(buttons);
    }
    UpdateIgnoredRulesList();
    ignoredRules_->show();
    ignoredRules_->raise();
}

void CheckerWindow::UpdateIgnoredRulesList() {
    if (!ignoredRules_) return;
    ignoredRulesList_->clear();
    for (const QString& id : IgnoredRules()) {
        const Rule* rule = FindRule(id.toStdString());
        auto* item = new QListWidgetItem(
            rule != nullptr ? QStringLiteral("%1 - %2").arg(id, DecodeAnsi(rule->title)) : id,
            ignoredRulesList_);
        item->setData(Qt::UserRole, id);
        if (rule != nullptr) item->setIcon(FindingsPanel::IconOf(rule->severity));
    }
}

void CheckerWindow::StepVenue(int direction) {
    const int count = selector_->count();
    if (count == 0) return;
    const int current = selector_->currentIndex();
    const int next =
        current < 0 ? (direction > 0 ? 0 : count - 1) : qBound(0, current + direction, count - 1);
    if (next == current) return;
    selector_->setCurrentIndex(next);
    RunCheck(Why::kChosen);
}

void CheckerWindow::UpdateRecentMenu() {
    if (recentMenu_ == nullptr) return;
    recentMenu_->clear();
    const QStringList folders = settings_.RecentFolders();
    for (int i = 0; i < folders.size(); ++i) {
        const QString folder = folders[i];
        QAction* open = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QString(folder).replace(QLatin1Char('&'), QStringLiteral("&&"))));
        open->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | static_cast<Qt::Key>(Qt::Key_1 + i)));
        open->setShortcutContext(Qt::WindowShortcut);
        connect(open, &QAction::triggered, this, [this, folder] {
            OpenGameFolder(fs::path(QFile::encodeName(folder).toStdString()));
        });
        addAction(open);
    }
    recentMenu_->addSeparator();
    recentMenu_->addAction(Action(ActionId::kClearRecent));
    Action(ActionId::kClearRecent)->setEnabled(!folders.isEmpty());
}

void CheckerWindow::UpdateActions() {
    using A = ActionId;
    const bool finding = findings_ != nullptr && findings_->Current() != nullptr;
    Action(A::kSaveReport)->setEnabled(shown_ != nullptr);
    Action(A::kReload)->setEnabled(!gameFolder_.empty());
    for (const A id : {A::kOpenFile, A::kCopyFinding, A::kRuleHelp, A::kIgnoreRule}) {
        Action(id)->setEnabled(finding);
    }
    const bool venues = selector_ != nullptr && selector_->count() > 0;
    for (const A id : {A::kChooseVenue, A::kPreviousVenue, A::kNextVenue}) {
        Action(id)->setEnabled(venues);
    }
}

void CheckerWindow::UpdateStatus() {
    if (countsLabel_ == nullptr) return;
    if (shown_) {
        const FindingCounts& c = shown_->counts;
        countsLabel_->setText(
            tr("%1 errors, %2 warnings, %3 advice").arg(c.errors).arg(c.warnings).arg(c.advice));
        timeLabel_->setText(tr("checked in %1 ms at %2%3")
                                .arg(shown_->milliseconds)
                                .arg(shown_->checkedAt.toString(QStringLiteral("HH:mm:ss")),
                                     stale_ ? tr(", out of date") : QString()));
    } else {
        countsLabel_->clear();
        timeLabel_->clear();
    }
    folderLabel_->setText(gameFolder_.empty() ? QString() : FolderText());
    folderLabel_->setToolTip(watcher_->Watching()
                                 ? tr("Watching %n file(s) and folder(s) for changes", nullptr,
                                      static_cast<int>(watcher_->WatchedPaths().size()))
                                 : tr("Not watching for changes"));
}

QString CheckerWindow::StatusMessage() const {
    return statusBar()->currentMessage();
}

std::unique_ptr<CheckerWindow> OpenCheckerWindow(const fs::path& folder, WindowSettings& settings) {
    auto window = std::make_unique<CheckerWindow>(settings);
    window->OpenGameFolder(folder);
    if (!window->isVisible()) window->show();
    return window;
}

}  // namespace venuecheck
