"""Writes silent AVI clips the animate control plays: uncompressed 8-bit frames with a palette."""
import struct


class Frame:
    """One picture of palette indices; index 0 is the background the control fills in."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = bytearray(width * height)

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = colour

    def rect(self, left, top, width, height, fill, outline=None):
        for y in range(top, top + height):
            for x in range(left, left + width):
                edge = x in (left, left + width - 1) or y in (top, top + height - 1)
                self.put(x, y, outline if (edge and outline is not None) else fill)

    def dib(self):
        stride = (self.width + 3) & ~3
        rows = [self.pixels[y * self.width:(y + 1) * self.width] for y in range(self.height)]
        return b"".join(bytes(row) + b"\0" * (stride - self.width) for row in reversed(rows))


def _chunk(fourcc, data):
    pad = b"\0" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def _list(kind, fourcc, content):
    return kind + struct.pack("<I", len(content) + 4) + fourcc + content


def clip_bytes(frames, fps, palette):
    width, height = frames[0].width, frames[0].height
    data = [f.dib() for f in frames]
    size = len(data[0])
    avih = struct.pack("<14I", 1000000 // fps, size * fps, 0, 0x10, len(data), 0, 1, size, width, height,
                       0, 0, 0, 0)
    strh = struct.pack("<4s4sIHHIIIIIIIIhhhh", b"vids", b"DIB ", 0, 0, 0, 0, 1, fps, 0, len(data), size,
                       0xFFFFFFFF, 0, 0, 0, width, height)
    bih = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, size, 0, 0, len(palette), len(palette))
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    strl = _list(b"LIST", b"strl", _chunk(b"strh", strh) + _chunk(b"strf", bih + colours))
    hdrl = _list(b"LIST", b"hdrl", _chunk(b"avih", avih) + strl)
    movi, index = b"", b""
    for d in data:
        # Index offsets count from the "movi" type code.
        index += struct.pack("<4sIII", b"00db", 0x10, 4 + len(movi), len(d))
        movi += _chunk(b"00db", d)
    return _list(b"RIFF", b"AVI ", hdrl + _list(b"LIST", b"movi", movi) + _chunk(b"idx1", index))
