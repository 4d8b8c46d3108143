#!/usr/bin/python3
"""venuecheck --maps DIR: a PNG file for every peg whose grid could be
analysed, a folder for each venue, one line on standard error; a folder that
cannot be written gives exit status 2, one line, and leaves the report as it
was.

usage: maps_option_test.py VENUECHECK SAMPLE_GAME TESTS_DIR
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile

FAILURES = []


def check(condition, message):
    if not condition:
        FAILURES.append(message)
    return condition


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def run(venuecheck, game, *args):
    return subprocess.run([venuecheck, "--game-dir", game, *args], capture_output=True, timeout=300)


def main():
    venuecheck, sample, tests_dir = sys.argv[1:4]
    with tempfile.TemporaryDirectory() as work:
        def game(name, source=sample):
            path = os.path.join(work, name)
            shutil.copytree(source, path)
            return path

        # With every format: the same report as without maps.
        plain = run(venuecheck, game("plain"), "--format", "runs")
        for fmt in ["text", "runs", "json", "html"]:
            maps = os.path.join(work, "maps-" + fmt)
            result = run(venuecheck, game("with-" + fmt), "--format", fmt, "--maps", maps)
            lines = result.stderr.decode().splitlines()
            files = sorted(os.path.relpath(os.path.join(d, f), maps)
                           for d, _, names in os.walk(maps) for f in names)
            check(result.returncode == 1, f"{fmt}: exit status {result.returncode}")
            check(len(lines) == 2 and lines[0] == f"{len(files)} peg maps written to '{maps}'",
                  f"{fmt}: standard error {lines}")
            if fmt == "runs":
                check(result.stdout == plain.stdout, "runs: the report changed with --maps")
            if fmt == "text":
                # The sample game's venues with pegs whose grids can be read.
                check({f.split("/")[0] for f in files} == {"grading", "stockpond", "willow"},
                      f"text: the venue folders are {sorted({f.split('/')[0] for f in files})}")
                check("willow/peg1.png" in files and len(files) == 14, f"text: the files are {files}")
                for f in files:
                    size = png_size(os.path.join(maps, f))
                    check(size is not None and size[0] == 480 and size[1] > 0, f"{f}: PNG size {size}")
                check(png_size(os.path.join(maps, "willow/peg1.png")) == (480, 360),
                      "willow/peg1.png is not 480 x 360")

        # Grids that cannot be analysed make no file; the count says so.
        maps = os.path.join(work, "maps-unreadable")
        result = run(venuecheck, game("unreadable", os.path.join(tests_dir, "fixtures",
                                                                 "pegs-unreadable-data", "game")),
                     "--maps", maps)
        lines = result.stderr.decode().splitlines()
        written = sum(len(names) for _, _, names in os.walk(maps))
        check(lines and lines[0] == f"{written} peg maps written to '{maps}'", f"unreadable: {lines}")

        # A folder that cannot be written: exit 2, one line, the report kept.
        blocker = os.path.join(work, "a-file")
        with open(blocker, "w") as f:
            f.write("not a folder")
        report = os.path.join(work, "report.html")
        with open(report, "w") as f:
            f.write("the report of an earlier run")
        for folder in [blocker, os.path.join(blocker, "maps")]:
            result = run(venuecheck, game("blocked-" + str(len(folder))), "--format", "html",
                         "--output", report, "--maps", folder)
            lines = result.stderr.decode().splitlines()
            check(result.returncode == 2, f"{folder}: exit status {result.returncode}")
            check(len(lines) == 1 and lines[0].startswith(f"venuecheck: cannot write maps into '{folder}'"),
                  f"{folder}: standard error {lines}")
            with open(report) as f:
                check(f.read() == "the report of an earlier run", f"{folder}: the report was touched")
            check(result.stdout == b"", f"{folder}: wrote {result.stdout[:80]!r}")

    for failure in FAILURES:
        print("FAIL:", failure)
    print(f"--maps: {len(FAILURES)} failures")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
