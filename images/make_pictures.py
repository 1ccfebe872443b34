#!/usr/bin/env python3
"""Draws the program's pictures and writes them as source or image files.

    python3 images/make_pictures.py        (run from the repository root)

writes
    src/db/error_icon.xpm   the alert's no-entry sign, 54 x 53, 16 colours
    src/edit/stop_icon.xpm  the delete question's STOP sign, 54 x 53, 16 colours
    images/rackbook.ico     the window icon: 16 px (32-bit BMP with AND mask),
                            32 px and 48 px (PNG)

Both XPM files use the toolkit's compact colour table: the header
"54 53 -16 1" and one string of 16 four-byte entries (character, red, green,
blue), the leading blank being transparent.  Everything is drawn by the code
below; nothing is read from elsewhere.
"""
import math
import os
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
W, H = 54, 53

ERROR_COLOURS = [
    (' ', None), ('!', 0x989898), ('"', 0xc83030), ('#', 0xf8f8f8),
    ('$', 0x808080), ('%', 0xf0f0f0), ('&', 0xc86030), ("'", 0xe0e0e0),
    ('(', 0xc8c8c8), (')', 0x606060), ('*', 0xf89898), ('+', 0xf86060),
    (',', 0xf8c8c8), ('-', 0xc86060), ('.', 0x603030), ('/', 0x303030),
]

STOP_COLOURS = [
    (' ', None), ('!', 0xc8c8c8), ('"', 0x989898), ('#', 0x606030),
    ('$', 0xf8f8f8), ('%', 0xf86060), ('&', 0xf89860), ("'", 0xc86030),
    ('(', 0xc83030), (')', 0xf8c898), ('*', 0xf89898), ('+', 0x606060),
    (',', 0xc86060), ('-', 0xf8c8c8), ('.', 0xb8b8b8), ('/', 0x583030),
]


def light(dx, dy):
    """How much a point on a rim faces the light from the upper left: 1 .. -1."""
    d = math.hypot(dx, dy) or 1.0
    return (-dx - dy) / (d * math.sqrt(2))


def draw_error_icon():
    cx, cy = 27.0, 26.0  # the disc covers columns 1..52 and rows 0..51
    rows = []
    for y in range(H):
        row = []
        for x in range(W):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            d = math.hypot(dx, dy)
            facing = light(dx, dy)
            ch = ' '
            if d < 26.0:
                if d > 25.0:  # outer rim: greys, dark toward the lower right
                    ch = '(' if facing > 0.5 else '!' if facing > 0.0 else '$' if facing > -0.5 \
                        else ')' if facing > -0.85 else '/'
                elif d > 24.0:  # inner rim: light reds, shaded the same way
                    ch = ',' if facing > 0.5 else '*' if facing > 0.0 else '+' if facing > -0.5 \
                        else '-'
                elif d > 23.0 and facing < -0.6:
                    ch = '.'
                elif d > 23.0 and facing < -0.2:
                    ch = '&'
                else:
                    ch = '"'
            if 9 <= x <= 46 and 23 <= y <= 30:
                ch = '#'
            elif (x in (8, 47) and 23 <= y <= 31) or (y == 31 and 8 <= x <= 47):
                ch = '-'
            row.append(ch)
        rows.append(''.join(row))
    return rows


GLYPHS = {
    'S': [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    'T': ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    'O': [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    'P': ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
}


def stop_letters():
    """The set of (x, y) pixels of the word STOP, 9 x 14 pixels a letter."""
    pixels = set()
    left, top, width, gap = 6, 19, 9, 2
    for i, letter in enumerate("STOP"):
        glyph = GLYPHS[letter]
        x0 = left + i * (width + gap)
        for gy in range(14):
            for gx in range(width):
                if glyph[gy // 2][gx * 5 // width] == '#':
                    pixels.add((x0 + gx, top + gy))
    return pixels


def draw_stop_icon():
    cx, cy = 26.5, 25.5
    letters = stop_letters()

    def octagon(dx, dy, a):
        return abs(dx) <= a and abs(dy) <= a and abs(dx) + abs(dy) <= a * 1.4142

    rows = []
    for y in range(H):
        row = []
        for x in range(W):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            facing = light(dx, dy)
            ch = ' '
            if octagon(dx, dy, 25.5):
                ch = '!' if facing > 0.3 else '.' if facing > -0.3 else '"' if facing > -0.8 \
                    else '+'
            elif octagon(dx - 1, dy - 1, 25.5):  # the grey shadow edge
                ch = '#' if facing < -0.8 else '+'
            if octagon(dx, dy, 24.5):
                ch = '-' if facing > 0.3 else '*' if facing > -0.3 else '%'
            if octagon(dx, dy, 23.0):
                ch = '('
                if not octagon(dx, dy, 22.0):
                    ch = ')' if facing > 0.5 else '&' if facing > 0.0 else "'" if facing > -0.6 \
                        else '/'
            if (x, y) in letters:
                ch = '$'
            elif ch == '(' and ((x - 1, y) in letters or (x, y - 1) in letters):
                ch = ','  # the letters' shadow
            row.append(ch)
        rows.append(''.join(row))
    return rows


def c_string(text):
    out = []
    for byte in text.encode('latin-1'):
        ch = chr(byte)
        if ch in '"\\':
            out.append('\\' + ch)
        elif 32 <= byte < 127:
            out.append(ch)
        else:
            out.append('\\%03o' % byte)
    return '"' + ''.join(out) + '"'


def write_xpm(path, name, what, colours, rows):
    assert len(rows) == H and all(len(r) == W for r in rows)
    used = {c for r in rows for c in r}
    known = {c for c, _ in colours}
    assert used <= known, used - known
    table = ''
    for ch, rgb in colours:
        rgb = rgb or 0
        table += ch + bytes([(rgb >> 16) & 255, (rgb >> 8) & 255, rgb & 255]).decode('latin-1')
    lines = ['/* %s: 54 x 53, compact colour table; made by images/make_pictures.py */' % what,
             'static const char* const %s[] = {' % name,
             '    "54 53 -16 1",',
             '    ' + c_string(table) + ',']
    lines += ['    ' + c_string(r) + ',' for r in rows]
    lines.append('};')
    with open(path, 'w') as f:
        f.write('\n'.join(lines) + '\n')


# ---- window icon ---------------------------------------------------------------

def cabinet_pixels(size):
    """A small filing cabinet: RGBA rows, top row first."""
    s = size / 16.0
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, rgba):
        for y in range(int(y0 * s), int(math.ceil(y1 * s))):
            for x in range(int(x0 * s), int(math.ceil(x1 * s))):
                if 0 <= x < size and 0 <= y < size:
                    px[y][x] = rgba

    rect(2, 0, 14, 16, (40, 55, 90, 255))       # outline
    rect(3, 1, 13, 15, (95, 125, 175, 255))     # body
    for top in (1.5, 6.0, 10.5):
        rect(3.5, top, 12.5, top + 4, (150, 180, 225, 255))   # drawer front
        rect(6.5, top + 1.5, 9.5, top + 2.5, (30, 30, 30, 255))  # handle
    return px


def png_bytes(px):
    size = len(px)
    raw = b''.join(b'\0' + bytes(c for p in row for c in p) for row in px)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + \
            struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


def bmp_bytes(px):
    """A 32-bit icon bitmap: header, BGRA rows bottom-up, then the AND mask."""
    size = len(px)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b''.join(bytes((b, g, r, a)) for row in reversed(px) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(px):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + colour + mask


def write_ico(path):
    images = [(16, bmp_bytes(cabinet_pixels(16)), 32),
              (32, png_bytes(cabinet_pixels(32)), 32),
              (48, png_bytes(cabinet_pixels(48)), 32)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data, bits in images:
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    out += b''.join(data for _, data, _ in images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    write_xpm(os.path.join(ROOT, 'src/db/error_icon.xpm'), 'error_icon_xpm',
              'the alert icon, a no-entry sign', ERROR_COLOURS, draw_error_icon())
    write_xpm(os.path.join(ROOT, 'src/edit/stop_icon.xpm'), 'stop_icon_xpm',
              'the delete question icon, a STOP sign', STOP_COLOURS, draw_stop_icon())
    write_ico(os.path.join(ROOT, 'images/rackbook.ico'))
