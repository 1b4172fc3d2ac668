"""Small drawings the buttons and clip art share, each drawn into a square box of side s at (x, y)."""
from .canvas import BLACK, WHITE, colour

RED = colour(204, 0, 0)
ORANGE = colour(255, 140, 0)
YELLOW = colour(255, 204, 0)
GOLD = colour(255, 215, 0)
GREEN = colour(51, 153, 51)
LIGHT_GREEN = colour(153, 204, 102)
BLUE = colour(51, 102, 204)
SKY = colour(135, 206, 235)
NAVY = colour(0, 51, 102)
BROWN = colour(139, 69, 19)
GREY = colour(128, 128, 128)
LIGHT_GREY = colour(192, 192, 192)
PINK = colour(255, 105, 180)
VIOLET = colour(148, 0, 211)
PAPER = colour(255, 251, 240)


def _p(s, v):
    """v sixteenths of the box side."""
    return s * v // 16


def pointer(c, x, y, s):
    pts = [(0, 0), (0, 12), (3, 9), (6, 15), (8, 14), (5, 8), (9, 8)]
    c.polygon([(x + _p(s, 3) + _p(s, px), y + _p(s, 1) + _p(s, py)) for px, py in pts], BLACK)
    inner = [(1, 2), (1, 10), (3, 8), (6, 13), (7, 13), (4, 7), (7, 7)]
    c.polygon([(x + _p(s, 3) + _p(s, px), y + _p(s, 1) + _p(s, py)) for px, py in inner], WHITE)


def page(c, x, y, s, fill=PAPER, lines=True):
    c.polygon([(x + _p(s, 3), y + _p(s, 1)), (x + _p(s, 10), y + _p(s, 1)), (x + _p(s, 13), y + _p(s, 4)),
               (x + _p(s, 13), y + _p(s, 15)), (x + _p(s, 3), y + _p(s, 15))], BLACK)
    c.polygon([(x + _p(s, 3) + 1, y + _p(s, 1) + 1), (x + _p(s, 10) - 1, y + _p(s, 1) + 1),
               (x + _p(s, 13) - 1, y + _p(s, 4) + 1), (x + _p(s, 13) - 1, y + _p(s, 15) - 1),
               (x + _p(s, 3) + 1, y + _p(s, 15) - 1)], fill)
    if lines:
        for row in (6, 8, 10, 12):
            c.fill_rect(x + _p(s, 5), y + _p(s, row), _p(s, 6), max(s // 32, 1), GREY)


def pages(c, x, y, s):
    page(c, x + _p(s, 2), y - _p(s, 1), s * 7 // 8, fill=LIGHT_GREY, lines=False)
    page(c, x, y + _p(s, 1), s * 7 // 8)


def star(c, x, y, s, fill=GOLD):
    cx, cy, r, q = x + s // 2, y + s // 2, s // 2, s // 5
    # Five points and five notches, at fixed sixteenths so no trigonometry is needed.
    outer = [(0, -16), (15, -5), (9, 13), (-9, 13), (-15, -5)]
    inner = [(6, -5), (10, 3), (0, 9), (-10, 3), (-6, -5)]
    pts = []
    for (ox, oy), (ix, iy) in zip(outer, inner):
        pts.append((cx + ox * r // 16, cy + oy * r // 16))
        pts.append((cx + ix * r // 16, cy + iy * r // 16))
    c.polygon(pts, BLACK)
    c.polygon([(px + (cx - px) // 6, py + (cy - py) // 6) for px, py in pts], fill)
    return q


def plus(c, x, y, s, fill=GREEN):
    t = max(s // 5, 2)
    c.fill_rect(x + (s - t) // 2, y, t, s, fill)
    c.fill_rect(x, y + (s - t) // 2, s, t, fill)


def landscape(c, x, y, s):
    from .canvas import Canvas
    w, h = s - 2, _p(s, 12)
    view = Canvas(w, h, SKY)  # drawn apart, so the hills stop at the frame
    view.ellipse(w * 5 // 8, h // 12, s // 4, s // 4, YELLOW)
    view.ellipse(-s // 8, h // 2, s * 3 // 4, s * 5 // 8, GREEN)
    view.ellipse(s * 3 // 8, h * 7 // 12, s * 3 // 4, s * 5 // 8, LIGHT_GREEN)
    c.blit(view, x + 1, y + _p(s, 2))
    c.frame_rect(x + 1, y + _p(s, 2), w, h, BLACK)


def rules(c, x, y, s):
    for i, col in enumerate((RED, ORANGE, GREEN, BLUE)):
        c.fill_rect(x + _p(s, 1), y + _p(s, 3 + 3 * i), _p(s, 14), max(_p(s, 2), 1), col)


def smiley(c, x, y, s, fill=YELLOW):
    c.ellipse(x + 1, y + 1, s - 2, s - 2, fill, outline=BLACK, t=max(s // 24, 1))
    e = max(s // 10, 2)
    c.ellipse(x + _p(s, 5), y + _p(s, 5), e, e + e // 2, BLACK)
    c.ellipse(x + _p(s, 10), y + _p(s, 5), e, e + e // 2, BLACK)
    t = max(s // 24, 1)
    c.ellipse(x + _p(s, 4), y + _p(s, 6), _p(s, 8), _p(s, 7), None, outline=BLACK, t=t)
    c.fill_rect(x + _p(s, 4), y + _p(s, 6), _p(s, 8), _p(s, 4) + 1, fill)


def letter_a(c, x, y, s):
    from . import font
    scale = max(s // 9, 1)
    c.text(x + (s - font.text_width("A", scale)) // 2, y + (s - 7 * scale) // 2, "A", NAVY, scale)


def brush(c, x, y, s):
    c.line(x + _p(s, 13), y + _p(s, 2), x + _p(s, 7), y + _p(s, 9), BROWN, max(s // 8, 2))
    c.polygon([(x + _p(s, 5), y + _p(s, 8)), (x + _p(s, 8), y + _p(s, 11)), (x + _p(s, 3), y + _p(s, 15)),
               (x + _p(s, 1), y + _p(s, 14))], RED)


def palette_board(c, x, y, s):
    c.ellipse(x + 1, y + _p(s, 3), s - 2, _p(s, 11), colour(222, 184, 135), outline=BLACK)
    for i, col in enumerate((RED, YELLOW, BLUE, GREEN)):
        c.ellipse(x + _p(s, 3 + 3 * i), y + _p(s, 5 + (i % 2) * 2), _p(s, 2) + 1, _p(s, 2) + 1, col)


def _arc(c, x, y, w, h, t, keep, col=BLACK):
    """The outline of an ellipse, only where keep(px, py) allows."""
    for py in range(y, y + h):
        for px in range(x, x + w):
            if (keep(px, py) and c._inside_ellipse(px, py, x, y, w, h)
                    and not c._inside_ellipse(px, py, x + t, y + t, w - 2 * t, h - 2 * t)):
                c.put(px, py, col)


def microphone(c, x, y, s):
    _arc(c, x + _p(s, 4), y + _p(s, 4), _p(s, 8), _p(s, 8), max(s // 20, 1), lambda px, py: py >= y + _p(s, 8))
    c.round_rect(x + _p(s, 6), y + _p(s, 1), _p(s, 4), _p(s, 8), _p(s, 2), GREY, outline=BLACK)
    c.fill_rect(x + _p(s, 8) - 1, y + _p(s, 12), 2, _p(s, 3), BLACK)
    c.fill_rect(x + _p(s, 5), y + _p(s, 15), _p(s, 6), max(s // 20, 1), BLACK)


def envelope(c, x, y, s, fill=PAPER):
    c.fill_rect(x + 1, y + _p(s, 4), s - 2, _p(s, 9), fill)
    c.frame_rect(x + 1, y + _p(s, 4), s - 2, _p(s, 9), BLACK, max(s // 24, 1))
    c.line(x + 1, y + _p(s, 4), x + s // 2, y + _p(s, 10), BLACK, max(s // 24, 1))
    c.line(x + s - 2, y + _p(s, 4), x + s // 2, y + _p(s, 10), BLACK, max(s // 24, 1))


def chain(c, x, y, s, fill=GREY):
    t = max(s // 10, 2)
    c.round_rect(x + _p(s, 1), y + _p(s, 5), _p(s, 8), _p(s, 6), _p(s, 3), None, outline=fill, t=t)
    c.round_rect(x + _p(s, 7), y + _p(s, 5), _p(s, 8), _p(s, 6), _p(s, 3), None, outline=BLACK, t=t)


def globe(c, x, y, s, sea=BLUE, land=GREEN):
    c.ellipse(x + 1, y + 1, s - 2, s - 2, sea, outline=BLACK, t=max(s // 24, 1))
    c.ellipse(x + _p(s, 3), y + _p(s, 3), _p(s, 5), _p(s, 6), land)
    c.ellipse(x + _p(s, 8), y + _p(s, 7), _p(s, 5), _p(s, 6), land)
    c.ellipse(x + _p(s, 6), y + _p(s, 12), _p(s, 3), _p(s, 2), land)


def people(c, x, y, s):
    for dx, col in ((0, ORANGE), (7, VIOLET)):
        c.ellipse(x + _p(s, 2 + dx), y + _p(s, 2), _p(s, 4), _p(s, 4), colour(241, 194, 150), outline=BLACK)
        c.round_rect(x + _p(s, 1 + dx), y + _p(s, 7), _p(s, 6), _p(s, 8), _p(s, 2), col, outline=BLACK)


def arrow(c, x, y, s, right, fill=GREEN):
    pts = [(2, 8), (8, 2), (8, 5), (14, 5), (14, 11), (8, 11), (8, 14)]
    if right:
        pts = [(16 - px, py) for px, py in pts]
    c.polygon([(x + _p(s, px), y + _p(s, py)) for px, py in pts], BLACK)
    inner = [(3, 8), (7, 4), (7, 6), (13, 6), (13, 10), (7, 10), (7, 12)]
    if right:
        inner = [(16 - px, py) for px, py in inner]
    c.polygon([(x + _p(s, px), y + _p(s, py)) for px, py in inner], fill)


def house(c, x, y, s):
    c.polygon([(x + _p(s, 1), y + _p(s, 8)), (x + _p(s, 8), y + _p(s, 1)), (x + _p(s, 15), y + _p(s, 8))], RED)
    c.fill_rect(x + _p(s, 3), y + _p(s, 8), _p(s, 10), _p(s, 7), PAPER)
    c.frame_rect(x + _p(s, 3), y + _p(s, 8), _p(s, 10), _p(s, 7), BLACK)
    c.fill_rect(x + _p(s, 7), y + _p(s, 10), _p(s, 3), _p(s, 5), BROWN)


def rocket(c, x, y, s):
    c.polygon([(x + _p(s, 8), y), (x + _p(s, 11), y + _p(s, 5)), (x + _p(s, 11), y + _p(s, 12)),
               (x + _p(s, 5), y + _p(s, 12)), (x + _p(s, 5), y + _p(s, 5))], LIGHT_GREY)
    c.ellipse(x + _p(s, 7), y + _p(s, 5), _p(s, 2) + 1, _p(s, 2) + 1, BLUE)
    c.polygon([(x + _p(s, 5), y + _p(s, 8)), (x + _p(s, 2), y + _p(s, 13)), (x + _p(s, 5), y + _p(s, 12))], RED)
    c.polygon([(x + _p(s, 11), y + _p(s, 8)), (x + _p(s, 14), y + _p(s, 13)), (x + _p(s, 11), y + _p(s, 12))], RED)
    c.polygon([(x + _p(s, 6), y + _p(s, 12)), (x + _p(s, 10), y + _p(s, 12)), (x + _p(s, 8), y + _p(s, 16))],
              ORANGE)


def button_shape(c, x, y, s):
    c.round_rect(x + 1, y + _p(s, 4), s - 2, _p(s, 8), _p(s, 3), ORANGE, outline=BLACK)
    c.fill_rect(x + _p(s, 4), y + _p(s, 7), _p(s, 8), _p(s, 2), WHITE)


def bucket(c, x, y, s):
    c.polygon([(x + _p(s, 3), y + _p(s, 5)), (x + _p(s, 11), y + _p(s, 5)), (x + _p(s, 10), y + _p(s, 14)),
               (x + _p(s, 4), y + _p(s, 14))], BLACK)
    c.polygon([(x + _p(s, 4), y + _p(s, 6)), (x + _p(s, 10), y + _p(s, 6)), (x + _p(s, 9), y + _p(s, 13)),
               (x + _p(s, 5), y + _p(s, 13))], LIGHT_GREY)
    c.ellipse(x + _p(s, 11), y + _p(s, 8), _p(s, 3), _p(s, 6), BLUE)


def shapes(c, x, y, s):
    c.frame_rect(x + _p(s, 1), y + _p(s, 2), _p(s, 8), _p(s, 7), BLACK, max(s // 16, 1))
    c.ellipse(x + _p(s, 6), y + _p(s, 7), _p(s, 9), _p(s, 8), None, outline=BLACK, t=max(s // 16, 1))


def slant_line(c, x, y, s):
    c.line(x + _p(s, 2), y + _p(s, 13), x + _p(s, 13), y + _p(s, 2), BLACK, max(s // 12, 2))


def eraser(c, x, y, s):
    c.polygon([(x + _p(s, 2), y + _p(s, 10)), (x + _p(s, 9), y + _p(s, 3)), (x + _p(s, 14), y + _p(s, 8)),
               (x + _p(s, 7), y + _p(s, 15))], BLACK)
    c.polygon([(x + _p(s, 3), y + _p(s, 10)), (x + _p(s, 9), y + _p(s, 4)), (x + _p(s, 13), y + _p(s, 8)),
               (x + _p(s, 7), y + _p(s, 14))], PINK)


def lasso(c, x, y, s):
    t = max(s // 16, 1)
    c.ellipse(x + _p(s, 1), y + _p(s, 1), _p(s, 14), _p(s, 9), None, outline=BLACK, t=t)
    c.line(x + _p(s, 5), y + _p(s, 9), x + _p(s, 4), y + _p(s, 15), BLACK, t)


def trash(c, x, y, s, body=GREY, edge=BLACK):
    c.fill_rect(x + _p(s, 3), y + _p(s, 3), _p(s, 10), _p(s, 2), edge)
    c.fill_rect(x + _p(s, 6), y + _p(s, 1), _p(s, 4), _p(s, 2), edge)
    c.polygon([(x + _p(s, 4), y + _p(s, 5)), (x + _p(s, 12), y + _p(s, 5)), (x + _p(s, 11), y + _p(s, 15)),
               (x + _p(s, 5), y + _p(s, 15))], edge)
    c.polygon([(x + _p(s, 4) + 2, y + _p(s, 5) + 1), (x + _p(s, 12) - 2, y + _p(s, 5) + 1),
               (x + _p(s, 11) - 1, y + _p(s, 15) - 2), (x + _p(s, 5) + 1, y + _p(s, 15) - 2)], body)
    for col in (6, 8, 10):
        c.fill_rect(x + _p(s, col) - 1, y + _p(s, 7), max(s // 20, 1), _p(s, 6), edge)


def speaker(c, x, y, s, fill=BLUE):
    c.fill_rect(x + _p(s, 2), y + _p(s, 6), _p(s, 3), _p(s, 4), BLACK)
    c.polygon([(x + _p(s, 5), y + _p(s, 6)), (x + _p(s, 9), y + _p(s, 2)), (x + _p(s, 9), y + _p(s, 14)),
               (x + _p(s, 5), y + _p(s, 10))], fill)
    t = max(s // 20, 1)
    for r in (3, 5):
        _arc(c, x + _p(s, 9 - r), y + _p(s, 8 - r), _p(s, 2 * r), _p(s, 2 * r), t,
             lambda px, py: px >= x + _p(s, 10))
