#include <unistd.h>

#include "app/cli/console.h"
#include "common/host_path.h"

namespace venuecheck {

struct Console::State {
    bool outputIsTerminal = false;
    bool errorIsTerminal = false;
};

Console::Console()
    : state_(
          std::make_unique<State>(State{isatty(STDOUT_FILENO) != 0, isatty(STDERR_FILENO) != 0})) {}

Console::~Console() = default;

bool Console::OutputTakesColours() const {
    return state_->outputIsTerminal;
}

bool Console::ErrorIsTerminal() const {
    return state_->errorIsTerminal;
}

std::filesystem::path GameFolderPath(const std::string& argument) {
    return HostPath(argument);
}

std::string WhyFolderIsMissing(const std::filesystem::path&) {
    return {};
}

}  // namespace venuecheck
