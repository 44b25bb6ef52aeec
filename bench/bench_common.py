"""What the benchmark scripts share: timing a command under /usr/bin/time -v and reading its
peak memory, warming the page cache, and small formatting helpers."""
from __future__ import annotations

from dataclasses import dataclass
import subprocess
import time
from pathlib import Path

TIME = "/usr/bin/time"


class Unusable(Exception):
    """A tool or input the benchmark cannot do without."""


@dataclass
class Measurement:
    wall: float  # seconds
    cpu: float  # user + system seconds
    max_rss_kib: int


def first_line(text: str) -> str:
    lines = [line for line in text.splitlines() if line.strip()]
    return lines[0].strip() if lines else ""


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
