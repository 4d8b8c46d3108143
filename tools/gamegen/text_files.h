#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace venuecheck::gamegen {

// The game's data is written on Windows; every writer below ends its lines
// with CR LF unless told otherwise.
inline constexpr std::string_view kCrLf = "\r\n";

// ---- INI files (venue and peg files) ----

struct IniKey {
    std::string key;
    std::string value;
};

struct IniSection {
    std::string name;
    std::vector<IniKey> keys;
};

// "[Name]" lines followed by "Key=Value" lines, section after section.
std::string MakeIniText(const std::vector<IniSection>& sections, std::string_view lineEnd = kCrLf);

// A venue file. A key whose value is none is left out of the file (so the
// reader gives its default); every other key is written as given, empty
// values included.
struct VenueFile {
    // [Details]
    std::optional<std::string> name = "Test Water";
    std::optional<std::string> ref = "TW01";
    std::optional<std::string> creator = "Test Maker";
    std::optional<std::string> date = "01/06/2004";
    std::optional<std::string> dir = "venues\\test\\*.peg";
    std::optional<std::string> lastpeg = "venues\\test\\lastpeg.txt";
    std::optional<std::string> records = "venues\\test\\records.txt";
    std::optional<std::string> desc;
    std::optional<std::string> level = "1.0";
    // [Weather]
    std::optional<std::string> lookup = "venues\\test\\lookup.txt";
    std::optional<std::string> weather = "venues\\test\\weather.txt";
    std::optional<std::string> tempmodel = "1";
    std::optional<std::string> tempfact = "1.0";
};

std::vector<IniSection> VenueSections(const VenueFile& venue);
std::string MakeVenueFile(const VenueFile& venue, std::string_view lineEnd = kCrLf);

// A peg file, with the same rule for keys left out.
struct PegFile {
    // [Details]
    std::optional<std::string> name = "Peg 1";
    std::optional<std::string> ref = "1";
    std::optional<std::string> desc;
    // [Files]
    std::optional<std::string> image = "venues\\test\\peg1.bmp";
    std::optional<std::string> data = "venues\\test\\peg1.dat";
    std::optional<std::string> records = "venues\\test\\peg1.rec";
    std::optional<std::string> fish = "venues\\test\\peg1.fsh";
    std::optional<std::string> fish211f;
    std::optional<std::string> sounds = "venues\\test\\peg1.wav";
    // [Distance]
    std::optional<std::string> dpratio = "1.0";
    // [Water]
    std::optional<std::string> ph = "7.0";
    std::optional<std::string> o2 = "1.0";
    std::optional<std::string> turbid = "50.0";
    std::optional<std::string> saline = "0.0";
    std::optional<std::string> temp = "1.0";
    std::optional<std::string> maxlight = "360";
    std::optional<std::string> tidefact = "0.0";
    std::optional<std::string> seatype = "0";
};

std::vector<IniSection> PegSections(const PegFile& peg);
std::string MakePegFile(const PegFile& peg, std::string_view lineEnd = kCrLf);

// ---- Peg stocks files ----

// One stocking record: "number stockfile thirdword graphic".
struct StockingRecord {
    std::string number = "1";
    std::string stockFile;
    std::string thirdWord = "shoal";
    std::string graphic = "[None]";
};

// The record on one line, line end included (the reader acts on a record
// only when white space follows it).
std::string MakePegStocksLine(const StockingRecord& record, std::string_view lineEnd = kCrLf);
std::string MakePegStocksFile(const std::vector<StockingRecord>& records,
                              std::string_view lineEnd = kCrLf);

// ---- Keyword files (species and stock files) ----

// One line: the keyword, a blank and the values as written ("TEMP",
// "15 5 25 2"). An empty values text writes the keyword alone.
struct KeywordLine {
    std::string keyword;
    std::string values;
};

std::string MakeKeywordText(const std::vector<KeywordLine>& lines,
                            std::string_view lineEnd = kCrLf);

// Range and table lines of a typical coarse fish, for species files.
std::vector<KeywordLine> TypicalSpeciesLines();

// A species file: "REF", "NAME", the other lines, then "END". A REF or NAME of
// none is left out; `end` false leaves out the "END" line.
struct SpeciesFile {
    std::optional<std::string> ref = "ROACH";
    std::optional<std::string> name = "Roach";
    std::vector<KeywordLine> lines = TypicalSpeciesLines();
    bool end = true;
};

std::string MakeSpeciesFile(const SpeciesFile& species, std::string_view lineEnd = kCrLf);

// Range and table lines of a typical stock, for stock files: ranges in order,
// a few MONTH and MOON entries.
std::vector<KeywordLine> TypicalStockLines();

// A stock file: "REF", "NAME", "MINSIZE", "MAXSIZE", the other lines, then
// "END". Items of none are left out.
struct StockFile {
    std::optional<std::string> ref = "ROACH";
    std::optional<std::string> name = "Roach shoal";
    std::optional<int> minSize = 20;
    std::optional<int> maxSize = 400;
    std::vector<KeywordLine> lines = TypicalStockLines();
    bool end = true;
};

std::string MakeStockFile(const StockFile& stock, std::string_view lineEnd = kCrLf);

// ---- maxsize.txt ----

// "first max<TAB>name" and the line end.
std::string MakeMaxSizeLine(int firstValue, int maxSize, std::string_view name,
                            std::string_view lineEnd = kCrLf);

}  // namespace venuecheck::gamegen
