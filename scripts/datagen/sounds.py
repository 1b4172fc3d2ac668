"""The editor's numbered sounds (id 1000 + n in "Data") and the clip-art sounds: soft and short. The
sounds a tool loops while it is used hold a whole number of cycles, so the loop has no click."""
from .wave import concat, mix, noise_burst, silence, tone

C5, D5, E5, F5, G5, A5, B5, C6, E6, G6 = 523.25, 587.33, 659.26, 698.46, 783.99, 880.0, 987.77, 1046.5, 1318.5, 1568.0
SOFT = (1.0, 0.3, 0.1)  # a round tone: the fundamental and two quiet overtones


def click(seed, pitch):
    """A short tick with a little tone in it: buttons and palettes."""
    return mix(noise_burst(0.03, seed, 0.25, smooth=0.6), tone(0.06, [(pitch, pitch * 0.9, 1)], 0.35, SOFT, 0.002, 3))


def pop(pitch):
    return tone(0.09, [(pitch * 0.6, pitch * 1.4, 1)], 0.5, SOFT, 0.003, 3)


def swoosh(seed, seconds=0.25, smooth=0.92):
    return noise_burst(seconds, seed, 0.45, attack=seconds / 3, power=2, smooth=smooth)


def chime(notes, step=0.09, volume=0.3):
    """Notes one after another, each ringing out under the next."""
    parts = []
    for i, f in enumerate(notes):
        parts.append(concat(silence(step * i), tone(step * 3, [(f, f, 1)], volume, (1.0, 0.2, 0.05), 0.004, 2)))
    return mix(*parts)


def loop_hum(frequency, seconds, harmonics):
    """A steady tone with whole cycles in it and no envelope, for sounds a tool repeats while in use."""
    n_cycles = round(frequency * seconds)
    return tone(seconds, [(n_cycles / seconds, n_cycles / seconds, 1)], 0.3, harmonics, attack=1e-9, power=0)


def editor_sounds():
    """Id to samples."""
    return {
        1000: pop(G5),                                  # picking something in a browser
        1001: click(11, A5),                            # a tools-window button
        1002: click(12, E6),                            # an option of a tool
        1003: click(13, C6),                            # the shared click of the application's buttons
        1004: mix(swoosh(14, 0.18), tone(0.18, [(C5, G5, 1)], 0.2, SOFT)),  # a page of buttons, a browser opening
        1005: pop(C6),                                  # a clip or link picked from a browser
        1012: concat(swoosh(15, 0.12, 0.85), pop(E5)),  # a page opened from a browser
        1013: swoosh(16, 0.3, 0.95),                    # the clear button
        1014: click(17, G6),                            # a text style chosen
        1020: loop_hum(220.0, 0.4, (1.0, 0.15)),        # dragging on the stage
        1022: loop_hum(330.0, 0.4, (1.0, 0.25, 0.1)),
        1023: loop_hum(440.0, 0.4, (1.0, 0.1)),
        1031: swoosh(21, 0.2, 0.97),                    # the brush
        1032: click(22, D5),
        1033: mix(pop(A5), swoosh(23, 0.2, 0.9)),       # a splash of the bucket
        1034: tone(0.15, [(E5, A5, 1)], 0.4, SOFT),      # a shape
        1035: tone(0.15, [(A5, E5, 1)], 0.4, SOFT),      # a line
        1036: loop_hum(165.0, 0.4, (1.0, 0.3, 0.2)),    # the lasso, looped
        1040: chime([C5, E5, G5]),                      # hints: a tool left idle
        1041: chime([G5, E5, C5]),
        1042: chime([E5, G5, E5]),
        1043: chime([C5, G5, C6]),
        1060: chime([C5, E5, G5, C6, G5, C6], 0.12, 0.35),  # start
        1061: chime([C6, G5, E5, C5], 0.12, 0.35),          # quit
    }


def clipart_sounds():
    """Names (without extension) to samples, for the clip-art sound folder."""
    return {
        "Cloche": tone(1.2, [(C5, C5, 1)], 0.5, (1.0, 0.5, 0.0, 0.3, 0.0, 0.15), 0.002, 3),
        "Fanfare": chime([G5, C6, E6, G6, E6, G6], 0.11, 0.35),
        "Tambour": concat(*[mix(noise_burst(0.12, 40 + i, 0.3, power=4, smooth=0.5),
                                tone(0.12, [(110, 70, 1)], 0.4, SOFT, 0.002, 4)) for i in range(4)]),
        "Boing": tone(0.5, [(200, 600, 0.3), (600, 150, 1)], 0.5, SOFT, vibrato=0.05),
        "Oiseau": concat(tone(0.12, [(2400, 3200, 1)], 0.35, SOFT), silence(0.05),
                         tone(0.12, [(2600, 3400, 1)], 0.35, SOFT)),
    }
