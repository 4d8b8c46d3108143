// Writes the scrambled form of a plain venue, species or stock file, as the
// game's own tools store it.

#include <CLI/CLI.hpp>
#include <iostream>
#include <string>

#include "common/scrambled_file.h"
#include "gamegen/file_output.h"

int main(int argc, char** argv) {
    CLI::App app{
        "Writes the scrambled form of a plain file: the 51-byte header with its magic, "
        "then every byte with its bits permuted."};
    std::string in;
    std::string out;
    app.add_option("IN", in, "Plain file to read")->required();
    app.add_option("OUT", out, "Scrambled file to write")->required();
    CLI11_PARSE(app, argc, argv);

    std::string plain;
    std::string error;
    if (!venuecheck::gamegen::ReadWholeFile(in, plain, error)) {
        std::cerr << "scramble: " << error << "\n";
        return 1;
    }
    if (venuecheck::IsScrambled(plain)) {
        // Scrambling twice would hide the file from the game for good.
        std::cerr << "scramble: " << in << " is already scrambled\n";
        return 1;
    }
    const std::string scrambled = venuecheck::Scramble(plain);
    if (!venuecheck::gamegen::WriteWholeFile(out, scrambled, error)) {
        std::cerr << "scramble: " << error << "\n";
        return 1;
    }
    std::cout << "scramble: wrote " << out << " (" << scrambled.size() << " bytes)\n";
    return 0;
}
