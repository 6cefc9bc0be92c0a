"""Shape generators of the reference model: outline templates, width
profiles and stems, written independently of the C++ core.

Every real formula is evaluated in the order the saver evaluates it (Python
floats are IEEE doubles and math.sin/cos/atan2/sqrt come from the same C
library), and every real-to-integer conversion truncates toward zero.
"""

import math

# The program's stored degrees-to-radians factor (not pi/180).
DEG = 0.017453292519444445

RING_ANGLE_STEPS = (15, 20, 24, 30, 40, 45, 60, 72, 90)


def trunc(value):
    """Real to 32-bit int, toward zero (the values here are small)."""
    return int(value)


def cdiv(a, b):
    """C integer division: truncates toward zero for either sign."""
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b >= 0) else -q


# --- outline templates -------------------------------------------------------

FLAKE_A = ((1.0, 0.0), (0.5, 0.25), (0.86603, 0.86603), (0.25, 0.5),
           (0.0, 0.86603), (-0.25, 0.25), (-0.86603, 0.0), (-0.5, -0.25),
           (-0.86603, -0.86603), (-0.25, -0.5), (0.0, -0.86603), (0.25, -0.25))

FLAKE_B = ((1.0, 0.0), (0.25, 0.124), (0.8660254, 0.8660254), (0.125, 0.25),
           (0.0, 0.8660254), (-0.125, 0.125), (-0.8660254, 0.0), (-0.25, -0.125),
           (-0.8660254, -0.8660254), (-0.125, -0.25), (0.0, -0.8660254),
           (0.125, -0.125))

FLAKE_C = ((1.0, 0.0), (0.75, 0.375), (0.86603, 0.86603), (0.375, 0.75),
           (0.0, 0.86603), (-0.375, 0.375), (-0.86603, 0.0), (-0.75, -0.375),
           (-0.86603, -0.86603), (-0.375, -0.75), (0.0, -0.86603), (0.375, -0.375))

_LEAF_A_HALF = ((0.0, 0.025), (0.181, 0.025), (0.161, 0.125), (0.142, 0.25),
                (0.116, 0.438), (0.129, 0.625), (0.213, 0.825), (0.243, 0.625),
                (0.452, 1.0), (0.501, 0.75), (0.632, 0.813), (0.723, 0.85),
                (0.677, 0.725), (0.606, 0.313), (0.806, 0.375), (0.723, 0.219))
# 0..15, the tip (16), then 15 down to 0 mirrored.
LEAF_A = (_LEAF_A_HALF + ((1.0, 0.0),)
          + tuple((x, -y) for x, y in reversed(_LEAF_A_HALF)))

_LEAF_B_HALF = ((0.0, 0.01), (0.056, 0.01), (0.15, 0.01), (0.159, 0.172),
                (0.14, 0.345), (0.084, 0.539), (0.196, 0.454), (0.194, 0.69),
                (0.271, 0.69), (0.374, 1.0), (0.411, 0.69), (0.453, 0.776),
                (0.467, 0.897), (0.49, 0.862), (0.551, 0.991), (0.57, 0.819),
                (0.654, 0.948), (0.673, 0.862), (0.738, 0.841), (0.776, 0.884),
                (0.752, 0.676), (0.766, 0.655), (0.72, 0.497), (0.694, 0.324),
                (0.77, 0.302), (0.845, 0.366), (0.832, 0.259), (0.878, 0.129),
                (0.902, 0.151), (0.909, 0.108))
LEAF_B = (_LEAF_B_HALF + ((1.0, 0.0),)
          + tuple((x, -y) for x, y in reversed(_LEAF_B_HALF)))

assert len(LEAF_A) == 33 and len(LEAF_B) == 61


# (table, scale factor, stretch applies) of outline modes 0 to 3.
OUTLINES = ((LEAF_A, 20.0, True), (LEAF_B, 20.0, True), (FLAKE_A, 4.0, False),
            (FLAKE_B, 4.0, False))


def outline_table(mode):
    # any other mode, negative ones included, is the third flake
    return OUTLINES[mode] if 0 <= mode < len(OUTLINES) else (FLAKE_C, 4.0, False)


def place_outline_point(mode, index, stretch, angle, size):
    table, factor, stretched = outline_table(mode)
    tx, ty = table[index]
    if stretched:
        ty = stretch * ty
    rot = angle * DEG
    phi = math.atan2(ty, tx) + rot
    r = math.sqrt(tx * tx + ty * ty)
    return (trunc(((math.cos(phi) * r) * size) * factor),
            trunc(((math.sin(phi) * r) * size) * factor))


def fill_from_outline(stretch, angle, size, x, y, mode):
    """Points of an outline figure (angle int degrees, size double)."""
    table, _, _ = outline_table(mode)
    points = []
    for i in range(len(table)):
        dx, dy = place_outline_point(mode, i, stretch, float(angle), size)
        points.append((x + dx, y + dy))
    return points


# --- width profiles ----------------------------------------------------------

def profile_height(t, width, profile):
    t2 = t * t
    t3 = t2 * t
    t4 = t2 * t2
    t5 = t4 * t
    if profile == 0:
        h = -10.4 * t4 + 13.2 * t2 * t - 4.4 * t2 + 1.6 * t
    elif profile == 1:
        h = (25.78 * t4 * t2 - 40.71 * t4 * t + 6.237 * t4 + 8.02 * t3
             - 0.043 * t2 + 0.727 * t)
    elif profile == 2:
        h = -34.996 * t5 + 73.172 * t4 - 55.492 * t3 + 18.402 * t2 - 1.0849 * t
    elif profile == 3:
        h = -4 * t2 + 4 * t
    elif profile == 4:
        h = 22.897 * t5 - 70.17 * t4 + 83.461 * t2 * t - 47.937 * t2 + 11.754 * t
    else:
        # An ellipse; just outside 0..1 the radicand dips below zero and the
        # half-width is taken as 0 there.
        u = (t - 0.5) + (t - 0.5)
        radicand = (1 - u * u) * (width * width)
        return math.sqrt(radicand) if radicand > 0 else 0.0
    return h * width


def place_profile_point(t, width, angle, size, profile):
    h = profile_height(t, width, profile)
    phi = math.atan2(t, h) + angle * DEG
    m = math.sqrt(h * h + t * t)
    return (trunc(((math.cos(phi) * m) * size) * 20),
            trunc(((math.sin(phi) * m) * size) * 20))


def fill_from_profile(width, angle, size, x, y, profile):
    """All 101 points written (index 100 is never drawn); draw 100."""
    points = [None] * 101
    t = 0.0
    i = 0
    while 0.02 / 2 + 1 > t:
        dx, dy = place_profile_point(t, width, float(angle), size, profile)
        points[i] = (x + dx, y + dy)
        i += 1
        t = t + 0.02
    half = i - 1
    t = 1.0
    j = 0
    while not (-1 * 0.02 > t):
        dx, dy = place_profile_point(t, width, float(361 - angle), size, profile)
        points[half + j] = (x - dx, y + dy)
        j += 1
        t = t - 0.02
    assert half == 50 and half + j == 101
    return points


def fill_petal(first, width, angle, size, x, y, profile, ring_step_index):
    """Petal points (101 stored); `first` is the ring's first petal's list,
    or None for the first petal itself."""
    points = fill_from_profile(width, angle, float(size), x, y, profile)
    if angle + RING_ANGLE_STEPS[ring_step_index] < 200:
        return points
    count = 100
    for i in range(count):
        k = count - i
        fx, fy = first[i]
        px, py = points[k]
        if px < fx and py >= fy - 5:
            points[k] = first[i]
    return points


# --- stems -------------------------------------------------------------------

def stem_sway(angle, amplitude):
    return trunc((math.sin(angle * DEG) * amplitude) * 4)


def _stem_walk(rng, count, amplitude, x, y, leaf_at_foot):
    """(count + 1 points from the foot up, the points where the wave is drawn
    anew, how far the last of them lies below the top). The wave is drawn
    anew `gap` points after the last time, or at once with `leaf_at_foot`."""
    phase = float(rng.R(360))
    wave = float(rng.R(5) + 1)
    gap = trunc(count / (rng.R(20) + (2 + wave)) + 10)
    since_leaf = gap if leaf_at_foot else 0
    total = 0.0
    points, turns = [], []
    for j in range(count + 1):
        total = wave / 5 + total
        points.append((x + stem_sway(phase + total, amplitude), y - j))
        since_leaf += 1
        if since_leaf > gap:
            r2 = rng.R(5) + 1
            wave = (r2 + wave) / 2
            since_leaf = 0
            turns.append(points[j])
    return points, turns, since_leaf


def build_stem(rng, count, amplitude, x, y):
    """(points with count + 1 entries, leaf points)."""
    points, leaves, since_leaf = _stem_walk(rng, count, amplitude, x, y, True)
    leaf_count = len(leaves) - 1
    if since_leaf < 35 and leaf_count > 5:
        leaf_count -= 1
    return points, leaves[:max(leaf_count, 0)]


def build_basal_stem(rng, count, amplitude, x, y):
    """Five leaves at the foot; the wave still turns on the way up."""
    points, _, _ = _stem_walk(rng, count, amplitude, x, y, False)
    return points, [points[0]] * 5
