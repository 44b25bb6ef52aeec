#!/usr/bin/env python3
"""Times brindle-cli's slice tool against ImageMagick's convert cutting the same photograph.

The work: one 5120 x 2880 photograph (bench/make-slice-picture.sh) cut into 10 x 10 tiles of
512 x 288, each written as JPEG quality 90. The two sides are

    brindle-cli slice --source DIR --out OUT slice_horizontal=1 slice_horizontal_avg_value=10
                      slice_vertical=1 slice_vertical_avg_value=10 slice_quality=90 slice_save_html=0
    convert PICTURE -crop 10x10@ +repage -quality 90 OUT/tile-%03d.jpg

Both run N times (default 3) in the same run of this script, alternating which goes first, each time
into a fresh empty folder, under /usr/bin/time -v. The table gives the median wall time, the CPU
time and the peak memory (maximum resident set size) of each beside the picture's size in pixels and
in memory (ImageMagick Q16 holds 8 bytes a pixel): brindle-cli holds the picture and one tile at a
time, convert the picture and all its tiles. Afterwards both tools' tiles are checked: 100 each, all
512 x 288.

Exit status: 0 when both tools ran every time and their tiles agree; 1 when a tool could not be run,
failed, or its tiles are wrong (printed as "CHECK FAILED: ..."); 2 on a usage error or a missing picture or tool.
"""

from __future__ import annotations

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
from pathlib import Path

import bench_common
from bench_common import (TIME, Tool, Unusable, brindle_unavailable, mib, program_line,
                          warm_page_cache)

REPO = Path(__file__).resolve().parent.parent
ROWS = COLUMNS = 10
QUALITY = 90
PICTURE_NAME = "photo-5120x2880.jpg"
SLICE_SETTINGS = [
    "slice_horizontal=1", f"slice_horizontal_avg_value={ROWS}",
    "slice_vertical=1", f"slice_vertical_avg_value={COLUMNS}",
    f"slice_quality={QUALITY}", "slice_save_html=0",
]
BYTES_PER_PIXEL = 8  # ImageMagick Q16: red, green, blue and alpha at 16 bits each


def parse_arguments() -> argparse.Namespace:
    parser = bench_common.argument_parser(
        "Time brindle-cli slice against convert -crop 10x10@ on one large photograph.",
        "slice-corpus", "folder made by bench/make-slice-picture.sh")
    return bench_common.parse_arguments(parser)


def picture_size(path: Path) -> tuple[int, int]:
    result = subprocess.run(["identify", "-ping", "-format", "%w %h", str(path)], stdin=subprocess.DEVNULL,
                            capture_output=True, text=True, errors="replace")
    parts = result.stdout.split()
    if result.returncode != 0 or len(parts) != 2:
        raise Unusable(f"identify cannot read {path}")
    return int(parts[0]), int(parts[1])


def tile_sizes(folder: Path) -> list[tuple[int, int]]:
    tiles = sorted(p for p in folder.iterdir() if p.suffix == ".jpg")
    if not tiles:
        return []
    result = subprocess.run(["identify", "-ping", "-format", "%w %h\n", *map(str, tiles)],
                            stdin=subprocess.DEVNULL, capture_output=True, text=True, errors="replace")
    return [tuple(map(int, line.split())) for line in result.stdout.splitlines() if line.strip()]


def main() -> int:
    arguments = parse_arguments()
    picture = arguments.corpus / PICTURE_NAME
    try:
        if not picture.is_file():
            raise Unusable(f"no {picture}: make it with bench/make-slice-picture.sh")
        for program in ("convert", "identify"):
            if shutil.which(program) is None:
                raise Unusable(f"ImageMagick's {program} is missing (scripts/install-deps.sh installs it)")
        if not os.access(TIME, os.X_OK):
            raise Unusable(f"{TIME} is missing (the Debian package 'time')")
        width, height = picture_size(picture)
    except Unusable as problem:
        print(f"run-slice-bench: {problem}", file=sys.stderr)
        return 2

    brindle = Tool("brindle-cli", unavailable=brindle_unavailable(arguments.cli, "slice"))
    convert = Tool("convert")
    tools = [brindle, convert]
    print(f"Picture: {picture} ({width} x {height}, {picture.stat().st_size / 1e6:.1f} MB as JPEG, "
          f"{mib(width * height * BYTES_PER_PIXEL / 1024)} as ImageMagick Q16 pixels)")
    print(f"Work: {ROWS} x {COLUMNS} tiles of {width // COLUMNS} x {height // ROWS}, JPEG quality {QUALITY}")
    print(f"Cores: {os.cpu_count()}; {program_line(['convert', '-version'])}")
    if brindle.unavailable:
        print(f"brindle-cli not measured: {brindle.unavailable}")

    warm_page_cache([picture])
    work_root = Path(tempfile.mkdtemp(prefix="slice-bench-", dir=arguments.work))
    try:
        # brindle-cli takes a folder: the picture alone in one, as a link.
        source = work_root / "source"
        source.mkdir()
        (source / PICTURE_NAME).symlink_to(picture.resolve())
        for run in range(arguments.runs):
            order = tools if run % 2 == 0 else list(reversed(tools))
            for tool in order:
                if tool.unavailable or tool.failure:
                    continue
                out = work_root / f"{tool.name}-{run}"
                logs = work_root / f"{tool.name}-{run}-logs"
                logs.mkdir()
                if tool is brindle:
                    argv = [str(arguments.cli), "slice", "--source", str(source), "--out", str(out),
                            *SLICE_SETTINGS]
                else:
                    out.mkdir()
                    argv = ["convert", str(picture), "-crop", f"{COLUMNS}x{ROWS}@", "+repage",
                            "-quality", str(QUALITY), str(out / "tile-%03d.jpg")]
                measurement = tool.measure(argv, logs)
                if measurement is None:
                    print(f"  {tool.name}: {tool.failure}")
                    continue
                if tool.output:
                    shutil.rmtree(tool.output, ignore_errors=True)
                tool.output = out
                print(f"  run {run + 1} {tool.name:12} {measurement.wall:6.2f} s wall, "
                      f"{measurement.cpu:6.2f} s CPU, {mib(measurement.max_rss_kib)} peak")

        print()
        print(f"{'':12} {'wall (median)':>14} {'CPU (median)':>14} {'peak memory':>12} {'peak / picture':>15}")
        picture_kib = width * height * BYTES_PER_PIXEL / 1024
        for tool in tools:
            if not tool.measured:
                print(f"{tool.name:12} not measured: {tool.unavailable or tool.failure}")
                continue
            peak = max(m.max_rss_kib for m in tool.runs)
            print(f"{tool.name:12} {statistics.median(m.wall for m in tool.runs):12.2f} s "
                  f"{statistics.median(m.cpu for m in tool.runs):12.2f} s {mib(peak):>12} "
                  f"{peak / picture_kib:14.2f}x")
        if brindle.measured and convert.measured:
            wall = statistics.median(m.wall for m in brindle.runs) / statistics.median(m.wall for m in convert.runs)
            memory = max(m.max_rss_kib for m in brindle.runs) / max(m.max_rss_kib for m in convert.runs)
            print(f"{'ratio':12} {wall:13.2f}x {'':14} {memory:11.2f}x   (brindle-cli / convert)")

        status = 0 if brindle.measured and convert.measured else 1
        expected = [(width // COLUMNS, height // ROWS)] * (ROWS * COLUMNS)
        for tool in tools:
            if tool.measured and tool.output:
                sizes = tile_sizes(tool.output)
                if sizes != expected:
                    bench_common.check_failed(f"{tool.name}: {len(sizes)} tiles, not {ROWS * COLUMNS} of "
                                              f"{width // COLUMNS} x {height // ROWS}")
                    status = 1
        if status == 0:
            print(f"Tiles: both wrote {ROWS * COLUMNS} tiles of {width // COLUMNS} x {height // ROWS}.")
        return status
    finally:
        shutil.rmtree(work_root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
