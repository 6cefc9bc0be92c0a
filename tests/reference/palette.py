"""The random generator and the colour palette of the reference model.

Colours are (R, G, B) tuples of bytes.
"""


class Rng:
    """The classic C-runtime generator: 15-bit results, one per draw."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF
        self.draws = 0

    def rand(self):
        self.state = (self.state * 214013 + 2531011) & 0xFFFFFFFF
        self.draws += 1
        return (self.state >> 16) & 0x7FFF

    def R(self, n):
        return self.rand() * n // 32768

    def Q(self, n):
        return self.rand() * n // 32767

    def F(self, a, b):
        return self.rand() * a / 32768.0 + b

    def coin(self):
        return self.rand() >= 16384


def _byte(value):
    return value & 0xFF


def _rgb(r, g, b):
    return (_byte(r), _byte(g), _byte(b))


def _minus(colour, dr, dg, db):
    return _rgb(colour[0] - dr, colour[1] - dg, colour[2] - db)


PETAL0, PETAL1, PETAL2, DISC, RED, ORANGE, PINK, GOLD, GREEN, BLUE, PALE_BLUE, PURPLE, SNOW = range(13)

COMPLEMENT = -1  # a disc in the inverse colour of the first ring

# (base, range) of each channel of the plainly drawn entries.
PLAIN = {RED: ((100, 156), (0, 60), (0, 60)),
         BLUE: ((20, 60), (20, 60), (100, 156)),
         PALE_BLUE: ((200, 20), (200, 20), (225, 20)),
         SNOW: ((246, 10), (246, 6), (246, 10))}

# Per variant: the entries filled first, the petals' entry, the shade step
# per channel (the second ring one step darker, the third two), and the
# disc: one (entry, filled anew first) or, after a coin, heads and tails.
VARIANTS = (
    ((RED,), RED, (15, 0, 0), ((COMPLEMENT, False), (PINK, True))),
    ((), ORANGE, (15, 0, 0), ((GOLD, False),)),
    ((PINK, RED), PINK, (5, 5, 5), ((RED, False),)),
    ((), GOLD, (10, 10, 0), ((ORANGE, False), (BLUE, True))),
    ((BLUE,), BLUE, (10, 10, 10), ((GOLD, True), (PALE_BLUE, True))),
    ((PALE_BLUE, BLUE), PALE_BLUE, (10, 10, 10), ((BLUE, False),)),
    ((PURPLE,), PURPLE, (10, 0, 10), ((RED, True), (BLUE, True))),
    ((GOLD,), SNOW, (5, 5, 5), ((GOLD, False),)),
)


class Palette:
    """Thirteen entries drawn when a scene is built."""

    def __init__(self, rng):
        self.rng = rng
        self.entries = [(0, 0, 0)] * 13
        self.variant = None
        self._choose()

    def __getitem__(self, index):
        return self.entries[index]

    # Fill operations, each one entry from fresh draws in channel order.
    def _plain(self, entry):
        """Each channel a base plus a draw below a range (red, blue, pale
        blue and snow)."""
        r, gg, b = (base + self.rng.rand() * span // 32768 for base, span in PLAIN[entry])
        self.entries[entry] = _rgb(r, gg, b)

    def _orange(self):
        g = self.rng
        r = g.rand() * 130 // 32768 + 100
        gg = g.rand() * 120 // 32768
        b = g.rand() * 40 // 32768
        if gg + b > r:
            r, gg = 220, 180
        self.entries[ORANGE] = _rgb(r, gg, b)

    def _pink(self):
        g = self.rng
        e = g.rand() * 30 // 32768
        r = 200 + e + g.rand() * 26 // 32768
        gg = 170 + e + g.rand() * 20 // 32768
        b = 170 + e + g.rand() * 20 // 32768
        self.entries[PINK] = _rgb(r, gg, b)

    def _gold(self):
        g = self.rng
        r = 200 + g.rand() * 55 // 32768
        gg = r - 10 - g.rand() * 30 // 32768
        b = g.rand() * 50 // 32768
        self.entries[GOLD] = _rgb(r, gg, b)

    def _green(self):
        g = self.rng
        r = g.rand() * 90 // 32768
        gg = g.rand() * 146 // 32768 + 110
        b = g.rand() * 90 // 32768
        if r + b > gg:
            gg = 255
        self.entries[GREEN] = _rgb(r, gg, b)

    def _purple(self):
        g = self.rng
        e = g.rand() * 50 // 32768 + 55
        r = e + g.rand() * 150 // 32768
        gg = g.rand() * 50 // 32768
        b = e + g.rand() * 150 // 32768
        self.entries[PURPLE] = _rgb(r, gg, b)

    def _fill(self, entry):
        special = {ORANGE: self._orange, PINK: self._pink, GOLD: self._gold,
                   GREEN: self._green, PURPLE: self._purple}
        if entry in special:
            special[entry]()
        else:
            self._plain(entry)

    def _choose(self):
        e = self.entries
        for entry in (ORANGE, GOLD, GREEN, SNOW):
            self._fill(entry)
        self.variant = self.rng.R(8)
        fills, base, steps, discs = VARIANTS[self.variant]
        for entry in fills:
            self._fill(entry)
        e[PETAL0] = e[base]
        e[PETAL1] = _minus(e[base], *steps)
        e[PETAL2] = _minus(e[base], *(2 * step for step in steps))
        disc, fresh = discs[0] if len(discs) == 1 or self.rng.coin() else discs[1]
        if fresh:
            self._fill(disc)
        e[DISC] = tuple(255 - c for c in e[PETAL0]) if disc == COMPLEMENT else e[disc]
