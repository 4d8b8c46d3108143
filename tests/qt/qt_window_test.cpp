// The Qt window on the offscreen platform: its layout, the check run of a
// selection, and the report pane read back from its document, compared with
// the command line's renderings of the same check run.

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/qt/ansi_text.h"
#include "app/qt/checker_window.h"
#include "app/qt/qt_report_pane.h"
#include "check/checker.h"
#include "common/version.h"
#include "qt/qt_test_support.h"
#include "report/recording_pane.h"
#include "report/report.h"
#include "report/report_formats.h"

namespace fs = std::filesystem;
using namespace venuecheck;
using namespace venuecheck::test;

namespace {

// The fixture game folders and the README's sample game.
std::vector<fs::path> GameFolders() {
    std::vector<fs::path> folders;
    for (const auto& entry : fs::directory_iterator(TestDataDir() / "fixtures")) {
        if (fs::is_directory(entry.path() / "game")) folders.push_back(entry.path() / "game");
    }
    std::sort(folders.begin(), folders.end());
    folders.push_back(SampleGame());
    return folders;
}

}  // namespace

class QtWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareReportFaces(); }

    void WindowGrowsWithItsControls() {
        OpenWindow open(FixtureGame("venue-basics"));
        CheckerWindow& window = *open.window;
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowTitle(),
                 QStringLiteral("Pelarin Venue checker - Dobrenn 2007 Ver 1.0"));
        QVERIFY(!open.Selector().isEditable());
        // Nothing is chosen and nothing is checked until the user chooses.
        QCOMPARE(open.Selector().currentIndex(), -1);
        QVERIFY(open.Pane().document()->isEmpty());

        // The selector on top; the pane and the findings panel share the
        // rest, one above the other, beside the peg map, and grow with the
        // window.
        QWidget& findings = *window.Findings();
        QWidget& map = *window.MapPanel();
        QSize pane, list;
        for (const QSize size : {QSize(800, 500), QSize(1400, 1000)}) {
            window.resize(size);
            QCoreApplication::processEvents();
            const auto top = [&window](const QWidget& widget) {
                return widget.mapTo(&window, QPoint(0, 0)).y();
            };
            QVERIFY(top(open.Selector()) + open.Selector().height() <= top(open.Pane()));
            QVERIFY(top(open.Pane()) + open.Pane().height() <= top(findings));
            QVERIFY(open.Pane().mapTo(&window, QPoint(open.Pane().width(), 0)).x() <=
                    map.mapTo(&window, QPoint(0, 0)).x());
            QVERIFY(open.Pane().width() > size.width() / 2);
            if (pane.isValid()) {
                QVERIFY(open.Pane().width() > pane.width() + 300);
                QVERIFY(open.Pane().height() + findings.height() >
                        pane.height() + list.height() + 300);
            }
            pane = open.Pane().size();
            list = findings.size();
        }
    }

    // Help > About names the program with the version set in the build.
    void HelpMenuShowsTheVersion() {
        OpenWindow open(TestDataDir() / "fixtures" / "venue-basics" / "game");
        auto* bar = open.window->findChild<QMenuBar*>();
        QVERIFY(bar != nullptr);
        QAction* about = nullptr;
        for (QAction* menu : bar->actions()) {
            if (menu->text().remove('&') != QStringLiteral("Help") || menu->menu() == nullptr)
                continue;
            for (QAction* action : menu->menu()->actions()) {
                if (action->text().remove('&') == QStringLiteral("About venuecheck-gui"))
                    about = action;
            }
        }
        QVERIFY(about != nullptr);
        QString shown;
        QTimer::singleShot(0, [&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        about->trigger();
        const QString version =
            QString::fromUtf8(kVersion.data(), static_cast<qsizetype>(kVersion.size()));
        QVERIFY2(shown.contains(QStringLiteral("venuecheck-gui ") + version), qPrintable(shown));
        // The title stays the original window's.
        QCOMPARE(open.window->windowTitle(),
                 QStringLiteral("Pelarin Venue checker - Dobrenn 2007 Ver 1.0"));
    }

    // Every venue of every game folder, chosen one after another with the
    // keyboard as a user would: each report replaces the one before and
    // equals the command line's text and runs for that position.
    void EveryVenueReportsAsTheCommandLine_data() {
        QTest::addColumn<QString>("game");
        for (const fs::path& folder : GameFolders()) {
            const std::string name =
                folder.lexically_relative(TestDataDir().parent_path()).string();
            QTest::newRow(name.c_str()) << QString::fromStdString(folder.string());
        }
    }
    void EveryVenueReportsAsTheCommandLine() {
        QFETCH(QString, game);
        const fs::path gameDir = game.toStdString();
        OpenWindow open(gameDir);

        GameCopy referenceGame(gameDir);
        Checker reference{GameFolder(referenceGame.Path())};
        reference.StartUp();
        const std::vector<std::string> names = reference.VenueNames();

        QComboBox& selector = open.Selector();
        QCOMPARE(selector.count(), static_cast<int>(names.size()));
        for (int position = 0; position < selector.count(); ++position) {
            QCOMPARE(EncodeAnsi(selector.itemText(position)), names[static_cast<size_t>(position)]);
        }

        for (int position = 0; position < selector.count(); ++position) {
            QTest::keyClick(&selector, Qt::Key_Down);
            QCOMPARE(selector.currentIndex(), position);

            RecordingPane recorded;
            Report report(recorded);
            QVERIFY(reference.CheckRun(position, report));
            const std::vector<StyledRun> expected = AsShown(recorded.Runs());
            const std::vector<StyledRun> shown = RunsOf(*open.Pane().document());
            const std::string& name = names[static_cast<size_t>(position)];

            // As QStrings, so that a failure shows the texts.
            QCOMPARE(DecodeAnsi(RenderText(shown)), DecodeAnsi(RenderText(expected)));
            QCOMPARE(DecodeAnsi(RenderRuns(position, name, shown)),
                     DecodeAnsi(RenderRuns(position, name, expected)));
        }
    }

    // The report pane cannot be typed into by accident, and every choice
    // replaces the whole report.
    void PaneTakesNoTypingAndEachChoiceReplacesTheReport() {
        OpenWindow open(FixtureGame("venue-basics"));
        QComboBox& selector = open.Selector();
        QVERIFY(selector.count() >= 2);
        QTest::keyClick(&selector, Qt::Key_End);
        const QString lastReport = open.Pane().toPlainText();
        QVERIFY(!lastReport.isEmpty());

        QVERIFY(open.Pane().isReadOnly());
        open.Pane().setFocus();
        QTest::keyClicks(&open.Pane(), "typed by the user");
        QTest::keyClick(&open.Pane(), Qt::Key_Delete);
        QTest::keyClick(&open.Pane(), Qt::Key_Backspace);
        QCOMPARE(open.Pane().toPlainText(), lastReport);

        QTest::keyClick(&selector, Qt::Key_Home);
        QCOMPARE(selector.currentIndex(), 0);
        const QString firstReport = open.Pane().toPlainText();
        QVERIFY(firstReport.startsWith(selector.itemText(0)));
        QVERIFY(firstReport != lastReport);

        QTest::keyClick(&selector, Qt::Key_End);
        QCOMPARE(open.Pane().toPlainText(), lastReport);
    }

    // The pane alone, against the recorder that the command line renders:
    // the format in force applies to what is appended after it, never to
    // text already in the pane.
    void PaneFormatsTextAsTheRecorderDoes() {
        struct Case {
            const char* name;
            std::function<void(ReportPane&)> write;
        };
        const std::vector<Case> cases = {
            {"font change keeps earlier text",
             [](ReportPane& pane) {
                 pane.PaneAppend("body ");
                 pane.PaneSetFont(style::kFace, style::kTitleSize);
                 pane.PaneSetColour(style::kTitle);
                 pane.PaneAppend("title\n\n");
                 pane.PaneSetFont("Arial", 210);
                 pane.PaneAppend("other face, ten and a half points");
             }},
            {"bold only for exactly 1",
             [](ReportPane& pane) {
                 pane.PaneSetBold(1);
                 pane.PaneAppend("bold\n");
                 pane.PaneSetBold(2);
                 pane.PaneAppend("not bold\n");
                 pane.PaneSetBold(1);
                 pane.PaneAppend("bold");
                 pane.PaneSetBold(0);
                 pane.PaneAppend("\nplain");
             }},
            {"clear keeps the style",
             [](ReportPane& pane) {
                 pane.PaneSetColour(style::kError);
                 pane.PaneAppend("\n\tError : gone");
                 pane.PaneClear();
                 pane.PaneAppend("\n\tError : still red");
                 pane.PaneSetColour(style::kAdvice);
                 pane.PaneAppend("\n\tAdvice : green\n\n");
             }},
            {"section heading and every byte",
             [](ReportPane& pane) {
                 WriteSectionHeading(pane, "\n\nPeg details for Peg 1");
                 std::string bytes;
                 for (int byte = 1; byte < 256; ++byte) {
                     if (byte != '\r') bytes += static_cast<char>(byte);
                 }
                 pane.PaneAppend(bytes);
                 pane.PaneAppend(std::string_view("cut\0hidden", 10));
             }},
        };
        for (const Case& c : cases) {
            QTextEdit edit;
            QtReportPane pane(edit);
            RecordingPane recorded;
            c.write(pane);
            c.write(recorded);
            const std::vector<StyledRun> shown = RunsOf(*edit.document());
            QVERIFY2(shown == recorded.Runs(), c.name);
            QVERIFY2(RenderRuns(0, c.name, shown) == RenderRuns(0, c.name, recorded.Runs()),
                     c.name);
        }
    }

    void AnsiTextRoundTripsEveryByte() {
        std::string bytes;
        for (int byte = 0; byte < 256; ++byte) bytes += static_cast<char>(byte);
        const QString text = DecodeAnsi(bytes);
        QCOMPARE(text.size(), 256);
        QCOMPARE(text.at(0x80), QChar(0x20AC));  // the euro sign of code page 1252
        QCOMPARE(text.at(0x92), QChar(0x2019));  // its right single quote
        QCOMPARE(text.at(0xE2), QChar(0x00E2));
        QCOMPARE(EncodeAnsi(text), bytes);
        QCOMPARE(EncodeAnsi(QStringLiteral("\u0100\u4E2D")), std::string("??"));
    }
};

QTEST_MAIN(QtWindowTest)
#include "qt_window_test.moc"
