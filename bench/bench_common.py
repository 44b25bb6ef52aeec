"""What the benchmark scripts share: checking the programs and the corpus, timing a command under
/usr/bin/time -v and reading its peak memory, warming the page cache, the lines a script reads
(targets met or not, output checks failed), and small formatting helpers."""
from __future__ import annotations

import argparse
from dataclasses import dataclass, field
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

TIME = "/usr/bin/time"
REPO = Path(__file__).resolve().parent.parent


# Lines another script can pick out of the output with grep: "TARGET met: ...",
# "TARGET NOT met: ..." and "CHECK FAILED: ...". A missed target is a figure of this machine and
# does not change the exit status; a failed output check (wrong sizes, Exif left, other bytes from
# two workers) makes it 1.
_failed_checks: list[str] = []


def report_target(description: str, met: bool) -> None:
    print(f"TARGET {'met' if met else 'NOT met'}: {description}")


def check_failed(description: str) -> None:
    _failed_checks.append(description)
    print(f"CHECK FAILED: {description}")


def exit_status(status: int) -> int:
    """The status a script ends with: its own, or 1 when it was 0 but an output check failed."""
    if status == 0 and _failed_checks:
        print(f"\n{len(_failed_checks)} output check(s) failed: " + "; ".join(_failed_checks),
              file=sys.stderr)
        return 1
    return status


class Unusable(Exception):
    """A tool or input the benchmark cannot do without."""


@dataclass
class Measurement:
    wall: float  # seconds
    cpu: float  # user + system seconds
    max_rss_kib: int


@dataclass
class Tool:
    """One side of a comparison: its runs, or why it was not (or no longer) measured."""
    name: str
    unavailable: str | None = None
    failure: str | None = None
    runs: list[Measurement] = field(default_factory=list)
    output: Path | None = None  # what its last run wrote

    @property
    def measured(self) -> bool:
        return bool(self.runs) and self.unavailable is None and self.failure is None

    def measure(self, argv: list[str], logs: Path) -> Measurement | None:
        """One run of argv, kept with the others; None, with the failure noted, when it failed."""
        measurement, problem = measure(argv, logs)
        if measurement is None:
            self.failure = problem
            return None
        self.runs.append(measurement)
        return measurement


def argument_parser(description: str, corpus: str, corpus_help: str,
                    keep_help: str | None = None) -> argparse.ArgumentParser:
    """The options every benchmark takes: --cli, --corpus (default bench/CORPUS), --runs, --work, and
    --keep when keep_help says what it keeps."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--cli", type=Path, default=REPO / "build" / "src" / "brindle-cli",
                        help="the brindle-cli program (default: build/src/brindle-cli)")
    parser.add_argument("--corpus", type=Path, default=REPO / "bench" / corpus,
                        help=f"{corpus_help} (default: bench/{corpus})")
    parser.add_argument("--runs", type=int, default=3, help="runs of each tool (default: 3)")
    parser.add_argument("--work", type=Path, default=None,
                        help="where the output folders are made (default: the system's temporary folder)")
    if keep_help:
        parser.add_argument("--keep", action="store_true", help=keep_help)
    return parser


def parse_arguments(parser: argparse.ArgumentParser) -> argparse.Namespace:
    arguments = parser.parse_args()
    if arguments.runs < 1:
        parser.error("--runs must be at least 1")
    return arguments


def first_line(text: str) -> str:
    lines = [line for line in text.splitlines() if line.strip()]
    return lines[0].strip() if lines else ""


def program_line(argv: list[str]) -> str:
    """The first line a program prints about itself (its version), or "?"."""
    try:
        result = subprocess.run(argv, stdin=subprocess.DEVNULL, capture_output=True, text=True,
                                errors="replace", timeout=60)
    except (OSError, subprocess.TimeoutExpired):
        return "?"
    return first_line(result.stdout) or first_line(result.stderr) or "?"


def require_programs(*programs: str) -> None:
    """The peers' programs and /usr/bin/time are there, or Unusable says which is missing."""
    for program in programs:
        if shutil.which(program) is None:
            raise Unusable(f"{program} is missing (scripts/install-deps.sh installs it)")
    if not os.access(TIME, os.X_OK):
        raise Unusable(f"{TIME} is missing (the Debian package 'time'; scripts/install-deps.sh installs it)")


def brindle_unavailable(cli: Path, command: str) -> str | None:
    """Why `brindle-cli COMMAND` cannot be measured, or None when it can."""
    if not cli.is_file() or not os.access(cli, os.X_OK):
        return f"{cli} does not exist or cannot be run (build it with `make build`)"
    try:
        probe = subprocess.run([str(cli), command, "--help"], stdin=subprocess.DEVNULL,
                               capture_output=True, text=True, errors="replace", timeout=60)
    except OSError as error:
        return f"{cli} cannot be run: {error}"
    except subprocess.TimeoutExpired:
        return f"`{cli} {command} --help` did not finish within 60 seconds"
    if probe.returncode != 0:
        said = first_line(probe.stderr) or first_line(probe.stdout)
        return (f"{cli} has no working {command} command: `brindle-cli {command} --help` exited with "
                f"status {probe.returncode}" + (f" ({said})" if said else ""))
    return None


def corpus_pictures(corpus: Path, suffixes: tuple[str, ...], kind: str, maker: str) -> list[Path]:
    """The corpus folder's pictures with one of the suffixes, in name order (hidden files left out)."""
    if not corpus.is_dir():
        raise Unusable(f"no corpus folder {corpus}: make it with {maker}")
    pictures = sorted(p for p in corpus.iterdir()
                      if p.is_file() and not p.name.startswith(".") and p.suffix.lower() in suffixes)
    if not pictures:
        raise Unusable(f"no {kind} in {corpus}: make them with {maker}")
    return pictures


def warm_page_cache(pictures: list[Path]) -> None:
    """Reads the corpus once so that the first run does not pay alone for reading it from disk."""
    for picture in pictures:
        with open(picture, "rb") as source:
            while source.read(1 << 20):
                pass


def measure(argv: list[str], logs: Path) -> tuple[Measurement | None, str]:
    """Runs argv under /usr/bin/time -v; the measurement, or None and what went wrong."""
    report = logs / "time.txt"
    stdout_path, stderr_path = logs / "stdout.txt", logs / "stderr.txt"
    with open(stdout_path, "wb") as stdout, open(stderr_path, "wb") as stderr:
        start = time.monotonic()
        try:
            status = subprocess.run([TIME, "-v", "-o", str(report), *argv], stdin=subprocess.DEVNULL,
                                    stdout=stdout, stderr=stderr).returncode
        except OSError as error:
            return None, f"could not start {TIME}: {error}"
        wall = time.monotonic() - start
    values = {}
    if report.exists():
        for line in report.read_text(errors="replace").splitlines():
            name, colon, value = line.strip().rpartition(": ")
            if colon:
                values[name] = value
    if status != 0:
        said = stderr_path.read_text(errors="replace").strip().splitlines()
        tail = "\n".join("      " + line for line in said[-8:])
        return None, f"exited with status {status}" + (f"; its last messages:\n{tail}" if tail else "")
    try:
        measurement = Measurement(
            wall=wall,
            cpu=float(values["User time (seconds)"]) + float(values["System time (seconds)"]),
            max_rss_kib=int(values["Maximum resident set size (kbytes)"]))
    except (KeyError, ValueError):
        return None, f"{TIME} -v gave no usable report"
    return measurement, ""


def mib(kib: float) -> str:
    return f"{kib / 1024:.1f} MiB"
