"""Checks a screenshot of weftpad after the end-to-end test's typing.

Usage: check_screen.py DUMP.xwd LEFT TOP [PNG | --shows-row ROW]
       check_screen.py --cell-size   (prints the cell's width and height)
LEFT, TOP: the screen position of the editor's top-left pixel, which shows
row TOP_ROW. Every cell of the typed rows must show its token's theme colour,
the selected row the highlight colour, and the rows below the text nothing.
Exits 1 with the mismatches; PNG receives the editor's picture either way.
With --shows-row, it only checks that the first cell of ROW holds a glyph.
"""
import sys

from screenshot import Screenshot

# Liberation Mono standing in for "Courier New" at 10 points, 96 dpi.
CELL_WIDTH, LINE_HEIGHT = 8, 15
TAB_WIDTH = 4
TOP_ROW = 4  # the text row at the top of the scrolled window

BACKGROUND = (255, 255, 255)
HIGHLIGHT = (0x30, 0x96, 0xFA)  # Wine's COLOR_HIGHLIGHT
COLOURS = {
    "o": (0, 0, 0),  # other text
    "k": (0, 0, 255),  # keywords
    "n": (9, 134, 88),  # numbers
    "s": (163, 21, 21),  # strings
    "c": (0, 128, 0),  # comments
    "h": (255, 255, 255),  # selected text, on HIGHLIGHT
}

# (1-based row, text after one leading tab or none, one style letter per
# character; "." is a space).
ROWS = [
    (5, False, "isEmpty", "hhhhhhh"),
    (6, True, '"Answer whether it is empty"', "ccccccc.ccccccc.cc.cc.cccccc"),
    (7, True, "^self size = 0 or: ['none' = self name] X", "okkkk.oooo.o.n.ooo.ossssss.o.kkkk.oooo..o"),
    (8, False, "junk", "oooo"),
]
BLANK_ROWS = [9, 12]


def glyph_problem(shot, left, top, background, colour):
    """None when the cell's ink is `colour` blended into `background`."""
    ink = []
    for y in range(top, top + LINE_HEIGHT):
        for x in range(left, left + CELL_WIDTH):
            pixel = shot.rgb(x, y)
            if max(abs(p - b) for p, b in zip(pixel, background)) > 40:
                ink.append(pixel)
    if len(ink) < 3:
        return "no glyph"
    span = [c - b for c, b in zip(colour, background)]
    span_length2 = sum(s * s for s in span)
    strongest = 0.0
    for pixel in ink:
        offset = [p - b for p, b in zip(pixel, background)]
        t = sum(o * s for o, s in zip(offset, span)) / span_length2
        off_line = max(abs(o - t * s) for o, s in zip(offset, span))
        if off_line > 48:
            return f"ink {pixel} is not a shade of {colour}"
        strongest = max(strongest, t)
    if strongest < 0.6:
        return f"ink reaches only {strongest:.2f} of {colour}"
    return None


def main():
    if sys.argv[1:] == ["--cell-size"]:
        print(CELL_WIDTH, LINE_HEIGHT)
        return 0
    shot = Screenshot(sys.argv[1])
    origin_x, origin_y = int(sys.argv[2]), int(sys.argv[3])
    if len(sys.argv) > 5 and sys.argv[4] == "--shows-row":
        top = origin_y + (int(sys.argv[5]) - TOP_ROW) * LINE_HEIGHT
        return 0 if glyph_problem(shot, origin_x, top, BACKGROUND, COLOURS["o"]) is None else 1
    if len(sys.argv) > 4:
        shot.write_png(sys.argv[4], origin_x, origin_y, 640, 200)
    problems = []
    for row, tabbed, text, styles in ROWS:
        assert len(text) == len(styles)
        top = origin_y + (row - TOP_ROW) * LINE_HEIGHT
        for index, (character, style) in enumerate(zip(text, styles)):
            column = index + (TAB_WIDTH if tabbed else 0)
            left = origin_x + column * CELL_WIDTH
            background = HIGHLIGHT if style == "h" else BACKGROUND
            corner = shot.rgb(left, top + LINE_HEIGHT - 1)
            where = f"row {row} column {column + 1} ({character!r})"
            if corner != background:
                problems.append(f"{where}: background {corner}, expected {background}")
            elif style != ".":
                problem = glyph_problem(shot, left, top, background, COLOURS[style])
                if problem:
                    problems.append(f"{where}: {problem}")
    for row in BLANK_ROWS:
        top = origin_y + (row - TOP_ROW) * LINE_HEIGHT
        marks = [(x, y) for y in range(top, top + LINE_HEIGHT) for x in range(origin_x, origin_x + 600)
                 if shot.rgb(x, y) != BACKGROUND]
        if marks:
            x, y = marks[0]
            problems.append(f"row {row} at x {x - origin_x}: {shot.rgb(x, y)}, expected blank")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
