#!/usr/bin/env python3
"""Writes copies of the Liberation fonts under the Windows names the editor asks for.

The editor chooses its twelve faces by full name ("Courier New", "Courier New Bold",
"Arial Italic", "Times New Roman Bold Italic", ...). A Wine family replacement maps only the
family name, so "Courier New Bold" would fall back to a regular face. Copies of the
metric-compatible Liberation fonts (SIL Open Font License, renaming allowed as long as the
result is not called "Liberation") whose name tables say "Courier New" with the style
"Bold" let Wine find the bold, italic and bold italic faces by their full names.

Usage: rename_fonts.py SOURCE_DIR TARGET_DIR
"""
import os
import sys

from fontTools.ttLib import TTFont

FAMILIES = {"Mono": "Courier New", "Sans": "Arial", "Serif": "Times New Roman"}
STYLES = {"Regular": "Regular", "Bold": "Bold", "Italic": "Italic", "BoldItalic": "Bold Italic"}


def rename(source, target, family, style):
    font = TTFont(source)
    full = family if style == "Regular" else family + " " + style
    postscript = (family.replace(" ", "") + "-" + style.replace(" ", "")).replace("-Regular", "")
    names = font["name"]
    # Drop the typographic family and style (16, 17) so that 1, 2 and 4 decide.
    names.names = [n for n in names.names if n.nameID not in (16, 17, 21, 22)]
    for record in list(names.names):
        if record.nameID == 1:
            names.setName(family, 1, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 2:
            names.setName(style, 2, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 3:
            names.setName("Nivrano: " + full, 3, record.platformID, record.platEncID,
                          record.langID)
        elif record.nameID == 4:
            names.setName(full, 4, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 6:
            names.setName(postscript, 6, record.platformID, record.platEncID, record.langID)
    font.save(target)


def main(source_dir, target_dir):
    os.makedirs(target_dir, exist_ok=True)
    for short, family in FAMILIES.items():
        for style_key, style in STYLES.items():
            source = os.path.join(source_dir, "Liberation%s-%s.ttf" % (short, style_key))
            target = os.path.join(target_dir, "nivrano-%s-%s.ttf" %
                                  (family.replace(" ", ""), style_key))
            rename(source, target, family, style)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
