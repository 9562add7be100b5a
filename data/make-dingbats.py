#!/usr/bin/env python3
"""Build zapfdingbats.tsv: the Unicode value of each ZapfDingbats code whose
glyph is in Unicode's Dingbats block (U+2701..U+27BF).

Run from the folder that holds this script (data/):

    python3 make-dingbats.py            # writes zapfdingbats.tsv

Unicode laid out its Dingbats block in the order of the ITC Zapf Dingbats
codes: U+2700 + (code - 0x20) for the codes 0x21..0x7E and U+2760 + (code -
0xA0) for 0xA1..0xFE. Where a Zapf Dingbats glyph already had a character
elsewhere (the telephone, the pointing hands, the suits, the circled digits,
some arrows, circles and squares), Unicode left the block's position empty;
Unicode 6.0 later filled some of those positions with other characters (for
example U+2705 WHITE HEAVY CHECK MARK). So the rule holds for the positions
that were assigned in Unicode 3.2, whose database Python keeps as
unicodedata.ucd_3_2_0. The parenthesis ornaments at the codes 0x80..0x8D were
added in Unicode 3.2 as U+2768..U+2775, in code order.

Inputs: afm/ZapfDingbats.afm (every code written must have a glyph there)
and Python's unicodedata.ucd_3_2_0. Output columns (tab-separated, one header
line): code (decimal), unicode (4 upper-case hex digits), glyph name from the
AFM.
"""
import os
import re
import unicodedata

HERE = os.path.dirname(os.path.abspath(__file__))


def main():
    glyphs = {}
    with open(os.path.join(HERE, "afm", "ZapfDingbats.afm"), encoding="latin-1") as f:
        for line in f:
            m = re.match(r"C (-?\d+) ; WX \d+ ; N (\S+)", line)
            if m and int(m.group(1)) >= 0:
                glyphs[int(m.group(1))] = m.group(2)
    ucd = unicodedata.ucd_3_2_0
    rows = []
    for u in range(0x2701, 0x27C0):
        if 0x2768 <= u <= 0x2775:
            code = 0x80 + u - 0x2768
        elif ucd.name(chr(u), None) is None:
            continue
        elif u <= 0x275E:
            code = u - 0x2700 + 0x20
        else:
            code = u - 0x2760 + 0xA0
        if code not in glyphs:
            raise SystemExit("no glyph for code %d (U+%04X)" % (code, u))
        rows.append((code, u, glyphs[code]))
    rows.sort()
    with open(os.path.join(HERE, "zapfdingbats.tsv"), "w", encoding="ascii", newline="\n") as f:
        f.write("code\tunicode\tname\n")
        for code, u, name in rows:
            f.write("%d\t%04X\t%s\n" % (code, u, name))


if __name__ == "__main__":
    main()
