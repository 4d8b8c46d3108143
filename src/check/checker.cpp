#include "check/checker.h"

#include <algorithm>
#include <memory>
#include <new>
#include <utility>

#include "common/file_services.h"
#include "common/host_file.h"
#include "pegs/peg_report.h"
#include "stocks/stock_summary.h"
#include "venues/venue_report.h"

namespace venuecheck {
namespace {

// The analysis of one peg's data file, opened and counted ahead of its turn.
class PegDataTask : public ReadAhead::Task {
public:
    PegDataTask(GameFolder::AheadPath path, const PegRecord& peg, PegAnalysis analysis)
        : path_(std::move(path)), peg_(peg), analysis_(std::move(analysis)) {}

    const GameFolder::AheadPath& Path() const { return path_; }
    // The file opened and what it gave, or none when it could not be opened
    // or counted here.
    const std::optional<FileId>& Opened() const { return opened_; }
    const PegDataOutline& Outline() const { return outline_; }
    PegAnalysis& Analysis() { return analysis_; }

protected:
    void Run() noexcept override {
        std::optional<HostFile> file = GameFolder::OpenAhead(path_);
        if (!file) return;
        analysis_.Clear();
        try {
            AnalyseOpenedPegData(*file, peg_, analysis_, outline_);
        } catch (const std::bad_alloc&) {
            // Left to the run's turn, which may have more memory to spare.
            analysis_.uniqueMasks = UniqueMaskSet();
            return;
        }
        opened_ = file->Id();
    }

private:
    GameFolder::AheadPath path_;
    const PegRecord& peg_;
    PegAnalysis analysis_;
    std::optional<FileId> opened_;
    PegDataOutline outline_;
};

// The figures of the pegs' data files for the peg sections of one check run,
// each worked out ahead of its turn where the folder allows it, while the
// sections before it are written; in their turn they are taken only where
// the folder shows that reading the file then reads the same bytes, and are
// worked out there otherwise.
class PegDataAhead {
public:
    PegDataAhead(const GameFolder& folder, ReadAhead& readAhead, const std::vector<PegRecord>& pegs,
                 size_t count, std::vector<PegAnalysis>& spare)
        : folder_(folder),
          readAhead_(readAhead),
          pegs_(pegs),
          count_(count),
          spare_(spare),
          tasks_(count) {}

    ~PegDataAhead() {
        // A task the thread has taken must end before the analyses and the
        // peg records it works on go.
        for (size_t peg = 0; peg < started_; ++peg) Return(peg);
    }
    PegDataAhead(const PegDataAhead&) = delete;
    PegDataAhead& operator=(const PegDataAhead&) = delete;

    // The figures of the peg at this position of the list, into `analysis`;
    // the pegs after it are started.
    PegDataOutline Take(size_t peg, PegAnalysis& analysis) {
        StartUpTo(peg + kAhead);
        PegDataTask* task = tasks_[peg].get();
        if (task != nullptr) {
            readAhead_.Finish(*task);
            if (task->Opened() && folder_.InTurn(task->Path(), pegs_[peg].Data, *task->Opened())) {
                std::swap(analysis, task->Analysis());
                const PegDataOutline outline = task->Outline();
                Return(peg);
                return outline;
            }
            Return(peg);
        }
        return AnalysePegDataFile(folder_, pegs_[peg].Data, pegs_[peg], analysis);
    }

private:
    // Pegs whose figures are worked out ahead of the one written.
    static constexpr size_t kAhead = 4;

    void StartUpTo(size_t last) {
        if (!readAhead_.Running()) return;
        for (; started_ <= last && started_ < count_; ++started_) {
            const PegRecord& peg = pegs_[started_];
            if (peg.Data.empty() || IsArchivePath(peg.Data)) continue;
            std::optional<GameFolder::AheadPath> path = folder_.PathAhead(peg.Data);
            if (!path) continue;
            PegAnalysis analysis;
            if (!spare_.empty()) {
                analysis = std::move(spare_.back());
                spare_.pop_back();
            }
            tasks_[started_] =
                std::make_shared<PegDataTask>(std::move(*path), peg, std::move(analysis));
            readAhead_.Submit(tasks_[started_]);
        }
    }

    // Waits for the peg's task and keeps its analysis for another.
    void Return(size_t peg) {
        if (!tasks_[peg]) return;
        readAhead_.Finish(*tasks_[peg]);
        spare_.push_back(std::move(tasks_[peg]->Analysis()));
        tasks_[peg].reset();
    }

    const GameFolder& folder_;
    ReadAhead& readAhead_;
    const std::vector<PegRecord>& pegs_;
    const size_t count_;
    std::vector<PegAnalysis>& spare_;
    std::vector<std::shared_ptr<PegDataTask>> tasks_;
    size_t started_ = 0;
};

// The files a search finds, as paths of the game: the folder part of the
// pattern as written and the names found.
std::vector<std::string> FilesFound(const GameFolder& folder, std::string_view pattern) {
    const size_t cut = pattern.find_last_of("\\/");
    const std::string_view prefix =
        cut == std::string_view::npos ? std::string_view() : pattern.substr(0, cut + 1);
    std::vector<std::string> paths;
    for (const std::string& name : folder.FindFiles(pattern))
        paths.push_back(std::string(prefix) + name);
    return paths;
}

}  // namespace

// Each step lists a folder once, however many of its files it looks up, and
// reads the files it will read ahead of their turn, while it reads those
// before them.

void Checker::LoadMaxSizes() {
    const KeptListings kept(folder_);
    maxSizes_.LoadMaxSizes(folder_);
}

void Checker::LoadSpecies() {
    const KeptListings kept(folder_);
    folder_.ReadFilesAhead(FilesFound(folder_, "species/*.sp"));
    species_.LoadSpecies(folder_);
}

void Checker::LoadVenues() {
    const KeptListings kept(folder_);
    folder_.ReadFilesAhead(FilesFound(folder_, "venues/*.ven"));
    venues_.LoadVenueCatalogue(folder_);
}

std::vector<std::string> Checker::VenueNames() const {
    std::vector<std::string> names;
    names.reserve(venues_.Venues().size());
    for (const auto& venue : venues_.Venues()) names.push_back(venue.Name);
    return names;
}

bool Checker::CheckRun(int position, Report& report) {
    selected_ = position < 0 ? nullptr : venues_.VenueAtIndex(static_cast<size_t>(position));
    if (selected_ == nullptr) return false;

    const KeptListings kept(folder_);
    report.SetFolder(&folder_);
    report.BeginCheck(position, selected_->Name, selected_->Path);
    pegs_.FreePegs();
    folder_.ReadFilesAhead(FilesFound(folder_, selected_->Dir));
    pegCount_ = pegs_.LoadPegs(folder_, selected_->Dir);
    {
        // The pegs' stocks files, read while the sections before theirs are
        // written.
        std::vector<std::string> stocking;
        for (const PegRecord& peg : pegs_.Pegs()) stocking.push_back(peg.Fish);
        folder_.ReadFilesAhead(stocking);
    }
    WriteVenueReport(folder_, report, selected_, pegCount_);

    const size_t count = std::min(pegs_.Pegs().size(), static_cast<size_t>(std::max(pegCount_, 0)));
    if (pegGridObserver_ != nullptr) {
        // Maps are drawn from each grid as it is read, in turn.
        for (size_t i = 0; i < count; ++i) {
            ReportPeg(folder_, report, pegs_.Pegs(), pegs_.Pegs()[i], stockFiles_, pegAnalysis_,
                      pegGridObserver_);
        }
    } else {
        PegDataAhead figures(folder_, readAhead_, pegs_.Pegs(), count, spareAnalyses_);
        for (size_t i = 0; i < count; ++i) {
            ReportPeg(folder_, report, pegs_.Pegs(), pegs_.Pegs()[i], stockFiles_, pegAnalysis_,
                      [&figures, i](const PegRecord&, PegAnalysis& analysis) {
                          return figures.Take(i, analysis);
                      });
        }
    }

    folder_.ReadFilesAhead(stockFiles_.NewestFirst());
    WriteStockSummary(folder_, report, stockFiles_, species_, maxSizes_);
    stockFiles_.ClearStockFiles();
    return true;
}

void Checker::ShutDown() {
    maxSizes_.FreeMaxSizes();
    pegs_.FreePegs();
    venues_.FreeVenueCatalogue();
    selected_ = nullptr;
}

}  // namespace venuecheck
