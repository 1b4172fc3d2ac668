"""The numbered pictures of the "Data" folder: stock pictures, the editor's button faces and labels, and
the application's welcome, splash, information, tool pages, start column, buttons and dialog titles."""
from . import icons
from .canvas import BLACK, WHITE, Canvas, colour
from .font import text_width

FACE = colour(255, 221, 119)       # a warm yellow, the buttons' face
FACE_DOWN = colour(255, 180, 60)   # the same pressed
PANEL = colour(238, 238, 238)
LIGHT = colour(255, 255, 255)
SHADE = colour(128, 128, 128)
DARK = colour(68, 68, 68)
TITLE_BG = colour(51, 102, 204)
CREAM = colour(255, 255, 204)
INACTIVE = colour(204, 204, 204)


def _cell(c, x, y, w, h, pressed, face=FACE, face_down=FACE_DOWN):
    """One button of a grid: raised when up, sunken and darker when pressed."""
    c.fill_rect(x, y, w, h, face_down if pressed else face)
    if pressed:
        c.bevel(x, y, w, h, DARK, LIGHT, 2)
    else:
        c.bevel(x, y, w, h, LIGHT, SHADE, 2)
    c.frame_rect(x, y, w, h, BLACK)


def _label(c, cx, cy, text, col=BLACK, scale=1):
    c.text_centred(cx, cy, text, col, scale)


# ---- stock pictures -------------------------------------------------------------------------------------

def stock_sound():
    c = Canvas(48, 48)
    icons.speaker(c, 4, 4, 40)
    return c


def stock_link_button():
    c = Canvas(80, 32)
    c.round_rect(0, 0, 80, 32, 10, icons.SKY, outline=BLACK, t=2)
    icons.chain(c, 6, 6, 20)
    _label(c, 52, 16, "Lien", icons.NAVY, 2)
    return c


# ---- the editor's pictures ------------------------------------------------------------------------------

def border_sizes(pressed):
    """Seven buttons of 30 x 25, each showing a frame one pixel thicker than the one before."""
    c = Canvas(210, 25)
    for i in range(7):
        _cell(c, i * 30, 0, 30, 25, pressed, PANEL, INACTIVE)
        off = 1 if pressed else 0
        c.frame_rect(i * 30 + 6 + off, 5 + off, 18, 15, BLACK, i + 1 if i < 6 else 7)
    return c


def border_panel():
    """The holder of the border-size buttons: a label across the top, the row 3 in and 15 down."""
    c = Canvas(216, 43, PANEL)
    c.bevel(0, 0, 216, 43, LIGHT, SHADE, 1)
    c.text(4, 4, "Bordure", DARK)
    return c


def paint_tools(pressed):
    """The paint tools, two to a row: bucket and brush, shapes and line, eraser and lasso."""
    c = Canvas(50, 75)
    draw = [icons.bucket, icons.brush, icons.shapes, icons.slant_line, icons.eraser, icons.lasso]
    for n, icon in enumerate(draw):
        x, y = (n % 2) * 25, (n // 2) * 25
        _cell(c, x, y, 25, 25, pressed)
        off = 1 if pressed else 0
        icon(c, x + 4 + off, y + 4 + off, 17)
    return c


def text_label(word):
    """A label of the text palette: the word written downwards, one letter under the other."""
    c = Canvas(20, 70, PANEL)
    c.bevel(0, 0, 20, 70, LIGHT, SHADE, 1)
    top = (70 - len(word) * 9 + 2) // 2
    for i, ch in enumerate(word):
        _label(c, 10, top + i * 9 + 3, ch, TITLE_BG)
    return c


def clear_button(state):
    """The stage's clear button: up, pressed, or greyed while nothing is selected."""
    c = Canvas(50, 50, PANEL)
    if state == 2:
        c.bevel(0, 0, 50, 50, LIGHT, SHADE, 2)
        icons.trash(c, 9, 4, 32, body=INACTIVE, edge=SHADE)
        _label(c, 25, 43, "Effacer", SHADE)
        return c
    pressed = state == 1
    _cell(c, 0, 0, 50, 50, pressed, PANEL, INACTIVE)
    off = 1 if pressed else 0
    icons.trash(c, 9 + off, 4 + off, 32)
    _label(c, 25 + off, 43 + off, "Effacer", BLACK)
    return c


# ---- the application's pictures ------------------------------------------------------------------------

def logo(c, cx, cy, scale):
    """The program's name in big letters, each a different colour, with a shadow."""
    word = "Quillory"
    cols = [icons.RED, icons.ORANGE, icons.GOLD, icons.GREEN, icons.BLUE, icons.VIOLET, icons.PINK, icons.RED]
    x = cx - text_width(word, scale) // 2
    y = cy - 7 * scale // 2
    for ch, col in zip(word, cols):
        c.text(x + scale, y + scale, ch, DARK, scale)
        c.text(x, y, ch, col, scale)
        x += text_width(ch, scale) + scale


def _sky(c, hills=True):
    bands = [colour(102, 153, 255), colour(119, 170, 255), colour(135, 206, 235), colour(166, 202, 240),
             colour(204, 229, 255)]
    h = c.height * 2 // 3
    for i, col in enumerate(bands):
        c.fill_rect(0, i * h // len(bands), c.width, h // len(bands) + 1, col)
    c.fill_rect(0, h, c.width, c.height - h, icons.LIGHT_GREEN)
    if hills:
        c.ellipse(-c.width // 4, h - c.height // 8, c.width * 3 // 4, c.height // 3, icons.GREEN)
        c.ellipse(c.width // 2, h - c.height // 10, c.width * 3 // 4, c.height // 3, colour(102, 170, 68))
        c.fill_rect(0, c.height * 5 // 6, c.width, c.height - c.height * 5 // 6, icons.LIGHT_GREEN)


def _cloud(c, x, y, w):
    for dx, dy, d in ((0, w // 6, w // 2), (w // 4, 0, w // 2), (w // 2, w // 8, w // 2)):
        c.ellipse(x + dx, y + dy, d, d * 2 // 3, WHITE)


def welcome():
    c = Canvas(640, 480)
    _sky(c)
    c.ellipse(520, 30, 70, 70, icons.YELLOW)
    _cloud(c, 60, 40, 120)
    _cloud(c, 380, 80, 90)
    logo(c, 320, 120, 8)
    c.round_rect(150, 220, 340, 160, 24, CREAM, outline=BLACK, t=3)
    _label(c, 320, 250, "Bienvenue !", icons.NAVY, 3)
    _label(c, 320, 285, "Choisis un projet ou crée-en un nouveau.", DARK, 1)
    for i, draw in enumerate((icons.star, icons.smiley, icons.globe, icons.star)):
        draw(c, 40 + i * 160, 400, 48)
    return c


def information():
    c = Canvas(360, 240, CREAM)
    c.frame_rect(0, 0, 360, 240, BLACK, 3)
    c.frame_rect(6, 6, 348, 228, icons.BLUE, 2)
    logo(c, 180, 60, 5)
    _label(c, 180, 110, "Version v1.1C16", DARK, 2)
    _label(c, 180, 145, "Fais ton site Web, page par page.", icons.NAVY)
    icons.globe(c, 30, 160, 40)
    icons.star(c, 290, 160, 40)
    _label(c, 180, 210, "Clique pour fermer.", SHADE)
    return c


def splash():
    c = Canvas(400, 260)
    _sky(c)
    _cloud(c, 30, 20, 90)
    _cloud(c, 260, 40, 80)
    logo(c, 200, 110, 6)
    _label(c, 200, 170, "Chargement...", icons.NAVY, 2)
    return c


# The five pages of the page window's palette, in the order of their tool kinds: each a row of five
# buttons of 86 x 50, the first of each page leaving the current tool.
TOOL_PAGES = {
    1501: [(icons.pointer, "Flèche"), (icons.pages, "Mes pages"), (icons.star, "Exemples"),
           (icons.page, "Nouvelle"), (None, "")],
    1511: [(icons.pointer, "Flèche"), (icons.landscape, "Fonds"), (icons.rules, "Séparateurs"),
           (icons.smiley, "Images"), (None, "")],
    1521: [(icons.pointer, "Flèche"), (icons.letter_a, "Texte"), (icons.palette_board, "Peinture"),
           (icons.microphone, "Son"), (icons.envelope, "Email")],
    1531: [(icons.pointer, "Flèche"), (icons.chain, "Lien page"), (icons.button_shape, "Boutons"),
           (icons.globe, "Sites"), (icons.people, "Clubs")],
    1541: [(icons.pointer, "Flèche"), (lambda c, x, y, s: icons.arrow(c, x, y, s, False), "Retour"),
           (lambda c, x, y, s: icons.arrow(c, x, y, s, True), "Suivant"), (icons.house, "Accueil"),
           (icons.rocket, "Publier")],
}
# The fifth buttons of the first two pages do nothing, so they keep a plain face.


def tool_page(first, pressed):
    c = Canvas(430, 50)
    for i, (icon, word) in enumerate(TOOL_PAGES[first]):
        x = i * 86
        _cell(c, x, 0, 86, 50, pressed)
        off = 1 if pressed else 0
        if icon is not None:
            icon(c, x + 29 + off, 3 + off, 28)
            _label(c, x + 43 + off, 40 + off, word)
    return c


START_BUTTONS = [(icons.pages, "Pages"), (icons.landscape, "Décors"), (icons.palette_board, "Créer"),
                 (icons.chain, "Liens"), (icons.rocket, "Publier")]


def start_column(pressed):
    c = Canvas(133, 390)
    for i, (icon, word) in enumerate(START_BUTTONS):
        y = i * 78
        _cell(c, 0, y, 133, 78, pressed, colour(153, 204, 255), colour(102, 153, 255))
        off = 1 if pressed else 0
        icon(c, 46 + off, y + 6 + off, 40)
        _label(c, 66 + off, y + 60 + off, word, icons.NAVY, 2)
    return c


def start_title():
    c = Canvas(133, 60, CREAM)
    c.frame_rect(0, 0, 133, 60, BLACK, 2)
    logo(c, 66, 30, 2)
    return c


def text_button(word, pressed, face=colour(153, 204, 102), face_down=colour(102, 170, 68), width=96):
    c = Canvas(width, 28)
    c.round_rect(0, 0, width, 28, 8, face_down if pressed else face, outline=BLACK, t=2)
    off = 1 if pressed else 0
    if not pressed:
        c.fill_rect(8, 3, width - 16, 1, LIGHT)
    _label(c, width // 2 + off, 14 + off, word, BLACK if pressed else icons.NAVY)
    return c


BUTTONS = {
    1700: "OK", 1702: "Annuler", 1704: "OK", 1706: "Choisir", 1708: "Importer", 1710: "Terminé",
    1715: "Ajouter", 1720: "Éditer",
}


def link_button(kind, selected):
    """The two ready-made e-mail buttons the child can put on a page; selected adds a bright ring."""
    c = Canvas(72, 44)
    if kind == 0:
        c.round_rect(2, 2, 68, 40, 10, icons.SKY, outline=BLACK, t=2)
        icons.envelope(c, 6, 6, 28)
        _label(c, 52, 22, "Écris", icons.NAVY)
        _label(c, 52, 32, "moi", icons.NAVY)
    else:
        c.round_rect(2, 2, 68, 40, 20, icons.ORANGE, outline=BLACK, t=2)
        _label(c, 36, 22, "@ Email", WHITE, 1)
    if selected:
        c.round_rect(0, 0, 72, 44, 12, None, outline=icons.RED, t=2)
    return c


def dialog_title(word, width, col=TITLE_BG, icon=None):
    c = Canvas(width, 56, col)
    c.frame_rect(0, 0, width, 56, BLACK, 2)
    if icon is not None:
        icon(c, 10, 8, 40)
        _label(c, (width + 50) // 2, 28, word, WHITE, 2)
    else:
        _label(c, width // 2, 28, word, WHITE, 2)
    return c


TITLES = {
    1800: ("Nouveau projet", 320, icons.page),
    1801: ("Lien vers un Email", 340, icons.envelope),
    1802: ("Lien vers le Web", 340, icons.globe),
    1803: ("Supprimer une page", 420, icons.trash),
    1805: ("Liste des liens", 320, icons.chain),
}


def all_pictures():
    """File name (in "Data") to canvas, for every numbered picture."""
    out = {201: stock_sound(), 204: stock_link_button(),
           1020: border_sizes(False), 1021: border_sizes(True), 1024: border_panel(),
           1030: paint_tools(False), 1031: paint_tools(True),
           3020: text_label("POLICE"), 3021: text_label("STYLE"), 3022: text_label("TAILLE"),
           3030: clear_button(0), 3031: clear_button(1), 3032: clear_button(2),
           1420: welcome(), 1421: information(), 1422: splash(),
           1551: start_column(False), 1552: start_column(True), 1553: start_title()}
    for first in TOOL_PAGES:
        out[first] = tool_page(first, False)
        out[first + 1] = tool_page(first, True)
    for n, word in BUTTONS.items():
        out[n] = text_button(word, False)
        out[n + 1] = text_button(word, True)
    for kind, n in enumerate((1712, 1713)):
        out[n] = link_button(kind, False)
        out[n + 5] = link_button(kind, True)
    for n, (word, width, icon) in TITLES.items():
        out[n] = dialog_title(word, width, icon=icon)
    return {f"{n}.bmp": c for n, c in sorted(out.items())}
