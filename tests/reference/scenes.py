"""The six kinds of drawing of the reference model.

A scene is built completely when it is constructed: its palette first, then
its figures in drawing order. `set_colours` returns what one paint loads
into the pen and the brush slots (and may draw, as the fall leaves do).
"""

from palette import (Palette, PETAL0, PETAL1, PETAL2, DISC, ORANGE, GOLD,
                     GREEN, SNOW)
import shapes

LOGICAL_WIDTH = 1400
LOGICAL_HEIGHT = 1000

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)

# Brush slots of the canvas's pen-and-brush set.
STEM_LEAF, FALL_LEAF, DISC_SLOT, PETAL_SLOT0, PETAL_SLOT1, PETAL_SLOT2, SNOWFLAKE = range(7)
SLOT_NAMES = ("stemLeafBrush", "fallLeafBrush", "discBrush", "petalBrush0",
              "petalBrush1", "petalBrush2", "snowflakeBrush")
# The slot of each kind but the petals, whose slot follows their ring.
KIND_SLOTS = {"PolylineFigure": None, "StemLeafFigure": STEM_LEAF, "FallLeafFigure": FALL_LEAF,
              "DiscFigure": DISC_SLOT, "SnowflakeFigure": SNOWFLAKE}


class Figure:
    """One queued figure. `points` are the drawn points (pointCount of
    them); a disc has `box` (left, top, right, bottom) instead."""

    def __init__(self, kind, points=None, colour_index=0):
        self.kind = kind
        self.points = points
        self.colour_index = colour_index
        self.box = None

    def slot(self):
        """The brush slot that Draw selects, or None for the stem."""
        if self.kind in KIND_SLOTS:
            return KIND_SLOTS[self.kind]
        return PETAL_SLOT0 + min(self.colour_index, 2)


class RunningValues:
    """The process-wide values that carry over from one scene to the next."""

    def __init__(self):
        self.shape_rotation = 60
        self.ring_step_index = 7
        self.petal_shape = 0

    def advance_petal_shape(self):
        self.petal_shape += 1
        if self.petal_shape > 5:
            self.petal_shape = 0

    def advance_ring_step(self):
        self.ring_step_index += 1
        if self.ring_step_index > 8 or self.ring_step_index < 2:
            self.ring_step_index = 2
        return shapes.RING_ANGLE_STEPS[self.ring_step_index]


class Scene:
    """The plain scene the canvas starts with: no figures, no colours."""

    def __init__(self):
        self.figures = []

    def set_colours(self, rng):
        return None


class DrawnScene(Scene):
    """A scene with a palette and figures, both built at once."""

    def __init__(self, rng, running):
        super().__init__()
        self.rng = rng
        self.running = running
        self.palette = Palette(rng)
        self.build_figures()

    def place(self, sizes, smallest):
        """A leaf's or flake's spot and size; each turns by 25 degrees."""
        rng = self.rng
        x = rng.R(LOGICAL_WIDTH)
        y = rng.R(LOGICAL_WIDTH)
        size = rng.R(sizes) + smallest
        self.running.shape_rotation += 25
        return x, y, size


class FlowerScene(DrawnScene):
    """What the four flower kinds share; subclasses give the scene rules."""

    stemmed = True
    forces_petal_shape = False
    # A triple head starts at (R(head_base) + head_base) / head_divisor, a
    # single one at n / head_divisor.
    head_base = 4
    head_divisor = 1

    def build_figures(self):
        """A stem at x: its size n = R(sizes[0]) + sizes[1], leaf width
        F(*widths), height R(800) + shortest (drawn in that order)."""
        rng = self.rng
        x = rng.R(LOGICAL_WIDTH)
        n = rng.R(self.sizes[0]) + self.sizes[1]
        w = rng.F(*self.widths)
        h = rng.R(800) + self.shortest
        self.stem_and_flower(x, h, n, w)

    def set_colours(self, rng):
        p = self.palette
        loads = []
        if self.stemmed:
            loads.append((STEM_LEAF, p[GREEN]))
        loads += [(PETAL_SLOT0, p[PETAL0]), (PETAL_SLOT1, p[PETAL1]),
                  (PETAL_SLOT2, p[PETAL2]), (DISC_SLOT, p[DISC])]
        return BLACK, loads, None

    # Stem, leaves and head of the three stemmed kinds.
    def stem_and_flower(self, x, h, n, w):
        rng = self.rng
        stem = Figure("PolylineFigure")
        self.figures.append(stem)
        points, leaves = self.stem_builder(rng, h, float(n), x, LOGICAL_HEIGHT)
        stem.points = points[:h]          # pointCount = h; index h is the top
        profile = 1 if rng.coin() else 3
        a = self.first_leaf_angle()
        for lx, ly in leaves:
            leaf = Figure("StemLeafFigure")
            self.figures.append(leaf)
            t = rng.Q(5) + 1
            size = n + 1 if t == 1 else (n - 1 if t == 2 else n)
            leaf.points = shapes.fill_from_profile(w, a, float(size), lx, ly, profile)[:100]
            a = self.next_leaf_angle(a)
        cx, cy = points[h]
        self.head(cx, cy, n)

    def head(self, cx, cy, n):
        if self.rng.coin():
            self.triple_ring_head(cx, cy, n)
        else:
            self.single_ring_head(cx, cy, n)

    def _petal(self, first, width, size, cx, cy, colour_index):
        run = self.running
        points = shapes.fill_petal(first, width, run.shape_rotation, size, cx, cy,
                                   run.petal_shape, run.ring_step_index)
        self.figures.append(Figure("PetalFigure", points[:100], colour_index))
        return points

    def _ring_start(self):
        """The head's width draw; the next petal shape and ring step."""
        run = self.running
        width = self.rng.F(0.4, 0.1)
        run.advance_petal_shape()
        run.shape_rotation = 0
        return width, run.advance_ring_step()

    def _ring(self, step, width, size, cx, cy, colour_index):
        run = self.running
        first = None
        for j in range(360 // step):
            points = self._petal(first, width, size, cx, cy, colour_index)
            if j == 0:
                first = points
            run.shape_rotation += step

    def triple_ring_head(self, cx, cy, _size):
        run = self.running
        size = (self.rng.R(self.head_base) + self.head_base) // self.head_divisor
        width, step = self._ring_start()
        if run.ring_step_index < 6 and width > 0.3:
            width = width / 2
        elif run.ring_step_index > 6 and width < 0.3:
            width = width * 2
        for ring in range(3):
            run.shape_rotation = step // 2 if ring % 2 == 1 else 0
            self._ring(step, width, size, cx, cy, ring)
            size = size - 1

    def single_ring_head(self, cx, cy, n):
        rng, run = self.rng, self.running
        size = n // self.head_divisor
        width, step = self._ring_start()
        if run.ring_step_index < 5 and width > 0.4:
            width = width / 2
        elif run.ring_step_index > 6 and width < 0.3:
            width = width * 2
        if self.forces_petal_shape:
            run.petal_shape = 4
            if run.ring_step_index > 5 and width > 0.4:
                width = width * 0.5
        self._ring(step, width, size, cx, cy, 0)
        radius = rng.rand() * size * 10 // 32768 + 1
        disc = Figure("DiscFigure")
        disc.box = (cx - radius, cy - radius, cx + radius, cy + radius)
        self.figures.append(disc)


def basal_adjust_factor(x):
    """The divisor that keeps a basal plant small near the middle: from the
    squared distance of its foot from the middle, limited to 0.01..1000."""
    half = LOGICAL_WIDTH // 2
    dtemp = 2 * float((x - half) * (x - half)) / half
    if dtemp > 1000:
        dtemp = 1000.0
    if dtemp < 0.01:
        dtemp = 0.01
    adjust = shapes.trunc(LOGICAL_WIDTH / dtemp + 1)
    return 100 if adjust > 100 else adjust


class SwayingLeafFlowerScene(FlowerScene):
    """The basal and narrow-leaf kinds: leaves either side of upright, from
    `leaf_angles` (low, high, swing), each swinging back by up to the swing
    towards upright; the petals take one shape."""

    forces_petal_shape = True

    def first_leaf_angle(self):
        low, high, swing = self.leaf_angles
        if self.rng.coin():
            return high - self.rng.Q(swing)
        return low + self.rng.Q(swing)

    def next_leaf_angle(self, a):
        low, high, swing = self.leaf_angles
        if a >= 190:
            return low + self.rng.Q(swing)
        return high - self.rng.Q(swing)


class BasalLeafFlowerScene(SwayingLeafFlowerScene):
    leaf_angles = (141, 219, 40)
    head_divisor = 3
    stem_builder = staticmethod(shapes.build_basal_stem)

    def build_figures(self):
        rng = self.rng
        x = rng.R(LOGICAL_WIDTH)
        adjust = basal_adjust_factor(x)
        n = rng.rand() * (20 // adjust) // 32768 + 4
        h = (rng.R(800) + 190) // adjust + 125
        w = rng.F(0.04, 0.06)
        self.stem_and_flower(x, h, n, w)


class NarrowLeafFlowerScene(SwayingLeafFlowerScene):
    leaf_angles = (136, 224, 20)
    head_divisor = 2
    stem_builder = staticmethod(shapes.build_stem)

    sizes, widths, shortest = (5, 5), (0.04, 0.04), 150


class BroadLeafFlowerScene(FlowerScene):
    head_base = 3
    stem_builder = staticmethod(shapes.build_stem)

    sizes, widths, shortest = (6, 2), (0.2, 0.08), 190

    def first_leaf_angle(self):
        return 110

    def next_leaf_angle(self, a):
        if a >= 240:
            return 106 + self.rng.Q(5)
        return 246 + self.rng.Q(5)


class FlowerHeadScene(FlowerScene):
    stemmed = False

    def build_figures(self):
        rng = self.rng
        cx = rng.R(LOGICAL_WIDTH)
        cy = rng.R(LOGICAL_WIDTH)
        n = rng.R(8) + 2
        self.head(cx, cy, n)


class FallLeavesScene(DrawnScene):
    def set_colours(self, rng):
        r = rng.rand()
        colour = self.palette[ORANGE] if r > 10922 else self.palette[GOLD]
        return BLACK, [(FALL_LEAF, colour)], r

    def build_figures(self):
        rng, run = self.rng, self.running
        next_shape = 0
        for _ in range(3):
            x, y, size = self.place(12, 6)
            if next_shape in (0, 1):
                stretch = rng.F(0.3, 0.3)
                points = shapes.fill_from_outline(stretch, run.shape_rotation, float(size),
                                                  x, y, next_shape)
                next_shape += 1
            else:
                width = rng.F(0.2, 0.05)
                points = shapes.fill_from_profile(width, run.shape_rotation, float(size),
                                                  x, y, 1)[:100]
                next_shape = 0
            self.figures.append(Figure("FallLeafFigure", points))


class SnowScene(DrawnScene):
    def set_colours(self, rng):
        return WHITE, [(SNOWFLAKE, self.palette[SNOW])], None

    def build_figures(self):
        run = self.running
        next_flake = 2
        for _ in range(21):
            x, y, size = self.place(10, 2)
            points = shapes.fill_from_outline(1.0, run.shape_rotation, float(size),
                                              x, y, next_flake)
            self.figures.append(Figure("SnowflakeFigure", points))
            next_flake = {2: 3, 3: 4}.get(next_flake, 2)


SCENE_BY_SLOT = (BasalLeafFlowerScene, NarrowLeafFlowerScene, BroadLeafFlowerScene,
                 FlowerHeadScene, FallLeavesScene)


def scene_for_slot(slot):
    return SCENE_BY_SLOT[slot] if 0 <= slot < len(SCENE_BY_SLOT) else SnowScene
