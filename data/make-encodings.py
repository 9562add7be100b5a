#!/usr/bin/env python3
"""Build encodings.tsv: the Unicode tables of the three built-in encodings
(the PDF layer's encoding rules) for the codes 32..255.

Run from the folder that holds this script (data/):

    python3 make-encodings.py            # writes encodings.tsv

Inputs (all relative to this folder):
  afm/Helvetica.afm    its CharMetrics "C" codes are Adobe StandardEncoding
                       codes (EncodingScheme AdobeStandardEncoding)
  glyphlist-1.2.txt    Adobe Glyph List 1.2, to turn glyph names into Unicode
  Python's own codecs  "mac_roman" (Mac OS Roman) and "cp1252" (Windows-1252)

Output columns (tab-separated, one header line, then codes 32..255):
  code  standard  macroman  winansi
Each Unicode value is written as 4 upper-case hex digits; 0 means the
encoding leaves the code unused.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def read_agl(path):
    """Glyph name -> Unicode value. A name listed twice gets its lower value,
    as the Unicode-sorted glyph-name table of the PDF layer gives it (for the
    names StandardEncoding uses, "space", "hyphen", "fraction", "macron" and
    "periodcentered", that is also the line AGL 1.2 lists first)."""
    name2uv = {}
    for line in open(path, encoding="ascii"):
        line = line.rstrip("\r\n")
        if not line or line.startswith("#"):
            continue
        uv, name = line.split(";")[:2]
        uv = int(uv, 16)
        name2uv[name] = min(uv, name2uv.get(name, uv))
    return name2uv


def standard_encoding(afm_path, name2uv):
    """code -> Unicode for Adobe StandardEncoding, from the AFM's C fields."""
    table = {}
    in_metrics = False
    for line in open(afm_path, encoding="latin-1"):
        line = line.strip()
        if line.startswith("StartCharMetrics"):
            in_metrics = True
            continue
        if line.startswith("EndCharMetrics"):
            break
        if not in_metrics or not line.startswith("C "):
            continue
        fields = dict(
            f.strip().split(None, 1) for f in line.split(";") if f.strip()
        )
        code = int(fields["C"])
        if code < 0:
            continue
        assert code not in table, code
        table[code] = name2uv[fields["N"]]
    return table


def codec_table(codec):
    """code -> Unicode for a one-byte Python codec; undefined bytes give 0."""
    table = {}
    for code in range(256):
        try:
            ch = bytes([code]).decode(codec)
        except UnicodeDecodeError:
            table[code] = 0
            continue
        table[code] = ord(ch)
    return table


def mac_roman_encoding():
    """PDF MacRomanEncoding: Mac OS Roman, with the PDF layer's exceptions."""
    t = codec_table("mac_roman")
    for code in (127, 173, 176, 178, 179, 182, 183, 184, 185, 186, 189,
                 195, 197, 198, 215, 240):
        t[code] = 0
    t[202] = 0x0020   # Mac OS Roman has NO-BREAK SPACE here; PDF has "space"
    t[219] = 0x00A4   # Mac OS Roman (since 8.5) has EURO SIGN; PDF "currency"
    return t


def win_ansi_encoding():
    """PDF WinAnsiEncoding as the PDF layer defines it: cp1252 with 8 codes 0."""
    t = codec_table("cp1252")
    for code in (127, 129, 141, 143, 144, 157, 160, 173):
        t[code] = 0
    return t


def fmt(uv):
    return "%04X" % uv if uv else "0"


def main():
    name2uv = read_agl(os.path.join(HERE, "glyphlist-1.2.txt"))
    std = standard_encoding(os.path.join(HERE, "afm", "Helvetica.afm"), name2uv)
    mac = mac_roman_encoding()
    win = win_ansi_encoding()
    rows = ["code\tstandard\tmacroman\twinansi"]
    for code in range(32, 256):
        rows.append("%d\t%s\t%s\t%s" % (code, fmt(std.get(code, 0)),
                                        fmt(mac[code]), fmt(win[code])))
    with open(os.path.join(HERE, "encodings.tsv"), "w", encoding="ascii",
              newline="\n") as out:
        out.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
