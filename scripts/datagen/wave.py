"""Short sounds synthesised sample by sample and written as 16-bit mono PCM WAVE files.

Only +, -, * and / on floats are used (no library sine or exponential), and those are exactly rounded
everywhere, so every run writes the same bytes."""
import struct

RATE = 22050
_PI = 3.141592653589793


def sine(x):
    """sin(x), by a Taylor polynomial on the range reduced to [-pi/2, pi/2]."""
    x = x - 2 * _PI * round(x / (2 * _PI))
    if x > _PI / 2:
        x = _PI - x
    elif x < -_PI / 2:
        x = -_PI - x
    x2 = x * x
    term, total = x, x
    for n in range(1, 9):
        term = -term * x2 / ((2 * n) * (2 * n + 1))
        total += term
    return total


class Noise:
    """A fixed linear-congruential sequence in [-1, 1): the same hiss on every run."""
    def __init__(self, seed):
        self.state = seed

    def next(self):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return self.state / 0x40000000 - 1.0


def envelope(i, n, attack, power=2):
    """A quick rise over `attack` samples, then a fall to silence at n, curved by `power`."""
    if i < attack:
        return i / attack
    left = (n - i) / (n - attack)
    value = 1.0
    for _ in range(power):
        value *= left
    return value


def tone(seconds, notes, volume=0.5, harmonics=(1.0,), attack=0.005, power=2, vibrato=0.0):
    """Samples of a sequence of (frequency start, frequency end, share of the time) glides."""
    n = int(seconds * RATE)
    out = [0.0] * n
    at = 0
    for start, end, share in notes:
        count = int(n * share) if share < 1 else n - at
        count = min(count, n - at)
        phase = 0.0
        for i in range(count):
            f = start + (end - start) * i / max(count - 1, 1)
            if vibrato:
                f *= 1 + vibrato * sine(2 * _PI * 6 * (at + i) / RATE)
            phase += 2 * _PI * f / RATE
            s = 0.0
            for k, weight in enumerate(harmonics, 1):
                s += weight * sine(phase * k)
            out[at + i] = s * envelope(i, count, max(int(attack * RATE), 1), power)
        at += count
    peak = max(1e-9, max(abs(v) for v in out))
    return [v * volume / peak for v in out]


def noise_burst(seconds, seed, volume=0.4, attack=0.002, power=3, smooth=0.0):
    """Filtered noise: smooth near 1 gives a soft rustle, near 0 a crisp tick."""
    n = int(seconds * RATE)
    noise = Noise(seed)
    out, last = [], 0.0
    for i in range(n):
        last = last * smooth + noise.next() * (1 - smooth)
        out.append(last * envelope(i, n, max(int(attack * RATE), 1), power))
    peak = max(1e-9, max(abs(v) for v in out))
    return [v * volume / peak for v in out]


def mix(*tracks):
    n = max(len(t) for t in tracks)
    return [sum(t[i] for t in tracks if i < len(t)) for i in range(n)]


def concat(*tracks):
    out = []
    for t in tracks:
        out += t
    return out


def silence(seconds):
    return [0.0] * int(seconds * RATE)


def wav_bytes(samples):
    data = b"".join(struct.pack("<h", max(-32767, min(32767, int(round(v * 32767))))) for v in samples)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body
