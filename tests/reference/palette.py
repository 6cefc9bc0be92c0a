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
    def _red(self):
        g = self.rng
        r = g.rand() * 156 // 32768 + 100
        gg = g.rand() * 60 // 32768
        b = g.rand() * 60 // 32768
        self.entries[RED] = _rgb(r, gg, b)

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

    def _blue(self):
        g = self.rng
        r = g.rand() * 60 // 32768 + 20
        gg = g.rand() * 60 // 32768 + 20
        b = g.rand() * 156 // 32768 + 100
        self.entries[BLUE] = _rgb(r, gg, b)

    def _pale_blue(self):
        g = self.rng
        r = 200 + g.rand() * 20 // 32768
        gg = 200 + g.rand() * 20 // 32768
        b = 225 + g.rand() * 20 // 32768
        self.entries[PALE_BLUE] = _rgb(r, gg, b)

    def _purple(self):
        g = self.rng
        e = g.rand() * 50 // 32768 + 55
        r = e + g.rand() * 150 // 32768
        gg = g.rand() * 50 // 32768
        b = e + g.rand() * 150 // 32768
        self.entries[PURPLE] = _rgb(r, gg, b)

    def _snow(self):
        g = self.rng
        r = 246 + g.rand() * 10 // 32768
        gg = 246 + g.rand() * 6 // 32768
        b = 246 + g.rand() * 10 // 32768
        self.entries[SNOW] = _rgb(r, gg, b)

    def _petals(self, base, d0, d1, d2, step):
        """Petal colours: base, then base minus one and two steps."""
        e = self.entries
        e[PETAL0] = base
        e[PETAL1] = _minus(base, d0 * step, d1 * step, d2 * step)
        e[PETAL2] = _minus(base, 2 * d0 * step, 2 * d1 * step, 2 * d2 * step)

    def _choose(self):
        e = self.entries
        self._orange()
        self._gold()
        self._green()
        self._snow()
        variant = self.rng.R(8)
        self.variant = variant
        if variant == 0:
            self._red()
            self._petals(e[RED], 1, 0, 0, 15)
            if self.rng.coin():
                e[DISC] = tuple(255 - c for c in e[PETAL0])
            else:
                self._pink()
                e[DISC] = e[PINK]
        elif variant == 1:
            self._petals(e[ORANGE], 1, 0, 0, 15)
            e[DISC] = e[GOLD]
        elif variant == 2:
            self._pink()
            self._red()
            self._petals(e[PINK], 1, 1, 1, 5)
            e[DISC] = e[RED]
        elif variant == 3:
            self._petals(e[GOLD], 1, 1, 0, 10)
            if self.rng.coin():
                e[DISC] = e[ORANGE]
            else:
                self._blue()
                e[DISC] = e[BLUE]
        elif variant == 4:
            self._blue()
            self._petals(e[BLUE], 1, 1, 1, 10)
            if self.rng.coin():
                self._gold()
                e[DISC] = e[GOLD]
            else:
                self._pale_blue()
                e[DISC] = e[PALE_BLUE]
        elif variant == 5:
            self._pale_blue()
            self._blue()
            self._petals(e[PALE_BLUE], 1, 1, 1, 10)
            e[DISC] = e[BLUE]
        elif variant == 6:
            self._purple()
            self._petals(e[PURPLE], 1, 0, 1, 10)
            if self.rng.coin():
                self._red()
                e[DISC] = e[RED]
            else:
                self._blue()
                e[DISC] = e[BLUE]
        else:
            self._gold()
            self._petals(e[SNOW], 1, 1, 1, 5)
            e[DISC] = e[GOLD]
