// read_floor LIST: reads every file named in LIST (one path a line) once,
// from start to end, through one buffer of 128 KiB, and writes nothing.
// The least work that reading the same files can take: the strict floor of
// a check run, beside the floor of `cat`, which also writes what it reads and
// takes a fresh buffer for every file.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: read_floor LIST\n");
        return 2;
    }
    std::ifstream list(argv[1]);
    if (!list) {
        std::fprintf(stderr, "read_floor: cannot read %s\n", argv[1]);
        return 2;
    }
    std::vector<std::string> paths;
    for (std::string line; std::getline(list, line);) {
        if (!line.empty()) paths.push_back(line);
    }

    std::vector<char> buffer(128 * 1024);
    unsigned long long total = 0;
    int failed = 0;
    for (const std::string& path : paths) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            ++failed;
            continue;
        }
        for (;;) {
            const ssize_t got = ::read(fd, buffer.data(), buffer.size());
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            total += static_cast<unsigned long long>(got);
        }
        ::close(fd);
    }
    if (failed > 0) {
        std::fprintf(stderr, "read_floor: %d of %zu files could not be opened\n", failed,
                     paths.size());
        return 1;
    }
    if (total == 0 && !paths.empty()) std::fprintf(stderr, "read_floor: the files are empty\n");
    return 0;
}
