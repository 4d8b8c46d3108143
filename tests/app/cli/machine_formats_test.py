#!/usr/bin/python3
"""The JSON and SARIF reports of venuecheck, checked against the text report.

For every fixture game and the sample game:
- the JSON report validates against schemas/venuecheck-report.schema.json, and
  its findings, in order, are exactly the finding lines of the text report
  (same count, severity and text);
- every finding with a line points at the line that holds its key, keyword or
  record in the game's file;
- the SARIF report validates against the official SARIF 2.1.0 schema and has
  what code scanning needs;
- both give the exit status of the text report.
Across them all, every rule of the rule table is written at least once (but
the one only an exhausted memory reaches).

Usage: machine_formats_test.py VENUECHECK TESTS_DIR SAMPLE_GAME JSON_SCHEMA SARIF_SCHEMA
"""

import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import urllib.parse

import jsonschema

VENUECHECK, TESTS_DIR, SAMPLE_GAME, JSON_SCHEMA, SARIF_SCHEMA = sys.argv[1:6]
del sys.argv[1:6]

# Rules that no game folder can show on demand.
UNREACHABLE_RULES = {"stock-not-loaded"}  # only when memory is exhausted

# The prefixes of the finding lines of the text report, and their severity.
LINE_PREFIXES = [
    ("\tError : ", "error"),
    ("\tWarning : ", "warning"),
    ("\tAdvice : ", "advice"),
    ("\t : Error : ", "error"),
    ("\t : Error ", "error"),
    ("\t : Warning : ", "warning"),
]

SCRAMBLED_BIT = [4, 6, 2, 1, 5, 3, 7, 0]
SCRAMBLED_HEADER = 51


def descramble(data):
    magic = bytes(sum(1 << SCRAMBLED_BIT[b] for b in range(8) if c & (1 << b)) for c in b"SCRAM")
    if not data.startswith(magic):
        return data
    plain = bytearray()
    for c in data[SCRAMBLED_HEADER:]:
        plain.append(sum(1 << b for b in range(8) if c & (1 << SCRAMBLED_BIT[b])))
    return bytes(plain)


def games():
    found = []
    fixtures = os.path.join(TESTS_DIR, "fixtures")
    for name in sorted(os.listdir(fixtures)):
        game = os.path.join(fixtures, name, "game")
        if os.path.isdir(game):
            found.append((name, game))
    found.append(("sample-game", SAMPLE_GAME))
    return found


def run(game, *arguments):
    """Runs venuecheck --all on a fresh copy of the game (a check run changes it)."""
    with tempfile.TemporaryDirectory() as temp:
        copy = os.path.join(temp, "game")
        shutil.copytree(game, copy, symlinks=True)
        result = subprocess.run([VENUECHECK, "--game-dir", copy, "--all", *arguments],
                                capture_output=True, timeout=120)
        return result.returncode, result.stdout, copy


def text_findings(text):
    """The (severity, message) of each finding line of a text report, in order."""
    findings = []
    for line in text.split(b"\n"):
        line = line.decode("latin-1")
        for prefix, severity in LINE_PREFIXES:
            if line.startswith(prefix):
                findings.append((severity, line[len(prefix):]))
                break
    return findings


def line_of(game, path, number):
    with open(os.path.join(game, path), "rb") as file:
        lines = descramble(file.read()).replace(b"\r\n", b"\n").split(b"\n")
    return lines[number - 1].decode("latin-1") if number <= len(lines) else None


class MachineFormats(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(JSON_SCHEMA) as file:
            cls.json_validator = jsonschema.Draft202012Validator(json.load(file))
        with open(SARIF_SCHEMA) as file:
            cls.sarif_validator = jsonschema.Draft4Validator(json.load(file))
        cls.rules = json.loads(subprocess.run([VENUECHECK, "--list-rules", "--format", "json"],
                                              capture_output=True, check=True).stdout)["rules"]
        cls.rules_written = set()

    def check_game(self, name, game):
        text_status, text, _ = run(game, "--format", "text")
        json_status, json_out, copy = run(game, "--format", "json")
        self.assertEqual(json_status, text_status)
        report = json.loads(json_out.decode("utf-8"))
        self.json_validator.validate(report)

        findings = [f for check in report["checks"] for f in check["findings"]]
        venue_files = [check["venueFile"] for check in report["checks"] for _ in check["findings"]]
        self.assertEqual([(f["severity"], f["message"]) for f in findings], text_findings(text))
        self.rules_written.update(f["rule"] for f in findings)
        for check in report["checks"]:
            counts = {"errors": 0, "warnings": 0, "advice": 0}
            for f in check["findings"]:
                counts[{"error": "errors", "warning": "warnings", "advice": "advice"}[f["severity"]]] += 1
            self.assertEqual(check["counts"], counts)

        for f in findings:
            if "line" not in f:
                continue
            line = line_of(game, f["file"], f["line"])
            self.assertIsNotNone(line, f)
            line = line.strip(" \t")
            key = f.get("key", "")
            where = f"{name}: {f['file']}:{f['line']} {f['rule']} {key!r}: {line!r}"
            ini = re.fullmatch(r"\[([^\]]*)\] (.*)", key)
            if ini:
                section, name_of_key = ini.groups()
                is_key = line.split("=", 1)[0].strip(" \t").lower() == name_of_key.lower() and "=" in line
                is_section = line.lower().startswith("[" + section.lower())
                self.assertTrue(is_key or is_section, where)
            elif key:
                # The statement's keyword stands on its line ("QTY 20 fish" is
                # QTY, then FISH).
                self.assertIn(key, [word.upper() for word in line.split()], where)
            elif f["rule"].startswith("stocking-"):
                # A stocking record starts with its number (or what should be one).
                self.assertTrue(line, where)
            elif f["rule"] == "stock-unrecognised-command":
                self.assertIn(f["message"].split(" : ", 1)[1], line, where)

        sarif_status, sarif_out, _ = run(game, "--format", "sarif")
        self.assertEqual(sarif_status, text_status)
        self.check_sarif(json.loads(sarif_out.decode("utf-8")), findings, venue_files)

    def check_sarif(self, log, findings, venue_files):
        self.sarif_validator.validate(log)
        self.assertEqual(next(iter(log)), "version")
        self.assertEqual(log["version"], "2.1.0")
        self.assertEqual(len(log["runs"]), 1)
        sarif_run = log["runs"][0]
        driver = sarif_run["tool"]["driver"]
        self.assertEqual(driver["name"], "venuecheck")
        rules = driver["rules"]
        self.assertEqual([r["id"] for r in rules], [r["id"] for r in self.rules])
        for rule in rules:
            for field in ("id", "name", "shortDescription", "fullDescription", "help",
                          "defaultConfiguration"):
                self.assertIn(field, rule)
            self.assertTrue(rule["help"]["text"] and rule["help"]["markdown"])
        base = sarif_run["originalUriBaseIds"]["GAMEDIR"]["uri"]
        self.assertTrue(base.startswith("file:///") and base.endswith("/"), base)
        results = sarif_run["results"]
        self.assertEqual(len(results), len(findings))
        levels = {"error": "error", "warning": "warning", "advice": "note"}
        fingerprints = set()
        for result, finding, venue_file in zip(results, findings, venue_files):
            self.assertEqual(result["ruleId"], finding["rule"])
            self.assertEqual(rules[result["ruleIndex"]]["id"], result["ruleId"])
            self.assertEqual(result["level"], levels[finding["severity"]])
            self.assertEqual(result["message"]["text"], finding["message"])
            self.assertEqual(len(result["locations"]), 1)
            location = result["locations"][0]["physicalLocation"]
            self.assertEqual(location["artifactLocation"]["uriBaseId"], "GAMEDIR")
            uri = location["artifactLocation"]["uri"]
            self.assertFalse(uri.startswith("/") or "\\" in uri, uri)
            # A finding without a file is located at its venue file.
            self.assertEqual(urllib.parse.unquote(uri, errors="strict"), finding.get("file", venue_file))
            self.assertGreaterEqual(location["region"]["startLine"], 1)
            self.assertEqual(location["region"]["startLine"], finding.get("line", 1))
            fingerprint = result["partialFingerprints"]["venuecheckFinding/v1"]
            self.assertNotIn(fingerprint, fingerprints)
            fingerprints.add(fingerprint)

    def test_every_game(self):
        for name, game in games():
            with self.subTest(game=name):
                self.check_game(name, game)
        # The fingerprints of a finding stay the same from run to run.
        _, first, _ = run(SAMPLE_GAME, "--format", "sarif")
        _, second, _ = run(SAMPLE_GAME, "--format", "sarif")
        prints = lambda out: [r["partialFingerprints"] for r in json.loads(out)["runs"][0]["results"]]
        self.assertEqual(prints(first), prints(second))
        missing = {r["id"] for r in self.rules} - self.rules_written - UNREACHABLE_RULES
        self.assertEqual(missing, set(), "rules that no fixture and not the sample game writes")

    def test_names_that_are_not_utf8(self):
        # The game's data is 8-bit: a file name with the byte 0xE9 ("é" in the
        # game's code page) still gives valid JSON and SARIF.
        with tempfile.TemporaryDirectory() as temp:
            game = temp.encode() + b"/game"
            os.makedirs(game + b"/venues")
            os.makedirs(game + b"/pegs/caf\xe9")
            with open(game + b"/venues/caf\xe9.ven", "wb") as file:
                file.write(b"[Details]\nName=Caf\xe9\nDir=pegs\\caf\xe9\\*.peg\n"
                           b"[Weather]\nWeather=m\xe9t\xe9o.wea\n")
            status, out, _ = run(game.decode("utf-8", "surrogateescape"), "--format", "json")
            report = json.loads(out.decode("utf-8"))
            self.json_validator.validate(report)
            check = report["checks"][0]
            self.assertEqual(check["venue"], "Caf\u00e9")
            self.assertEqual(check["venueFile"], "venues/caf\u00e9.ven")
            weather = [f for f in check["findings"] if f["rule"] == "venue-weather-not-found"]
            self.assertEqual(weather[0]["names"], "m\u00e9t\u00e9o.wea")
            _, out, _ = run(game.decode("utf-8", "surrogateescape"), "--format", "sarif")
            log = json.loads(out.decode("utf-8"))
            self.sarif_validator.validate(log)
            uris = {r["locations"][0]["physicalLocation"]["artifactLocation"]["uri"]
                    for r in log["runs"][0]["results"]}
            self.assertEqual(uris, {"venues/caf%C3%A9.ven"})


class Progress(unittest.TestCase):
    def test_shows_on_a_terminal_only(self):
        # On a terminal, a run of several venues rewrites one line in place and
        # clears it before the counts; elsewhere standard error holds the counts.
        import pty
        game = os.path.join(TESTS_DIR, "fixtures", "venue-basics", "game")
        with tempfile.TemporaryDirectory() as temp:
            copy = os.path.join(temp, "game")
            shutil.copytree(game, copy)
            primary, secondary = pty.openpty()
            environment = dict(os.environ, VENUECHECK_PROGRESS_DELAY_MS="0")
            result = subprocess.run([VENUECHECK, "--game-dir", copy, "--format", "text",
                                     "--output", os.devnull], stderr=secondary, env=environment,
                                    timeout=60)
            os.close(secondary)
            err = b""
            while True:
                try:
                    chunk = os.read(primary, 4096)
                except OSError:
                    break
                if not chunk:
                    break
                err += chunk
            os.close(primary)
            self.assertIn(result.returncode, (0, 1))
            self.assertTrue(err.startswith(b"\r\x1b[Kchecking 1 of "), err)
            self.assertRegex(err, rb"\r\x1b\[K[0-9]+ venues checked: ")
            piped = subprocess.run([VENUECHECK, "--game-dir", copy, "--format", "text",
                                    "--output", os.devnull], capture_output=True,
                                   env=environment, timeout=60)
            self.assertRegex(piped.stderr, rb"^[0-9]+ venues checked: [^\r]*\n$")


if __name__ == "__main__":
    unittest.main(verbosity=2)
