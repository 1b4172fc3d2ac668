"""The pictures compiled into the program rather than read from "Data": the about menu's title in the
menu bar, in full colour (6002) and in the twenty colours a limited system always has (6001)."""
from . import icons
from .canvas import BLACK, Canvas, bmp_bytes, colour

MENU_FACE = colour(192, 192, 192)
_STATICS = set(range(10)) | set(range(246, 256))


def about_title(limited):
    """A star and a Q on the menu bar's grey."""
    c = Canvas(30, 16, MENU_FACE)
    star, letter = (colour(255, 255, 0), colour(255, 0, 0)) if limited else (icons.GOLD, icons.RED)
    icons.star(c, 0, 0, 16, star)
    c.text(22, 5, "Q", BLACK)
    c.text(21, 4, "Q", letter)
    return c


def packed_dib(canvas):
    """The picture as a bitmap resource holds it: the BMP file less its 14-byte header, uncompressed."""
    return bmp_bytes(canvas, compress=False)[14:]


def resources():
    limited = about_title(True)
    if any(p not in _STATICS for p in limited.pixels):
        raise ValueError("the limited about picture uses a colour a limited system may lack")
    return {6001: packed_dib(limited), 6002: packed_dib(about_title(False))}


def cpp_source(resources):
    lines = ["// Made by scripts/make-program-pictures from scripts/datagen/program.py: change those, not this.",
             "// The program's bitmap resources, as packed DIBs (header, colours, rows bottom first).", ""]
    for n, data in sorted(resources.items()):
        lines.append(f"constexpr unsigned char kBitmap{n}[] = {{")
        for i in range(0, len(data), 24):
            lines.append("    " + ", ".join(str(b) for b in data[i:i + 24]) + ",")
        lines.append("};")
    return ("\n".join(lines) + "\n").encode("ascii")
