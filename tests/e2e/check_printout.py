#!/usr/bin/env python3
"""Checks a printout of the editor: renders the PostScript with Ghostscript and compares the
sheets with what the end-to-end driver worked out from the printer's measures (the .expect
file, in printer device units from the sheet's top-left corner).

Usage: check_printout.py EXPECT PRINTOUT.ps OUTPUT_PREFIX
Writes OUTPUT_PREFIX-page-N.png; prints what it found, and a line "differs: ..." for each
mismatch; exits 1 when there is one.
"""
import glob
import os
import re
import subprocess
import sys
import tempfile

RESOLUTION = 100  # pixels per inch of the rendering


def read_expectations(path):
    values = {}
    with open(path) as f:
        for line in f:
            key, _, rest = line.strip().partition(" ")
            values[key] = rest.split()
    return values


def read_pgm(path):
    """Ghostscript's binary PGM as (width, height, rows of bytes)."""
    with open(path, "rb") as f:
        data = f.read()
    header = re.match(rb"P5\s(?:#.*\n)*(\d+) (\d+)\s(?:#.*\n)*255\s", data)
    width, height = int(header[1]), int(header[2])
    pixels = data[header.end():]
    return width, height, [pixels[y * width:(y + 1) * width] for y in range(height)]


def render(printout, device, pattern):
    subprocess.run(["gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=" + device,
                    "-r%d" % RESOLUTION, "-sOutputFile=" + pattern, printout], check=True)


class Sheet:
    def __init__(self, path):
        self.width, self.height, self.rows = read_pgm(path)

    def ink_box(self, top, bottom, left=0, right=None):
        """(left, top, right, bottom) of the dark pixels in the area, inclusive; None if blank."""
        right = self.width if right is None else right
        box = None
        for y in range(max(top, 0), min(bottom, self.height)):
            row = self.rows[y]
            xs = [x for x in range(max(left, 0), min(right, self.width)) if row[x] < 128]
            if xs:
                if box is None:
                    box = [xs[0], y, xs[-1], y]
                else:
                    box = [min(box[0], xs[0]), box[1], max(box[2], xs[-1]), y]
        return box

    def crop(self, box):
        return [bytes(self.rows[y][box[0]:box[2] + 1]) for y in range(box[1], box[3] + 1)]


def main():
    expect_path, printout, prefix = sys.argv[1:4]
    e = read_expectations(expect_path)
    dpi_y = int(e["dpi"][1])
    dpi_x = int(e["dpi"][0])
    px = lambda v: int(v) * RESOLUTION // dpi_x  # noqa: E731
    py = lambda v: int(v) * RESOLUTION // dpi_y  # noqa: E731
    sheets = [int(n) for n in e["sheets"]]
    widths = [int(w) for w in e["widths"]]
    column_left, column_right = (int(v) for v in e["column"])
    top, bottom, pitch = int(e["top"][0]), int(e["bottom"][0]), int(e["pitch"][0])
    footer_top, footer_bottom = (int(v) for v in e["footer"])
    failures = []

    def expect(condition, what):
        if not condition:
            failures.append(what)
        return condition

    for old in glob.glob(prefix + "-page-*.png"):
        os.remove(old)
    render(printout, "png16m", prefix + "-page-%d.png")
    with tempfile.TemporaryDirectory() as scratch:
        render(printout, "pgmraw", os.path.join(scratch, "page-%d.pgm"))
        count = len(glob.glob(os.path.join(scratch, "page-*.pgm")))
        pages = [Sheet(os.path.join(scratch, "page-%d.pgm" % (n + 1))) for n in range(count)]
    print("%d sheets of %d x %d pixels (%s)" % (len(pages), pages[0].width if pages else 0,
                                                pages[0].height if pages else 0,
                                                " + ".join(map(str, sheets)) + " lines"))
    expect(len(pages) == len(sheets), "%d sheets, expected %d" % (len(pages), len(sheets)))

    right_edge = px(column_right)
    centre = px(int(e["page"][0]) // 2)
    line = 0
    footers = []
    shapes = []  # ink rows and pixels of the four letter lines
    for number, (sheet, lines) in enumerate(zip(pages, sheets), start=1):
        rights = []
        for k in range(lines):
            band_top = top + k * pitch
            box = sheet.ink_box(py(band_top), py(band_top + pitch), px(column_left) - 20,
                                right_edge + 20)
            where = "sheet %d line %d" % (number, k + 1)
            if not expect(box is not None, where + ": no ink"):
                line += 1
                continue
            # Right-aligned: the line ends at the column's right edge and starts its width
            # to the left of it (a letter's ink stands a few pixels inside its cell).
            expect(right_edge - 6 <= box[2] <= right_edge + 1,
                   "%s: ink ends at x %d, the column's right edge is %d" % (where, box[2],
                                                                           right_edge))
            expected_left = px(column_right - widths[line])
            expect(abs(box[0] - expected_left) <= 8,
                   "%s: ink starts at x %d, expected about %d" % (where, box[0], expected_left))
            if line < 4:
                shapes.append((box[1] - py(band_top), box[3] - py(band_top), sheet.crop(box)))
            else:
                rights.append(box[2])
            line += 1
        if rights:
            expect(max(rights) - min(rights) <= 2,
                   "sheet %d: the right ends of the lines spread over x %d to %d" %
                   (number, min(rights), max(rights)))
        # Nothing between the last line and the bottom limit.
        blank = sheet.ink_box(py(top + lines * pitch) + 1, py(bottom))
        expect(blank is None, "sheet %d: ink below its last line at %s" % (number, blank))
        # The footer: centred under the column, in its cell one text height below the limit.
        footer = sheet.ink_box(py(bottom) + 1, sheet.height)
        if not expect(footer is not None, "sheet %d: no footer" % number):
            continue
        middle = (footer[0] + footer[2]) / 2
        print("sheet %d: %d lines, right ends %s, footer %s centred at x %.1f (page centre %d)" %
              (number, lines, sorted(set(rights)), footer, middle, centre))
        expect(abs(middle - centre) <= 3,
               "sheet %d: the footer is centred at x %.1f, not %d" % (number, middle, centre))
        expect(py(footer_top) - 1 <= footer[1] and footer[3] <= py(footer_bottom) + 1,
               "sheet %d: the footer's ink %s is outside its cell, y %d to %d" %
               (number, footer, py(footer_top), py(footer_bottom)))
        expect(18 <= footer[2] - footer[0] + 1 <= 45,
               "sheet %d: the footer is %d pixels wide, not three characters" %
               (number, footer[2] - footer[0] + 1))
        footers.append(sheet.crop(footer))
    expect(len(set(map(tuple, footers))) == len(footers),
           "two footers look the same: the page numbers do not differ")

    # Glyphs, not boxes: lamed rises above alef, final nun falls below it, and the three
    # lines' ink differs. Then six alefs before six lamed read right to left: whatever rises
    # above the alefs stands in the left half of that line.
    if expect(len(shapes) == 4, "the letter lines were not found on the first sheet"):
        lamed, alef, nun, mixed = shapes
        print("ink rows in the line: lamed %d-%d, alef %d-%d, final nun %d-%d" %
              (lamed[0], lamed[1], alef[0], alef[1], nun[0], nun[1]))
        expect(lamed[0] <= alef[0] - 2, "lamed does not rise above alef: boxes, not letters?")
        expect(nun[1] >= alef[1] + 2, "final nun does not fall below alef: boxes, not letters?")
        expect(len({tuple(s[2]) for s in shapes[:3]}) == 3, "two letter lines look the same")
        rows = mixed[2][:max(alef[0] - mixed[0] - 1, 0)]
        risen = [x for row in rows for x, value in enumerate(row) if value < 128]
        half = len(mixed[2][0]) / 2
        print("ink above the alefs in the mixed line: x %s of %d" %
              ((min(risen), max(risen)) if risen else None, len(mixed[2][0])))
        expect(risen and max(risen) < half,
               "the lameds after the alefs are not on the left: the line is not right to left")

    for failure in failures:
        print("differs: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
