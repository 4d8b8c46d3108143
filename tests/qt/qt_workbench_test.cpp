// The window as a workbench, on the offscreen platform: each action driven
// as a user drives it, the findings panel against the command line's JSON
// findings, saving against the command line's output, re-checking on
// change, the settings, and bad input.

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/qt/ansi_text.h"
#include "app/qt/checker_window.h"
#include "common/formatting.h"
#include "pegs/peg_data.h"
#include "qt/qt_test_support.h"
#include "report/rules.h"

namespace fs = std::filesystem;
using namespace venuecheck;
using namespace venuecheck::test;
using A = CheckerWindow::ActionId;

namespace {

// The command line on a game folder; its standard output.
std::string CommandLine(const fs::path& game, const std::string& options) {
    const CommandResult result = RunCommand(ShellQuote(VENUECHECK_BINARY) + " --game-dir " +
                                            ShellQuote(game.string()) + " " + options);
    if (result.status != 0 && result.status != 1) {
        qWarning("venuecheck %s: %s", options.c_str(), result.err.c_str());
    }
    return result.out;
}

// JSON strings hold the data's 8-bit bytes as the code points of the same value.
std::string Bytes(const QJsonValue& value) {
    return value.toString().toLatin1().toStdString();
}

int PositionOf(const QComboBox& selector, const QString& venue) {
    return selector.findText(venue, Qt::MatchExactly);
}

// Chooses a venue with the keyboard, as a user does.
void Choose(QComboBox& selector, int position) {
    QVERIFY(position >= 0);
    selector.setFocus();
    QTest::keyClick(&selector, Qt::Key_Home);
    for (int i = 0; i < position; ++i) QTest::keyClick(&selector, Qt::Key_Down);
    QCOMPARE(selector.currentIndex(), position);
}

// The first finding of a rule in the panel; -1 when there is none.
int FindingOf(const FindingsPanel& panel, std::string_view rule) {
    const auto& all = panel.Findings();
    for (size_t i = 0; i < all.size(); ++i) {
        if (RuleOf(all[i].finding.rule).id == rule) return static_cast<int>(i);
    }
    return -1;
}

bool HasRule(const FindingsPanel& panel, std::string_view rule) {
    return FindingOf(panel, rule) >= 0;
}

std::vector<QAction*> MenuActions(const QList<QAction*>& actions) {
    std::vector<QAction*> all;
    for (QAction* action : actions) {
        all.push_back(action);
        if (action->menu() != nullptr) {
            const auto inner = MenuActions(action->menu()->actions());
            all.insert(all.end(), inner.begin(), inner.end());
        }
    }
    return all;
}

void Append(const fs::path& file, const std::string& text) {
    std::FILE* out = std::fopen(file.c_str(), "ab");
    QVERIFY(out != nullptr);
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
}

void Overwrite(const fs::path& file, const std::string& text) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    QVERIFY(out != nullptr);
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
}

// Waits for longer than the watcher's settling time, and the re-check after it.
void LetChangesSettle() {
    QTest::qWait(ChangeWatcher::kSettleMilliseconds * 4);
}

}  // namespace

class QtWorkbenchTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareReportFaces(); }

    // For every venue of every game folder, the findings panel holds the
    // findings of the command line's JSON, in order, and each row's line is
    // the finding's line in the pane.
    void FindingsPanelRowsAreTheJsonFindings_data() {
        QTest::addColumn<QString>("game");
        std::vector<fs::path> folders;
        for (const auto& entry : fs::directory_iterator(TestDataDir() / "fixtures")) {
            if (fs::is_directory(entry.path() / "game")) folders.push_back(entry.path() / "game");
        }
        std::sort(folders.begin(), folders.end());
        folders.push_back(SampleGame());
        for (const fs::path& folder : folders) {
            const std::string name =
                folder.lexically_relative(TestDataDir().parent_path()).string();
            QTest::newRow(name.c_str()) << QString::fromStdString(folder.string());
        }
    }
    void FindingsPanelRowsAreTheJsonFindings() {
        QFETCH(QString, game);
        OpenWindow open(game.toStdString());
        GameCopy reference(game.toStdString());
        const QJsonArray checks = QJsonDocument::fromJson(QByteArray::fromStdString(CommandLine(
                                                              reference.Path(), "--format json")))
                                      .object()
                                      .value(QStringLiteral("checks"))
                                      .toArray();
        QCOMPARE(checks.size(), open.Selector().count());

        for (int position = 0; position < open.Selector().count(); ++position) {
            QTest::keyClick(&open.Selector(), Qt::Key_Down);
            QCOMPARE(open.Selector().currentIndex(), position);
            const QJsonArray expected =
                checks[position].toObject().value(QStringLiteral("findings")).toArray();
            const auto& rows = open.window->Findings()->Findings();
            QCOMPARE(static_cast<qsizetype>(rows.size()), expected.size());
            for (size_t i = 0; i < rows.size(); ++i) {
                const Finding& f = rows[i].finding;
                const QJsonObject json = expected[static_cast<qsizetype>(i)].toObject();
                QCOMPARE(RuleOf(f.rule).id, Bytes(json.value(QStringLiteral("rule"))));
                QCOMPARE(SeverityName(f.severity), Bytes(json.value(QStringLiteral("severity"))));
                QCOMPARE(f.message, Bytes(json.value(QStringLiteral("message"))));
                QCOMPARE(f.file, Bytes(json.value(QStringLiteral("file"))));
                QCOMPARE(f.line, json.value(QStringLiteral("line")).toInt());
                QCOMPARE(f.peg, Bytes(json.value(QStringLiteral("peg"))
                                          .toObject()
                                          .value(QStringLiteral("name"))));
                // The row's paragraph of the pane is the finding's line.
                const QString line = open.window->View()->LineAt(rows[i].position);
                QVERIFY2(line.startsWith(DecodeAnsi(PaneLine(f).substr(1))), qPrintable(line));
            }
        }
    }

    void SeverityTogglesHideRowsAndCountThem() {
        OpenWindow open(SampleGame());
        CheckerWindow& window = *open.window;
        FindingsPanel& panel = *window.Findings();
        // The venue whose report holds findings of every severity.
        int chosen = -1;
        for (int position = 0; position < open.Selector().count() && chosen < 0; ++position) {
            QTest::keyClick(&open.Selector(), Qt::Key_Down);
            const FindingCounts& c = window.Shown()->counts;
            if (c.errors > 1 && c.warnings > 0 && c.advice > 1) chosen = position;
        }
        QVERIFY(chosen >= 0);
        const FindingCounts counts = window.Shown()->counts;
        const int all = static_cast<int>(panel.Findings().size());
        QCOMPARE(all, counts.errors + counts.warnings + counts.advice);
        QCOMPARE(panel.Toggle(Severity::kError)->text(),
                 QStringLiteral("%1 errors").arg(counts.errors));
        QCOMPARE(panel.Toggle(Severity::kAdvice)->text(),
                 QStringLiteral("%1 advice").arg(counts.advice));
        QCOMPARE(static_cast<int>(panel.ShownRows().size()), all);

        const auto shownSeverities = [&panel] {
            std::set<Severity> severities;
            for (const int row : panel.ShownRows())
                severities.insert(panel.Findings()[row].finding.severity);
            return severities;
        };
        QTest::mouseClick(panel.Toggle(Severity::kError), Qt::LeftButton);
        QCOMPARE(static_cast<int>(panel.ShownRows().size()), all - counts.errors);
        QVERIFY(!shownSeverities().count(Severity::kError));
        QVERIFY(!window.Action(A::kShowErrors)->isChecked());
        // The counts stay those of the check run.
        QCOMPARE(panel.Toggle(Severity::kError)->text(),
                 QStringLiteral("%1 errors").arg(counts.errors));

        // The menu's toggle does the same, with its shortcut.
        QTest::keyClick(&window, Qt::Key_3, Qt::ControlModifier);
        QVERIFY(!panel.Toggle(Severity::kAdvice)->isChecked());
        QCOMPARE(shownSeverities(), std::set<Severity>{Severity::kWarning});
        QCOMPARE(static_cast<int>(panel.ShownRows().size()), counts.warnings);

        window.Action(A::kShowErrors)->trigger();
        window.Action(A::kShowAdvice)->trigger();
        QCOMPARE(static_cast<int>(panel.ShownRows().size()), all);

        // The filter box keeps the rows that hold its text.
        QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(panel.FilterBox()->hasFocus());
        QTest::keyClicks(panel.FilterBox(), "OBJECTS");
        const std::vector<int> filtered = panel.ShownRows();
        QVERIFY(!filtered.empty() && static_cast<int>(filtered.size()) < all);
        for (const int row : filtered) {
            const Finding& f = panel.Findings()[row].finding;
            const std::string text =
                f.message + " " + f.file + " " + std::string(RuleOf(f.rule).id);
            QVERIFY2(QString::fromStdString(text).contains(QStringLiteral("objects"),
                                                           Qt::CaseInsensitive),
                     text.c_str());
        }
        panel.FilterBox()->clear();
        QCOMPARE(static_cast<int>(panel.ShownRows().size()), all);
    }

    void ChoosingAFindingScrollsThePaneToItsLineAndMarksIt() {
        OpenWindow open(SampleGame());
        CheckerWindow& window = *open.window;
        window.resize(900, 600);
        // The longest report.
        int longest = 0;
        int blocks = 0;
        for (int position = 0; position < open.Selector().count(); ++position) {
            QTest::keyClick(&open.Selector(), Qt::Key_Down);
            if (open.Pane().document()->characterCount() > blocks) {
                blocks = open.Pane().document()->characterCount();
                longest = position;
            }
        }
        Choose(open.Selector(), longest);
        ReportView& view = *window.View();
        QCOMPARE(view.verticalScrollBar()->value(), 0);
        FindingsPanel& panel = *window.Findings();
        QVERIFY(panel.Findings().size() > 2);

        // The line is in view (the last line of the report may end a pixel
        // below the pane's bottom, scrolled as far as it goes).
        const auto lineInView = [&view](int position) {
            QTextCursor at(view.document());
            at.setPosition(position);
            const QRect line = view.cursorRect(at);
            return line.top() >= 0 && line.bottom() <= view.viewport()->height() + 1;
        };
        // The last finding, then the first, with the keyboard in the list.
        panel.View()->setFocus();
        for (const Qt::Key key : {Qt::Key_End, Qt::Key_Home}) {
            QTest::keyClick(panel.View(), key);
            const ShownFinding* current = panel.Current();
            QVERIFY(current != nullptr);
            QCOMPARE(view.MarkedLine(), current->position);
            QCOMPARE(view.extraSelections().size(), 1);
            const QTextCursor mark = view.extraSelections().front().cursor;
            QCOMPARE(mark.selectionStart(), current->position);
            QVERIFY(mark.selectedText().startsWith(view.LineAt(current->position)));
            QVERIFY(
                mark.selectedText().startsWith(DecodeAnsi(PaneLine(current->finding).substr(1))));
            QVERIFY(lineInView(current->position));
            if (key == Qt::Key_End) QVERIFY(view.verticalScrollBar()->value() > 0);
        }
        // F8 steps through the findings shown.
        const int first = panel.CurrentIndex();
        QTest::keyClick(&window, Qt::Key_F8);
        QCOMPARE(panel.CurrentIndex(), first + 1);
        QCOMPARE(view.MarkedLine(), panel.Current()->position);
        QTest::keyClick(&window, Qt::Key_F8, Qt::ShiftModifier);
        QCOMPARE(panel.CurrentIndex(), first);
    }

    // A finding of a peg, or a click in a peg's section, chooses that peg.
    void FindingsAndClicksChooseTheirPeg() {
        OpenWindow open(SampleGame());
        CheckerWindow& window = *open.window;
        window.resize(900, 700);
        Choose(open.Selector(), PositionOf(open.Selector(), QStringLiteral("Grading Pools")));
        const ShownCheck& shown = *window.Shown();
        QVERIFY(shown.pegSections.size() >= 5);
        QVERIFY(window.ShownPeg() == nullptr);
        for (const PegSection& section : shown.pegSections) {
            QVERIFY2(window.View()
                         ->LineAt(section.begin + 2)
                         .startsWith(QStringLiteral("Peg details for ") + DecodeAnsi(section.name)),
                     section.name.c_str());
            QVERIFY(!section.dataFile.empty());
        }

        FindingsPanel& panel = *window.Findings();
        const int last = static_cast<int>(panel.Findings().size()) - 1;
        QVERIFY(panel.SelectFinding(last));
        const Finding& finding = panel.Findings()[last].finding;
        QVERIFY(!finding.peg.empty());
        QVERIFY(window.ShownPeg() != nullptr);
        QCOMPARE(window.ShownPeg()->name, finding.peg);
        QCOMPARE(window.ShownPeg()->file, finding.pegFile);

        // A click on the heading of the second section.
        ReportView& view = *window.View();
        const PegSection& second = shown.pegSections[1];
        QTextCursor heading(view.document());
        heading.setPosition(second.begin + 4);
        view.ensureCursorVisible();
        view.setTextCursor(heading);
        view.ensureCursorVisible();
        const QRect place = view.cursorRect(heading);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, place.center());
        QCOMPARE(window.ShownPeg(), &second);
        // Outside the peg sections, the map stays.
        QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        QCOMPARE(window.ShownPeg(), &second);
    }

    // A finding of a peg shows the peg's map, the web report's own: the
    // picture the command line writes with --maps, with its legend; pointing
    // at a cell tells its depth in feet and inches and its objects.
    void PegMapOfTheChosenPeg() {
        OpenWindow open(SampleGame());
        CheckerWindow& window = *open.window;
        window.resize(1120, 740);
        const int position = PositionOf(open.Selector(), QStringLiteral("Willow Lake"));
        Choose(open.Selector(), position);
        PegMapPanel& panel = *window.MapPanel();
        QVERIFY(panel.isVisible());
        QVERIFY(!panel.HasMap());
        FindingsPanel& findings = *window.Findings();
        int chosen = -1;
        for (size_t i = 0; i < findings.Findings().size() && chosen < 0; ++i) {
            if (findings.Findings()[i].finding.peg == "Willow peg 3") chosen = static_cast<int>(i);
        }
        QVERIFY(chosen >= 0);
        QVERIFY(findings.SelectFinding(chosen));
        QVERIFY(panel.HasMap());
        QCOMPARE(panel.PegName(), QStringLiteral("Willow peg 3"));

        TempFolder maps;
        GameCopy reference(SampleGame());
        CommandLine(reference.Path(), "--index " + std::to_string(position) +
                                          " --format text --maps " +
                                          ShellQuote(maps.Path().string()));
        const QImage expected(
            QString::fromStdString((maps.Path() / "willow" / "peg3.png").string()));
        QVERIFY(!expected.isNull());
        const QImage shown = panel.View()->Map();
        QCOMPARE(shown.size(), expected.size());
        QCOMPARE(shown.convertToFormat(QImage::Format_RGB32),
                 expected.convertToFormat(QImage::Format_RGB32));

        // Pointing at cells: the grid read on its own says what they hold.
        const PegData data =
            ReadPegData(ReadWholeFile(open.game.Path() / "pegs" / "willow" / "peg3.dat"));
        QVERIFY(data.grid.has_value());
        const PegDataGrid& grid = *data.grid;
        const float dpRatio = window.ShownPeg()->dpRatio;
        PegMapView& view = *panel.View();
        const QRect place = view.MapPlace();
        int bare = 0, covered = 0;
        for (const auto& [column, row] : {std::pair{3, 2}, std::pair{60, 45}, std::pair{117, 88},
                                          std::pair{36, 27}, std::pair{10, 70}}) {
            // The middle of the cell, in the widget.
            const QPointF unit((column + 0.5) * 480.0 / grid.CellsPerRow(),
                               (row + 0.5) * shown.height() / grid.Rows());
            const QPoint at(
                place.left() + static_cast<int>(unit.x() * place.width() / shown.width()),
                place.top() + static_cast<int>(unit.y() * place.height() / shown.height()));
            QTest::mouseMove(&view, at);
            const PegCell cell = grid.Cell(static_cast<size_t>(row) * grid.CellsPerRow() + column);
            const QString text = panel.PointedText();
            QVERIFY2(
                text.startsWith(QStringLiteral("Cell %1 of row %2: ").arg(column + 1).arg(row + 1)),
                qPrintable(text));
            if (cell.depth > 0) {
                const QString depth =
                    DecodeAnsi(FormatDistance(static_cast<float>(cell.depth) * dpRatio));
                QVERIFY2(text.contains(depth + QStringLiteral(" deep")), qPrintable(text));
            }
            if (cell.mask == 0) {
                ++bare;
                QVERIFY2(text.endsWith(QStringLiteral("no object (bare water)")), qPrintable(text));
            } else {
                ++covered;
                for (int bit = 0; bit < 32; ++bit) {
                    if ((cell.mask >> bit) & 1u) QVERIFY(text.contains(QString::number(bit)));
                }
            }
        }
        QVERIFY(bare > 0 && covered > 0);
        // The legend names every depth band.
        QStringList labels;
        for (const QLabel* label : panel.findChildren<QLabel*>()) labels << label->text();
        for (const PegMapDepthBand& band : PegMapDepthScale()) {
            QVERIFY2(labels.contains(DecodeAnsi(band.label)), band.label.c_str());
        }

        // Ctrl+M hides the panel, and shows it again.
        QTest::keyClick(&window, Qt::Key_M, Qt::ControlModifier);
        QVERIFY(!panel.isVisible());
        QTest::keyClick(&window, Qt::Key_M, Qt::ControlModifier);
        QVERIFY(panel.isVisible());
    }

    // Enter and a double-click open the finding's file with the desktop's
    // program for it, or its folder when it does not exist.
    void OpeningAFindingOpensItsFileOrItsFolder() {
        OpenWindow open(SampleGame());
        CheckerWindow& window = *open.window;
        window.Action(A::kRecheckOnChange)->setChecked(false);
        FindingsPanel& panel = *window.Findings();
        Choose(open.Selector(), PositionOf(open.Selector(), QStringLiteral("Willow Lake")));
        QVERIFY(panel.Findings().size() >= 2);

        QVERIFY(panel.SelectFinding(0));
        panel.View()->setFocus();
        QTest::keyClick(panel.View(), Qt::Key_Return);
        QCOMPARE(open.opened.size(), size_t{1});
        const fs::path file = open.game.Path() / panel.Findings()[0].finding.file;
        QVERIFY(fs::is_regular_file(file));
        QCOMPARE(open.opened.back(), QUrl::fromLocalFile(QString::fromStdString(file.string())));

        // A file gone since the check: its folder opens, to make it again.
        const int last = static_cast<int>(panel.Findings().size()) - 1;
        const fs::path gone = open.game.Path() / panel.Findings()[last].finding.file;
        QVERIFY(fs::remove(gone));
        QVERIFY(panel.SelectFinding(last));
        const QRect row = panel.View()->visualRect(panel.View()->currentIndex());
        QTest::mouseDClick(panel.View()->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(open.opened.size(), size_t{2});
        QCOMPARE(open.opened.back(),
                 QUrl::fromLocalFile(QString::fromStdString(gone.parent_path().string())));
        QVERIFY(window.StatusMessage().contains(QStringLiteral("does not exist")));

        // Ctrl+E from anywhere in the window.
        QTest::keyClick(&window, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(open.opened.size(), size_t{3});
    }

    // The context menu's actions: copy, the rule's help, and ignoring the rule
    // in this game folder, shown in a list that takes it back.
    void FindingsContextActions() {
        OpenWindow open(FixtureGame("venue-basics"));
        CheckerWindow& window = *open.window;
        FindingsPanel& panel = *window.Findings();
        Choose(open.Selector(), PositionOf(open.Selector(), QStringLiteral("Mill Pond & Weir")));
        const int index = FindingOf(panel, "venue-name-ampersand");
        QVERIFY(index >= 0);
        QVERIFY(panel.SelectFinding(index));
        const Finding finding = panel.Current()->finding;

        window.Action(A::kCopyFinding)->trigger();
        const QString copied = QApplication::clipboard()->text();
        QVERIFY2(copied.startsWith(QString::fromStdString(finding.file) + QLatin1Char(':') +
                                   QString::number(finding.line) + QStringLiteral(": error: ")),
                 qPrintable(copied));
        QVERIFY(copied.contains(QStringLiteral("Venue name contains the & character")));
        QVERIFY(copied.endsWith(QStringLiteral("[venue-name-ampersand]")));

        QTest::keyClick(&window, Qt::Key_F1);
        QDialog* help = window.RuleHelpWindow();
        QVERIFY(help != nullptr && help->isVisible());
        const QString helpText = help->findChild<QTextBrowser*>()->toPlainText();
        QVERIFY(helpText.contains(DecodeAnsi(RuleOf(finding.rule).help)));
        QVERIFY(helpText.contains(QStringLiteral("venue-name-ampersand")));
        help->close();

        const QString paneLine = QStringLiteral("Error : Venue name contains the & character");
        QVERIFY(open.Pane().toPlainText().contains(paneLine));
        QTest::keyClick(&window, Qt::Key_I, Qt::ControlModifier);
        QVERIFY(!HasRule(panel, "venue-name-ampersand"));
        QVERIFY(!open.Pane().toPlainText().contains(paneLine));
        QCOMPARE(window.IgnoredRules(), QStringList{QStringLiteral("venue-name-ampersand")});
        // Only in this game folder, and still after the window opens again.
        QCOMPARE(open.settings.IgnoredRules(QString::fromStdString(open.game.Path().string())),
                 QStringList{QStringLiteral("venue-name-ampersand")});

        window.Action(A::kIgnoredRules)->trigger();
        QDialog* list = window.IgnoredRulesWindow();
        QVERIFY(list != nullptr && list->isVisible());
        auto* rules = list->findChild<QListWidget*>();
        QCOMPARE(rules->count(), 1);
        QVERIFY(rules->item(0)->text().startsWith(QStringLiteral("venue-name-ampersand")));
        rules->setCurrentRow(0);
        QPushButton* undo = nullptr;
        for (QPushButton* button : list->findChildren<QPushButton*>()) {
            if (button->text().contains(QStringLiteral("Report again"))) undo = button;
        }
        QVERIFY(undo != nullptr && undo->isEnabled());
        QTest::mouseClick(undo, Qt::LeftButton);
        QCOMPARE(rules->count(), 0);
        QVERIFY(window.IgnoredRules().isEmpty());
        QVERIFY(HasRule(panel, "venue-name-ampersand"));
        QVERIFY(open.Pane().toPlainText().contains(paneLine));
    }

    void ReloadPicksUpANewVenueAndKeepsTheVenueByName() {
        OpenWindow open(FixtureGame("venue-basics"));
        CheckerWindow& window = *open.window;
        window.Action(A::kRecheckOnChange)->setChecked(false);
        const QString mill = QStringLiteral("Mill Pond & Weir");
        Choose(open.Selector(), PositionOf(open.Selector(), mill));
        const int count = open.Selector().count();
        const int checks = window.ChecksShown();

        Overwrite(open.game.Path() / "venues" / "aaa.ven",
                  "[Details]\nName=Aardvark Lake\nDir=pegs/mill/*.peg\n");
        QTest::keyClick(&window, Qt::Key_F5);
        QCOMPARE(open.Selector().count(), count + 1);
        QCOMPARE(open.Selector().itemText(0), QStringLiteral("Aardvark Lake"));
        QCOMPARE(open.Selector().currentText(), mill);
        QCOMPARE(window.ChecksShown(), checks + 1);
        QVERIFY(open.Pane().toPlainText().startsWith(mill));
        QCOMPARE(window.Shown()->position, open.Selector().currentIndex());
    }

    // Re-check on change: once after a burst of writes to a file the run
    // read, keeping the scroll position; not for files it did not read, nor
    // for its own probe files; the catalogues again for a venue file.
    void RecheckOnChangeRunsOnceAfterABurst() {
        OpenWindow open(SampleGame());
        CheckerWindow& window = *open.window;
        window.resize(800, 500);
        QVERIFY(window.Action(A::kRecheckOnChange)->isChecked());
        Choose(open.Selector(), PositionOf(open.Selector(), QStringLiteral("Willow Lake")));
        QVERIFY(window.Watcher()->Watching());
        // Its own probes and temporary copies start nothing.
        LetChangesSettle();
        int checks = window.ChecksShown();

        QScrollBar& bar = *open.Pane().verticalScrollBar();
        QVERIFY(bar.maximum() > 100);
        bar.setValue(bar.maximum() / 2);
        const int scroll = bar.value();

        const fs::path peg = open.game.Path() / "pegs" / "willow" / "peg2.peg";
        for (int write = 0; write < 5; ++write) {
            Append(peg, "\n; a note\n");
            QTest::qWait(40);
        }
        Append(peg, "\n[Water]\nPH=7.3\n");
        QVERIFY(WaitFor([&] { return window.ChecksShown() > checks; }));
        LetChangesSettle();
        QCOMPARE(window.ChecksShown(), checks + 1);
        QCOMPARE(bar.value(), scroll);
        QVERIFY(window.StatusMessage().contains(QStringLiteral("pegs/willow/peg2.peg")));
        checks = window.ChecksShown();

        // Files the run did not read: an image it only looked for, a file
        // of another venue's pegs, an editor's swap file beside a peg file.
        Append(open.game.Path() / "pegs" / "willow" / "peg1.jpg", "more picture");
        Overwrite(open.game.Path() / "pegs" / "canal" / "notes.txt", "canal notes");
        Overwrite(open.game.Path() / "pegs" / "willow" / ".peg1.peg.swp", "swap");
        LetChangesSettle();
        QCOMPARE(window.ChecksShown(), checks);

        // A new peg file in the peg folder the run listed.
        Overwrite(open.game.Path() / "pegs" / "willow" / "peg4.peg",
                  "[Details]\nName=Willow peg 4\nRef=4\n");
        QVERIFY(WaitFor([&] { return window.ChecksShown() > checks; }));
        QVERIFY(open.Pane().toPlainText().contains(QStringLiteral("Willow peg 4")));
        checks = window.ChecksShown();

        // A venue file: the catalogues are read again first.
        const fs::path venue = open.game.Path() / "venues" / "canal.ven";
        const std::string canal = ReadWholeFile(venue);
        Overwrite(venue, "[Details]\nName=A new canal\nDir=pegs/canal/*.peg\n");
        QVERIFY(
            WaitFor([&] { return open.Selector().findText(QStringLiteral("A new canal")) >= 0; }));
        QCOMPARE(open.Selector().currentText(), QStringLiteral("Willow Lake"));
        QCOMPARE(window.ChecksShown(), checks + 1);
        checks = window.ChecksShown();

        // Off: no re-check, and the toggle is remembered; the report is
        // said to be out of date until it is checked again.
        QTest::keyClick(&window, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(!window.Action(A::kRecheckOnChange)->isChecked());
        QVERIFY(!open.settings.RecheckOnChange());
        Append(peg, "\n; another note\n");
        QVERIFY(
            WaitFor([&] { return window.StatusTime().contains(QStringLiteral("out of date")); }));
        QVERIFY(window.StatusMessage().contains(QStringLiteral("pegs/willow/peg2.peg changed")));
        QCOMPARE(window.ChecksShown(), checks);
        // On again: what changed meanwhile is checked at once.
        window.Action(A::kRecheckOnChange)->trigger();
        QCOMPARE(window.ChecksShown(), checks + 1);
        QVERIFY(!window.StatusTime().contains(QStringLiteral("out of date")));
    }

    // Save report writes exactly what the command line writes for the same
    // venue, with the rules ignored in this folder left out as --ignore does.
    void SaveWritesTheCommandLinesOutput() {
        OpenWindow open(SampleGame());
        CheckerWindow& window = *open.window;
        window.Action(A::kRecheckOnChange)->setChecked(false);
        QVERIFY(!window.Action(A::kSaveReport)->isEnabled());
        const int position = PositionOf(open.Selector(), QStringLiteral("Willow Lake"));
        Choose(open.Selector(), position);
        QVERIFY(window.Action(A::kSaveReport)->isEnabled());
        open.settings.SetIgnoredRules(QString::fromStdString(open.game.Path().string()),
                                      {QStringLiteral("peg-depth-accuracy-poor")});
        window.Reload();

        TempFolder out;
        struct Case {
            ReportFormat format;
            const char* name;
        };
        // The web page, with its maps, says when the check ran: to the minute.
        const auto undated = [](const std::string& page) {
            return std::regex_replace(
                page, std::regex("[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}"), "DATE");
        };
        for (const Case& c :
             {Case{ReportFormat::kHtml, "html"}, Case{ReportFormat::kText, "text"},
              Case{ReportFormat::kJson, "json"}, Case{ReportFormat::kSarif, "sarif"}}) {
            const fs::path file = out.Path() / (std::string("report.") + c.name);
            QVERIFY(window.SaveReport(QString::fromStdString(file.string()), c.format));
            const std::string expected =
                CommandLine(open.game.Path(), "--index " + std::to_string(position) + " --format " +
                                                  c.name + " --ignore peg-depth-accuracy-poor");
            QVERIFY(!expected.empty());
            if (c.format == ReportFormat::kHtml) {
                QVERIFY(expected.find("data:image/png;base64,") != std::string::npos);
                QVERIFY2(undated(ReadWholeFile(file)) == undated(expected), c.name);
            } else {
                QVERIFY2(ReadWholeFile(file) == expected, c.name);
            }
        }

        // Through the action and its dialog: the file's extension names the format.
        CheckerWindow::Desktop desktop;
        const fs::path chosen = out.Path() / "chosen.sarif";
        desktop.chooseSaveFile = [&chosen](const QString& proposed, QString&) {
            return proposed.endsWith(QStringLiteral("Willow Lake.html"))
                       ? QString::fromStdString(chosen.string())
                       : QString();
        };
        window.SetDesktop(desktop);
        QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(ReadWholeFile(chosen), ReadWholeFile(out.Path() / "report.sarif"));

        // A file that cannot be written: a message, and nothing else harmed.
        const fs::path folder = out.Path() / "a-folder";
        fs::create_directories(folder);
        QVERIFY(!window.SaveReport(QString::fromStdString(folder.string()), ReportFormat::kText));
        QVERIFY(window.StatusMessage().contains(QStringLiteral("Could not save")));
        QVERIFY(fs::is_directory(folder));
    }

    void SettingsComeBack() {
        OpenWindow open(FixtureGame("venue-basics"));
        CheckerWindow* window = open.window.get();
        window->resize(1100, 760);
        auto* splitter = window->findChild<QSplitter*>();
        splitter->setSizes({300, 340});
        const QList<int> sizes = splitter->sizes();
        window->Action(A::kRecheckOnChange)->setChecked(false);
        window->Action(A::kShowAdvice)->setChecked(false);
        const QString mill = QStringLiteral("Mill Pond & Weir");
        Choose(open.Selector(), PositionOf(open.Selector(), mill));
        QVERIFY(window->Findings()->SelectFinding(
            FindingOf(*window->Findings(), "venue-name-ampersand")));
        window->Action(A::kIgnoreRule)->trigger();
        const QString report = open.Pane().toPlainText();

        // A second game folder through the dialog, and back through the
        // recent folders.
        GameCopy other(FixtureGame("stocks-summary"));
        open.foldersToChoose << QString::fromStdString(other.Path().string());
        QTest::keyClick(window, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(window->GameFolderPath(), other.Path());
        QVERIFY(window->IgnoredRules().isEmpty());
        QCOMPARE(open.settings.RecentFolders(),
                 (QStringList{QString::fromStdString(other.Path().string()),
                              QString::fromStdString(open.game.Path().string())}));
        QAction* back = window->RecentMenu()->actions().at(1);
        QVERIFY(back->text().endsWith(QString::fromStdString(open.game.Path().string())));
        back->trigger();
        QCOMPARE(window->GameFolderPath(), open.game.Path());
        QCOMPARE(open.Selector().currentText(), mill);

        // Started without a folder, the program opens the last one again.
        QCOMPARE(open.settings.FolderToOpen(), open.game.Path());
        open.Reopen();
        window = open.window.get();
        QCOMPARE(window->size(), QSize(1100, 760));
        QCOMPARE(window->findChild<QSplitter*>()->sizes(), sizes);
        QVERIFY(!window->Action(A::kRecheckOnChange)->isChecked());
        QVERIFY(!window->Findings()->Shown(Severity::kAdvice));
        QVERIFY(window->Findings()->Shown(Severity::kError));
        QCOMPARE(open.Selector().currentText(), mill);
        QCOMPARE(open.Pane().toPlainText(), report);
        QCOMPARE(window->IgnoredRules(), QStringList{QStringLiteral("venue-name-ampersand")});

        // A last folder that is gone is not opened again.
        window->close();
        fs::remove_all(other.Path());
        open.settings.AddRecentFolder(QString::fromStdString(other.Path().string()));
        QCOMPARE(open.settings.FolderToOpen(), fs::path("."));
    }

    void FolderWithoutVenuesSaysSoAndOffersAnother() {
        TempFolder empty;
        empty.Write("species/readme.txt", "no species here");
        OpenWindow open(empty.Path());
        QCOMPARE(open.Selector().count(), 0);
        const QString text = open.Pane().toPlainText();
        QVERIFY2(text.contains(QStringLiteral("There are no venue files in")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Open another game folder")));
        QVERIFY(open.Pane().toHtml().contains(QStringLiteral("venuecheck:open")));
        QVERIFY(!open.window->Action(A::kSaveReport)->isEnabled());
        QVERIFY(open.window->StatusMessage().contains(QStringLiteral("No venue files")));

        GameCopy game(FixtureGame("venue-basics"));
        open.foldersToChoose << QString::fromStdString(game.Path().string());
        emit open.window->View()->anchorClicked(QUrl(QStringLiteral("venuecheck:open")));
        QCOMPARE(open.window->GameFolderPath(), game.Path());
        QVERIFY(open.Selector().count() > 0);
    }

    // The game folder goes while watched, and comes back.
    void GameFolderGoneWhileWatched() {
        OpenWindow open(FixtureGame("venue-basics"));
        CheckerWindow& window = *open.window;
        Choose(open.Selector(), 0);
        const QString report = open.Pane().toPlainText();
        const fs::path moved = open.game.folder.Path() / "moved";
        fs::rename(open.game.Path(), moved);
        QVERIFY(WaitFor([&] { return window.Shown() == nullptr; }));
        QVERIFY(open.Pane().toPlainText().contains(QStringLiteral("is no longer there")));
        QVERIFY(window.StatusMessage().contains(QStringLiteral("is gone")));
        QVERIFY(window.Findings()->Findings().empty());
        QVERIFY(!window.Action(A::kSaveReport)->isEnabled());
        // Reload says the same, and nothing breaks.
        QTest::keyClick(&window, Qt::Key_F5);
        QVERIFY(window.Shown() == nullptr);

        fs::rename(moved, open.game.Path());
        QVERIFY(WaitFor([&] { return window.Shown() != nullptr; }));
        QCOMPARE(open.Pane().toPlainText(), report);
    }

    // A file the report read that cannot be read any more (here: a folder
    // now stands in its place) is named in the status bar.
    void FileThatCannotBeReadAnyMore() {
        OpenWindow open(SampleGame());
        CheckerWindow& window = *open.window;
        Choose(open.Selector(), PositionOf(open.Selector(), QStringLiteral("Willow Lake")));
        const int checks = window.ChecksShown();
        const fs::path stocks = open.game.Path() / "pegs" / "willow" / "peg1.stk";
        fs::remove(stocks);
        fs::create_directories(stocks);
        QVERIFY(WaitFor([&] { return window.ChecksShown() > checks; }));
        QVERIFY2(window.StatusMessage().contains(
                     QStringLiteral("pegs/willow/peg1.stk cannot be read any more")),
                 qPrintable(window.StatusMessage()));
    }

    void VenueThatVanishesOnReload() {
        OpenWindow open(FixtureGame("venue-basics"));
        CheckerWindow& window = *open.window;
        window.Action(A::kRecheckOnChange)->setChecked(false);
        const QString mill = QStringLiteral("Mill Pond & Weir");
        Choose(open.Selector(), PositionOf(open.Selector(), mill));
        fs::remove(open.game.Path() / "venues" / "mill.ven");
        QTest::keyClick(&window, Qt::Key_F5);
        QVERIFY(window.Shown() == nullptr);
        QCOMPARE(open.Selector().findText(mill), -1);
        QCOMPARE(open.Selector().currentIndex(), -1);
        QVERIFY(
            open.Pane().toPlainText().contains(QStringLiteral("is no longer in this game folder")));
        QVERIFY(window.StatusMessage().contains(mill));
        QVERIFY(!window.Action(A::kSaveReport)->isEnabled());
        QVERIFY(window.Findings()->Findings().empty());

        // Back again: Reload finds it and checks it.
        fs::copy_file(FixtureGame("venue-basics") / "venues" / "mill.ven",
                      open.game.Path() / "venues" / "mill.ven");
        QTest::keyClick(&window, Qt::Key_F5);
        QCOMPARE(open.Selector().currentText(), mill);
        QVERIFY(window.Shown() != nullptr);
        QVERIFY(open.Pane().toPlainText().startsWith(mill));
    }

    void StatusBarShowsCountsTimeAndFolder() {
        OpenWindow open(FixtureGame("venue-basics"));
        CheckerWindow& window = *open.window;
        QCOMPARE(window.StatusFolder(), QString::fromStdString(open.game.Path().string()));
        QVERIFY(window.StatusCounts().isEmpty());
        Choose(open.Selector(), 0);
        const FindingCounts& c = window.Shown()->counts;
        QCOMPARE(window.StatusCounts(), QStringLiteral("%1 errors, %2 warnings, %3 advice")
                                            .arg(c.errors)
                                            .arg(c.warnings)
                                            .arg(c.advice));
        QVERIFY(window.StatusTime().startsWith(QStringLiteral("checked in ")));
        QVERIFY(window.StatusTime().contains(QStringLiteral(" ms at ")));

        // The busy cursor is up while a check runs, and only then.
        std::vector<Qt::CursorShape> during;
        QObject::connect(&window, &CheckerWindow::CheckStarted, [&during] {
            const QCursor* cursor = QApplication::overrideCursor();
            during.push_back(cursor != nullptr ? cursor->shape() : Qt::ArrowCursor);
        });
        QTest::keyClick(&window, Qt::Key_F5);
        QVERIFY(!during.empty());
        for (Qt::CursorShape shape : during) QCOMPARE(shape, Qt::WaitCursor);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void EveryActionHasAMenuEntryAndAShortcut() {
        OpenWindow open(FixtureGame("venue-basics"));
        const std::vector<QAction*> inMenus = MenuActions(open.window->menuBar()->actions());
        std::set<QKeySequence> shortcuts;
        for (int id = 0; id < static_cast<int>(A::kCount); ++id) {
            QAction* action = open.window->Action(static_cast<A>(id));
            QVERIFY2(std::find(inMenus.begin(), inMenus.end(), action) != inMenus.end(),
                     qPrintable(action->text()));
            QVERIFY2(!action->shortcut().isEmpty(), qPrintable(action->text()));
            QVERIFY2(shortcuts.insert(action->shortcut()).second, qPrintable(action->text()));
        }
    }
};

QTEST_MAIN(QtWorkbenchTest)
#include "qt_workbench_test.moc"
