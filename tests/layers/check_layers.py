#!/usr/bin/env python3
"""Fails when an #include points up a layer.

The source folders are layers, lowest first; a file may include its own folder and the folders
below it. A test folder mirrors its source folder and may also include the shared test support.
"""
import pathlib
import re
import sys

LAYERS = ["platform", "base", "recipe", "prefs", "fonts", "engine", "png8", "run", "tools",
          "panel", "shell", "cli", "app"]
# Test folders that mirror no source folder, and the layer whose headers they may reach.
TEST_ONLY = {"support": "shell", "hostile": "cli", "fuzz": "panel"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"(([^"/]+)/[^"]+)"', re.MULTILINE)


def violations(root: pathlib.Path):
    for tree in ("src", "tests"):
        for path in sorted((root / tree).rglob("*")):
            if path.suffix not in (".h", ".cpp") or not path.is_file():
                continue
            folder = path.relative_to(root / tree).parts[0]
            level = LAYERS.index(TEST_ONLY.get(folder, folder)) if tree == "tests" else \
                LAYERS.index(folder)
            for match in INCLUDE.finditer(path.read_text(encoding="utf-8")):
                header, target = match.group(1), match.group(2)
                if tree == "tests" and target in ("support", folder):
                    continue
                if target not in LAYERS:
                    yield f"{path.relative_to(root)}: includes \"{target}/\", which is no layer"
                elif LAYERS.index(target) > level:
                    yield f"{path.relative_to(root)}: includes {header}, above {folder}"


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[2])
    found = list(violations(root))
    for line in found:
        print(line)
    print(f"{len(found)} include(s) pointing up a layer")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
