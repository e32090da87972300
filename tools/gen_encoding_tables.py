#!/usr/bin/env python3
"""Generate src/mif/MifEncodingTables.cpp: the 8-bit character-set tables used to
decode text of MIF files older than version 8.0.

Each table maps the 256 byte values of one FrameMaker character set to a Unicode
code point. U+FFFF marks a byte with no character; U+0000 marks a byte whose
character is a sequence of code points that a single-code-point table cannot hold.

Usage:
    tools/gen_encoding_tables.py            write the file
    tools/gen_encoding_tables.py --check    exit 1 if the committed file is stale

Only the Python standard library is used. Its code pages come from the vendors'
published mapping files: Apple's for Mac OS Roman, Greek, Cyrillic and Arabic,
Microsoft's for the Windows code pages and for Mac OS Central European (whose
mappings are the same as Apple's). Positions that Apple changed in later
releases of its tables are pinned below, so an interpreter with an older codec
still produces the same output.
"""

import sys
from pathlib import Path

NO_CHAR = 0xFFFF   # the byte has no character

ROOT = Path(__file__).resolve().parent.parent
OUTPUT = ROOT / "src" / "mif" / "MifEncodingTables.cpp"

# FrameMaker's special characters below 0x20, shared by every table; the other
# control bytes map to themselves.
CONTROL_SPECIALS = {
    0x04: 0x00AD,  # discretionary hyphen
    0x08: 0x0009,  # tab
    0x09: 0x000A,  # forced return: the line break the text model keeps
    0x10: 0x0020,  # numeric space
    0x11: 0x00A0,  # hard space
    0x12: 0x0020,  # thin space
    0x13: 0x0020,  # en space
    0x14: 0x2003,  # em space
    0x15: 0x2011,  # hard hyphen
}

# FrameRoman is Mac OS Roman (current form, 0xDB = euro sign) except here.
FRAME_ROMAN_CHANGES = {
    0xAD: 0x00A6, 0xB0: 0x00D7, 0xB2: 0x00F0, 0xB3: 0x0160, 0xB6: 0x00B9,
    0xB7: 0x00B2, 0xB8: 0x00B3, 0xB9: 0x00BC, 0xBA: 0x00BD, 0xBD: 0x00BE,
    0xC3: 0x00D0, 0xC5: 0x00DD, 0xC6: 0x00FD, 0xCA: 0x00FE, 0xD7: 0x00DE,
    0xDA: 0x002F, 0xDB: 0x00A4, 0xDE: NO_CHAR, 0xDF: NO_CHAR, 0xF0: 0x0161,
    0xF5: 0x20AC, 0xF9: NO_CHAR, 0xFA: 0x017D, 0xFB: 0x00B0, 0xFD: NO_CHAR,
    0xFE: 0x017E, 0xFF: 0x00FF,
}

# FrameMaker for Windows stores text by Windows-1252 byte positions of FrameRoman
# characters; these are the positions where a table differs from that rule.
WINDOWS_CHANGES = {
    "cp1250": {0xF9: 0x0164, 0xFD: 0x0165},
    "cp1251": {0xF9: 0x040C, 0xFD: 0x045C},
    "cp1253": {},
    "cp1254": {},
    "cp1255": {0x92: 0x05DC, 0x93: 0x05DD, 0xA1: NO_CHAR, 0xDA: NO_CHAR},
    "cp1256": {0x92: 0x0649, 0x93: 0x064A, 0xA1: NO_CHAR, 0xDA: NO_CHAR,
               0xFA: NO_CHAR, 0xFE: NO_CHAR, 0xFF: NO_CHAR},
    "cp1257": {0xB3: 0x008A, 0xB4: 0xF8FD, 0xC1: 0xF8FC, 0xC4: 0x0083,
               0xCE: 0x008C, 0xCF: 0x009C, 0xD9: 0x009F, 0xF0: 0x009A,
               0xF6: 0x0088, 0xF7: 0x0098, 0xF9: 0x00A8, 0xFD: 0x00AF},
    "cp874": {0x86: 0xF8C2, 0x92: 0x0E4C, 0x93: 0x0E4D, 0x9F: 0xF8C5,
              0xA0: 0x0086, 0xA1: NO_CHAR, 0xAA: 0x0099, 0xB3: 0x008A,
              0xC4: 0x0083, 0xC5: 0xF8C3, 0xC6: 0xF8C6, 0xCA: 0xF8C7,
              0xCE: 0x008C, 0xCF: 0x009C, 0xD7: 0xF8C4, 0xD8: 0xF8C8,
              0xD9: 0x009F, 0xDA: NO_CHAR, 0xDC: 0x008B, 0xDD: 0x009B,
              0xE0: 0x0087, 0xE2: 0x0082, 0xE3: 0x0084, 0xE4: 0x0089,
              0xF0: 0x009A, 0xF3: 0xF8C1, 0xF6: 0x0088, 0xF7: 0x0098},
}

# Positions of Apple's current Mac tables that older codecs have in their
# pre-euro / pre-Ukrainian form (Greek changed in Mac OS 9.2.2, Cyrillic in
# Mac OS 9.0, Arabic 0xC0 in table version n07). Pinned so the output does not
# depend on the interpreter's codec version.
#
# Apple's Mac OS Arabic table tags many positions with a required direction:
# 0x20-0x7F carry <LR>+ (left-right) and their duplicates at 0xA0-0xFF carry
# <RL>+ (right-left), e.g. 0xA0 <RL>+0x0020 and 0xC0 <RL>+0x274A. A table of
# single code points keeps the base code point of such an entry and drops the
# direction tag, so 0x20 and 0xA0 both give U+0020. Python's mac_arabic codec
# is generated from that Apple file with the tags already dropped; no Mac
# Arabic position maps to a longer sequence.
MAC_CURRENT = {
    "mac_greek": {0x9C: 0x20AC, 0xFF: 0x00AD, 0xAF: 0x00B7},
    "mac_cyrillic": {0xA2: 0x0490, 0xB6: 0x0491, 0xFF: 0x20AC},
    "mac_arabic": {0x81: 0x00A0, 0xA0: 0x0020, 0xC0: 0x274A, 0xFF: 0x06D2},
    "mac_latin2": {0xA0: 0x2020, 0xCA: 0x00A0, 0xFF: 0x02C7},
}

# Tables written out in full, as "byte:code point" items and "first-last:from-to"
# ranges (a range maps consecutive bytes to consecutive code points).
MAC_HEBREW = """
    20-7F:0020-007F
    80:00C4 81:0000 82:00C7 83:00C9 84:00D1 85:00D6 86:00DC 87:00E1
    88:00E0 89:00E2 8A:00E4 8B:00E3 8C:00E5 8D:00E7 8E:00E9 8F:00E8
    90:00EA 91:00EB 92:00ED 93:00EC 94:00EE 95:00EF 96:00F1 97:00F3
    98:00F2 99:00F4 9A:00F6 9B:00F5 9C:00FA 9D:00F9 9E:00FB 9F:00FC
    A0-A5:0020-0025 A6:20AA A7:0027 A8:0029 A9:0028 AA-BF:002A-003F
    C0:0000 C1:201E C2:F89B C3:F89C C4:F89D C5:F89E C6:05BC C7:FB4B
    C8:FB35 C9:2026 CA:00A0 CB:05B8 CC:05B7 CD:05B5 CE:05B6 CF:05B4
    D0:2013 D1:2014 D2:201C D3:201D D4:2018 D5:2019 D6:FB2A D7:FB2B
    D8:05BF D9:05B0 DA:05B2 DB:05B1 DC:05BB DD:05B9 DE:0000 DF:05B3
    E0-FA:05D0-05EA FB:007D FC:005D FD:007B FE:005B FF:007C
"""

# 0x80-0x9F of Symbol are taken from Mac OS Roman (see build_symbol).
SYMBOL = """
    20:00A0 21:0021 22:2200 23:0023 24:2203 25:0025 26:0026 27:220B
    28:0028 29:0029 2A:2217 2B:002B 2C:002C 2D:2212 2E-3F:002E-003F
    40:2245 41:0391 42:0392 43:03A7 44:0394 45:0395 46:03A6 47:0393
    48:0397 49:0399 4A:03D1 4B:039A 4C:039B 4D:039C 4E:039D 4F:039F
    50:03A0 51:0398 52:03A1 53:03A3 54:03A4 55:03A5 56:03C2 57:03A9
    58:039E 59:03A8 5A:0396 5B:005B 5C:2234 5D:005D 5E:22A5 5F:005F
    60:F8E5 61:03B1 62:03B2 63:03C7 64:03B4 65:03B5 66:03C6 67:03B3
    68:03B7 69:03B9 6A:03D5 6B:03BA 6C:03BB 6D:03BC 6E:03BD 6F:03BF
    70:03C0 71:03B8 72:03C1 73:03C3 74:03C4 75:03C5 76:03D6 77:03C9
    78:03BE 79:03C8 7A:03B6 7B:007B 7C:007C 7D:007D 7E:223C 7F:007F
    A0:20AC A1:03D2 A2:2032 A3:2264 A4:2215 A5:221E A6:0192 A7:2663
    A8:2666 A9:2665 AA:2660 AB:2194 AC:2190 AD:2191 AE:2192 AF:2193
    B0:00B0 B1:00B1 B2:2033 B3:2265 B4:00D7 B5:221D B6:2202 B7:2022
    B8:00F7 B9:2260 BA:2261 BB:2248 BC:2026 BD:F8E6 BE:F8E7 BF:21B5
    C0:2135 C1:2111 C2:211C C3:2118 C4:2297 C5:2295 C6:2205 C7:2229
    C8:222A C9:2283 CA:2287 CB:2284 CC:2282 CD:2286 CE:2208 CF:2209
    D0:2220 D1:2207 D2:F6DA D3:F6D9 D4:F6DB D5:220F D6:221A D7:22C5
    D8:00AC D9:2227 DA:2228 DB:21D4 DC:21D0 DD:21D1 DE:21D2 DF:21D3
    E0:25CA E1:2329 E2:F8E8 E3:F8E9 E4:F8EA E5:2211 E6-EF:F8EB-F8F4
    F0:00F0 F1:232A F2:222B F3:2320 F4:F8F5 F5:2321 F6:F8F6 F7:F8F7
    F8:F8F8 F9:F8F9 FA:F8FA FB:F8FB FC:F8FC FD:F8FD FE:F8FE FF:00FF
"""


def decode_byte(codec, byte):
    """The code point of `byte` in `codec`, or None where the codec has none."""
    try:
        text = bytes([byte]).decode(codec)
    except UnicodeDecodeError:
        return None
    return ord(text) if len(text) == 1 else None


def parse_listing(listing):
    """Turn a listing of "BB:UUUU" items and "B1-B2:U1-U2" ranges into a dict."""
    result = {}
    for item in listing.split():
        bytes_part, code_part = item.split(":")
        if "-" in bytes_part:
            first, last = (int(x, 16) for x in bytes_part.split("-"))
            start, end = (int(x, 16) for x in code_part.split("-"))
            if last - first != end - start:
                raise ValueError("uneven range " + item)
            for offset in range(last - first + 1):
                result[first + offset] = start + offset
        else:
            result[int(bytes_part, 16)] = int(code_part, 16)
    return result


def finish(high):
    """Complete a table from its entries for 0x20-0xFF (missing ones default to
    ASCII below 0x80) and the shared control bytes."""
    table = []
    for byte in range(256):
        if byte < 0x20:
            table.append(CONTROL_SPECIALS.get(byte, byte))
        elif byte in high:
            table.append(high[byte])
        elif byte < 0x80:
            table.append(byte)
        else:
            raise ValueError("no entry for byte 0x%02X" % byte)
    return table


def build_frame_roman():
    high = {}
    for byte in range(0x80, 0x100):
        high[byte] = FRAME_ROMAN_CHANGES.get(byte, decode_byte("mac_roman", byte))
    return finish(high)


def build_windows(frame_roman, codec):
    """Byte b -> FrameRoman character -> its Windows-1252 byte -> that byte read in
    `codec`; U+FFFF where a step has no answer."""
    high = {}
    for byte in range(0x80, 0x100):
        code = NO_CHAR
        char = frame_roman[byte]
        if char != NO_CHAR:
            try:
                cp1252 = chr(char).encode("cp1252")
            except UnicodeEncodeError:
                cp1252 = None
            if cp1252 is not None:
                target = decode_byte(codec, cp1252[0])
                if target is not None:
                    code = target
        high[byte] = code
    high.update(WINDOWS_CHANGES[codec])
    return finish(high)


def build_mac(codec):
    high = {}
    for byte in range(0x20, 0x100):
        code = decode_byte(codec, byte)
        high[byte] = NO_CHAR if code is None else code
    high.update(MAC_CURRENT[codec])
    return finish(high)


def build_symbol():
    high = parse_listing(SYMBOL)
    for byte in range(0x80, 0xA0):
        high[byte] = decode_byte("mac_roman", byte)
    return finish(high)


def build_tables():
    """(array name, encoding code, description, table) in output order."""
    frame_roman = build_frame_roman()
    return [
        ("kFrameRoman", 0, "FrameRoman", frame_roman),
        ("kWindows1250", 238, "East Europe (Win): Windows-1250 via FrameRoman",
         build_windows(frame_roman, "cp1250")),
        ("kWindows1253", 161, "Greek (Win): Windows-1253 via FrameRoman",
         build_windows(frame_roman, "cp1253")),
        ("kWindows1255", 177, "Hebrew (Win): Windows-1255 via FrameRoman",
         build_windows(frame_roman, "cp1255")),
        ("kWindows1256", 178, "Arabic (Win): Windows-1256 via FrameRoman",
         build_windows(frame_roman, "cp1256")),
        ("kWindows1251", 204, "Russian (Win): Windows-1251 via FrameRoman",
         build_windows(frame_roman, "cp1251")),
        ("kWindows1257", 186, "Baltic (Win): Windows-1257 via FrameRoman",
         build_windows(frame_roman, "cp1257")),
        ("kWindows1254", 162, "Turkish (Win): Windows-1254 via FrameRoman",
         build_windows(frame_roman, "cp1254")),
        ("kWindows874", 222, "Thai (Win): Windows-874 via FrameRoman",
         build_windows(frame_roman, "cp874")),
        ("kMacCentralEuropean", 29, "East Europe (Mac): Mac OS Central European",
         build_mac("mac_latin2")),
        ("kMacGreek", 6, "Greek (Mac): Mac OS Greek", build_mac("mac_greek")),
        ("kMacHebrew", 5, "Hebrew (Mac): Mac OS Hebrew",
         finish(parse_listing(MAC_HEBREW))),
        ("kMacArabic", 4, "Arabic (Mac): Mac OS Arabic", build_mac("mac_arabic")),
        ("kMacCyrillic", 7, "Cyrillic (Mac): Mac OS Cyrillic",
         build_mac("mac_cyrillic")),
        ("kSymbol", 2, "Symbol", build_symbol()),
    ]


def render(tables):
    lines = [
        "// Generated by tools/gen_encoding_tables.py - do not edit by hand.",
        "// Change the script and run it again to regenerate this file.",
        "//",
        "// Byte -> Unicode tables of the 8-bit FrameMaker character sets. U+FFFF marks",
        "// a byte with no character, U+0000 a byte whose character is a sequence.",
        "",
        '#include "MifEncodingTables.h"',
        "",
    ]
    for name, code, description, table in tables:
        assert len(table) == 256
        lines.append("// %d: %s" % (code, description))
        lines.append("static const uint32_t %s[256] = {" % name)
        for row in range(0, 256, 16):
            values = ", ".join("0x%04X" % v for v in table[row:row + 16])
            lines.append("    %s,  // 0x%02X" % (values, row))
        lines.append("};")
        lines.append("")
    lines.append("const uint32_t* MifEncodingTable(int32_t encoding) {")
    lines.append("    switch (encoding) {")
    for name, code, _, _ in tables:
        lines.append("    case %d: return %s;" % (code, name))
    lines.append("    default: return kFrameRoman;")
    lines.append("    }")
    lines.append("}")
    lines.append("")
    lines.append("bool MifHasEncodingTable(int32_t encoding) {")
    lines.append("    switch (encoding) {")
    for _, code, _, _ in tables:
        lines.append("    case %d:" % code)
    lines.append("        return true;")
    lines.append("    default:")
    lines.append("        return false;")
    lines.append("    }")
    lines.append("}")
    return "\n".join(lines) + "\n"


def main(argv):
    text = render(build_tables())
    if argv[1:] == ["--check"]:
        current = OUTPUT.read_text(encoding="utf-8") if OUTPUT.exists() else ""
        if current != text:
            print("%s is out of date; run %s" % (OUTPUT, argv[0]), file=sys.stderr)
            return 1
        return 0
    if argv[1:]:
        print(__doc__, file=sys.stderr)
        return 2
    OUTPUT.parent.mkdir(parents=True, exist_ok=True)
    with open(OUTPUT, "w", encoding="utf-8", newline="\n") as out:
        out.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
