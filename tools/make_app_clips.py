#!/usr/bin/env python3
"""Draws the program's own clips and writes them as AVI files.

probe.avi (48 x 48, 8 frames, 8 per second): an arrow drops into a tray, for the add and import
dialogs. copy.avi (272 x 60, 31 frames, 15 per second): a sheet travels from a globe to a
folder, for the save dialog and the extra progress window. update.avi (48 x 48, 12 frames, 10 per
second): two arrows circle a turning globe, for the update check.

Usage: make_app_clips.py OUTPUT_DIRECTORY
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from avi_clip import Frame, clip_bytes  # noqa: E402

PALETTE = [
    (192, 192, 192),  # 0 background
    (0, 0, 0),        # 1 outline
    (255, 255, 255),  # 2 paper
    (40, 90, 200),    # 3 blue
    (70, 160, 60),    # 4 green
    (250, 210, 70),   # 5 folder
    (190, 140, 30),   # 6 folder shade
    (128, 128, 128),  # 7 lines, trail
]


def arrow(frame, cx, top, size):
    for y in range(size):
        half = 3 if y < size // 2 else (size - y) * 6 // size + 1
        for x in range(cx - half, cx + half + 1):
            frame.put(x, top + y, 3)


def probe_frame(i):
    f = Frame(48, 48)
    f.rect(6, 34, 36, 10, 7, 1)          # tray
    f.rect(8, 36, 32, 3, 2)
    arrow(f, 24, 2 + i * 3, 18)
    return f


def globe(f, cx, cy, r, turn):
    for y in range(cy - r, cy + r + 1):
        for x in range(cx - r, cx + r + 1):
            d = math.hypot(x - cx, y - cy)
            if d > r + 0.5:
                continue
            land = math.sin((x - cx) * 0.35 + turn) * math.cos((y - cy) * 0.3) > 0.35
            f.put(x, y, 1 if d > r - 0.7 else (4 if land else 3))


def folder(f, left, top, w, h):
    f.rect(left, top, w // 3, 5, 6, 1)
    f.rect(left, top + 4, w, h - 4, 5, 1)


def sheet(f, left, top):
    f.rect(left, top, 14, 18, 2, 1)
    for k in range(4):
        for x in range(left + 3, left + 11):
            f.put(x, top + 4 + k * 3, 7)


def copy_frame(i, count):
    f = Frame(272, 60)
    globe(f, 34, 30, 22, i * 0.4)
    folder(f, 210, 12, 48, 36)
    t = i / (count - 1)
    x = int(60 + t * 140)
    y = int(22 - math.sin(t * math.pi) * 16)
    for k in range(60, x, 6):  # dotted trail behind the sheet
        f.put(k, int(30 - math.sin((k - 60) / 140 * math.pi) * 16), 7)
    sheet(f, x, y)
    return f


def triangle(f, points, colour):
    (ax, ay), (bx, by), (cx, cy) = points

    def side(px, py, qx, qy, x, y):
        return (qx - px) * (y - py) - (qy - py) * (x - px)

    for y in range(int(min(ay, by, cy)), int(max(ay, by, cy)) + 2):
        for x in range(int(min(ax, bx, cx)), int(max(ax, bx, cx)) + 2):
            d = (side(ax, ay, bx, by, x, y), side(bx, by, cx, cy, x, y), side(cx, cy, ax, ay, x, y))
            if all(v >= 0 for v in d) or all(v <= 0 for v in d):
                f.put(x, y, colour)


def circling_arrow(f, cx, cy, r, start, colour):
    """An arc of thickness 3 over a good quarter turn, clockwise from `start` radians, with a head."""
    end = start + math.pi * 0.6
    for k in range(61):
        a = start + k / 60 * (end - start)
        for dr in (-1, 0, 1):
            f.put(int(round(cx + (r + dr) * math.cos(a))), int(round(cy + (r + dr) * math.sin(a))), colour)

    def at(a, radius):
        return cx + radius * math.cos(a), cy + radius * math.sin(a)

    triangle(f, [at(end, r - 5), at(end, r + 5), at(end + 0.4, r)], colour)


def update_frame(i, count):
    f = Frame(48, 48)
    globe(f, 24, 24, 11, i * 0.5)
    turn = i / count * 2 * math.pi
    circling_arrow(f, 24, 24, 18, turn, 6)
    circling_arrow(f, 24, 24, 18, turn + math.pi, 6)
    return f


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "probe.avi"), "wb") as fh:
        fh.write(clip_bytes([probe_frame(i) for i in range(8)], 8, PALETTE))
    with open(os.path.join(out, "copy.avi"), "wb") as fh:
        fh.write(clip_bytes([copy_frame(i, 31) for i in range(31)], 15, PALETTE))
    with open(os.path.join(out, "update.avi"), "wb") as fh:
        fh.write(clip_bytes([update_frame(i, 12) for i in range(12)], 10, PALETTE))


if __name__ == "__main__":
    main()
