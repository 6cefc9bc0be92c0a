#!/usr/bin/env python3
"""Checks the reference model itself against hand-worked values of the
garden's generators, so that the model and the core cannot agree on a
wrong reading without one of these failing."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import shapes  # noqa: E402
from garden_model import Garden  # noqa: E402
from palette import Palette, Rng  # noqa: E402
from scenes import (FallLeavesScene, RunningValues, SnowScene,  # noqa: E402
                    basal_adjust_factor, scene_for_slot)


class ScriptedRng(Rng):
    """Hands out the given rand() values, then fails."""

    def __init__(self, values):
        super().__init__(0)
        self.values = list(values)

    def rand(self):
        if not self.values:
            raise AssertionError("more draws than scripted")
        return self.values.pop(0)


class GeneratorTest(unittest.TestCase):
    def test_random_sequence_of_seed_1(self):
        rng = Rng(1)
        self.assertEqual([rng.rand() for _ in range(5)], [41, 18467, 6334, 26500, 19169])

    def test_outline_points(self):
        p = shapes.place_outline_point
        self.assertEqual(p(2, 0, 1.0, 0.0, 10.0), (40, 0))
        self.assertEqual(p(2, 2, 1.0, 0.0, 10.0), (34, 34))
        self.assertEqual(p(2, 0, 1.0, 90.0, 10.0), (0, 40))
        self.assertEqual(p(2, 2, 1.0, 60.0, 10.0), (-12, 47))
        self.assertEqual(p(0, 8, 0.5, 0.0, 10.0), (90, 100))
        self.assertEqual(p(0, 8, 0.5, 60.0, 10.0), (-41, 128))
        self.assertEqual(p(0, 16, 0.5, 60.0, 6.0), (60, 103))
        self.assertEqual(p(0, 16, 0.5, 90.0, 6.0), (0, 120))
        self.assertEqual(p(1, 9, 0.3, 0.0, 17.0), (127, 102))
        for mode in (5, -1):
            self.assertEqual(shapes.fill_from_outline(0.4, 33, 5.0, 10, 20, mode),
                             shapes.fill_from_outline(0.4, 33, 5.0, 10, 20, 4))

    def test_profile_points_at_width_half(self):
        expected = {
            0: [(0, 0), (3, 4), (70, 100), (17, 196), (3, 199), (-2, 4)],
            1: [(0, 0), (1, 4), (87, 100), (1, 196), (2, 199), (-1, 4)],
            2: [(0, 0), (-1, 4), (60, 100), (23, 196), (3, 199), (1, 3)],
            3: [(0, 0), (7, 4), (100, 100), (7, 196), (3, 199), (-7, 4)],
            4: [(0, 0), (21, 4), (65, 100), (0, 196), (2, 199), (-21, 4)],
            5: [(0, 0), (28, 4), (100, 100), (27, 196), (3, 199), (-27, 4)],
        }
        for profile, points in expected.items():
            got = shapes.fill_from_profile(0.5, 0, 10.0, 0, 0, profile)
            self.assertEqual([got[i] for i in (0, 1, 25, 49, 50, 99)], points, profile)

    def test_turned_profile(self):
        got = shapes.fill_from_profile(0.2, 60, 10.0, 700, 500, 1)
        self.assertEqual([got[i] for i in (0, 25, 49, 50, 99)],
                         [(700, 500), (631, 580), (531, 598), (529, 602), (697, 501)])

    def test_five_petal_ring_tucks_only_the_closing_petals(self):
        first = shapes.fill_petal(None, 0.3, 0, 5, 700, 500, 3, 7)
        changed = []
        for angle in (72, 144, 216, 288):
            plain = shapes.fill_from_profile(0.3, angle, 5.0, 700, 500, 3)
            tucked = shapes.fill_petal(first, 0.3, angle, 5, 700, 500, 3, 7)
            changed.append(sum(a != b for a, b in zip(plain[:100], tucked[:100])))
        self.assertEqual(changed, [0, 3, 0, 18])

    def test_stem_sway(self):
        self.assertEqual(shapes.stem_sway(90, 2), 8)
        self.assertEqual(shapes.stem_sway(30, 7), 13)
        self.assertEqual(shapes.stem_sway(210, 7), -13)

    def test_stem_of_200_with_gap_20_keeps_eight_leaves(self):
        # phase 0, wave 1, gap term 17: 200 / (17 + 3) + 10 = 20; then the
        # wave draws at each leaf point.
        rng = ScriptedRng([0, 0, 17 * 32768 // 20 + 1] + [0] * 10)
        points, leaves = shapes.build_stem(rng, 200, 3.0, 500, 1000)
        self.assertEqual(len(points), 201)
        self.assertEqual([1000 - y for _, y in leaves], [21 * k for k in range(8)])
        self.assertTrue(all(abs(x - 500) <= 12 for x, _ in points))

    def test_basal_stem_has_five_foot_leaves(self):
        points, leaves = shapes.build_basal_stem(Rng(3), 300, 9.0, 650, 1000)
        self.assertEqual(leaves, [points[0]] * 5)
        self.assertEqual(points[0][1], 1000)
        self.assertEqual(points[300][1], 700)

    def test_basal_adjust_factor(self):
        self.assertEqual([basal_adjust_factor(x) for x in (0, 205, 206, 300, 400, 500, 700, 1194, 1195)],
                         [2, 2, 3, 4, 6, 13, 100, 3, 2])


class PaletteTest(unittest.TestCase):
    def test_red_variant_with_complement_disc(self):
        # orange, gold, green, snow (12 draws), variant 0, red (200, 30, 40), heads.
        red = [(200 - 100) * 32768 // 156 + 200, 30 * 32768 // 60 + 300, 40 * 32768 // 60 + 300]
        palette = Palette(ScriptedRng([0] * 12 + [0] + red + [16384]))
        self.assertEqual(palette.entries[:4],
                         [(200, 30, 40), (185, 30, 40), (170, 30, 40), (55, 225, 215)])

    def test_orange_and_green_corrections(self):
        def orange(r, g, b):
            return Palette(ScriptedRng(
                [(r - 100) * 32768 // 130 + 200, g * 32768 // 120 + 200, b * 32768 // 40 + 200]
                + [0] * 9 + [4096])).entries[5]
        self.assertEqual(orange(150, 100, 30), (150, 100, 30))
        self.assertEqual(orange(120, 100, 30), (220, 180, 30))

        def green(r, g, b):
            return Palette(ScriptedRng(
                [0] * 6 + [r * 32768 // 90 + 200, (g - 110) * 32768 // 146 + 200, b * 32768 // 90 + 200]
                + [0] * 3 + [4096])).entries[8]
        self.assertEqual(green(60, 150, 89), (60, 150, 89))
        self.assertEqual(green(60, 140, 89), (60, 255, 89))


class SceneTest(unittest.TestCase):
    def test_fall_leaves_turn_by_25_and_have_33_61_100_points(self):
        running = RunningValues()
        scene = FallLeavesScene(Rng(11), running)
        self.assertEqual([len(f.points) for f in scene.figures], [33, 61, 100])
        self.assertEqual(running.shape_rotation, 135)

    def test_snow_has_21_flakes_and_turns_by_525(self):
        running = RunningValues()
        scene = SnowScene(Rng(11), running)
        self.assertEqual([len(f.points) for f in scene.figures], [12] * 21)
        self.assertEqual(running.shape_rotation, 585)

    def test_cycle_order_with_cycle_length_1(self):
        kinds = [scene_for_slot(counter // 40).__name__ for counter in (39, 40, 200, 280)]
        self.assertEqual(kinds, ["BasalLeafFlowerScene", "NarrowLeafFlowerScene",
                                 "SnowScene", "SnowScene"])
        garden = Garden(5, cycle_length=1)
        scenes = [garden.step().scene for _ in range(281)]
        self.assertEqual(scenes[38:40], ["BasalLeafFlowerScene", "NarrowLeafFlowerScene"])
        self.assertEqual(scenes[199], "SnowScene")
        self.assertEqual(scenes[279:281], ["SnowScene", "BasalLeafFlowerScene"])
        self.assertEqual(garden.scene_counter, 1)

    def test_petals_per_ring_run_through_the_step_table(self):
        garden = Garden(21)
        per_ring, heads = [], []
        for _ in range(9):
            paint = garden.step()
            per_ring.append(360 // shapes.RING_ANGLE_STEPS[garden.running.ring_step_index])
            petals = sum(f.kind == "PetalFigure" for f in paint.figures)
            discs = sum(f.kind == "DiscFigure" for f in paint.figures)
            heads.append(petals == (per_ring[-1] if discs else 3 * per_ring[-1]))
        self.assertEqual(per_ring, [4, 15, 12, 9, 8, 6, 5, 4, 15])
        self.assertTrue(all(heads))
        self.assertEqual(garden.running.shape_rotation, 360)

    def test_step_by_step_draws_the_fall_leaf_colour_per_figure(self):
        garden = Garden(99, cycle_length=1, build=1)
        draws = [p.colour_draw for p in garden.run(4000) if p.scene == "FallLeavesScene"]
        self.assertGreater(len(draws), 6)
        self.assertTrue(all(d is not None for d in draws))
        self.assertEqual(len(draws) % 3, 0)


if __name__ == "__main__":
    unittest.main()
