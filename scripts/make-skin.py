#!/usr/bin/env python3
"""Draws Tonsmith's skin and icon (standard library only).

resources/skin.bmp: 306 x 281, 8 bits per pixel, 168 colours. Rows y 0, 35
and 70 hold the tool-button images (34 x 34, released at x 0, 70, 140, 210,
pressed 35 pixels to the right); from y 105 the About artwork; at (0, 276) a
305 x 4 violet-blue strip on light gray.
resources/tonsmith.png: the 48 x 48 program icon (the compile button).

Run from anywhere: python3 scripts/make-skin.py
"""
import math
import os
import struct
import zlib

W, H = 306, 281
ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")

# ---- palette: 168 entries ----------------------------------------------
palette = []


def add(rgb):
    palette.append(tuple(max(0, min(255, int(round(c)))) for c in rgb))
    return len(palette) - 1


GRAYS = {v: add((v, v, v)) for v in list(range(0, 256, 16)) + [255]}  # 17
BLACK, WHITE, GRAY, LIGHT, DARK = GRAYS[0], GRAYS[255], GRAYS[128], GRAYS[192], GRAYS[64]

HUES = {
    "yellow": (236, 196, 40),
    "green": (56, 176, 72),
    "cyan": (40, 186, 206),
    "red": (206, 48, 48),
}
RAMP = 28
ramps = {}
for name, base in HUES.items():
    ramp = []
    for i in range(RAMP):
        t = i / (RAMP - 1)  # 0 dark .. 1 highlight
        if t < 0.7:
            k = 0.35 + 0.65 * t / 0.7
            ramp.append(add(tuple(c * k for c in base)))
        else:
            k = (t - 0.7) / 0.3 * 0.75
            ramp.append(add(tuple(c + (255 - c) * k for c in base)))
    ramps[name] = ramp  # 4 x 28 = 112

BAND = [add((70 + 12 * i, 60 + 8 * i, 170 + 10 * i)) for i in range(8)]  # 8
LOGO = [add((30 + 3 * i, 20 + 2 * i, 90 + 5 * i)) for i in range(31)]  # 31
assert len(palette) == 168, len(palette)

img = [[LIGHT] * W for _ in range(H)]


def put(x, y, c):
    if 0 <= x < W and 0 <= y < H:
        img[y][x] = c


# ---- geometry helpers ----------------------------------------------------
def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    L = dx * dx + dy * dy
    t = 0 if L == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / L))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def in_poly(px, py, pts):
    inside = False
    j = len(pts) - 1
    for i in range(len(pts)):
        xi, yi = pts[i]
        xj, yj = pts[j]
        if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


# Motifs: functions (x, y) -> True where the motif covers, in a 34 x 34 cell.
def bolt(x, y):
    return in_poly(x, y, [(20, 4), (9, 19), (16, 19), (12, 30), (25, 13), (18, 13), (23, 4)])


def conductor(x, y):
    lines = [(13, 13, 13, 22), (13, 16, 20, 12), (20, 12, 25, 6), (13, 22, 10, 28),
             (13, 22, 16, 28), (13, 16, 9, 19)]
    return math.hypot(x - 13, y - 9) <= 3.2 or any(seg_dist(x, y, *l) <= 1.1 for l in lines)


def note(x, y):
    head = ((x - 12) / 4.5) ** 2 + ((y - 24) / 3.2) ** 2 <= 1
    return head or seg_dist(x, y, 16, 24, 16, 7) <= 1.0 or seg_dist(x, y, 16, 7, 22, 13) <= 1.3


def speaker(x, y):
    return in_poly(x, y, [(7, 13), (11, 13), (18, 7), (18, 27), (11, 21), (7, 21)])


def plus(x, y):
    return seg_dist(x, y, 20, 24, 30, 24) <= 1.3 or seg_dist(x, y, 25, 19, 25, 29) <= 1.3


def cross(x, y):
    return seg_dist(x, y, 20, 19, 30, 29) <= 1.3 or seg_dist(x, y, 30, 19, 20, 29) <= 1.3


def double_arrow(x, y):
    return (seg_dist(x, y, 14, 25, 27, 25) <= 1.0 or in_poly(x, y, [(12, 25), (16, 21), (16, 29)])
            or in_poly(x, y, [(29, 25), (25, 21), (25, 29)]))


def down_arrow(x, y):
    return seg_dist(x, y, 26, 16, 26, 25) <= 1.1 or in_poly(x, y, [(21, 24), (31, 24), (26, 30)])


def nothing(x, y):
    return False


def draw_cell(cx, cy, hue, motif, overlay, pressed, sample=None):
    """Draws one button image with its top-left corner at (cx, cy)."""
    ramp = ramps.get(hue)
    off = 1 if pressed else 0
    for y in range(34):
        for x in range(34):
            px, py = x + 0.5, y + 0.5
            d = math.hypot(px - 17, py - 17)
            c = GRAY
            if ramp and d <= 15.5:
                # Light from the upper left; a pressed pill is lit from below.
                nx, ny = (px - 17) / 15.5, (py - 17) / 15.5
                lit = -(nx + ny) / 1.414
                if pressed:
                    lit = -lit * 0.6
                t = 0.55 + 0.35 * lit
                if not pressed:
                    shine = math.hypot(px - 12, py - 11)
                    if shine < 4:
                        t += 0.35 * (1 - shine / 4)
                c = ramp[max(0, min(RAMP - 1, int(t * (RAMP - 1))))]
                if d > 13.8:  # the rim
                    upper_left = nx + ny < 0
                    if pressed:
                        c = DARK if upper_left else WHITE
                    else:
                        c = WHITE if upper_left else DARK
                else:
                    mx, my = x - off, y - off
                    if motif(mx, my):
                        c = BLACK
                    elif overlay(mx, my):
                        c = WHITE
            elif not ramp and d <= 15.5:
                c = GRAYS[160] if d <= 13.8 else GRAYS[96]
            if sample is None:
                put(cx + x, cy + y, c)
            else:
                sample[y][x] = c


BUTTONS = [  # released cell, colour, motif, overlay
    ((0, 0), "yellow", bolt, nothing),            # 6001 compile
    ((140, 0), "yellow", speaker, down_arrow),    # 6003 wave editor
    ((210, 0), "green", conductor, plus),         # 6004 new orchestra
    ((0, 35), "green", note, plus),               # 6005 new score
    ((210, 35), "cyan", conductor, double_arrow), # 6006 rename orchestra
    ((0, 70), "cyan", note, double_arrow),        # 6007 rename score
    ((140, 35), "red", conductor, cross),         # 6008 delete orchestra
    ((70, 35), "red", note, cross),               # 6009 delete score
    ((70, 70), "cyan", speaker, double_arrow),    # 6010 rename sound file
    ((140, 70), "red", speaker, cross),           # 6011 delete sound file
    ((70, 0), None, nothing, nothing),            # no button
    ((210, 70), None, nothing, nothing),          # no button
]

for y in range(0, 105):
    for x in range(W):
        put(x, y, GRAY)
for (cx, cy), hue, motif, overlay in BUTTONS:
    draw_cell(cx, cy, hue, motif, overlay, False)
    draw_cell(cx + 35, cy, hue, motif, overlay, True)

# ---- About artwork -------------------------------------------------------
FONT = {  # 5 x 7 glyphs
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "I": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "3": ["####.", "....#", "....#", ".###.", "....#", "....#", "####."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    ".": [".....", ".....", ".....", ".....", ".....", ".##..", ".##.."],
    " ": ["....."] * 7,
}


def text(x0, y0, s, scale, colour):
    for ch in s:
        for gy, row in enumerate(FONT[ch]):
            for gx, bit in enumerate(row):
                if bit == "#":
                    for sy in range(scale):
                        for sx in range(scale):
                            put(x0 + gx * scale + sx, y0 + gy * scale + sy, colour)
        x0 += 6 * scale


# Logo panel: a dark gradient with a sine wave and a bevel.
px0, py0, pw, ph = 8, 113, 96, 96
for y in range(ph):
    for x in range(pw):
        put(px0 + x, py0 + y, LOGO[min(30, (x + y) * 31 // (pw + ph))])
for x in range(pw - 12):
    t = x / (pw - 12)
    yy = 48 + 28 * math.sin(t * 2 * math.pi * 2) * (1 - 0.6 * t)
    for k in range(-1, 2):
        put(px0 + 6 + x, py0 + int(yy) + k, ramps["yellow"][24])
for x in range(pw):
    put(px0 + x, py0, WHITE)
    put(px0 + x, py0 + ph - 1, DARK)
for y in range(ph):
    put(px0, py0 + y, WHITE)
    put(px0 + pw - 1, py0 + y, DARK)
text(116, 130, "TONSMITH", 3, LOGO[4])
text(116, 170, "VERSION 3.3", 2, BLACK)

# Strip: 305 x 4 violet-blue band at (0, 276).
for y, shade in enumerate([6, 4, 2, 0]):
    for x in range(305):
        put(x, 276 + y, BAND[shade])


# ---- writing -------------------------------------------------------------
def write_bmp(path):
    stride = (W + 3) & ~3
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    rows = b"".join(bytes(img[y]) + b"\0" * (stride - W) for y in range(H - 1, -1, -1))
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 8, 0, len(rows), 2835, 2835, 168, 168)
    off = 14 + len(info) + len(pal)
    head = struct.pack("<2sIHHI", b"BM", off + len(rows), 0, 0, off)
    with open(path, "wb") as f:
        f.write(head + info + pal + rows)


def write_icon(path, size=48):
    cell = [[GRAY] * 34 for _ in range(34)]
    draw_cell(0, 0, "yellow", bolt, nothing, False, sample=cell)
    raw = b""
    for y in range(size):
        raw += b"\0"
        for x in range(size):
            sx, sy = x * 34 / size, y * 34 / size
            inside = math.hypot(sx - 17 + 0.35, sy - 17 + 0.35) <= 15.5
            r, g, b = palette[cell[int(sy)][int(sx)]]
            raw += bytes((r, g, b, 255 if inside else 0))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    png = (b"\x89PNG\r\n\x1a\n" +
           chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
           chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


write_bmp(os.path.join(ROOT, "resources", "skin.bmp"))
write_icon(os.path.join(ROOT, "resources", "tonsmith.png"))
