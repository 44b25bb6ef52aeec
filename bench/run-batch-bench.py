#!/usr/bin/env python3
"""Times brindle-cli's main batch against ImageMagick's mogrify and libvips' vipsthumbnail doing the
same work, and measures how close each one's pictures are to an exact resize.

The work: every JPEG of the corpus made narrower to 1200 pixels where it is wider (Lanczos, the other
side in proportion), saved as JPEG quality 85 without Exif and similar data. Four sides run N times
each (default 3), the order rotating from run to run, each time into a fresh empty folder:

- brindle-cli batch with its default worker rule;
- brindle-cli batch --jobs 2 (two pictures at a time; not measured when this build has no --jobs);
- mogrify;
- vipsthumbnail (not measured when it is not installed).

The table gives the median wall time, the CPU time and the peak memory (maximum resident set size
from /usr/bin/time -v) of each side, and two pairs of ratios: brindle-cli / mogrify and
brindle-cli --jobs 2 / vipsthumbnail. Afterwards the sizes of every side's pictures are compared and,
unless --no-quality is given, the PSNR of each picture against a 16-bit Lanczos resize of its source.

With --text-watermark brindle-cli and mogrify also draw the text "Brindle 2026" at the bottom right of
every picture (DejaVu Sans, 26 points at 96 DPI, margins 16): brindle-cli renders the block once per
run, mogrify annotates every picture. vipsthumbnail cannot draw text and is then not measured.

Each target is printed on a line of its own, "TARGET met: ..." or "TARGET NOT met: ...", and each
failed output check as "CHECK FAILED: ...".

Exit status: 0 when every side that could be measured ran every time and every output check
passed; 1 when a side failed, brindle-cli is not there or has no batch command yet, or an output
check failed (a picture missing or of another size than the other sides', Exif left in one, other
bytes from brindle-cli --jobs 2 than from brindle-cli); 2 on a usage error or a missing corpus,
ImageMagick or /usr/bin/time. A missing vipsthumbnail or --jobs option, the ratios and the quality
figures never change the exit status.
"""

from __future__ import annotations

import argparse
import concurrent.futures
import filecmp
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
from dataclasses import dataclass, field
from pathlib import Path

import bench_common
from bench_common import (Measurement, Unusable, brindle_unavailable, check_failed, corpus_pictures,
                          first_line, measure, mib, program_line, report_target, require_programs,
                          warm_page_cache)

REPO = Path(__file__).resolve().parent.parent
WIDTH = 1200
QUALITY = 85
WALL_TARGET = 0.5  # brindle-cli at most half of mogrify's wall time
MEMORY_TARGET = 1.0  # and no more memory at its peak
JOBS = 2  # the worker count of the side compared with vipsthumbnail
JOBS_WALL_TARGET = 1.0  # brindle-cli --jobs 2 no slower than vipsthumbnail
JOBS_MEMORY_TARGET = 1.0  # and no more memory at its peak
PSNR_GAP_TARGET = 0.3  # brindle-cli at most this many dB below mogrify, picture by picture
QUALITY_PROCESSES = 2  # references and comparisons made this many at a time

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
# -strip also drops ICC profiles, which brindle-cli keeps; the generated corpus has none, so the work
# is equal.
MOGRIFY_OPTIONS = ["-filter", "Lanczos", "-resize", f"{WIDTH}>", "-quality", str(QUALITY), "-strip"]
# The same with vipsthumbnail: the height bound is out of reach, so only the width limits, and ">"
# makes it shrink only. It shrinks in the JPEG decoder and by blocks first and does at least the last
# factor of two with Lanczos-3.
VIPS_SIZE = f"{WIDTH}x100000>"
VIPS_SAVE_OPTIONS = f"[Q={QUALITY},strip]"

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

BRINDLE = "brindle-cli"
BRINDLE_JOBS = f"brindle-cli --jobs {JOBS}"
MOGRIFY = "mogrify"
VIPS = "vipsthumbnail"
NAME_WIDTH = 22


@dataclass
class Tool:
    name: str
    command: list[str]  # the program and the options that come before the output folder
    unavailable: str | None = None  # why it is not measured at all
    failure: str | None = None  # why it stopped being measured
    runs: list[Measurement] = field(default_factory=list)
    output: Path | None = None  # the folder of its last successful run
    text_watermark: bool = False

    def argv(self, out: Path, pictures: list[Path]) -> list[str]:
        if self.name == MOGRIFY:
            text = MOGRIFY_TEXT_OPTIONS if self.text_watermark else []
            return [*self.command, "-path", str(out), *MOGRIFY_OPTIONS, *text, *map(str, pictures)]
        if self.name == VIPS:
            # %s is each picture's name without its suffix.
            return [*self.command, "-s", VIPS_SIZE, "-o", f"{out}/%s.jpg{VIPS_SAVE_OPTIONS}",
                    *map(str, pictures)]
        text = TEXT_SETTINGS if self.text_watermark else []
        return [*self.command, "--out", str(out), *BATCH_SETTINGS, *text, *map(str, pictures)]

    @property
    def measured(self) -> bool:
        return bool(self.runs) and self.unavailable is None and self.failure is None


def parse_arguments() -> argparse.Namespace:
    parser = bench_common.argument_parser(
        "Time brindle-cli batch against ImageMagick's mogrify and libvips' vipsthumbnail on a folder "
        "of JPEGs, and compare the quality of their pictures.",
        "corpus", "folder of JPEGs, such as the one bench/make-corpus.sh makes",
        "keep the output folders of the last run of each tool and say where they are")
    parser.add_argument("--text-watermark", action="store_true",
                        help=f'also draw the text "{TEXT}" at the bottom right of every picture '
                             "(vipsthumbnail is then not measured)")
    parser.add_argument("--no-quality", action="store_true",
                        help="skip the PSNR figures after the timed runs")
    return bench_common.parse_arguments(parser)


def jobs_unavailable(cli: Path) -> str | None:
    """Why `brindle-cli batch --jobs N` cannot be measured, or None when its help offers it."""
    try:
        probe = subprocess.run([str(cli), "batch", "--help"], stdin=subprocess.DEVNULL,
                               capture_output=True, text=True, errors="replace", timeout=60)
    except (OSError, subprocess.TimeoutExpired) as error:
        return f"`brindle-cli batch --help` could not be run: {error}"
    if "--jobs" not in probe.stdout + probe.stderr:
        return "`brindle-cli batch --help` does not mention --jobs: this build has no such option yet"
    return None


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
    # By name without suffix: vipsthumbnail writes every picture as NAME.jpg.
    found = {}
    for path in sorted(folder.rglob("*")):
        if path.is_file():
            found.setdefault(path.stem, path)
    return found


@dataclass
class Outputs:
    """What the last run of each side wrote: its picture of each corpus stem, and their sizes."""
    files: dict[str, dict[str, Path]]
    sizes: dict[str, dict[Path, tuple[int, int]]]


def check_outputs(pictures: list[Path], tools: list[Tool],
                  source_sizes: dict[Path, tuple[int, int]]) -> Outputs | None:
    checked = [tool for tool in tools if tool.output is not None]
    if not checked:
        return None
    print()
    print("Output check (the last run of " + ", ".join(tool.name for tool in checked) + "):")
    outputs = Outputs({tool.name: outputs_by_stem(tool.output) for tool in checked}, {})
    outputs.sizes = {tool.name: picture_sizes(list(outputs.files[tool.name].values())) for tool in checked}
    mismatches = []
    agreed = 0
    for picture in pictures:
        described = []
        seen = set()
        for tool in checked:
            output = outputs.files[tool.name].get(picture.stem)
            if output is None:
                described.append(f"{tool.name} wrote no picture")
                seen.add(None)
            elif output not in outputs.sizes[tool.name]:
                described.append(f"{tool.name} wrote {output.name}, which cannot be read")
                seen.add(None)
            else:
                width, height = outputs.sizes[tool.name][output]
                described.append(f"{tool.name} {width}x{height}")
                seen.add((width, height))
        if len(seen) == 1 and None not in seen:
            agreed += 1
            continue
        if picture in source_sizes:
            width, height = expected_size(*source_sizes[picture])
            described.append(f"expected {width}x{height}")
        mismatches.append(f"{picture.name}: " + ", ".join(described))
    if len(checked) >= 2:
        print(f"  picture sizes agree for {agreed} of {len(pictures)} pictures")
    else:
        print(f"  {checked[0].name} alone: {agreed} of {len(pictures)} pictures written and readable")
    for line in mismatches:
        check_failed(f"picture sizes differ: {line}")
    for tool in checked:
        extra = sorted(set(outputs.files[tool.name]) - {picture.stem for picture in pictures})
        if extra:
            print(f"  {tool.name} also wrote: "
                  + ", ".join(outputs.files[tool.name][stem].name for stem in extra))
        with_exif = [path.name for path in outputs.files[tool.name].values() if has_exif(path)]
        if with_exif:
            check_failed(f"{tool.name} left Exif in {len(with_exif)} of its pictures: " + ", ".join(with_exif[:5])
                         + (" ..." if len(with_exif) > 5 else ""))
        else:
            print(f"  {tool.name}: no Exif left in its pictures")
    return outputs


def check_same_bytes(pictures: list[Path], outputs: Outputs) -> None:
    """brindle-cli --jobs 2 must write what one worker writes, byte for byte."""
    if BRINDLE_JOBS not in outputs.files or BRINDLE not in outputs.files:
        return
    different = []
    for picture in pictures:
        ours = outputs.files[BRINDLE].get(picture.stem)
        theirs = outputs.files[BRINDLE_JOBS].get(picture.stem)
        if ours is None or theirs is None or not filecmp.cmp(ours, theirs, shallow=False):
            different.append(picture)
    if not different:
        print(f"  {BRINDLE_JOBS} wrote the same bytes as {BRINDLE} for all {len(pictures)} pictures")
    else:
        check_failed(f"{BRINDLE_JOBS} wrote other bytes than {BRINDLE} for {len(different)} of "
                     f"{len(pictures)} pictures: " + ", ".join(picture.name for picture in different[:5])
                     + (" ..." if len(different) > 5 else ""))


def median_wall(tool: Tool) -> float:
    return statistics.median(run.wall for run in tool.runs)


def peak_rss(tool: Tool) -> int:
    return max(run.max_rss_kib for run in tool.runs)


def print_ratios(ours: Tool, theirs: Tool, wall_target: float, memory_target: float) -> None:
    if not (ours.measured and theirs.measured):
        missing = [tool for tool in (ours, theirs) if not tool.measured]
        print(f"{ours.name} against {theirs.name}: not measured ("
              + "; ".join((f"{tool.name} " if tool.failure else "") + not_measured_reason(tool)
                          for tool in missing) + ")")
        return
    wall_ratio = median_wall(ours) / median_wall(theirs)
    memory_ratio = peak_rss(ours) / peak_rss(theirs)
    report_target(f"wall time: {ours.name} takes {wall_ratio:.2f} of {theirs.name}'s time; target at "
                  f"most {wall_target:.2f}", wall_ratio <= wall_target)
    report_target(f"peak memory: {ours.name} uses {memory_ratio:.2f} of {theirs.name}'s; target at "
                  f"most {memory_target:.2f}", memory_ratio <= memory_target)


def not_measured_reason(tool: Tool) -> str:
    if tool.unavailable:
        return tool.unavailable
    if tool.failure:
        return f"failed in {tool.failure.splitlines()[0]}"
    return "not run"


def print_table(tools: dict[str, Tool]) -> None:
    print()
    header = (f"{'side':<{NAME_WIDTH}}{'median wall':>12}  {'median CPU':>10}  {'peak RSS':>12}  "
              "wall of each run")
    print(header)
    print("-" * len(header))
    for tool in tools.values():
        if not tool.measured:
            print(f"{tool.name:<{NAME_WIDTH}}{'-':>12}  {'-':>10}  {'-':>12}  "
                  f"not measured: {not_measured_reason(tool)}")
            continue
        walls = [run.wall for run in tool.runs]
        print(f"{tool.name:<{NAME_WIDTH}}{statistics.median(walls):>10.2f} s"
              f"  {statistics.median(run.cpu for run in tool.runs):>8.2f} s"
              f"  {mib(peak_rss(tool)):>12}  "
              + "  ".join(f"{wall:.2f}" for wall in walls))
    for ours, theirs in ((BRINDLE, MOGRIFY), (BRINDLE_JOBS, VIPS)):
        if tools[ours].measured and tools[theirs].measured:
            wall_ratio = median_wall(tools[ours]) / median_wall(tools[theirs])
            memory_ratio = peak_rss(tools[ours]) / peak_rss(tools[theirs])
            print(f"{'ratio':<{NAME_WIDTH}}{wall_ratio:>12.3f}  {'':>10}  {memory_ratio:>12.3f}  "
                  f"{ours} / {theirs}")
    print()
    print_ratios(tools[BRINDLE], tools[MOGRIFY], WALL_TARGET, MEMORY_TARGET)
    print_ratios(tools[BRINDLE_JOBS], tools[VIPS], JOBS_WALL_TARGET, JOBS_MEMORY_TARGET)


# --- Quality -----------------------------------------------------------------------------------

def quality_environment() -> dict[str, str]:
    # The system policy (it allows MIFF), and one thread per process since QUALITY_PROCESSES run at once.
    environment = {name: value for name, value in os.environ.items() if name != "MAGICK_CONFIGURE_PATH"}
    environment["MAGICK_THREAD_LIMIT"] = "1"
    return environment


def make_reference(source: Path, size: tuple[int, int], target: Path) -> str | None:
    """The source fully decoded (Q16), resized with Lanczos to exactly SIZE and stored at 16 bits
    without quantisation to 8; None when made, else what went wrong."""
    width, height = size
    result = subprocess.run(["convert", "-quiet", str(source), "-filter", "Lanczos", "-resize",
                             f"{width}x{height}!", "-depth", "16", f"miff:{target}"],
                            stdin=subprocess.DEVNULL, capture_output=True, text=True, errors="replace",
                            env=quality_environment())
    if result.returncode != 0 or not target.is_file():
        return f"convert exited with status {result.returncode}: {first_line(result.stderr)}"
    return None


PSNR_FIGURE = re.compile(r"(inf|[0-9]+(?:\.[0-9]*)?(?:e[+-]?[0-9]+)?)\s*$")


def psnr(picture: Path, reference: Path) -> tuple[float | None, str]:
    """compare's PSNR of the picture against the reference, in dB (inf when identical)."""
    result = subprocess.run(["compare", "-quiet", "-metric", "PSNR", str(picture), str(reference),
                             "null:"], stdin=subprocess.DEVNULL, capture_output=True, text=True,
                            errors="replace", env=quality_environment())
    # compare exits with 1 when the pictures differ, which they normally do; 2 is an error.
    found = PSNR_FIGURE.search(result.stderr)
    if result.returncode > 1 or found is None:
        return None, f"compare exited with status {result.returncode}: {first_line(result.stderr)}"
    return float(found.group(1)), ""


def gap(ours: float, theirs: float) -> float:
    if ours == theirs:  # also both identical to the reference
        return 0.0
    return ours - theirs


def figure(value: float | None, width: int) -> str:
    return f"{'-':>{width}}" if value is None else f"{value:>{width}.2f}"


def quality_report(pictures: list[Path], tools: dict[str, Tool], outputs: Outputs,
                   source_sizes: dict[Path, tuple[int, int]], work: Path) -> None:
    sides = [tool.name for tool in tools.values() if tool.name in outputs.files]
    print()
    print("Quality: PSNR in dB of each side's picture (its last run) against a reference: the source")
    print("decoded by ImageMagick (Q16), resized with -filter Lanczos to exactly that picture's size and")
    print("kept at 16 bits; a picture not resized is compared with the source itself. inf: identical.")

    # One reference per source and output size; pictures left at the source's size need none.
    wanted: dict[tuple[Path, tuple[int, int]], Path] = {}
    plan: dict[tuple[str, Path], tuple[Path, tuple[Path, tuple[int, int]] | None]] = {}
    for picture in pictures:
        for side in sides:
            output = outputs.files[side].get(picture.stem)
            if output is None or output not in outputs.sizes[side]:
                continue
            size = outputs.sizes[side][output]
            if size == source_sizes.get(picture):
                plan[(side, picture)] = (output, None)
                continue
            key = (picture, size)
            wanted.setdefault(key, work / f"reference-{len(wanted)}.miff")
            plan[(side, picture)] = (output, key)

    problems: list[str] = []
    ready: set[tuple[Path, tuple[int, int]]] = set()
    with concurrent.futures.ThreadPoolExecutor(QUALITY_PROCESSES) as pool:
        made = {key: pool.submit(make_reference, key[0], key[1], target) for key, target in wanted.items()}
        for key, future in made.items():
            problem = future.result()
            if problem is None:
                ready.add(key)
            else:
                problems.append(f"  no reference for {key[0].name} at {key[1][0]}x{key[1][1]}: {problem}")

        measured: dict[tuple[str, Path], concurrent.futures.Future] = {}
        for (side, picture), (output, key) in plan.items():
            if key is None:
                measured[(side, picture)] = pool.submit(psnr, output, picture)
            elif key in ready:
                measured[(side, picture)] = pool.submit(psnr, output, wanted[key])
        values: dict[tuple[str, Path], float] = {}
        for (side, picture), future in measured.items():
            value, problem = future.result()
            if value is None:
                problems.append(f"  no PSNR for {side}'s {picture.name}: {problem}")
            else:
                values[(side, picture)] = value
    for target in wanted.values():
        target.unlink(missing_ok=True)

    # Picture by picture.
    name_width = min(max(len("picture"), *(len(picture.name) for picture in pictures)), 36)
    widths = [max(len(side), 7) for side in sides]
    compared = BRINDLE in sides and MOGRIFY in sides
    print()
    header = (f"{'picture':<{name_width}}  {'output':>9}  "
              + "  ".join(f"{side:>{width}}" for side, width in zip(sides, widths))
              + (f"  {'gap':>6}" if compared else ""))
    print(header)
    print("-" * len(header))
    gaps: dict[Path, float] = {}
    for picture in pictures:
        sizes = {outputs.sizes[side].get(outputs.files[side].get(picture.stem)) for side in sides} - {None}
        if len(sizes) == 1:
            (width, height), = sizes
            shown = f"{width}x{height}"
            if (width, height) == source_sizes.get(picture):
                shown = "unresized"
        else:
            shown = "differ" if sizes else "-"
        row = (f"{picture.name[:name_width]:<{name_width}}  {shown:>9}  "
               + "  ".join(figure(values.get((side, picture)), width) for side, width in zip(sides, widths)))
        if compared and (BRINDLE, picture) in values and (MOGRIFY, picture) in values:
            gaps[picture] = gap(values[(BRINDLE, picture)], values[(MOGRIFY, picture)])
            row += f"  {gaps[picture]:>+6.2f}"
        print(row)
    if compared:
        print(f"gap: {BRINDLE} minus {MOGRIFY}, in dB")
    for line in problems:
        print(line)

    # Side by side.
    print()
    header = f"{'side':<{NAME_WIDTH}}{'min PSNR':>10}  {'median PSNR':>11}  pictures"
    print(header)
    print("-" * len(header))
    for side in sides:
        figures = [values[(side, picture)] for picture in pictures if (side, picture) in values]
        if figures:
            print(f"{side:<{NAME_WIDTH}}{min(figures):>7.2f} dB  {statistics.median(figures):>8.2f} dB"
                  f"  {len(figures)} of {len(pictures)}")
        else:
            print(f"{side:<{NAME_WIDTH}}{'-':>10}  {'-':>11}  0 of {len(pictures)}")

    print()
    if gaps:
        worst = min(gaps, key=lambda picture: gaps[picture])
        counted = "" if len(gaps) == len(pictures) else f" (the {len(gaps)} pictures both sides have a figure for)"
        met = gaps[worst] >= -PSNR_GAP_TARGET and len(gaps) == len(pictures)
        report_target(f"quality: the worst gap {BRINDLE} minus {MOGRIFY} is {gaps[worst]:+.2f} dB "
                      f"({worst.name}){counted}; target no more than {PSNR_GAP_TARGET:.1f} dB below on "
                      "every picture", met)
    else:
        print(f"Quality: {BRINDLE} against {MOGRIFY}: not measured (no pictures of both to compare).")
    if BRINDLE_JOBS in sides and BRINDLE in sides:
        unequal = [picture for picture in pictures
                   if values.get((BRINDLE, picture)) != values.get((BRINDLE_JOBS, picture))]
        if unequal:
            print(f"{BRINDLE_JOBS}'s PSNR differs from {BRINDLE}'s on {len(unequal)} pictures: "
                  + ", ".join(picture.name for picture in unequal[:5]) + (" ..." if len(unequal) > 5 else ""))


# --- The runs ----------------------------------------------------------------------------------

def make_tools(arguments: argparse.Namespace) -> dict[str, Tool]:
    cli = arguments.cli.resolve()
    text = arguments.text_watermark
    brindle_problem = brindle_unavailable(cli, "batch")
    brindle = Tool(BRINDLE, [str(cli), "batch"], unavailable=brindle_problem, text_watermark=text)
    jobs = Tool(BRINDLE_JOBS, [str(cli), "batch", "--jobs", str(JOBS)],
                unavailable=brindle_problem or jobs_unavailable(cli), text_watermark=text)
    mogrify = Tool(MOGRIFY, ["mogrify"], text_watermark=text)
    vips_problem = None
    if shutil.which("vipsthumbnail") is None:
        vips_problem = "vipsthumbnail is missing (the Debian package libvips-tools; scripts/install-deps.sh installs it)"
    elif text:
        vips_problem = "vipsthumbnail cannot draw a text watermark"
    vips = Tool(VIPS, ["vipsthumbnail"], unavailable=vips_problem)
    return {tool.name: tool for tool in (brindle, jobs, mogrify, vips)}


def print_setting(arguments: argparse.Namespace, pictures: list[Path], tools: dict[str, Tool],
                  source_sizes: dict[Path, tuple[int, int]]) -> None:
    megapixels = sum(w * h for w, h in source_sizes.values()) / 1e6
    megabytes = sum(p.stat().st_size for p in pictures) / 1e6
    cores = os.cpu_count()
    usable = len(os.sched_getaffinity(0)) if hasattr(os, "sched_getaffinity") else cores
    print(f"Corpus: {len(pictures)} JPEGs, {megapixels:.1f} megapixels, {megabytes:.1f} MB, in {arguments.corpus}")
    unreadable = [picture.name for picture in pictures if picture not in source_sizes]
    if unreadable:
        print(f"  identify cannot read {len(unreadable)} of them: " + ", ".join(unreadable[:5])
              + (" ..." if len(unreadable) > 5 else ""))
    print(f"Work: resize to width {WIDTH} where wider (Lanczos), JPEG quality {QUALITY}, metadata removed")
    if arguments.text_watermark:
        print(f'  and the text watermark "{TEXT}" (DejaVu Sans, 26 points at 96 DPI) at the bottom '
              "right, margins 16")
    print(f"Cores: {cores} ({usable} usable by this process); every side runs with its own threading")
    for variable in ("OMP_NUM_THREADS", "MAGICK_THREAD_LIMIT", "MAGICK_CONFIGURE_PATH", "VIPS_CONCURRENCY"):
        if variable in os.environ:
            print(f"  {variable}={os.environ[variable]} is set and passed on to every side")
    print(f"ImageMagick: {program_line(['mogrify', '-version']).removeprefix('Version: ')}; "
          f"mogrify's limits: {mogrify_limits()}")
    cli = arguments.cli.resolve()
    if tools[BRINDLE].unavailable:
        print(f"brindle-cli: NOT MEASURED: {tools[BRINDLE].unavailable}")
    else:
        print(f"brindle-cli: {cli} ({program_line([str(cli), '--version']) or '?'})")
        if tools[BRINDLE_JOBS].unavailable:
            print(f"{BRINDLE_JOBS}: NOT MEASURED: {tools[BRINDLE_JOBS].unavailable}")
    if shutil.which("vipsthumbnail") is not None:
        print(f"vipsthumbnail: {program_line(['vipsthumbnail', '--vips-version'])}")
    if tools[VIPS].unavailable:
        print(f"vipsthumbnail: NOT MEASURED: {tools[VIPS].unavailable}")
    print(f"Runs: {arguments.runs} of each, the order rotating from run to run")
    print()


def run_all(arguments: argparse.Namespace, pictures: list[Path], tools: dict[str, Tool], work: Path) -> None:
    sides = list(tools.values())
    warm_page_cache(pictures)
    for run in range(arguments.runs):
        # Each side goes first in turn, so none is always the one after (or before) a given other.
        shift = run % len(sides)
        for tool in sides[shift:] + sides[:shift]:
            if tool.unavailable or tool.failure:
                continue
            out = Path(tempfile.mkdtemp(prefix=f"{tool.name.replace(' ', '')}-{run + 1}-out-", dir=work))
            logs = Path(tempfile.mkdtemp(prefix=f"run-{run + 1}-logs-", dir=work))
            measurement, problem = measure(tool.argv(out, pictures), logs)
            shutil.rmtree(logs, ignore_errors=True)
            if measurement is None:
                tool.failure = f"run {run + 1}: {problem}"
                print(f"run {run + 1}: {tool.name:<{NAME_WIDTH}} FAILED: {problem}")
                shutil.rmtree(out, ignore_errors=True)
                continue
            tool.runs.append(measurement)
            print(f"run {run + 1}: {tool.name:<{NAME_WIDTH}} {measurement.wall:7.2f} s wall, "
                  f"{measurement.cpu:7.2f} s CPU, {mib(measurement.max_rss_kib):>11} peak")
            if tool.output is not None:
                shutil.rmtree(tool.output, ignore_errors=True)
            tool.output = out


def main() -> int:
    arguments = parse_arguments()
    try:
        require_programs("mogrify", "identify", *(() if arguments.no_quality else ("convert", "compare")))
        pictures = corpus_pictures(arguments.corpus, (".jpg", ".jpeg"), "JPEGs", "bench/make-corpus.sh")
    except Unusable as problem:
        print(f"run-batch-bench: {problem}", file=sys.stderr)
        return 2

    tools = make_tools(arguments)
    source_sizes = picture_sizes(pictures)
    print_setting(arguments, pictures, tools, source_sizes)

    if arguments.work is not None:
        arguments.work.mkdir(parents=True, exist_ok=True)
    # Absolute: vipsthumbnail takes a relative output name as relative to each picture's folder.
    work = Path(tempfile.mkdtemp(prefix="brindle-bench-", dir=arguments.work)).resolve()
    try:
        run_all(arguments, pictures, tools, work)
        print_table(tools)
        outputs = check_outputs(pictures, list(tools.values()), source_sizes)
        if outputs is not None:
            check_same_bytes(pictures, outputs)
        if outputs is not None and not arguments.no_quality:
            quality_report(pictures, tools, outputs, source_sizes, work)
        if arguments.keep:
            print()
            for tool in tools.values():
                if tool.output is not None:
                    print(f"{tool.name}'s pictures of its last run are kept in {tool.output}")
    finally:
        if not arguments.keep:
            shutil.rmtree(work, ignore_errors=True)

    failed = False
    for tool in tools.values():
        if tool.unavailable:
            print(f"\n{tool.name} was not measured: {tool.unavailable}", file=sys.stderr)
            # Only brindle-cli itself missing is a failure; a missing peer or option is reported.
            failed = failed or tool.name == BRINDLE
        elif tool.failure:
            print(f"\n{tool.name} failed: {tool.failure}", file=sys.stderr)
            failed = True
    return bench_common.exit_status(1 if failed else 0)


if __name__ == "__main__":
    sys.exit(main())
