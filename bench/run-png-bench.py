#!/usr/bin/env python3
"""Times brindle-cli's PNG tool (PNG-8) against pngquant doing the same work.

The work: every PNG of the corpus reduced to a palette of at most 256 colours with full dithering
and written as PNG-8. brindle-cli runs its PNG tool once over the corpus folder with its defaults
(`brindle-cli png --source CORPUS --out OUT`: PNG-8 on, 256 colours, transparency kept, no resize);
pngquant (the same quantiser, libimagequant, at its default speed and dithering) is run once per
picture, all from one shell, as a user would run it over a folder. Both run N times (default 3),
alternating which goes first, each time into a fresh empty folder; the table gives the median wall
time, the CPU time and the peak memory (maximum resident set size from /usr/bin/time -v) and their
ratio. Afterwards the files of the last run of each are compared picture by picture: both must be
palette PNGs of the source's size (with a transparency table where the source has transparency),
and brindle-cli's file size is set against pngquant's.

Targets: brindle-cli at most 1.5 times pngquant's wall time; no file more than 5 % larger.

Each target is printed on a line of its own, "TARGET met: ..." or "TARGET NOT met: ...", and each
failed output check as "CHECK FAILED: ...".

Exit status: 0 when both tools ran every time and brindle-cli's files passed their checks; 1 when a
tool could not be run or failed, or brindle-cli left a picture out or wrote one of another size, not
a palette PNG or without the source's transparency; 2 on a usage error or a missing corpus or tool.
The ratios never change the exit status.
"""

from __future__ import annotations

import argparse
import os
import shutil
import statistics
import struct
import sys
import tempfile
from dataclasses import dataclass
from pathlib import Path

import bench_common
from bench_common import (Tool, Unusable, brindle_unavailable, corpus_pictures, mib, program_line,
                          require_programs, warm_page_cache)

REPO = Path(__file__).resolve().parent.parent
WALL_TARGET = 1.5  # brindle-cli at most 1.5 times pngquant's wall time
SIZE_TARGET = 1.05  # and no file more than 5 % larger

# pngquant once per picture, into the output folder under the picture's own name.
PNGQUANT_LOOP = 'out=$1; shift; for f; do pngquant --force --output "$out/${f##*/}" -- "$f" || exit; done'


def parse_arguments() -> argparse.Namespace:
    parser = bench_common.argument_parser(
        "Time brindle-cli png (PNG-8) against pngquant on the PNG benchmark corpus.",
        "png-corpus", "folder of PNGs made by bench/make-png-corpus.sh",
        "keep the output folders of the last run of each tool and say where they are")
    return bench_common.parse_arguments(parser)


@dataclass
class PngFacts:
    width: int
    height: int
    color_type: int
    bit_depth: int
    palette_entries: int
    has_transparency: bool  # a tRNS chunk, or a colour type with alpha


def png_facts(path: Path) -> PngFacts | None:
    """The header facts of a PNG file from its chunks, or None when it is not a PNG."""
    data = path.read_bytes()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    at = 8
    facts = None
    while at + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, color_type = struct.unpack(">IIBB", body[:10])
            facts = PngFacts(width, height, color_type, depth, 0, color_type in (4, 6))
        elif kind == b"PLTE" and facts:
            facts.palette_entries = length // 3
        elif kind == b"tRNS" and facts:
            facts.has_transparency = True
        elif kind == b"IEND":
            break
        at += 12 + length
    return facts


def source_has_alpha(path: Path) -> bool:
    facts = png_facts(path)
    return bool(facts and facts.has_transparency)


def compare_outputs(pictures: list[Path], brindle: Tool, pngquant: Tool) -> bool:
    """Prints the per-picture comparison; True when every file is within the size target."""
    print()
    print("Files of the last run (brindle-cli against pngquant):")
    header = (f"  {'picture':<30}{'source':>12}{'brindle-cli':>13}{'pngquant':>12}{'ratio':>8}"
              f"  {'palette (b/p)':>14}  checks")
    print(header)
    all_within = True
    total_brindle = total_pngquant = 0
    for picture in pictures:
        ours = brindle.output / picture.name if brindle.output else None
        theirs = pngquant.output / picture.name if pngquant.output else None
        ours_facts = png_facts(ours) if ours and ours.exists() else None
        theirs_facts = png_facts(theirs) if theirs and theirs.exists() else None
        source = png_facts(picture)
        notes = []
        if ours_facts is None or theirs_facts is None:
            print(f"  {picture.name:<30}  missing output: "
                  + ("brindle-cli " if ours_facts is None else "") + ("pngquant" if theirs_facts is None else ""))
            if ours_facts is None:
                bench_common.check_failed(f"brindle-cli wrote no readable PNG for {picture.name}")
            all_within = False
            continue
        for name, facts in (("brindle-cli", ours_facts), ("pngquant", theirs_facts)):
            if (facts.width, facts.height) != (source.width, source.height):
                notes.append(f"{name} size {facts.width}x{facts.height}")
            if facts.color_type != 3:
                notes.append(f"{name} colour type {facts.color_type}, not a palette")
            if source.has_transparency and not facts.has_transparency:
                notes.append(f"{name} lost the transparency")
        for note in notes:
            if note.startswith("brindle-cli"):
                bench_common.check_failed(f"{picture.name}: {note}")
        ours_size, theirs_size = ours.stat().st_size, theirs.stat().st_size
        total_brindle += ours_size
        total_pngquant += theirs_size
        ratio = ours_size / theirs_size
        if ratio > SIZE_TARGET:
            all_within = False
            notes.append("LARGER than the target")
        print(f"  {picture.name:<30}{picture.stat().st_size / 1e6:>10.2f} MB{ours_size / 1e6:>10.3f} MB"
              f"{theirs_size / 1e6:>9.3f} MB{ratio:>8.3f}"
              f"  {ours_facts.palette_entries:>6}/{theirs_facts.palette_entries:<7}"
              f"  {'; '.join(notes) if notes else 'ok'}")
    if total_pngquant:
        print(f"  {'all':<30}{'':>12}{total_brindle / 1e6:>10.3f} MB{total_pngquant / 1e6:>9.3f} MB"
              f"{total_brindle / total_pngquant:>8.3f}")
    return all_within


def print_table(tools: list[Tool]) -> float | None:
    print()
    header = f"{'tool':<14}{'median wall':>12}  {'median CPU':>10}  {'peak RSS':>12}  wall of each run"
    print(header)
    print("-" * len(header))
    for tool in tools:
        if not tool.measured:
            print(f"{tool.name:<14}{'-':>12}  {'-':>10}  {'-':>12}  not measured (see above)")
            continue
        walls = [run.wall for run in tool.runs]
        print(f"{tool.name:<14}{statistics.median(walls):>10.2f} s"
              f"  {statistics.median(run.cpu for run in tool.runs):>8.2f} s"
              f"  {mib(max(run.max_rss_kib for run in tool.runs)):>12}  "
              + "  ".join(f"{wall:.2f}" for wall in walls))
    brindle, pngquant = tools
    if not (brindle.measured and pngquant.measured):
        return None
    wall_ratio = (statistics.median(run.wall for run in brindle.runs)
                  / statistics.median(run.wall for run in pngquant.runs))
    cpu_ratio = (statistics.median(run.cpu for run in brindle.runs)
                 / statistics.median(run.cpu for run in pngquant.runs))
    memory_ratio = (max(run.max_rss_kib for run in brindle.runs)
                    / max(run.max_rss_kib for run in pngquant.runs))
    print(f"{'ratio':<14}{wall_ratio:>12.3f}  {cpu_ratio:>10.3f}  {memory_ratio:>12.3f}  brindle-cli / pngquant")
    return wall_ratio


def main() -> int:
    arguments = parse_arguments()
    try:
        require_programs("pngquant")
        pictures = corpus_pictures(arguments.corpus, (".png",), "PNGs", "bench/make-png-corpus.sh")
    except Unusable as problem:
        print(f"run-png-bench: {problem}", file=sys.stderr)
        return 2

    cli = arguments.cli.resolve()
    brindle = Tool("brindle-cli", unavailable=brindle_unavailable(cli, "png"))
    pngquant = Tool("pngquant")
    tools = [brindle, pngquant]

    megapixels = 0.0
    for picture in pictures:
        facts = png_facts(picture)
        if facts:
            megapixels += facts.width * facts.height / 1e6
    with_alpha = sum(1 for picture in pictures if source_has_alpha(picture))
    print(f"Corpus: {len(pictures)} PNGs ({with_alpha} with transparency), {megapixels:.1f} megapixels, "
          f"{sum(p.stat().st_size for p in pictures) / 1e6:.1f} MB, in {arguments.corpus}")
    print("Work: PNG-8 with at most 256 colours, full dithering, transparency kept")
    print(f"Cores: {os.cpu_count()}; both tools run with their own threading")
    print(f"pngquant: {program_line(['pngquant', '--version'])} (once per picture)")
    if brindle.unavailable:
        print(f"brindle-cli: NOT MEASURED: {brindle.unavailable}")
    else:
        print(f"brindle-cli: {cli} ({program_line([str(cli), '--version'])}), "
              f"`png --source CORPUS --out OUT`")
    print(f"Runs: {arguments.runs} of each, alternating which goes first")
    print()

    if arguments.work is not None:
        arguments.work.mkdir(parents=True, exist_ok=True)
    work = Path(tempfile.mkdtemp(prefix="brindle-png-bench-", dir=arguments.work))
    try:
        warm_page_cache(pictures)
        for run in range(arguments.runs):
            order = tools if run % 2 == 0 else tools[::-1]
            for tool in order:
                if tool.unavailable or tool.failure:
                    continue
                run_folder = Path(tempfile.mkdtemp(prefix=f"{tool.name}-{run + 1}-", dir=work))
                out = run_folder / "out"
                out.mkdir()
                if tool is brindle:
                    argv = [str(cli), "png", "--source", str(arguments.corpus), "--out", str(out)]
                else:
                    argv = ["/bin/sh", "-c", PNGQUANT_LOOP, "sh", str(out), *map(str, pictures)]
                measurement = tool.measure(argv, run_folder)
                if measurement is None:
                    print(f"run {run + 1} {tool.name}: FAILED: {tool.failure}")
                    continue
                print(f"run {run + 1} {tool.name:<12} wall {measurement.wall:7.2f} s  "
                      f"CPU {measurement.cpu:7.2f} s  peak RSS {mib(measurement.max_rss_kib)}")
                if tool.output is not None:
                    shutil.rmtree(tool.output.parent, ignore_errors=True)
                tool.output = out

        wall_ratio = print_table(tools)
        sizes_within = True
        if brindle.measured and pngquant.measured:
            sizes_within = compare_outputs(pictures, brindle, pngquant)
        print()
        if wall_ratio is not None:
            bench_common.report_target(f"wall time: brindle-cli takes {wall_ratio:.2f} times pngquant's; "
                                       f"target at most {WALL_TARGET:.2f}", wall_ratio <= WALL_TARGET)
            bench_common.report_target(f"file sizes: every brindle-cli file at most {SIZE_TARGET:.2f} "
                                       "times pngquant's", sizes_within)
        if arguments.keep:
            for tool in tools:
                if tool.output is not None:
                    print(f"Kept: {tool.name}'s files in {tool.output}")
    finally:
        if not arguments.keep:
            shutil.rmtree(work, ignore_errors=True)
    failed = any(tool.unavailable or tool.failure for tool in tools)
    return bench_common.exit_status(1 if failed else 0)


if __name__ == "__main__":
    sys.exit(main())
