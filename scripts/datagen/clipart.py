"""The clip-art folders: categories of pictures (and a few sounds) in "Vignette", backgrounds at the three
page sizes in "Fonds", and separator bars in "Separat". Pictures are drawn on white, which the page
treats as the clear part of a clip."""
from . import icons
from .canvas import BLACK, WHITE, Canvas, colour
from .pictures import _cloud, _sky

S = 64


def _picture(draw):
    c = Canvas(S, S)
    draw(c)
    return c


def plane(c):
    c.polygon([(4, 30), (52, 26), (60, 30), (52, 34), (4, 34)], icons.LIGHT_GREY)
    c.polygon([(24, 30), (36, 8), (42, 8), (36, 30)], icons.BLUE)
    c.polygon([(24, 34), (36, 56), (42, 56), (36, 34)], icons.BLUE)
    c.polygon([(4, 30), (4, 18), (12, 30)], icons.RED)
    for x in range(20, 50, 6):
        c.fill_rect(x, 29, 3, 3, icons.NAVY)


def boat(c):
    c.polygon([(6, 40), (58, 40), (48, 54), (14, 54)], icons.RED)
    c.fill_rect(31, 8, 3, 32, icons.BROWN)
    c.polygon([(34, 10), (54, 36), (34, 36)], WHITE)
    c.polygon([(34, 10), (54, 36), (34, 36), (34, 35), (52, 35), (34, 12)], BLACK)
    c.polygon([(30, 14), (12, 36), (30, 36)], icons.YELLOW)
    c.fill_rect(0, 56, S, 8, icons.SKY)


def balloon(c):
    c.ellipse(12, 2, 40, 44, icons.RED, outline=BLACK)
    c.ellipse(22, 3, 20, 42, icons.YELLOW)
    c.line(20, 42, 26, 52, BLACK)
    c.line(44, 42, 38, 52, BLACK)
    c.fill_rect(25, 52, 14, 10, icons.BROWN)


def lighthouse(c):
    c.polygon([(24, 58), (28, 14), (36, 14), (40, 58)], WHITE)
    for y in (20, 34, 48):
        c.polygon([(28 - (y - 14) // 11, y), (36 + (y - 14) // 11, y), (36 + (y + 6 - 14) // 11, y + 6),
                   (28 - (y + 6 - 14) // 11, y + 6)], icons.RED)
    c.fill_rect(26, 6, 12, 8, icons.YELLOW)
    c.frame_rect(26, 6, 12, 8, BLACK)
    c.polygon([(24, 6), (32, 0), (40, 6)], icons.RED)
    c.fill_rect(10, 58, 44, 6, icons.BROWN)


def suitcase(c):
    c.round_rect(22, 10, 20, 10, 4, None, outline=BLACK, t=3)
    c.round_rect(6, 18, 52, 38, 6, icons.BROWN, outline=BLACK, t=2)
    c.fill_rect(6, 34, 52, 3, BLACK)
    for x, col in ((14, icons.YELLOW), (40, icons.GREEN)):
        c.ellipse(x, 22, 10, 10, col)


def cat(c):
    c.ellipse(12, 26, 40, 34, icons.ORANGE, outline=BLACK)
    c.polygon([(14, 32), (16, 14), (26, 26)], icons.ORANGE)
    c.polygon([(50, 32), (48, 14), (38, 26)], icons.ORANGE)
    c.ellipse(22, 36, 6, 8, BLACK)
    c.ellipse(36, 36, 6, 8, BLACK)
    c.polygon([(29, 46), (35, 46), (32, 50)], icons.PINK)
    for dy in (-2, 2):
        c.line(4, 48 + dy, 22, 48, BLACK)
        c.line(42, 48, 60, 48 + dy, BLACK)


def fish(c):
    c.ellipse(6, 18, 40, 28, icons.BLUE, outline=BLACK)
    c.polygon([(42, 32), (60, 18), (60, 46)], icons.SKY)
    c.ellipse(14, 26, 6, 6, WHITE)
    c.ellipse(16, 28, 3, 3, BLACK)
    for x in (24, 30, 36):
        c.line(x, 22, x - 4, 32, icons.NAVY)


def bird(c):
    c.ellipse(10, 20, 40, 32, icons.YELLOW, outline=BLACK)
    c.ellipse(34, 10, 22, 22, icons.YELLOW, outline=BLACK)
    c.polygon([(55, 20), (63, 23), (55, 26)], icons.ORANGE)
    c.ellipse(44, 16, 5, 5, BLACK)
    c.polygon([(14, 34), (30, 28), (26, 44)], icons.GOLD)
    c.line(24, 52, 22, 60, icons.ORANGE, 2)
    c.line(34, 52, 36, 60, icons.ORANGE, 2)


def turtle(c):
    c.ellipse(46, 28, 16, 14, icons.LIGHT_GREEN, outline=BLACK)
    for x in (12, 40):
        c.ellipse(x, 42, 12, 12, icons.LIGHT_GREEN, outline=BLACK)
    c.ellipse(6, 18, 46, 34, icons.GREEN, outline=BLACK, t=2)
    for x, y in ((16, 26), (28, 22), (38, 28), (22, 36), (34, 36)):
        c.ellipse(x, y, 8, 8, colour(102, 170, 68))
    c.ellipse(54, 32, 3, 3, BLACK)


def snail(c):
    c.polygon([(4, 54), (56, 54), (60, 46), (50, 50), (4, 50)], icons.GREY)
    c.ellipse(14, 14, 38, 38, icons.ORANGE, outline=BLACK, t=2)
    c.ellipse(22, 22, 22, 22, icons.GOLD, outline=BLACK)
    c.ellipse(29, 29, 8, 8, icons.ORANGE)
    c.line(56, 48, 58, 36, BLACK)
    c.ellipse(56, 33, 5, 5, BLACK)


def tree(c):
    c.fill_rect(27, 38, 10, 24, icons.BROWN)
    for x, y, d in ((10, 14, 28), (26, 6, 28), (24, 20, 30), (8, 26, 24), (34, 24, 24)):
        c.ellipse(x, y, d, d, icons.GREEN)


def flower(c):
    c.fill_rect(31, 32, 3, 30, icons.GREEN)
    c.ellipse(34, 42, 14, 8, icons.GREEN)
    for dx, dy in ((0, -11), (11, 0), (0, 11), (-11, 0), (8, -8), (8, 8), (-8, 8), (-8, -8)):
        c.ellipse(24 + dx, 12 + dy + 10, 16, 16, icons.PINK, outline=BLACK)
    c.ellipse(24, 22, 16, 16, icons.YELLOW, outline=BLACK)


def sun(c):
    for x0, y0, x1, y1 in ((32, 2, 32, 14), (32, 50, 32, 62), (2, 32, 14, 32), (50, 32, 62, 32),
                           (10, 10, 18, 18), (46, 46, 54, 54), (54, 10, 46, 18), (10, 54, 18, 46)):
        c.line(x0, y0, x1, y1, icons.ORANGE, 3)
    icons.smiley(c, 14, 14, 36, icons.YELLOW)


def cloud(c):
    c.ellipse(4, 24, 28, 24, icons.SKY)
    c.ellipse(18, 12, 30, 30, icons.SKY)
    c.ellipse(34, 22, 26, 26, icons.SKY)
    c.fill_rect(16, 36, 32, 12, icons.SKY)


def mushroom(c):
    c.round_rect(24, 30, 16, 28, 6, WHITE, outline=BLACK)
    c.ellipse(6, 8, 52, 40, icons.RED, outline=BLACK)
    c.fill_rect(6, 30, 52, 20, WHITE)
    c.fill_rect(7, 29, 50, 2, BLACK)
    c.round_rect(24, 30, 16, 28, 6, WHITE, outline=BLACK)
    for x, y in ((16, 14), (30, 11), (42, 18), (22, 22)):
        c.ellipse(x, y, 8, 7, WHITE)


def gift(c):
    c.fill_rect(8, 24, 48, 34, icons.VIOLET)
    c.fill_rect(6, 18, 52, 10, icons.PINK)
    c.fill_rect(28, 18, 8, 40, icons.GOLD)
    c.frame_rect(8, 24, 48, 34, BLACK)
    c.frame_rect(6, 18, 52, 10, BLACK)
    c.ellipse(18, 6, 14, 12, None, outline=icons.GOLD, t=3)
    c.ellipse(32, 6, 14, 12, None, outline=icons.GOLD, t=3)


def ball(c):
    c.ellipse(6, 6, 52, 52, icons.RED, outline=BLACK, t=2)
    c.fill_rect(8, 28, 48, 8, WHITE)
    c.ellipse(24, 24, 16, 16, icons.YELLOW, outline=BLACK)


def pencil(c):
    c.polygon([(8, 56), (12, 44), (48, 8), (56, 16), (20, 52)], icons.YELLOW)
    c.polygon([(8, 56), (12, 44), (20, 52)], colour(222, 184, 135))
    c.polygon([(8, 56), (10, 50), (14, 54)], BLACK)
    c.polygon([(48, 8), (56, 16), (60, 12), (52, 4)], icons.PINK)


def book(c):
    c.fill_rect(8, 12, 48, 42, icons.BLUE)
    c.frame_rect(8, 12, 48, 42, BLACK, 2)
    c.fill_rect(12, 52, 44, 6, WHITE)
    c.frame_rect(12, 52, 44, 6, BLACK)
    c.fill_rect(16, 22, 32, 8, icons.YELLOW)


def clock(c):
    c.ellipse(4, 4, 56, 56, icons.GREEN, outline=BLACK, t=2)
    c.ellipse(10, 10, 44, 44, WHITE)
    for x, y in ((31, 12), (31, 48), (12, 31), (48, 31)):
        c.fill_rect(x, y, 3, 4, BLACK)
    c.line(32, 32, 32, 18, BLACK, 2)
    c.line(32, 32, 42, 38, BLACK, 2)


CATEGORIES = {
    "Around the World": {"Globe": lambda c: icons.globe(c, 2, 2, 60), "Avion": plane, "Bateau": boat,
                         "Ballon": balloon, "Phare": lighthouse, "Valise": suitcase},
    "Animaux": {"Chat": cat, "Poisson": fish, "Oiseau": bird, "Tortue": turtle, "Escargot": snail},
    "Nature": {"Arbre": tree, "Fleur": flower, "Soleil": sun, "Nuage": cloud, "Champignon": mushroom,
               "Etoile": lambda c: icons.star(c, 2, 2, 60)},
    "Objets": {"Cadeau": gift, "Balle": ball, "Crayon": pencil, "Livre": book, "Horloge": clock,
               "Maison": lambda c: icons.house(c, 0, 0, 64)},
}


# ---- backgrounds ----------------------------------------------------------------------------------------

SIZES = [(480, 360), (600, 450), (760, 570)]


def sky_background(w, h):
    c = Canvas(w, h)
    _sky(c)
    _cloud(c, w // 10, h // 12, w // 4)
    _cloud(c, w * 6 // 10, h // 6, w // 5)
    c.ellipse(w * 4 // 5, h // 20, w // 10, w // 10, icons.YELLOW)
    return c


def sea_background(w, h):
    c = Canvas(w, h)
    bands = [colour(135, 206, 235), colour(166, 202, 240), colour(204, 229, 255)]
    for i, col in enumerate(bands):
        c.fill_rect(0, i * h // 6, w, h // 6 + 1, col)
    sea = [colour(0, 102, 204), colour(0, 51, 153), colour(0, 51, 102)]
    for i, col in enumerate(sea):
        c.fill_rect(0, h // 2 + i * h // 8, w, h // 8 + 1, col)
    c.fill_rect(0, h * 7 // 8, w, h - h * 7 // 8, colour(255, 224, 196))
    for x in range(0, w, w // 12):  # small waves along the top of the sea
        c.ellipse(x, h // 2 - h // 60, w // 12, h // 30, WHITE)
    c.fill_rect(0, h // 2, w, h // 60, colour(0, 102, 204))
    return c


def night_background(w, h):
    c = Canvas(w, h, colour(0, 0, 51))
    c.fill_rect(0, h // 2, w, h // 2, colour(0, 0, 102))
    c.fill_rect(0, h * 5 // 6, w, h - h * 5 // 6, colour(0, 51, 0))
    c.ellipse(w * 3 // 4, h // 10, w // 8, w // 8, colour(255, 255, 204))
    c.ellipse(w * 3 // 4 + w // 30, h // 10 - w // 60, w // 8, w // 8, colour(0, 0, 51))
    for i in range(40):  # stars on a fixed scatter
        x = (i * 7919) % (w - 8)
        y = (i * 104729) % (h * 2 // 5)
        size = 2 + (i % 3)
        c.fill_rect(x, y, size, size, icons.YELLOW if i % 4 else WHITE)
    return c


def paper_background(w, h):
    c = Canvas(w, h, colour(255, 251, 240))
    for y in range(h // 10, h, h // 18):
        c.fill_rect(0, y, w, 1, colour(166, 202, 240))
    c.fill_rect(w // 10, 0, 2, h, colour(255, 105, 180))
    return c


BACKGROUNDS = {"Ciel": sky_background, "Mer": sea_background, "Nuit": night_background, "Papier": paper_background}


# ---- separators ----------------------------------------------------------------------------------------

def separators():
    out = {}
    w, h = 400, 16
    rainbow = Canvas(w, h)
    for i, col in enumerate((icons.RED, icons.ORANGE, icons.YELLOW, icons.GREEN, icons.BLUE, icons.VIOLET)):
        rainbow.fill_rect(0, 2 + i * 2, w, 2, col)
    out["Arc-en-ciel"] = rainbow
    dots = Canvas(w, h)
    for x in range(4, w - 8, 16):
        dots.ellipse(x, 4, 8, 8, (icons.RED, icons.BLUE, icons.GREEN, icons.ORANGE)[(x // 16) % 4])
    out["Pointilles"] = dots
    zigzag = Canvas(w, h)
    for x in range(0, w - 8, 16):
        zigzag.line(x, 12, x + 8, 3, icons.BLUE, 2)
        zigzag.line(x + 8, 3, x + 16, 12, icons.BLUE, 2)
    out["Vagues"] = zigzag
    stars = Canvas(w, h)
    for x in range(0, w - 16, 24):
        icons.star(stars, x + 4, 0, 16)
    out["Etoiles"] = stars
    double = Canvas(w, h)
    double.fill_rect(0, 4, w, 2, icons.NAVY)
    double.fill_rect(0, 10, w, 2, icons.NAVY)
    out["Ligne double"] = double
    return out


def all_clipart():
    """Path inside the program folder to canvas."""
    out = {}
    for category, pictures in CATEGORIES.items():
        for name, draw in pictures.items():
            out[f"Vignette/{category}/{name}.bmp"] = _picture(draw)
    for name, make in BACKGROUNDS.items():
        for w, h in SIZES:
            out[f"Fonds/{name} {w}x{h}.bmp"] = make(w, h)
    for name, c in separators().items():
        out[f"Separat/{name}.bmp"] = c
    return out
