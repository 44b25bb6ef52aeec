#!/usr/bin/env python3
"""Times brindle-cli's main batch writing WebP against a WebP conversion of the same corpus by
vipsthumbnail (one process for the whole corpus), or by cwebp (one process per picture) where
vipsthumbnail is missing, and prints one line: each side's median wall time and the bytes it wrote.

The work: every JPEG of the corpus made narrower to 1200 pixels where it is wider, written as WebP
quality 85 without metadata. Exit status: 0 when both sides ran every time, 1 when a side failed or
brindle-cli cannot be run, 2 on a usage error or a missing corpus, peer or /usr/bin/time.
"""

from __future__ import annotations

import shutil
import statistics
import sys
import tempfile
from pathlib import Path

from bench_common import (Tool, Unusable, argument_parser, brindle_unavailable, corpus_pictures,
                          parse_arguments, require_programs, warm_page_cache)

WIDTH = 1200
QUALITY = 85
BATCH_SETTINGS = ["bSize=1", "zoomType=0", "sizeType=0", "zoomUnit=0", f"sizeValue={WIDTH}",
                  "bZoomSameScale=1", "bQuanlity=1", "qualityMode=0", f"quanlity={QUALITY}",
                  "bRemovePhotoOtherInfo=1", "outputFormat=WEBP"]


def peer_argv(peer: str, out: Path, pictures: list[Path], script: Path) -> list[str]:
    if peer == "vipsthumbnail":
        # A height bound out of reach: only the width limits, and ">" shrinks only.
        return ["vipsthumbnail", "--size", f"{WIDTH}x100000>", "-o",
                f"{out}/%s.webp[Q={QUALITY},strip]", *map(str, pictures)]
    # cwebp resizes and encodes one picture per process; the loop runs in one shell.
    lines = ["set -e"]
    for picture in pictures:
        lines.append(f"w=$(identify -format %w '{picture}')")
        lines.append(f"if [ \"$w\" -gt {WIDTH} ]; then r='-resize {WIDTH} 0'; else r=''; fi")
        lines.append(f"cwebp -quiet -q {QUALITY} -metadata none $r '{picture}' -o '{out}/{picture.stem}.webp'")
    script.write_text("\n".join(lines) + "\n")
    return ["bash", str(script)]


def written_bytes(folder: Path) -> int:
    return sum(p.stat().st_size for p in folder.iterdir() if p.is_file())


def main() -> int:
    parser = argument_parser(__doc__.splitlines()[0], "corpus", "a folder of JPEG photographs")
    arguments = parse_arguments(parser)
    peer = "vipsthumbnail" if shutil.which("vipsthumbnail") else "cwebp"
    try:
        require_programs(peer, *(("identify",) if peer == "cwebp" else ()))
        pictures = corpus_pictures(arguments.corpus, (".jpg", ".jpeg"), "JPEGs", "bench/make-corpus.sh")
    except Unusable as problem:
        print(f"run-webp-bench: {problem}", file=sys.stderr)
        return 2
    cli = arguments.cli.resolve()
    ours = Tool("brindle-cli batch outputFormat=WEBP", unavailable=brindle_unavailable(cli, "batch"))
    theirs = Tool(peer)
    work = Path(tempfile.mkdtemp(prefix="brindle-webp-bench-", dir=arguments.work)).resolve()
    sizes: dict[str, int] = {}
    try:
        warm_page_cache(pictures)
        for run in range(arguments.runs):
            for tool in (ours, theirs) if run % 2 == 0 else (theirs, ours):
                if tool.unavailable or tool.failure:
                    continue
                out = Path(tempfile.mkdtemp(prefix="out-", dir=work))
                logs = Path(tempfile.mkdtemp(prefix="logs-", dir=work))
                argv = ([str(cli), "batch", "--out", str(out), *BATCH_SETTINGS, *map(str, pictures)]
                        if tool is ours else peer_argv(peer, out, pictures, logs / "cwebp.sh"))
                if tool.measure(argv, logs) is not None:
                    sizes[tool.name] = written_bytes(out)
                shutil.rmtree(out, ignore_errors=True)
                shutil.rmtree(logs, ignore_errors=True)
    finally:
        shutil.rmtree(work, ignore_errors=True)

    def side(tool: Tool) -> str:
        if tool.unavailable or tool.failure:
            return f"{tool.name} NOT MEASURED ({tool.unavailable or tool.failure})"
        wall = statistics.median(m.wall for m in tool.runs)
        return f"{tool.name} {wall:.2f} s, {sizes[tool.name] / 1e6:.2f} MB"

    print(f"Batch to WebP ({len(pictures)} JPEGs, width {WIDTH}, quality {QUALITY}): "
          f"{side(ours)}; {side(theirs)}")
    return 0 if ours.measured and theirs.measured else 1


if __name__ == "__main__":
    sys.exit(main())
