#!/usr/bin/env python3
"""Compares the garden that tessaly-render writes as SVG with the reference
model, figure by figure: element kind, exact logical points (or a disc's
box), fill and stroke. Prints "N figures identical" or the first mismatch.

Either give --renderer (the tool is run into a scratch folder) or --svg (an
SVG written earlier with the same seed, ticks and settings).
Exit status: 0 identical, 1 a mismatch, 2 bad options or a failed render.
"""

import argparse
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from garden_model import figures, hex_colour  # noqa: E402

SVG_NS = "{http://www.w3.org/2000/svg}"
FIGURE_TAGS = ("polygon", "polyline", "ellipse")


class Element:
    def __init__(self, tag, points, box, fill, stroke):
        self.tag = tag
        self.points = points
        self.box = box
        self.fill = fill
        self.stroke = stroke


def halves(text):
    """Twice a coordinate written as "12" or "-0.5"."""
    value = float(text)
    twice = round(value * 2)
    if twice != value * 2:
        raise ValueError("not a half-integer: %r" % text)
    return twice


def parse_svg(path):
    elements = []
    for node in ET.parse(path).getroot().iter():
        tag = node.tag[len(SVG_NS):] if node.tag.startswith(SVG_NS) else node.tag
        if tag not in FIGURE_TAGS:
            continue
        fill = node.get("fill")
        stroke = node.get("stroke")
        points = box = None
        if tag == "ellipse":
            cx2, cy2 = halves(node.get("cx")), halves(node.get("cy"))
            rx2, ry2 = halves(node.get("rx")), halves(node.get("ry"))
            # cx = (l + r) / 2 and rx = (r - l) / 2, so l = cx - rx, r = cx + rx.
            box = ((cx2 - rx2) // 2, (cy2 - ry2) // 2, (cx2 + rx2) // 2, (cy2 + ry2) // 2)
        else:
            points = [tuple(int(v) for v in pair.split(","))
                      for pair in node.get("points", "").split()]
        elements.append(Element(tag, points, box, fill, stroke))
    return elements


def render(renderer, seed, ticks, cycle_length, build, folder):
    path = os.path.join(folder, "garden.svg")
    command = [renderer, "--seed", str(seed), "--ticks", str(ticks), "--size", "1400x1000",
               "--cycle-length", str(cycle_length), "--build", str(build), "-o", path]
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            universal_newlines=True)
    if result.returncode != 0:
        raise RuntimeError("%s exited with %d: %s" % (renderer, result.returncode,
                                                      result.stderr.strip()))
    return path


def first_difference(expected, got):
    """A description of how one model figure and one SVG element differ,
    or None when they agree."""
    if expected.element != got.tag:
        return "element: expected <%s>, got <%s>" % (expected.element, got.tag)
    if expected.box is not None:
        if expected.box != got.box:
            return "disc box (l, t, r, b): expected %s, got %s" % (expected.box, got.box)
    else:
        if len(expected.points) != len(got.points):
            return "point count: expected %d, got %d" % (len(expected.points), len(got.points))
        for i, (e, g) in enumerate(zip(expected.points, got.points)):
            if e != g:
                return "point %d: expected %s, got %s" % (i, e, g)
    fill = "none" if expected.fill is None else hex_colour(expected.fill)
    if fill != got.fill:
        return "fill: expected %s, got %s" % (fill, got.fill)
    if hex_colour(expected.stroke) != got.stroke:
        return "stroke: expected %s, got %s" % (hex_colour(expected.stroke), got.stroke)
    return None


def compare(elements, model):
    """(identical count, message of the first mismatch or None)."""
    count = 0
    for expected in model:
        where = "figure %d (tick %d, paint %d, %s, %s)" % (
            count, expected.tick, expected.paint, expected.scene, expected.kind)
        if count >= len(elements):
            return count, "%s: the model draws it, the SVG ends after %d figures" % (
                where, len(elements))
        difference = first_difference(expected, elements[count])
        if difference is not None:
            return count, "%s: %s" % (where, difference)
        count += 1
    if count < len(elements):
        return count, "the SVG has %d figures, the model only %d" % (len(elements), count)
    return count, None


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    source = parser.add_mutually_exclusive_group(required=True)
    source.add_argument("--renderer", help="path of tessaly-render")
    source.add_argument("--svg", help="an SVG rendered earlier")
    parser.add_argument("--seed", type=int, action="append", required=True,
                        help="random seed; repeat for several gardens (with --renderer)")
    parser.add_argument("--ticks", type=int, default=1400)
    parser.add_argument("--cycle-length", type=int, default=5)
    parser.add_argument("--build", type=int, choices=(0, 1), default=0)
    args = parser.parse_args(argv)
    if args.svg and len(args.seed) != 1:
        parser.error("--svg compares one garden: give one --seed")
    if any(not 0 <= s <= 0xFFFFFFFF for s in args.seed) or args.ticks < 0 \
            or not 1 <= args.cycle_length <= 1000:
        parser.error("seed 0..4294967295, ticks >= 0, cycle length 1..1000")

    failed = False
    for seed in args.seed:
        label = "seed %d, %d ticks, cycle length %d, build %d" % (
            seed, args.ticks, args.cycle_length, args.build)
        try:
            if args.svg:
                elements = parse_svg(args.svg)
            else:
                with tempfile.TemporaryDirectory(prefix="tessaly-compare-") as folder:
                    elements = parse_svg(render(args.renderer, seed, args.ticks,
                                                args.cycle_length, args.build, folder))
        except (OSError, RuntimeError, ET.ParseError, ValueError) as error:
            print("%s: cannot read the rendered garden: %s" % (label, error), file=sys.stderr)
            return 2
        model = figures(seed, args.ticks, args.cycle_length, args.build)
        count, mismatch = compare(elements, model)
        if mismatch is None:
            print("%s: %d figures identical" % (label, count))
        else:
            print("%s: MISMATCH after %d identical figures: %s" % (label, count, mismatch))
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
