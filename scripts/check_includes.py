#!/usr/bin/env python3
"""Checks that every include of Brambolt and Glyphsnap names its folder from the source root and
points to the same folder or a lower layer. Tests are left out: they sit above what they test.

  check_includes.py SOURCE_ROOT
"""
import pathlib
import re
import sys

# Each program's folders, lowest layer first; folders on one line are one layer and may not
# include each other.
LAYERS = {
    "brambolt": [["base"], ["framework", "resources"], ["driver"], ["password"], ["web"],
                 ["folders"], ["app"], ["testbench", "testbench/webview2_stand_in"]],
    "glyphsnap": [["text"], ["protocol", "platform"], ["recognition"],
                  ["recognition/image", "edit"], ["recognition/tesseract/layout"],
                  ["recognition/tesseract/engine"], ["recognition/tesseract/passes"],
                  ["recognition/tesseract", "recognition/winrt"],
                  ["serve"], [""]],
}
SOURCES = {".cpp", ".h", ".rc"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def folder_of(relative):
    folder = relative.parent.as_posix()
    return "" if folder == "." else folder


def check(root, program, layers):
    rank = {folder: level for level, row in enumerate(layers) for folder in row}
    faults = []
    for path in sorted((root / program).rglob("*")):
        relative = path.relative_to(root / program)
        if path.suffix not in SOURCES or "tests" in relative.parts:
            continue
        folder = folder_of(relative)
        if folder not in rank:
            faults.append(f"{program}/{relative}: folder '{folder}' is in no layer")
            continue
        for included in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
            if not included.startswith(program + "/"):
                if "/" in included or (path.parent / included).exists():
                    faults.append(f"{program}/{relative}: \"{included}\" does not name its "
                                  f"folder from the source root")
                continue
            target = folder_of(pathlib.PurePosixPath(included).relative_to(program))
            if target not in rank:
                faults.append(f"{program}/{relative}: \"{included}\" is in no layer")
            elif target != folder and rank[target] >= rank[folder]:
                faults.append(f"{program}/{relative}: \"{included}\" is not below '{folder}'")
    return faults


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    faults = [f for program, layers in LAYERS.items() for f in check(root, program, layers)]
    for fault in faults:
        print(fault)
    if not faults:
        print("every include points to its own folder or below")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
