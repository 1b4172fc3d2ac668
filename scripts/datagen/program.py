"""The pictures compiled into the program rather than read from "Data": the about menu's title in the
menu bar, in full colour (6002) and in the twenty colours a limited system always has (6001), and the
program's icon (100)."""
from . import icons
from .canvas import BLACK, WHITE, Canvas, bmp_bytes, colour

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


ICON_SIZE = 32
# Drawn where the icon shows nothing: a colour the icon's drawing never uses.
_ICON_CLEAR = colour(255, 0, 255)


def icon():
    """The program's icon: a page with a gold star and a Q. Answers the picture (white where it shows
    nothing) and its mask: one bit a pixel, rows top first, padded to 32 bits, set where it shows nothing."""
    c = Canvas(ICON_SIZE, ICON_SIZE, _ICON_CLEAR)
    icons.page(c, 4, 1, 24)
    icons.star(c, 12, 12, 18, icons.GOLD)
    c.text(12, 4, "Q", icons.RED)
    stride = (c.width + 31) // 32 * 4
    mask = bytearray(stride * c.height)
    for y in range(c.height):
        for x in range(c.width):
            if c.get(x, y) == _ICON_CLEAR:
                mask[y * stride + x // 8] |= 0x80 >> (x % 8)
                c.put(x, y, WHITE)
    return c, bytes(mask)


def packed_dib(canvas):
    """The picture as a bitmap resource holds it: the BMP file less its 14-byte header, uncompressed."""
    return bmp_bytes(canvas, compress=False)[14:]


def resources():
    limited = about_title(True)
    if any(p not in _STATICS for p in limited.pixels):
        raise ValueError("the limited about picture uses a colour a limited system may lack")
    picture, mask = icon()
    return {"kBitmap6001": packed_dib(limited), "kBitmap6002": packed_dib(about_title(False)),
            "kIcon100": packed_dib(picture), "kIcon100Mask": mask}


def cpp_source(resources):
    lines = ["// Made by scripts/make-program-pictures from scripts/datagen/program.py: change those, not this.",
             "// The program's bitmap and icon resources, as packed DIBs (header, colours, rows bottom first);",
             "// the icon's mask has one bit a pixel, rows top first.", ""]
    for name, data in sorted(resources.items()):
        lines.append(f"constexpr unsigned char {name}[] = {{")
        for i in range(0, len(data), 24):
            lines.append("    " + ", ".join(str(b) for b in data[i:i + 24]) + ",")
        lines.append("};")
    return ("\n".join(lines) + "\n").encode("ascii")
