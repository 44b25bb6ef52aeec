#!/usr/bin/env python3
"""Times brindle-cli's main batch against ImageMagick's mogrify doing the same work.

The work: every JPEG of the corpus made narrower to 1200 pixels where it is wider (Lanczos, the other
side in proportion), saved as JPEG quality 85 without Exif and similar data. Both tools run N times
(default 3), alternating which goes first, each time into a fresh empty folder; the table gives the
median wall time, the CPU time and the peak memory (maximum resident set size from /usr/bin/time -v)
of each and their ratio. Afterwards the sizes of both tools' pictures are compared.

With --text-watermark both tools also draw the text "Brindle 2026" at the bottom right of every
picture (DejaVu Sans, 26 points at 96 DPI, margins 16): brindle-cli renders the block once per run,
mogrify annotates every picture.

Exit status: 0 when both tools ran every time; 1 when a tool could not be run, failed, or (brindle-cli)
is not there or has no batch command yet; 2 on a usage error or a missing corpus or tool.
The ratios never change the exit status.
"""

from __future__ import annotations

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
from dataclasses import dataclass, field
from pathlib import Path

import bench_common
from bench_common import (Measurement, Unusable, brindle_unavailable, corpus_pictures, measure, mib,
                          program_line, require_programs, warm_page_cache)

REPO = Path(__file__).resolve().parent.parent
WIDTH = 1200
QUALITY = 85
WALL_TARGET = 0.5  # brindle-cli at most half of mogrify's wall time
MEMORY_TARGET = 1.0  # and no more memory at its peak

# The recipe keys of one main-batch run: resize on, shrink only, by width, in pixels, keep the
# aspect ratio; fixed JPEG quality; Exif, IPTC and XMP removed. Everything else stays as in the
# default recipe (no watermark, border, tone or colour changes).
BATCH_SETTINGS = [
    "bSize=1",
    "zoomType=0",
    "sizeType=0",
    "zoomUnit=0",
    f"sizeValue={WIDTH}",
    "bZoomSameScale=1",
    "bQuanlity=1",
    "qualityMode=0",
    f"quanlity={QUALITY}",
    "bRemovePhotoOtherInfo=1",
]
# The same with mogrify: "1200>" resizes only pictures wider than 1200, keeping the aspect ratio.
# -strip also drops ICC profiles, which brindle-cli keeps; the corpus has none, so the work is equal.
MOGRIFY_OPTIONS = ["-filter", "Lanczos", "-resize", f"{WIDTH}>", "-quality", str(QUALITY), "-strip"]

# The text watermark variant: black text, 26 points at brindle-cli's 96 DPI (34 pixels), at the
# bottom right with margins of 16 pixels. mogrify draws at 72 DPI, so it is given 35 points.
TEXT = "Brindle 2026"
TEXT_SETTINGS = [
    "bSYText=1",
    f"sy_text={TEXT}",
    "sy_text_fontName=DejaVu Sans",
    "sy_text_fontSize=26",
    "sy_text_w_direction=2",
    "sy_text_w_value=16",
    "sy_text_h_direction=2",
    "sy_text_h_value=16",
    "sy_text_htmlColor=#000000",
    "sy_text_opacity=100",
]
MOGRIFY_TEXT_OPTIONS = ["-font", "DejaVu-Sans", "-fill", "black", "-gravity", "SouthEast",
                        "-pointsize", "35", "-annotate", "+16+16", TEXT]


@dataclass
class Tool:
    name: str
    command: list[str]  # without the output folder and pictures
    unavailable: str | None = None  # why it is not measured at all
    failure: str | None = None  # why it stopped being measured
    runs: list[Measurement] = field(default_factory=list)
    output: Path | None = None  # the folder of its last successful run
    text_watermark: bool = False

    def argv(self, out: Path, pictures: list[Path]) -> list[str]:
        if self.name == "mogrify":
            text = MOGRIFY_TEXT_OPTIONS if self.text_watermark else []
            return [*self.command, "-path", str(out), *MOGRIFY_OPTIONS, *text, *map(str, pictures)]
        text = TEXT_SETTINGS if self.text_watermark else []
        return [*self.command, "batch", "--out", str(out), *BATCH_SETTINGS, *text,
                *map(str, pictures)]

    @property
    def measured(self) -> bool:
        return bool(self.runs) and self.unavailable is None and self.failure is None


def parse_arguments() -> argparse.Namespace:
    parser = bench_common.argument_parser(
        "Time brindle-cli batch against ImageMagick's mogrify on the benchmark corpus.",
        "corpus", "folder of JPEGs made by bench/make-corpus.sh",
        "keep the output folders of the last run of each tool and say where they are")
    parser.add_argument("--text-watermark", action="store_true",
                        help=f'also draw the text "{TEXT}" at the bottom right of every picture')
    return bench_common.parse_arguments(parser)


def mogrify_limits() -> str:
    """The resource limits ImageMagick's own tools run under here (from the system policy)."""
    try:
        listing = subprocess.run(["mogrify", "-list", "resource"], stdin=subprocess.DEVNULL,
                                 capture_output=True, text=True, errors="replace", timeout=60).stdout
    except (OSError, subprocess.TimeoutExpired):
        return "?"
    limits = {}
    for line in listing.splitlines():
        name, colon, value = line.strip().partition(":")
        if colon:
            limits[name.strip().lower()] = value.strip()
    return ", ".join(f"{name} {limits[name]}" for name in ("thread", "memory", "map", "area")
                     if name in limits)


def picture_sizes(paths: list[Path]) -> dict[Path, tuple[int, int]]:
    """Width and height of each picture, read from its header by identify."""
    sizes: dict[Path, tuple[int, int]] = {}
    for start in range(0, len(paths), 200):
        chunk = paths[start:start + 200]
        result = subprocess.run(["identify", "-ping", "-format", "%w %h\n", *map(str, chunk)],
                                stdin=subprocess.DEVNULL, capture_output=True, text=True, errors="replace")
        lines = result.stdout.splitlines()
        if result.returncode != 0 or len(lines) != len(chunk):
            # One by one, so a single unreadable picture does not hide the sizes of the others.
            for path in chunk:
                one = subprocess.run(["identify", "-ping", "-format", "%w %h\n", str(path)],
                                     stdin=subprocess.DEVNULL, capture_output=True, text=True,
                                     errors="replace")
                parts = one.stdout.split()
                if one.returncode == 0 and len(parts) == 2:
                    sizes[path] = (int(parts[0]), int(parts[1]))
            continue
        for path, line in zip(chunk, lines):
            width, height = line.split()
            sizes[path] = (int(width), int(height))
    return sizes


def has_exif(path: Path) -> bool:
    """Whether the JPEG carries an APP1 Exif segment before its image data."""
    with open(path, "rb") as picture:
        if picture.read(2) != b"\xff\xd8":
            return False
        while True:
            marker = picture.read(2)
            if len(marker) < 2 or marker[0] != 0xFF or marker[1] in (0xD9, 0xDA):
                return False
            length_bytes = picture.read(2)
            if len(length_bytes) < 2:
                return False
            length = int.from_bytes(length_bytes, "big")
            segment = picture.read(max(length - 2, 0))
            if marker[1] == 0xE1 and segment.startswith(b"Exif\0\0"):
                return True


def expected_size(width: int, height: int) -> tuple[int, int]:
    if width <= WIDTH:
        return width, height
    return WIDTH, max(1, int(WIDTH * height / width + 0.5))


def outputs_by_stem(folder: Path) -> dict[str, Path]:
    found = {}
    for path in sorted(folder.rglob("*")):
        if path.is_file():
            found.setdefault(path.stem, path)
    return found


def check_outputs(pictures: list[Path], tools: list[Tool]) -> None:
    checked = [tool for tool in tools if tool.output is not None]
    if not checked:
        return
    print()
    print("Output check (the last run of " + " and ".join(tool.name for tool in checked) + "):")
    source_sizes = picture_sizes(pictures)
    outputs = {tool.name: outputs_by_stem(tool.output) for tool in checked}
    sizes = {tool.name: picture_sizes(list(outputs[tool.name].values())) for tool in checked}
    mismatches = []
    agreed = 0
    for picture in pictures:
        described = []
        seen = set()
        for tool in checked:
            output = outputs[tool.name].get(picture.stem)
            if output is None:
                described.append(f"{tool.name} wrote no picture")
                seen.add(None)
            elif output not in sizes[tool.name]:
                described.append(f"{tool.name} wrote {output.name}, which cannot be read")
                seen.add(None)
            else:
                width, height = sizes[tool.name][output]
                described.append(f"{tool.name} {width}x{height}")
                seen.add((width, height))
        if len(seen) == 1 and None not in seen:
            agreed += 1
            continue
        if picture in source_sizes:
            width, height = expected_size(*source_sizes[picture])
            described.append(f"expected {width}x{height}")
        mismatches.append(f"  MISMATCH {picture.name}: " + ", ".join(described))
    if len(checked) == 2:
        print(f"  picture sizes agree for {agreed} of {len(pictures)} pictures")
    else:
        print(f"  {checked[0].name} alone: {agreed} of {len(pictures)} pictures written and readable")
    for line in mismatches:
        print(line)
    for tool in checked:
        extra = sorted(set(outputs[tool.name]) - {picture.stem for picture in pictures})
        if extra:
            print(f"  {tool.name} also wrote: " + ", ".join(outputs[tool.name][stem].name for stem in extra))
        with_exif = [path.name for path in outputs[tool.name].values() if has_exif(path)]
        if with_exif:
            print(f"  {tool.name} left Exif in {len(with_exif)} of its pictures: " + ", ".join(with_exif[:5])
                  + (" ..." if len(with_exif) > 5 else ""))
        else:
            print(f"  {tool.name}: no Exif left in its pictures")


def print_table(tools: list[Tool]) -> None:
    print()
    header = f"{'tool':<14}{'median wall':>12}  {'median CPU':>10}  {'peak RSS':>12}  wall of each run"
    print(header)
    print("-" * len(header))
    for tool in tools:
        if not tool.measured:
            if tool.unavailable:
                reason = "not there or no batch command (see above)"
            elif tool.failure:
                reason = "failed (see above)"
            else:
                reason = "not run"
            print(f"{tool.name:<14}{'-':>12}  {'-':>10}  {'-':>12}  not measured: {reason}")
            continue
        walls = [run.wall for run in tool.runs]
        print(f"{tool.name:<14}{statistics.median(walls):>10.2f} s"
              f"  {statistics.median(run.cpu for run in tool.runs):>8.2f} s"
              f"  {mib(max(run.max_rss_kib for run in tool.runs)):>12}  "
              + "  ".join(f"{wall:.2f}" for wall in walls))
    brindle, mogrify = tools
    if brindle.measured and mogrify.measured:
        wall_ratio = (statistics.median(run.wall for run in brindle.runs)
                      / statistics.median(run.wall for run in mogrify.runs))
        memory_ratio = (max(run.max_rss_kib for run in brindle.runs)
                        / max(run.max_rss_kib for run in mogrify.runs))
        print(f"{'ratio':<14}{wall_ratio:>12.3f}  {'':>10}  {memory_ratio:>12.3f}  brindle-cli / mogrify")
        print()
        print(f"Wall time: brindle-cli takes {wall_ratio:.2f} of mogrify's time; target at most "
              f"{WALL_TARGET:.2f}: {'met' if wall_ratio <= WALL_TARGET else 'NOT met'}.")
        print(f"Peak memory: brindle-cli uses {memory_ratio:.2f} of mogrify's; target at most "
              f"{MEMORY_TARGET:.2f}: {'met' if memory_ratio <= MEMORY_TARGET else 'NOT met'}.")


def main() -> int:
    arguments = parse_arguments()
    try:
        require_programs("mogrify", "identify")
        pictures = corpus_pictures(arguments.corpus, (".jpg", ".jpeg"), "JPEGs", "bench/make-corpus.sh")
    except Unusable as problem:
        print(f"run-batch-bench: {problem}", file=sys.stderr)
        return 2

    cli = arguments.cli.resolve()
    brindle = Tool("brindle-cli", [str(cli)], unavailable=brindle_unavailable(cli, "batch"),
                   text_watermark=arguments.text_watermark)
    mogrify = Tool("mogrify", ["mogrify"], text_watermark=arguments.text_watermark)
    tools = [brindle, mogrify]

    megapixels = sum(w * h for w, h in picture_sizes(pictures).values()) / 1e6
    megabytes = sum(p.stat().st_size for p in pictures) / 1e6
    cores = os.cpu_count()
    usable = len(os.sched_getaffinity(0)) if hasattr(os, "sched_getaffinity") else cores
    print(f"Corpus: {len(pictures)} JPEGs, {megapixels:.1f} megapixels, {megabytes:.1f} MB, in {arguments.corpus}")
    print(f"Work: resize to width {WIDTH} where wider (Lanczos), JPEG quality {QUALITY}, metadata removed")
    if arguments.text_watermark:
        print(f'  and the text watermark "{TEXT}" (DejaVu Sans, 26 points at 96 DPI) at the bottom '
              "right, margins 16")
    print(f"Cores: {cores} ({usable} usable by this process); both tools run with their own threading")
    for variable in ("OMP_NUM_THREADS", "MAGICK_THREAD_LIMIT", "MAGICK_CONFIGURE_PATH"):
        if variable in os.environ:
            print(f"  {variable}={os.environ[variable]} is set and passed on to both tools")
    print(f"ImageMagick: {program_line(['mogrify', '-version']).removeprefix('Version: ')}; "
          f"mogrify's limits: {mogrify_limits()}")
    if brindle.unavailable:
        print(f"brindle-cli: NOT MEASURED: {brindle.unavailable}")
    else:
        print(f"brindle-cli: {cli} ({program_line([str(cli), '--version']) or '?'})")
    print(f"Runs: {arguments.runs} of each, alternating which goes first")
    print()

    if arguments.work is not None:
        arguments.work.mkdir(parents=True, exist_ok=True)
    work = Path(tempfile.mkdtemp(prefix="brindle-bench-", dir=arguments.work))
    try:
        warm_page_cache(pictures)
        for run in range(arguments.runs):
            order = tools if run % 2 == 0 else tools[::-1]
            for tool in order:
                if tool.unavailable or tool.failure:
                    continue
                out = Path(tempfile.mkdtemp(prefix=f"{tool.name}-{run + 1}-out-", dir=work))
                logs = Path(tempfile.mkdtemp(prefix=f"{tool.name}-{run + 1}-logs-", dir=work))
                measurement, problem = measure(tool.argv(out, pictures), logs)
                if measurement is None:
                    tool.failure = f"run {run + 1} {problem}"
                    print(f"run {run + 1}: {tool.name:<12} FAILED: {problem}")
                    shutil.rmtree(out, ignore_errors=True)
                    continue
                tool.runs.append(measurement)
                print(f"run {run + 1}: {tool.name:<12} {measurement.wall:7.2f} s wall, "
                      f"{measurement.cpu:7.2f} s CPU, {mib(measurement.max_rss_kib):>11} peak")
                if tool.output is not None:
                    shutil.rmtree(tool.output, ignore_errors=True)
                tool.output = out
                shutil.rmtree(logs, ignore_errors=True)

        print_table(tools)
        check_outputs(pictures, tools)
        if arguments.keep:
            for tool in tools:
                if tool.output is not None:
                    print(f"{tool.name}'s pictures of its last run are kept in {tool.output}")
    finally:
        if not arguments.keep:
            shutil.rmtree(work, ignore_errors=True)

    failed = False
    for tool in tools:
        if tool.unavailable:
            print(f"\nbrindle-cli was not measured: {tool.unavailable}", file=sys.stderr)
            failed = True
        elif tool.failure:
            print(f"\n{tool.name} failed: {tool.failure}", file=sys.stderr)
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
