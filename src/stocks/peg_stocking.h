#pragma once

#include <string_view>

namespace venuecheck {

class GameFolder;
class Report;
class ReportPane;
class StockFileList;

// A peg stocks file lists the stocks put into a peg: records of four tokens
// (a whole number, a stock file, a word, a graphic), separated by any white
// space, so line ends carry no meaning of their own.

// Writes the heading of a peg stocks file's findings when none was written
// yet (findings is 0): "Stocking - " and the path, bold, in the font the
// peg section left.
void WriteStockingHeading(ReportPane& pane, int findings, std::string_view path);

// Checks the records of a peg stocks file given its bytes, reports what is
// wrong under one heading, and adds every stock file that exists to the
// run's list. Returns the number of finding lines written.
//
// Records are read as "%d %s %s %s" would read them: a record that the end
// of the file cuts short, or that runs right up to the end, is not checked.
// A record that does not start with a whole number gives one error line and
// the rest of its line is skipped.
int CheckPegStocking(const GameFolder& folder, Report& report, std::string_view path,
                     std::string_view bytes, StockFileList& stockFiles);

// Reads the peg stocks file straight from the file system and checks it;
// false, with nothing written, when it cannot be opened (an archive path,
// a missing file or a folder).
bool CheckPegStocking(const GameFolder& folder, Report& report, std::string_view path,
                      StockFileList& stockFiles);

}  // namespace venuecheck
