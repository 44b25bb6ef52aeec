#!/usr/bin/env python3
"""Fails when an #include points up a layer, or across from one tool's room into another's.

The source folders are layers, lowest first; a file may include its own folder and the folders
below it. Inside a layer, the larger folders keep one subfolder per feature, named alike across
layers (app/tools/crop, window_rules/tools/crop... tools/crop), so a window, its rules and its
tests share one path. A tool's room uses its own folder and the shared ones, never another tool's;
a test folder mirrors a source folder and may also include the shared test support; and no folder
grows past a size a reader can take in at a glance.
"""
import pathlib
import re
import sys

LAYERS = ["platform", "base", "recipe", "prefs", "fonts", "engine", "png8", "run", "tools",
          "panel", "window_rules", "cli", "app"]
# Test folders that mirror no source folder, and the layer whose headers they may reach.
TEST_ONLY = {"support": "window_rules", "hostile": "cli", "fuzz": "panel"}
TOOL_ROOMS = {"convert", "png", "crop", "join", "slice"}
MOST_FILES = 16
INCLUDE = re.compile(r'^\s*#\s*include\s+"(([^"/]+)/[^"]+)"', re.MULTILINE)


def sources(root: pathlib.Path, tree: str):
    for path in sorted((root / tree).rglob("*")):
        if path.suffix in (".h", ".cpp") and path.is_file():
            yield path


def tool_room(parts):
    rooms = [part for part in parts[:-1] if part in TOOL_ROOMS]
    return rooms[0] if rooms else None


def violations(root: pathlib.Path):
    for tree in ("src", "tests"):
        for path in sources(root, tree):
            parts = path.relative_to(root / tree).parts
            folder = parts[0]
            level = LAYERS.index(TEST_ONLY.get(folder, folder)) if tree == "tests" else \
                LAYERS.index(folder)
            room = tool_room(parts)
            for match in INCLUDE.finditer(path.read_text(encoding="utf-8")):
                header, target = match.group(1), match.group(2)
                other = tool_room(header.split("/"))
                if room and other and other != room:
                    yield f"{path.relative_to(root)}: includes {header}, the {other} tool's room"
                if tree == "tests" and target in ("support", folder):
                    continue
                if target not in LAYERS:
                    yield f"{path.relative_to(root)}: includes \"{target}/\", which is no layer"
                elif LAYERS.index(target) > level:
                    yield f"{path.relative_to(root)}: includes {header}, above {folder}"
    # Tests mirror src/: a test subfolder stands for a source subfolder of the same path.
    for path in sources(root, "tests"):
        folder = path.parent.relative_to(root / "tests")
        if len(folder.parts) > 1 and folder.parts[0] in LAYERS and \
                not (root / "src" / folder).is_dir():
            yield f"{path.relative_to(root)}: tests/{folder} mirrors no src/{folder}"
    for tree in ("src", "tests"):
        folders = {}
        for path in sources(root, tree):
            folders.setdefault(path.parent, []).append(path)
        for folder, files in folders.items():
            if len(files) > MOST_FILES:
                yield f"{folder.relative_to(root)}: {len(files)} source files, more than " \
                      f"{MOST_FILES}: give its features subfolders"


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[2])
    found = list(violations(root))
    for line in found:
        print(line)
    print(f"{len(found)} include(s) or folder(s) out of place")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
