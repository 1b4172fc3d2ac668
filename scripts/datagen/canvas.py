"""An 8-bit canvas in the program's palette, with the few drawing operations the pictures need, and the
BMP writer. Everything is integer or exactly rounded arithmetic, so a picture is the same bytes on every
machine."""
import struct
from fractions import Fraction
from pathlib import Path

from . import font

# The system's twenty static colours sit in entries 0-9 and 246-255, as in the palette the program realises;
# entries 10-245 are the program's own colours, taken from its palette file.
_STATICS_LOW = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
                (192, 192, 192), (192, 220, 192), (166, 202, 240)]
_STATICS_HIGH = [(255, 251, 240), (160, 160, 164), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
                 (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
PALETTE_FILE = Path(__file__).resolve().parents[2] / "data/Data/standard.pal"


def _load_palette():
    data = PALETTE_FILE.read_bytes()
    offset = 14 + struct.unpack_from("<I", data, 14)[0]
    own = [(data[offset + 4 * i + 2], data[offset + 4 * i + 1], data[offset + 4 * i]) for i in range(10, 246)]
    return _STATICS_LOW + own + _STATICS_HIGH


PALETTE = _load_palette()
_nearest_cache = {}


def colour(r, g, b):
    """The palette index nearest to (r, g, b); the lowest index wins a tie."""
    key = (r, g, b)
    if key not in _nearest_cache:
        best = min(range(256), key=lambda i: ((PALETTE[i][0] - r) ** 2 + (PALETTE[i][1] - g) ** 2
                                              + (PALETTE[i][2] - b) ** 2, i))
        _nearest_cache[key] = best
    return _nearest_cache[key]


def hex_colour(text):
    return colour(int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16))


BLACK = colour(0, 0, 0)
WHITE = colour(255, 255, 255)

# 4x4 ordered-dither thresholds, 0..15.
_BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


class Canvas:
    def __init__(self, width, height, fill=None):
        self.width = width
        self.height = height
        self.pixels = bytearray([WHITE if fill is None else fill]) * (width * height)

    def get(self, x, y):
        return self.pixels[y * self.width + x]

    def put(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = c

    def fill_rect(self, x, y, w, h, c):
        x0, y0 = max(x, 0), max(y, 0)
        x1, y1 = min(x + w, self.width), min(y + h, self.height)
        if x1 <= x0:
            return
        run = bytes([c]) * (x1 - x0)
        for row in range(y0, y1):
            self.pixels[row * self.width + x0:row * self.width + x1] = run

    def frame_rect(self, x, y, w, h, c, t=1):
        self.fill_rect(x, y, w, t, c)
        self.fill_rect(x, y + h - t, w, t, c)
        self.fill_rect(x, y, t, h, c)
        self.fill_rect(x + w - t, y, t, h, c)

    def line(self, x0, y0, x1, y1, c, t=1):
        """A line drawn with a t x t square pen centred on the path."""
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        half = (t - 1) // 2
        while True:
            self.fill_rect(x0 - half, y0 - half, t, t, c)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    @staticmethod
    def _inside_ellipse(px, py, x, y, w, h):
        if w <= 0 or h <= 0:
            return False
        ex, ey = 2 * (px - x) + 1 - w, 2 * (py - y) + 1 - h
        return ex * ex * h * h + ey * ey * w * w <= w * w * h * h

    def ellipse(self, x, y, w, h, c, outline=None, t=1):
        """A filled ellipse in the box (c may be None for an outline only)."""
        for py in range(max(y, 0), min(y + h, self.height)):
            for px in range(max(x, 0), min(x + w, self.width)):
                if not self._inside_ellipse(px, py, x, y, w, h):
                    continue
                if outline is not None and not self._inside_ellipse(px, py, x + t, y + t, w - 2 * t, h - 2 * t):
                    self.pixels[py * self.width + px] = outline
                elif c is not None:
                    self.pixels[py * self.width + px] = c

    def round_rect(self, x, y, w, h, r, c, outline=None, t=1):
        """A rectangle with quarter-ellipse corners of radius r, filled with c and edged with outline."""
        def inside(px, py, x, y, w, h, r):
            if px < x or py < y or px >= x + w or py >= y + h:
                return False
            if r <= 0:
                return True
            cx = x if px < x + r else (x + w - 2 * r if px >= x + w - r else None)
            cy = y if py < y + r else (y + h - 2 * r if py >= y + h - r else None)
            if cx is None or cy is None:
                return True
            return self._inside_ellipse(px, py, cx, cy, 2 * r, 2 * r)
        for py in range(max(y, 0), min(y + h, self.height)):
            for px in range(max(x, 0), min(x + w, self.width)):
                if not inside(px, py, x, y, w, h, r):
                    continue
                if outline is not None and not inside(px, py, x + t, y + t, w - 2 * t, h - 2 * t, max(r - t, 0)):
                    self.pixels[py * self.width + px] = outline
                elif c is not None:
                    self.pixels[py * self.width + px] = c

    def polygon(self, points, c):
        """Fills the pixels whose centres lie inside the polygon (even-odd)."""
        ys = [p[1] for p in points]
        for py in range(max(min(ys), 0), min(max(ys) + 1, self.height)):
            yc = Fraction(2 * py + 1, 2)
            xs = []
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                if (ay <= yc < by) or (by <= yc < ay):
                    xs.append(ax + (yc - ay) * Fraction(bx - ax, by - ay))
            xs.sort()
            for left, right in zip(xs[0::2], xs[1::2]):
                for px in range(max(int(left - Fraction(1, 2)) - 1, 0), min(int(right) + 2, self.width)):
                    if left <= px + Fraction(1, 2) < right:
                        self.pixels[py * self.width + px] = c

    def gradient(self, x, y, w, h, stops, horizontal=False):
        """Ordered-dithered bands between the palette colours of stops, top to bottom (or left to right)."""
        length = w if horizontal else h
        segments = len(stops) - 1
        for py in range(max(y, 0), min(y + h, self.height)):
            for px in range(max(x, 0), min(x + w, self.width)):
                along = (px - x) if horizontal else (py - y)
                pos = along * segments * 16 // max(length - 1, 1)  # sixteenths along the stops
                seg = min(pos // 16, segments - 1)
                frac = pos - seg * 16
                c = stops[seg + 1] if frac > _BAYER[py % 4][px % 4] else stops[seg]
                self.pixels[py * self.width + px] = c

    def blit(self, other, x, y, key=None):
        for oy in range(other.height):
            ty = y + oy
            if not 0 <= ty < self.height:
                continue
            for ox in range(other.width):
                tx = x + ox
                c = other.pixels[oy * other.width + ox]
                if 0 <= tx < self.width and c != key:
                    self.pixels[ty * self.width + tx] = c

    def text(self, x, y, text, c, scale=1):
        font.draw_text(self, x, y, text, c, scale)

    def text_centred(self, cx, cy, text, c, scale=1, shadow=None):
        """Text whose box of cap height is centred on (cx, cy)."""
        x = cx - font.text_width(text, scale) // 2
        y = cy - font.HEIGHT * scale // 2
        if shadow is not None:
            font.draw_text(self, x + scale, y + scale, text, shadow, scale)
        font.draw_text(self, x, y, text, c, scale)

    def bevel(self, x, y, w, h, light, dark, t=2):
        """A raised edge: light along the top and left, dark along the bottom and right."""
        for i in range(t):
            self.fill_rect(x + i, y + i, w - 2 * i, 1, light)
            self.fill_rect(x + i, y + i, 1, h - 2 * i, light)
            self.fill_rect(x + i, y + h - 1 - i, w - 2 * i, 1, dark)
            self.fill_rect(x + w - 1 - i, y + i, 1, h - 2 * i, dark)

    def scaled(self, factor):
        out = Canvas(self.width * factor, self.height * factor)
        for y in range(out.height):
            src = (y // factor) * self.width
            out.pixels[y * out.width:(y + 1) * out.width] = bytes(
                self.pixels[src + x // factor] for x in range(out.width))
        return out


def _rle8_row(row):
    out = bytearray()
    i, n = 0, len(row)
    while i < n:
        run = 1
        while i + run < n and run < 255 and row[i + run] == row[i]:
            run += 1
        if run >= 2:
            out += bytes([run, row[i]])
            i += run
            continue
        # A stretch of single pixels: absolute mode when it is at least 3 long.
        j = i
        while j < n and j - i < 255 and not (j + 1 < n and row[j + 1] == row[j]):
            j += 1
        literal = row[i:j]
        if len(literal) >= 3:
            out += bytes([0, len(literal)]) + literal + (b"\x00" if len(literal) % 2 else b"")
        else:
            for p in literal:
                out += bytes([1, p])
        i = j if j > i else i + 1
    return bytes(out) + b"\x00\x00"


def bmp_bytes(canvas, compress=True):
    """An 8-bit BMP of the canvas in the full palette; run-length encoded unless that is no smaller."""
    quads = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    stride = (canvas.width + 3) // 4 * 4
    rows = [bytes(canvas.pixels[y * canvas.width:(y + 1) * canvas.width]) for y in range(canvas.height - 1, -1, -1)]
    raw = b"".join(r + b"\x00" * (stride - canvas.width) for r in rows)
    rle = b"".join(_rle8_row(r) for r in rows)[:-2] + b"\x00\x01" if compress else None
    data, method = (rle, 1) if rle is not None and len(rle) < len(raw) else (raw, 0)
    offset = 14 + 40 + len(quads)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 8, method, len(data), 2835, 2835, 256, 0)
    return header + info + quads + data
