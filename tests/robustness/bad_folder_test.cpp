// Game folders whose shape is wrong rather than a file's content: deep and
// very long paths, symbolic link loops, folders and pipes where files belong,
// files and folders that cannot be read, and a game folder that cannot be
// written at all. Each whole check run must finish with its report and leave
// the folder as the checker documents.

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "../../fuzz/folder_snapshot.h"
#include "common/scrambled_file.h"
#include "robustness/isolated_check.h"
#include "robustness/sound_game.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

void SetMode(const TempFolder& game, std::string_view relative, fs::perms mode) {
    fs::permissions(game.Path() / fs::path(std::string(relative)), mode);
}

// Takes write permission from every folder and file of the game.
void MakeReadOnly(const fs::path& root) {
    constexpr auto kWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_symlink()) fs::permissions(entry.path(), kWrite, fs::perm_options::remove);
    }
    fs::permissions(root, kWrite, fs::perm_options::remove);
}

std::string VenueWith(std::string_view dir, std::string_view lastpeg, std::string_view records,
                      std::string_view lookup) {
    gamegen::VenueFile venue;
    venue.name = "Lake";
    venue.ref = "LAKE";
    venue.dir = std::string(dir);
    venue.lastpeg = std::string(lastpeg);
    venue.records = std::string(records);
    venue.desc = "pegs\\lake\\info.txt";
    venue.lookup = std::string(lookup);
    venue.weather = "weather\\mild.wea";
    return gamegen::MakeVenueFile(venue);
}

std::string PegWith(std::string_view data, std::string_view records, std::string_view fish) {
    gamegen::PegFile peg;
    peg.name = "Lake peg 2";
    peg.ref = "2";
    peg.data = std::string(data);
    peg.records = std::string(records);
    peg.fish = std::string(fish);
    return gamegen::MakePegFile(peg);
}

// True when a regular file of the game begins with the scrambled magic.
bool HoldsScrambledFile(const fs::path& root) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(
             root, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        std::ifstream in(it->path(), std::ios::binary);
        std::string head(5, '\0');
        in.read(head.data(), 5);
        if (in && IsScrambled(head)) return true;
    }
    return false;
}

struct FolderCase {
    const char* name;
    std::function<void(const TempFolder&)> make;
    test::IsolatedOptions options;
    // Report lines that must be there.
    std::vector<std::string> expected;
    // The folder must be exactly as before, not even the documented changes.
    bool untouched = false;
};

const std::vector<std::string> kWritabilityWarnings = {
    "\n\tWarning : Unable to write to the records file",
    "\n\tError : Unable to write the last peg fished to file",
    "\n\tError : Unable to write the temp look up file",
    "\n\tWarning : Unable to write to the peg records file",
};

// Files that a read-only game keeps although a check run would otherwise
// change them: "shoalcat.txt", an existing records probe file and an old
// temporary plain copy beside a scrambled venue.
void AddFilesARunWouldChange(const TempFolder& g) {
    g.Write("shoalcat.txt", "shoal\r\n");
    g.Write("pegs/lake/records.txt_test_.tmp", "an old probe\r\n");
    g.Write("pegs/lake/peg1.rec_test_.tmp", "an old probe\r\n");
    g.Write("data/_temp.dat", "an old plain copy\r\n");
    g.Write("venues/lake.ven", Scramble(g.Read("venues/lake.ven")));
}

FolderCase Case(const char* name, std::function<void(const TempFolder&)> make,
                test::IsolatedOptions options = {}, std::vector<std::string> expected = {},
                bool untouched = false) {
    return FolderCase{name, std::move(make), options, std::move(expected), untouched};
}

test::IsolatedOptions Unprivileged() {
    test::IsolatedOptions options;
    options.unprivileged = true;
    return options;
}

test::IsolatedOptions ReadOnlyMount() {
    test::IsolatedOptions options;
    options.readOnlyMount = true;
    return options;
}

std::vector<FolderCase> FolderCases() {
    const fs::perms none = fs::perms::none;
    std::vector<FolderCase> cases;
    cases.push_back(Case("peg_folder_100_levels_deep", [](const TempFolder& g) {
        std::string dir = "pegs";
        std::string data;
        for (int i = 0; i < 100; ++i) dir += "/d";
        std::string windows = dir;
        for (char& c : windows) c = c == '/' ? '\\' : c;
        g.Write(dir + "/deep.peg",
                PegWith(windows + "\\deep.dat", windows + "\\deep.rec", windows + "\\deep.fsh"));
        g.Write(dir + "/deep.dat", test::SoundPegData());
        g.Write(dir + "/deep.fsh", "1 stocks\\roach.stk shoal [None]\r\n");
        g.Write("venues/lake.ven", VenueWith(windows + "\\*.peg", windows + "\\last.txt",
                                             windows + "\\records.txt", windows + "\\lookup.txt"));
    }));
    cases.push_back(Case("stocking_paths_of_10000_characters", [](const TempFolder& g) {
        std::string longPath;
        while (longPath.size() < 10000) longPath += "ab\\";
        g.Write("pegs/lake/peg1.fsh", "1 " + longPath + "x.stk shoal " + longPath + "x.bmp\r\n2 :" +
                                          longPath + "a.zip\\x.stk shoal [None]\r\n");
    }));
    cases.push_back(Case("names_longer_than_the_file_system_allows", [](const TempFolder& g) {
        const std::string name(255, 'n');
        g.Write("venues/lake.ven", VenueWith("pegs\\lake\\*.peg", "pegs\\lake\\" + name,
                                             "pegs\\lake\\" + name, name + "\\" + name));
        g.Write("pegs/lake/peg2.peg", PegWith(name, "pegs\\" + name, name));
    }));
    cases.push_back(Case("symbolic_link_loops_in_the_peg_folder", [](const TempFolder& g) {
        const fs::path lake = g.Path() / "pegs" / "lake";
        fs::create_directory_symlink(".", lake / "loop.peg");
        fs::create_symlink("self.peg", lake / "self.peg");
        fs::create_symlink("b.peg", lake / "a.peg");
        fs::create_symlink("a.peg", lake / "b.peg");
        fs::create_symlink("gone.dat", lake / "dangling.dat");
        // The venue's last-peg and look-up files, links to files not yet there.
        fs::create_symlink("last-target.txt", lake / "lastpeg.txt");
        fs::create_symlink("../../lookup-target.txt", lake / "lookup.txt");
        fs::create_directory_symlink("..", lake / "up");
        g.Write("pegs/lake/peg2.peg",
                PegWith("pegs\\lake\\loop.peg\\loop.peg\\loop.peg\\peg2.dat",
                        "pegs\\lake\\up\\lake\\up\\lake\\peg2.rec", "pegs\\lake\\self.peg"));
        g.Write("pegs/lake/peg1.fsh",
                "1 pegs\\lake\\a.peg shoal pegs\\lake\\dangling.dat\r\n"
                "2 pegs\\lake\\loop.peg shoal [None]\r\n");
    }));
    cases.push_back(Case("folders_where_files_belong", [](const TempFolder& g) {
        for (const char* folder :
             {"pegs/lake/lastpeg.txt", "pegs/lake/records.txt_test_.tmp", "pegs/lake/peg1.dat",
              "pegs/lake/peg1.fsh", "stocks/roach.stk", "species/folder.sp", "maxsize.txt",
              "data/_temp.dat", "pegs/lake/peg2.rec_test_.tmp", "weather/mild.wea"}) {
            fs::remove(g.Path() / folder);
            fs::create_directories(g.Path() / folder / "inner");
        }
        g.Write("venues/lake.ven", Scramble(g.Read("venues/lake.ven")));
    }));
    cases.push_back(Case("named_pipes_where_files_belong", [](const TempFolder& g) {
        for (const char* file : {"pegs/lake/peg1.dat", "pegs/lake/peg1.fsh", "stocks/roach.stk",
                                 "maxsize.txt", "species/roach.sp", "pegs/lake/lastpeg.txt"}) {
            const fs::path path = g.Path() / file;
            fs::remove(path);
            ASSERT_EQ(mkfifo(path.c_str(), 0666), 0) << path;
        }
    }));
    cases.push_back(Case(
        "unreadable_files",
        [none](const TempFolder& g) {
            for (const auto& kind : test::FileKinds()) SetMode(g, kind.path, none);
            SetMode(g, "pegs/lake/peg2.peg", none);
            SetMode(g, "pegs/lake/info.txt", none);
        },
        Unprivileged()));
    cases.push_back(Case(
        "unreadable_folders",
        [none](const TempFolder& g) {
            for (const char* folder : {"pegs/lake", "species", "stocks", "data", "gfx"}) {
                SetMode(g, folder, none);
            }
        },
        Unprivileged()));
    cases.push_back(Case(
        "folders_that_cannot_be_listed",
        [](const TempFolder& g) {
            const auto passOnly = fs::perms::owner_write | fs::perms::owner_exec;
            for (const char* folder : {"pegs/lake", "species"}) SetMode(g, folder, passOnly);
        },
        Unprivileged()));
    cases.push_back(Case(
        "files_that_can_be_written_but_not_read",
        [](const TempFolder& g) {
            g.Write("pegs/lake/lastpeg.txt", "7\r\n");
            g.Write("pegs/lake/lookup.txt", "12 14 16\r\n");
            g.Write("pegs/lake/records.txt", "records\r\n");
            g.Write("pegs/lake/peg1.rec", "peg records\r\n");
            for (const char* file : {"pegs/lake/lastpeg.txt", "pegs/lake/lookup.txt",
                                     "pegs/lake/records.txt", "pegs/lake/peg1.rec"}) {
                SetMode(g, file, fs::perms::owner_write);
            }
        },
        Unprivileged()));
    cases.push_back(Case(
        "game_folder_with_read_only_permissions",
        [](const TempFolder& g) {
            AddFilesARunWouldChange(g);
            MakeReadOnly(g.Path());
        },
        Unprivileged(), kWritabilityWarnings, true));
    cases.push_back(Case("game_folder_on_a_read_only_mount", AddFilesARunWouldChange,
                         ReadOnlyMount(), kWritabilityWarnings, true));
    return cases;
}

void PrintTo(const FolderCase& c, std::ostream* out) {
    *out << c.name;
}

class BadFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(BadFolder, CheckRunFinishesWithReportAndLeavesGameAlone) {
    const FolderCase& c = GetParam();
    if (c.options.unprivileged && geteuid() == 0 && getpwuid(test::kUnprivilegedUser) == nullptr) {
        GTEST_SKIP() << "no unprivileged user " << test::kUnprivilegedUser << " to run as";
    }
    TempFolder game;
    std::string error;
    ASSERT_TRUE(test::WriteSoundGame(game.Path(), error)) << error;
    c.make(game);
    if (c.options.unprivileged) test::GiveToUnprivilegedUser(game.Path());
    const auto before = snapshot::TakeSnapshot(game.Path());

    const test::IsolatedResult result = test::RunIsolatedCheck(game.Path(), c.options);
    if (result.skipped) GTEST_SKIP() << result.problem;
    ASSERT_TRUE(result.Finished()) << result.problem;
    ASSERT_EQ(result.reports.size(), 1u);
    const std::string& report = result.reports.front();
    EXPECT_NE(report.find("Venue details"), std::string::npos);
    EXPECT_TRUE(test::HasFindingLine(report)) << report;
    for (const std::string& line : c.expected) {
        EXPECT_NE(report.find(line), std::string::npos) << "missing:" << line << "\nin:\n"
                                                        << report;
    }

    const auto after = snapshot::TakeSnapshot(game.Path());
    if (c.untouched) {
        EXPECT_EQ(snapshot::UndocumentedChanges(before, after, false), "");
        EXPECT_TRUE(before == after)
            << "a documented change was made although nothing can be written";
    } else {
        EXPECT_EQ(snapshot::UndocumentedChanges(before, after, HoldsScrambledFile(game.Path())),
                  "");
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, BadFolder, ::testing::ValuesIn(FolderCases()),
                         [](const ::testing::TestParamInfo<FolderCase>& param) {
                             return std::string(param.param.name);
                         });

}  // namespace
}  // namespace venuecheck
