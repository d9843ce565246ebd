#!py -3
"""Line tools for TuvexW, which passes the text as UTF-16LE bytes without a
byte-order mark and takes the output back the same way.

    textw.py sort | reverse-sort | unique | upper | lower | narrow
"""
import sys

# Full-width ASCII (U+FF01 to U+FF5E) and the full-width space, to ASCII;
# nothing else changes (half-width katakana, ①, ㍻ stay as they are).
NARROW = {code: code - 0xFEE0 for code in range(0xFF01, 0xFF5F)}
NARROW[0x3000] = 0x20

ACTIONS = {
    "sort": lambda lines: sorted(lines),
    "reverse-sort": lambda lines: sorted(lines, reverse=True),
    "unique": lambda lines: list(dict.fromkeys(lines)),
    "upper": lambda lines: [line.upper() for line in lines],
    "lower": lambda lines: [line.lower() for line in lines],
    "narrow": lambda lines: [line.translate(NARROW) for line in lines],
}


def main(encoding="utf-16-le", usage=__doc__):
    """Runs the action named on the command line over standard input, both
    ways in `encoding` (text8.py calls it for UTF-8)."""
    if len(sys.argv) != 2 or sys.argv[1] not in ACTIONS:
        sys.stderr.write(usage)
        return 2
    text = sys.stdin.buffer.read().decode(encoding)
    ending = "\r\n" if "\r\n" in text else "\n"
    lines = ACTIONS[sys.argv[1]](text.splitlines())
    result = ending.join(lines)
    if text.endswith(("\r", "\n")):
        result += ending
    sys.stdout.buffer.write(result.encode(encoding))
    return 0


if __name__ == "__main__":
    sys.exit(main())
