#!/usr/bin/env python3
"""Times brindle-cli's join tool against ImageMagick's convert -append joining the same photographs.

The work: 50 photographs of the benchmark corpus (its 25 JPEGs, each taken twice, in name order)
joined top to bottom into one JPEG 1000 pixels wide: every picture shrunk to that width (Lanczos),
the other side in proportion, quality 90. The two sides are

- `brindle-cli join --out OUT join_width_or_height_index=3 join_width_or_height_value=1000 PICTURE...`
  (list mode: the custom width 1000; vertical, no spacing, JPEG quality 90 are the defaults);
- `convert -define jpeg:size=1000x1000 ( PICTURE -filter Lanczos -resize 1000x> ) ... -background
  white -gravity center -append -quality 90 OUT/joined.jpg`, each picture shrunk as soon as it is
  read (the memory-sparing way to write it; reading all 50 first would hold them all at full size).
  The size hint lets the JPEG decoder deliver each photo at 1/2 to 1/8 of its size, as brindle-cli
  does too.

convert runs under brindle-cli's own ImageMagick policy (MAGICK_CONFIGURE_PATH=data/magick): the
system policy stops at 16384 pixels a side, and the joined picture is about 53000 pixels high.

Both run N times (default 3), alternating which goes first, each time into a fresh empty folder; the
table gives the median wall time, the CPU time and the peak memory (maximum resident set size from
/usr/bin/time -v) beside the joined picture's size and its bytes at 8-bit RGB.

Exit status: 0 when both tools ran every time and brindle-cli's joined picture has the expected
size; 1 when a tool could not be run or failed, or its joined picture is missing or of another size
(printed as "CHECK FAILED: ..."); 2 on a usage error or a missing corpus or tool. The ratios never
change the exit status.
"""

from __future__ import annotations

import argparse
import math
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
from pathlib import Path

import bench_common
from bench_common import (Tool, Unusable, brindle_unavailable, corpus_pictures, first_line, mib,
                          require_programs, warm_page_cache)

REPO = Path(__file__).resolve().parent.parent
WIDTH = 1000
QUALITY = 90
TIMES_EACH = 2  # the 25 corpus pictures, each taken twice: 50 photographs

BRINDLE_SETTINGS = ["join_width_or_height_index=3", f"join_width_or_height_value={WIDTH}",
                    f"join_quality={QUALITY}"]


def parse_arguments() -> argparse.Namespace:
    parser = bench_common.argument_parser(
        "Time brindle-cli join against ImageMagick's convert -append on the benchmark corpus.",
        "corpus", "folder of JPEGs made by bench/make-corpus.sh",
        "keep the joined pictures of the last run of each tool and say where they are")
    return bench_common.parse_arguments(parser)


def picture_size(path: Path) -> tuple[int, int] | None:
    result = subprocess.run(["identify", "-ping", "-format", "%w %h", str(path)], stdin=subprocess.DEVNULL,
                            capture_output=True, text=True, errors="replace")
    parts = result.stdout.split()
    if result.returncode != 0 or len(parts) != 2:
        return None
    return int(parts[0]), int(parts[1])


def scaled_length(scaled: int, other: int, target: int) -> int:
    exact = other * target / scaled
    whole = math.floor(exact)
    if exact - whole >= 0.5:
        whole += 1
    return max(whole, 1)


def expected_canvas(sizes: list[tuple[int, int]]) -> tuple[int, int]:
    """The joined picture brindle-cli makes: wider pictures shrunk to WIDTH, narrower ones kept."""
    height = sum(scaled_length(w, h, WIDTH) if w > WIDTH else h for w, h in sizes)
    return WIDTH, height


def argv_for(tool: Tool, cli: Path, pictures: list[Path], out: Path) -> list[str]:
    if tool.name == "brindle-cli":
        return [str(cli), "join", "--out", str(out), *BRINDLE_SETTINGS, "--", *map(str, pictures)]
    argv = ["env", f"MAGICK_CONFIGURE_PATH={REPO / 'data' / 'magick'}", "convert",
            "-define", f"jpeg:size={WIDTH}x{WIDTH}"]
    for picture in pictures:
        argv += ["(", str(picture), "-filter", "Lanczos", "-resize", f"{WIDTH}x>", ")"]
    return argv + ["-background", "white", "-gravity", "center", "-append", "-quality", str(QUALITY),
                   str(out / "joined.jpg")]


def output_of(tool: Tool, out: Path, first: Path) -> Path:
    return out / f"{first.stem}_拼接后.jpg" if tool.name == "brindle-cli" else out / "joined.jpg"


def main() -> int:
    arguments = parse_arguments()
    try:
        require_programs("convert", "identify")
        corpus = corpus_pictures(arguments.corpus, (".jpg", ".jpeg"), "JPEGs", "bench/make-corpus.sh")
    except Unusable as problem:
        print(f"run-join-bench: {problem}", file=sys.stderr)
        return 2
    pictures = [picture for _ in range(TIMES_EACH) for picture in corpus]

    cli = arguments.cli.resolve()
    brindle = Tool("brindle-cli", unavailable=brindle_unavailable(cli, "join"))
    convert = Tool("convert")
    tools = [brindle, convert]

    sizes = [picture_size(p) for p in corpus]
    if any(size is None for size in sizes):
        print("run-join-bench: a corpus picture cannot be read", file=sys.stderr)
        return 2
    megapixels = sum(w * h for w, h in sizes) * TIMES_EACH / 1e6
    expected = expected_canvas(sizes * TIMES_EACH)
    print(f"Corpus: {len(corpus)} JPEGs in {arguments.corpus}, each taken {TIMES_EACH} times: "
          f"{len(pictures)} photographs, {megapixels:.0f} megapixels")
    print(f"Work: joined top to bottom, each shrunk to width {WIDTH} (Lanczos), JPEG quality {QUALITY}")
    print(f"Expected joined picture: {expected[0]} x {expected[1]} "
          f"({expected[0] * expected[1] / 1e6:.1f} megapixels, "
          f"{expected[0] * expected[1] * 3 / 2**20:.0f} MiB at 8-bit RGB)")
    print(f"Cores: {os.cpu_count()}; both tools run with their own threading")
    version = subprocess.run(["convert", "-version"], capture_output=True, text=True).stdout
    print(f"ImageMagick: {first_line(version).removeprefix('Version: ')}; convert runs under "
          f"{REPO / 'data' / 'magick' / 'policy.xml'}")
    if brindle.unavailable:
        print(f"brindle-cli: NOT MEASURED: {brindle.unavailable}")
    print(f"Runs: {arguments.runs} of each, alternating which goes first")
    print()

    if arguments.work is not None:
        arguments.work.mkdir(parents=True, exist_ok=True)
    work = Path(tempfile.mkdtemp(prefix="brindle-join-bench-", dir=arguments.work))
    try:
        warm_page_cache(corpus)
        for run in range(arguments.runs):
            order = tools if run % 2 == 0 else tools[::-1]
            for tool in order:
                if tool.unavailable or tool.failure:
                    continue
                run_folder = Path(tempfile.mkdtemp(prefix=f"{tool.name}-{run + 1}-", dir=work))
                out = run_folder / "out"
                out.mkdir()
                measurement = tool.measure(argv_for(tool, cli, pictures, out), run_folder)
                if measurement is None:
                    print(f"run {run + 1} {tool.name}: FAILED: {tool.failure}")
                    continue
                print(f"run {run + 1} {tool.name:<12} wall {measurement.wall:7.2f} s  "
                      f"CPU {measurement.cpu:7.2f} s  peak RSS {mib(measurement.max_rss_kib)}")
                if tool.output is not None:
                    shutil.rmtree(tool.output.parent.parent, ignore_errors=True)
                tool.output = output_of(tool, out, pictures[0])

        print()
        header = (f"{'tool':<13}{'median wall':>12}  {'median CPU':>10}  {'peak RSS':>11}  "
                  f"{'joined picture':>16}  {'8-bit RGB':>10}")
        print(header)
        print("-" * len(header))
        for tool in tools:
            if not tool.measured:
                print(f"{tool.name:<13}{'-':>12}  {'-':>10}  {'-':>11}  not measured (see above)")
                continue
            size = picture_size(tool.output) if tool.output and tool.output.exists() else None
            shown = f"{size[0]} x {size[1]}" if size else "missing"
            if tool is brindle and size != expected:
                bench_common.check_failed(f"brindle-cli's joined picture is {shown}, not "
                                          f"{expected[0]} x {expected[1]}")
            rgb = f"{size[0] * size[1] * 3 / 2**20:.0f} MiB" if size else "-"
            print(f"{tool.name:<13}{statistics.median(r.wall for r in tool.runs):>10.2f} s"
                  f"  {statistics.median(r.cpu for r in tool.runs):>8.2f} s"
                  f"  {mib(max(r.max_rss_kib for r in tool.runs)):>11}  {shown:>16}  {rgb:>10}")
        if brindle.measured and convert.measured:
            wall = (statistics.median(r.wall for r in brindle.runs)
                    / statistics.median(r.wall for r in convert.runs))
            memory = max(r.max_rss_kib for r in brindle.runs) / max(r.max_rss_kib for r in convert.runs)
            print(f"{'ratio':<13}{wall:>12.3f}  {'':>10}  {memory:>11.3f}  brindle-cli / convert")
        if arguments.keep:
            for tool in tools:
                if tool.output is not None:
                    print(f"Kept: {tool.name}'s joined picture {tool.output}")
    finally:
        if not arguments.keep:
            shutil.rmtree(work, ignore_errors=True)
    return bench_common.exit_status(1 if any(tool.unavailable or tool.failure for tool in tools) else 0)


if __name__ == "__main__":
    sys.exit(main())
