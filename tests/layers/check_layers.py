#!/usr/bin/env python3
"""Fails when a product file includes a header from a layer above its own.

The layers, bottom to top: platform <- document <- view <- input, commands <- app.
A file may include headers of its own layer and of the layers below it. Input and
commands are one layer. platform/win32 and app/win32 belong to their parent folders.
"""
import pathlib
import re
import sys

RANK = {"platform": 0, "document": 1, "view": 2, "input": 3, "commands": 3, "app": 4}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def layer_of(relative_path):
    return relative_path.split("/", 1)[0]


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    faults = []
    checked = 0
    for folder in RANK:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp", ".rc"):
                continue
            checked += 1
            own = path.relative_to(root).as_posix()
            for header in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
                target = layer_of(header)
                if target not in RANK:
                    continue  # a header beside the file, such as the resource script's icon
                if RANK[target] > RANK[folder]:
                    faults.append(f"{own}: includes {header} from {target}/, above {folder}/")
    for fault in faults:
        print(fault)
    print(f"layers: {checked} files checked, {len(faults)} upward includes")
    return 1 if faults or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
