#!/usr/bin/env python3
"""Reference model of the Tessaly garden, written independently of the C++
core: the canvas's tick and paint, the scene cycle, the six scenes and their
shape generators. For a seed and a number of timer ticks it yields every
paint that draws: what SetColours loaded into the pen and brush slots and
each figure drawn with its exact integer logical points (or a disc's box),
its fill (the colour of the brush slot it selects) and its pen colour.

Run it to print the paints of a garden, one figure a line.
"""

import argparse
import sys

from palette import Rng
from scenes import RunningValues, Scene, SLOT_NAMES, SnowScene, scene_for_slot


class Drawn:
    """One figure as the drawing device receives it."""

    ELEMENT = {"PolylineFigure": "polyline", "DiscFigure": "ellipse"}

    def __init__(self, tick, paint, scene, figure, fill, stroke):
        self.tick = tick
        self.paint = paint          # index of the paint that drew it
        self.scene = scene          # class name of the scene
        self.kind = figure.kind
        self.element = self.ELEMENT.get(figure.kind, "polygon")
        self.points = figure.points
        self.box = figure.box
        self.fill = fill            # None for a polyline
        self.stroke = stroke

    def describe(self):
        shape = ("box=%s" % (self.box,) if self.box is not None
                 else "points(%d)=%s" % (len(self.points),
                                         " ".join("%d,%d" % p for p in self.points)))
        return "%s fill=%s stroke=%s %s" % (self.kind, hex_colour(self.fill),
                                           hex_colour(self.stroke), shape)


class Paint:
    def __init__(self, index, tick, scene, pen, loads, draw):
        self.index = index
        self.tick = tick
        self.scene = scene
        self.pen = pen
        self.loads = loads          # [(slot, colour)] in SetColours order
        self.colour_draw = draw     # the fall leaves' per-paint rand(), else None
        self.figures = []


def hex_colour(colour):
    return "none" if colour is None else "#%02x%02x%02x" % colour


class Garden:
    """The canvas with its scene cycle, pen and seven brush slots."""

    def __init__(self, seed, cycle_length=5, build=0):
        if not 1 <= cycle_length <= 1000:
            raise ValueError("cycle length must be 1..1000")
        self.rng = Rng(seed)
        self.running = RunningValues()
        self.cycle_length = cycle_length
        self.build = build
        self.scene = Scene()
        self.scene_counter = 0
        self.pen = None
        self.brushes = [None] * 7
        self.tick = 0
        self.paints = 0

    def step(self):
        """One tick of timer 1 and the paint that follows; returns the
        Paint, or None when the paint found nothing to draw."""
        self.tick += 1
        if not self.scene.figures:
            self.scene_counter += 1
            slot = self.scene_counter // (self.cycle_length * 40)
            kind = scene_for_slot(slot)
            self.scene = kind(self.rng, self.running)
            if kind is SnowScene and slot > 6:
                self.scene_counter = 0
        return self.paint()

    def paint(self):
        queue = self.scene.figures
        if not queue:
            return None
        pen, loads, draw = self.scene.set_colours(self.rng)
        self.pen = pen
        for slot, colour in loads:
            self.brushes[slot] = colour
        paint = Paint(self.paints, self.tick, type(self.scene).__name__, pen, loads, draw)
        self.paints += 1
        while queue:
            figure = queue.pop(0)
            slot = figure.slot()
            fill = None if slot is None else self.brushes[slot]
            paint.figures.append(Drawn(self.tick, paint.index, paint.scene, figure, fill, self.pen))
            if self.build == 1:
                break
        return paint

    def run(self, ticks):
        for _ in range(ticks):
            paint = self.step()
            if paint is not None:
                yield paint


def figures(seed, ticks, cycle_length=5, build=0):
    """Every figure drawn in `ticks` ticks, in drawing order."""
    for paint in Garden(seed, cycle_length, build).run(ticks):
        yield from paint.figures


def main(argv=None):
    parser = argparse.ArgumentParser(description="Print the paints of a Tessaly garden.")
    parser.add_argument("--seed", type=int, required=True, help="random seed 0..4294967295")
    parser.add_argument("--ticks", type=int, default=1400, help="timer ticks (default 1400)")
    parser.add_argument("--cycle-length", type=int, default=5, help="1..1000 (default 5)")
    parser.add_argument("--build", type=int, choices=(0, 1), default=0)
    parser.add_argument("--summary", action="store_true", help="one line per paint")
    args = parser.parse_args(argv)
    if not 0 <= args.seed <= 0xFFFFFFFF or args.ticks < 0:
        parser.error("seed must be 0..4294967295 and ticks not negative")
    out = sys.stdout
    for paint in Garden(args.seed, args.cycle_length, args.build).run(args.ticks):
        loads = ", ".join("%s=%s" % (SLOT_NAMES[s], hex_colour(c)) for s, c in paint.loads)
        extra = "" if paint.colour_draw is None else " colourDraw=%d" % paint.colour_draw
        out.write("paint %d tick %d %s pen=%s %s%s figures=%d\n" % (
            paint.index, paint.tick, paint.scene, hex_colour(paint.pen), loads, extra,
            len(paint.figures)))
        if not args.summary:
            for drawn in paint.figures:
                out.write("  " + drawn.describe() + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
