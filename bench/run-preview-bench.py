#!/usr/bin/env python3
"""Times the effect preview (brindle-cli preview, the desktop program's preview without its window)
against ImageMagick's convert doing the same work on one 24-megapixel photograph.

The picture: one 6000 x 4000 photograph (bench/make-slice-picture.sh DIR 6000 4000). Each case is a
recipe the preview applies and the convert command that does the same decoding, resizing and JPEG
encoding into memory:

    full size, quality 70:   brindle-cli preview P --to OUT bQuanlity=1 quanlity=70
                             convert P -quality 70 jpg:OUT
    width 1200, quality 85:  brindle-cli preview P --to OUT bSize=1 sizeValue=1200 bQuanlity=1 quanlity=85
                             convert P -filter Lanczos -resize 1200x -quality 85 jpg:OUT

Both run N times (default 3) in the same run of this script, alternating which goes first, under
/usr/bin/time -v; the table gives the median wall and CPU time and the peak memory of each. The
preview decodes the picture at the size the recipe's result needs, so a resizing recipe is shown
from a reduced decode; a full-size result needs the whole picture decoded and encoded, as convert
does.

Each case then runs build/bench/brindle_preview_refresh_bench, what the desktop program does: the
first preview of the picture, then refreshes after the brightness changed (a slider released),
made from the decoded picture its preview thread keeps, each decoded for display as the window
does. "made" is the processed picture encoded as saved; "shown" adds the decoding for display.

Exit status: 0 when both tools ran every time; 1 when a tool could not be run or failed; 2 on a usage
error or a missing picture or tool.
"""

from __future__ import annotations

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
from pathlib import Path

import bench_common
from bench_common import Tool, Unusable, brindle_unavailable, mib, program_line, warm_page_cache

PICTURE_NAME = "photo-6000x4000.jpg"
REFRESHES = 5
CASES = [
    ("full size, quality 70", ["bQuanlity=1", "quanlity=70"], ["-quality", "70"]),
    ("width 1200, quality 85", ["bSize=1", "sizeValue=1200", "bQuanlity=1", "quanlity=85"],
     ["-filter", "Lanczos", "-resize", "1200x", "-quality", "85"]),
]


def print_refresh(cli: Path, picture: Path, recipe: list[str]) -> bool:
    """Runs the refresh timer built beside brindle-cli: the desktop program's preview made once,
    then made again after brightness changes from the picture it keeps, each decoded for display."""
    timer = cli.parent.parent / "bench" / "brindle_preview_refresh_bench"
    if not timer.is_file():
        print(f"  refresh      not measured: no {timer}")
        return False
    done = subprocess.run([str(timer), str(picture), str(REFRESHES), *recipe],
                          capture_output=True, text=True, check=False)
    fields = done.stdout.split()
    if done.returncode != 0 or len(fields) != 6:
        print(f"  refresh      failed: {done.stderr.strip() or done.stdout.strip()}")
        return False
    first_made, first_shown, made, shown = (float(fields[i]) for i in (1, 2, 4, 5))
    print(f"  {'first':12} {first_made:6.2f} s made, {first_shown:6.2f} s shown (desktop program)")
    print(f"  {'refresh':12} {made:6.2f} s made, {shown:6.2f} s shown "
          f"(median of {REFRESHES}, brightness changed)")
    return True


def print_crop_refresh(cli: Path, picture: Path) -> bool:
    """Runs the crop preview timer built beside brindle-cli: the crop window's preview of the
    picture (3000 x 2000 kept, centred) made once, then with the width changed, each decoded for
    display."""
    timer = cli.parent.parent / "bench" / "brindle_crop_preview_bench"
    print("\ncrop preview, 3000 x 2000 kept")
    if not timer.is_file():
        print(f"  refresh      not measured: no {timer}")
        return False
    done = subprocess.run([str(timer), str(picture), str(REFRESHES)],
                          capture_output=True, text=True, check=False)
    fields = done.stdout.split()
    if done.returncode != 0 or len(fields) != 4:
        print(f"  refresh      failed: {done.stderr.strip() or done.stdout.strip()}")
        return False
    print(f"  {'first':12} {float(fields[1]):6.2f} s shown (crop window)")
    print(f"  {'refresh':12} {float(fields[3]):6.2f} s shown (median of {REFRESHES}, width changed)")
    return True


def main() -> int:
    parser = bench_common.argument_parser(
        "Time brindle-cli preview against convert on one 24-megapixel photograph.",
        "preview-corpus", "folder made by bench/make-slice-picture.sh DIR 6000 4000")
    arguments = bench_common.parse_arguments(parser)
    picture = arguments.corpus / PICTURE_NAME
    try:
        if not picture.is_file():
            raise Unusable(f"no {picture}: make it with bench/make-slice-picture.sh DIR 6000 4000")
        bench_common.require_programs("convert")
    except Unusable as problem:
        print(f"run-preview-bench: {problem}", file=sys.stderr)
        return 2

    print(f"Picture: {picture} ({picture.stat().st_size / 1e6:.1f} MB as JPEG)")
    print(f"Cores: {os.cpu_count()}; {program_line(['convert', '-version'])}")
    unavailable = brindle_unavailable(arguments.cli, "preview")
    if unavailable:
        print(f"brindle-cli not measured: {unavailable}")
    warm_page_cache([picture])
    work_root = Path(tempfile.mkdtemp(prefix="preview-bench-", dir=arguments.work))
    status = 0
    try:
        for case, recipe, convert_options in CASES:
            brindle = Tool("brindle-cli", unavailable=unavailable)
            convert = Tool("convert")
            tools = [brindle, convert]
            print(f"\n{case}")
            for run in range(arguments.runs):
                order = tools if run % 2 == 0 else list(reversed(tools))
                for tool in order:
                    if tool.unavailable or tool.failure:
                        continue
                    logs = Path(tempfile.mkdtemp(dir=work_root))
                    out = logs / "shown.jpg"
                    if tool is brindle:
                        argv = [str(arguments.cli), "preview", str(picture), "--to", str(out), *recipe]
                    else:
                        argv = ["convert", str(picture), *convert_options, f"jpg:{out}"]
                    measurement = tool.measure(argv, logs)
                    if measurement is None:
                        print(f"  {tool.name}: {tool.failure}")
                        continue
            for tool in tools:
                if not tool.measured:
                    print(f"  {tool.name:12} not measured: {tool.unavailable or tool.failure}")
                    status = 1
                    continue
                print(f"  {tool.name:12} {statistics.median(m.wall for m in tool.runs):6.2f} s wall, "
                      f"{statistics.median(m.cpu for m in tool.runs):6.2f} s CPU, "
                      f"{mib(max(m.max_rss_kib for m in tool.runs))} peak")
            if brindle.measured and convert.measured:
                ratio = (statistics.median(m.wall for m in brindle.runs) /
                         statistics.median(m.wall for m in convert.runs))
                print(f"  {'ratio':12} {ratio:6.2f}x wall (brindle-cli / convert)")
            if not print_refresh(arguments.cli, picture, recipe):
                status = 1
        if not print_crop_refresh(arguments.cli, picture):
            status = 1
    finally:
        shutil.rmtree(work_root, ignore_errors=True)
    return status


if __name__ == "__main__":
    sys.exit(main())
