"""Reads an X window dump (xwd) of a TrueColor screen, and writes it as PNG.

Only the standard library: the dump is the 100-byte big-endian header, the
window name, the colour map and the pixels, row by row.
"""
import struct
import zlib


class Screenshot:
    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        fields = struct.unpack(">25I", data[:100])
        header_size, version = fields[0], fields[1]
        if version != 7:
            raise ValueError(f"{path}: not an X11 window dump (version {version})")
        self.width, self.height = fields[4], fields[5]
        byte_order, bits_per_pixel, self._stride = fields[7], fields[11], fields[12]
        masks = fields[14:17]
        colours = fields[19]
        self._bytes = bits_per_pixel // 8
        if bits_per_pixel not in (24, 32) or masks != (0xFF0000, 0xFF00, 0xFF):
            raise ValueError(f"{path}: expected 24-bit colour with 8-bit red, green, blue")
        self._little = byte_order == 0
        self._pixels = data[header_size + 12 * colours:]

    def rgb(self, x, y):
        """The (red, green, blue) of pixel (x, y)."""
        start = y * self._stride + self._bytes * x
        pixel = int.from_bytes(self._pixels[start:start + self._bytes], "little" if self._little else "big")
        return (pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF

    def write_png(self, path, left=0, top=0, width=None, height=None):
        width = width or self.width - left
        height = height or self.height - top
        rows = bytearray()
        for y in range(top, top + height):
            rows.append(0)
            for x in range(left, left + width):
                rows.extend(self.rgb(x, y))

        def chunk(kind, body):
            return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(bytes(rows))))
            f.write(chunk(b"IEND", b""))
