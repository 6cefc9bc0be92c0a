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
        if self.kind == "PolylineFigure":
            return None
        if self.kind == "StemLeafFigure":
            return STEM_LEAF
        if self.kind == "FallLeafFigure":
            return FALL_LEAF
        if self.kind == "DiscFigure":
            return DISC_SLOT
        if self.kind == "SnowflakeFigure":
            return SNOWFLAKE
        if self.colour_index == 0:
            return PETAL_SLOT0
        if self.colour_index == 1:
            return PETAL_SLOT1
        return PETAL_SLOT2


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


class FlowerScene(Scene):
    """What the four flower kinds share; subclasses give the scene rules."""

    stemmed = True
    forces_petal_shape = False

    def __init__(self, rng, running):
        super().__init__()
        self.rng = rng
        self.running = running
        self.palette = Palette(rng)
        self.build_figures()

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

    def triple_ring_head(self, cx, cy, _size):
        rng, run = self.rng, self.running
        size = self.triple_start_size()
        width = rng.F(0.4, 0.1)
        run.advance_petal_shape()
        run.shape_rotation = 0
        step = run.advance_ring_step()
        if run.ring_step_index < 6 and width > 0.3:
            width = width / 2
        elif run.ring_step_index > 6 and width < 0.3:
            width = width * 2
        petals = 360 // step
        for ring in range(3):
            run.shape_rotation = step // 2 if ring % 2 == 1 else 0
            first = None
            for j in range(petals):
                points = self._petal(first, width, size, cx, cy, ring)
                if j == 0:
                    first = points
                run.shape_rotation += step
            size = size - 1

    def single_ring_head(self, cx, cy, n):
        rng, run = self.rng, self.running
        size = self.single_size(n)
        width = rng.F(0.4, 0.1)
        run.advance_petal_shape()
        run.shape_rotation = 0
        step = run.advance_ring_step()
        if run.ring_step_index < 5 and width > 0.4:
            width = width / 2
        elif run.ring_step_index > 6 and width < 0.3:
            width = width * 2
        if self.forces_petal_shape:
            run.petal_shape = 4
            if run.ring_step_index > 5 and width > 0.4:
                width = width * 0.5
        petals = 360 // step
        first = None
        for j in range(petals):
            points = self._petal(first, width, size, cx, cy, 0)
            if j == 0:
                first = points
            run.shape_rotation += step
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


class BasalLeafFlowerScene(FlowerScene):
    forces_petal_shape = True
    stem_builder = staticmethod(shapes.build_basal_stem)

    def build_figures(self):
        rng = self.rng
        x = rng.R(LOGICAL_WIDTH)
        adjust = basal_adjust_factor(x)
        n = rng.rand() * (20 // adjust) // 32768 + 4
        h = (rng.R(800) + 190) // adjust + 125
        w = rng.F(0.04, 0.06)
        self.stem_and_flower(x, h, n, w)

    def first_leaf_angle(self):
        if self.rng.coin():
            return 219 - self.rng.Q(40)
        return 141 + self.rng.Q(40)

    def next_leaf_angle(self, a):
        if a >= 190:
            return 141 + self.rng.Q(40)
        return 219 - self.rng.Q(40)

    def triple_start_size(self):
        return (self.rng.R(4) + 4) // 3

    def single_size(self, n):
        return n // 3


class NarrowLeafFlowerScene(FlowerScene):
    forces_petal_shape = True
    stem_builder = staticmethod(shapes.build_stem)

    def build_figures(self):
        rng = self.rng
        x = rng.R(LOGICAL_WIDTH)
        n = rng.R(5) + 5
        w = rng.F(0.04, 0.04)
        h = rng.R(800) + 150
        self.stem_and_flower(x, h, n, w)

    def first_leaf_angle(self):
        if self.rng.coin():
            return 224 - self.rng.Q(20)
        return 136 + self.rng.Q(20)

    def next_leaf_angle(self, a):
        if a >= 190:
            return 136 + self.rng.Q(20)
        return 224 - self.rng.Q(20)

    def triple_start_size(self):
        return (self.rng.R(4) + 4) // 2

    def single_size(self, n):
        return n // 2


class BroadLeafFlowerScene(FlowerScene):
    stem_builder = staticmethod(shapes.build_stem)

    def build_figures(self):
        rng = self.rng
        x = rng.R(LOGICAL_WIDTH)
        n = rng.R(6) + 2
        w = rng.F(0.2, 0.08)
        h = rng.R(800) + 190
        self.stem_and_flower(x, h, n, w)

    def first_leaf_angle(self):
        return 110

    def next_leaf_angle(self, a):
        if a >= 240:
            return 106 + self.rng.Q(5)
        return 246 + self.rng.Q(5)

    def triple_start_size(self):
        return self.rng.R(3) + 3

    def single_size(self, n):
        return n


class FlowerHeadScene(FlowerScene):
    stemmed = False

    def build_figures(self):
        rng = self.rng
        cx = rng.R(LOGICAL_WIDTH)
        cy = rng.R(LOGICAL_WIDTH)
        n = rng.R(8) + 2
        self.head(cx, cy, n)

    def triple_start_size(self):
        return self.rng.R(4) + 4

    def single_size(self, n):
        return n


class FallLeavesScene(Scene):
    def __init__(self, rng, running):
        super().__init__()
        self.rng = rng
        self.running = running
        self.palette = Palette(rng)
        self.build_figures()

    def set_colours(self, rng):
        r = rng.rand()
        colour = self.palette[ORANGE] if r > 10922 else self.palette[GOLD]
        return BLACK, [(FALL_LEAF, colour)], r

    def build_figures(self):
        rng, run = self.rng, self.running
        next_shape = 0
        for _ in range(3):
            x = rng.R(LOGICAL_WIDTH)
            y = rng.R(LOGICAL_WIDTH)
            size = rng.R(12) + 6
            run.shape_rotation += 25
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


class SnowScene(Scene):
    def __init__(self, rng, running):
        super().__init__()
        self.rng = rng
        self.running = running
        self.palette = Palette(rng)
        self.build_figures()

    def set_colours(self, rng):
        return WHITE, [(SNOWFLAKE, self.palette[SNOW])], None

    def build_figures(self):
        rng, run = self.rng, self.running
        next_flake = 2
        for _ in range(21):
            x = rng.R(LOGICAL_WIDTH)
            y = rng.R(LOGICAL_WIDTH)
            size = rng.R(10) + 2
            run.shape_rotation += 25
            points = shapes.fill_from_outline(1.0, run.shape_rotation, float(size),
                                              x, y, next_flake)
            self.figures.append(Figure("SnowflakeFigure", points))
            next_flake = {2: 3, 3: 4}.get(next_flake, 2)


SCENE_BY_SLOT = (BasalLeafFlowerScene, NarrowLeafFlowerScene, BroadLeafFlowerScene,
                 FlowerHeadScene, FallLeavesScene)


def scene_for_slot(slot):
    return SCENE_BY_SLOT[slot] if 0 <= slot < len(SCENE_BY_SLOT) else SnowScene
