#!/usr/bin/env python3
"""Draws the transfer engine's three animation clips and writes them as AVI files.

download.avi: a sheet flies from the globe to the folder; upload.avi: back again;
filecopy.avi: from one folder to another.
All are uncompressed 8-bit frames with a palette (the form the animate control plays
everywhere), 240 x 48 pixels, 12 frames at 10 frames per second, looping.

Usage: make_clips.py OUTPUT_DIRECTORY
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import avi_clip  # noqa: E402

WIDTH, HEIGHT, FRAMES, FPS = 240, 48, 12, 10

# Index 0 is the background; the control draws it in the dialog's own colour.
PALETTE = [
    (192, 192, 192),  # 0 background
    (0, 0, 0),        # 1 outline
    (255, 255, 255),  # 2 paper
    (40, 90, 200),    # 3 sea
    (70, 160, 60),    # 4 land
    (250, 210, 70),   # 5 folder
    (190, 140, 30),   # 6 folder shade
    (128, 128, 128),  # 7 text lines, trail
    (150, 190, 250),  # 8 sea highlight
]
GLOBE = (30, 24, 19)      # centre x, centre y, radius
FOLDER = (186, 10, 44, 30)  # left, top, width, height
SHEET_W, SHEET_H = 14, 18


class Frame(avi_clip.Frame):
    def __init__(self):
        super().__init__(WIDTH, HEIGHT)

    def rect(self, left, top, width, height, fill, outline=1):
        super().rect(left, top, width, height, fill, outline)


def draw_globe(frame, turn):
    cx, cy, r = GLOBE
    for y in range(cy - r, cy + r + 1):
        for x in range(cx - r, cx + r + 1):
            d = math.hypot(x - cx, y - cy)
            if d > r + 0.5:
                continue
            if d > r - 0.7:
                frame.put(x, y, 1)
                continue
            # Continents as bands that drift with the frame number, so the globe turns.
            lon = math.asin(max(-1.0, min(1.0, (x - cx) / math.sqrt(max(r * r - (y - cy) ** 2, 1)))))
            lat = (y - cy) / r
            land = math.sin(3 * lon + turn) + 0.8 * math.cos(2 * lat * math.pi + 1.3) > 0.9
            shade = 8 if (x - cx) + (y - cy) < -r * 0.6 else 3
            frame.put(x, y, 4 if land else shade)


def draw_folder(frame, left=FOLDER[0]):
    _, top, width, height = FOLDER
    frame.rect(left, top, width // 2, 6, 6)
    frame.rect(left, top + 5, width, height - 5, 5)
    for x in range(left + 1, left + width - 1):
        frame.put(x, top + 9, 6)


def draw_sheet(frame, left, top):
    frame.rect(left, top, SHEET_W, SHEET_H, 2)
    for y in (top + 4, top + 7, top + 10, top + 13):
        for x in range(left + 3, left + SHEET_W - 3):
            frame.put(x, y, 7)
    for i in range(4):  # folded corner
        frame.put(left + SHEET_W - 1 - i, top + 3 - i, 0)
        frame.put(left + SHEET_W - 4 + i, top + i, 1)


def sheet_position(t, start=GLOBE[0] + GLOBE[2] + 2):
    end = FOLDER[0] + FOLDER[2] // 2 - SHEET_W // 2
    x = start + (end - start) * t
    y = 16 - 14 * math.sin(math.pi * t)
    return int(round(x)), int(round(y))


def draw_frame(index, kind):
    frame = Frame()
    start = GLOBE[0] + GLOBE[2] + 2
    if kind == "filecopy":
        draw_folder(frame, GLOBE[0] - FOLDER[2] // 2)
        start = GLOBE[0] - SHEET_W // 2
    else:
        draw_globe(frame, index * 2 * math.pi / FRAMES)
    draw_folder(frame)
    t = index / (FRAMES - 1)
    if kind == "upload":
        t = 1 - t
    # A dotted trail along the flight path.
    for step in range(0, 17):
        x, y = sheet_position(step / 20, start)
        frame.put(x + SHEET_W // 2, y + SHEET_H // 2, 7)
    draw_sheet(frame, *sheet_position(t, start))
    return frame


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for kind in ("download", "upload", "filecopy"):
        frames = [draw_frame(i, kind) for i in range(FRAMES)]
        with open(os.path.join(out, kind + ".avi"), "wb") as f:
            f.write(avi_clip.clip_bytes(frames, FPS, PALETTE))


if __name__ == "__main__":
    main()
