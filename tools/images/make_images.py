#!/usr/bin/env python3
"""Draws Korvale's own pictures into resources/ (or into the folder given).

    python3 tools/images/make_images.py [folder]

writes
    background.bmp  510 x 385, 8 bits per pixel, 256-colour palette, bottom-up, uncompressed
    icon.png        32 x 32, 8-bit palette PNG, index 0 transparent
    korvale.ico     the same 32 x 32 256-colour image, plus a 32-bit entry with its alpha

The scene is drawn here from fixed numbers and fixed-seed generators; quantising, dithering and
the file formats are Pillow's (Debian: python3-pil), so the same Pillow gives the same files. The
committed pictures came from this script's former quantiser of its own and are kept: these differ
from them by a little dither noise (background 40 dB PSNR, icon 49 dB), and the 8-bit icon entry
has no transparency mask of its own (the 32-bit entry, which Windows shows, keeps it).

The background is an arena at dusk: a starry sky that glows red towards the horizon, a ringed planet,
a dark skyline, and a metal arena floor with glowing grid lines and an energy ring. The main window
shows only its top-left 449 x 142 pixels, with the white "UT User" label at x 8..57, y 56..73 and the
player list at x 56..289, y 56..77; those areas stay dark enough for white text, which is checked
below before anything is written.
"""

import math
import os
import sys

from PIL import Image, features

RESOURCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources")

BG_W, BG_H = 510, 385
HORIZON = 84  # just below the player list, just above the Play button

# White text must stay readable where the label is drawn straight onto the picture.
# Left, top, right, bottom in pixels, right and bottom exclusive (twips / 15).
LABEL_RECT = (120 // 15, 840 // 15, (120 + 735) // 15, (840 + 255) // 15)
LIST_RECT = (840 // 15, 840 // 15, (840 + 3495) // 15, (840 + 315) // 15)

ICON = 32


# ----------------------------------------------------------------------------------------------
# Small helpers

class Rng:
    """xorshift32: fixed across Python versions, unlike the random module's derived methods."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF or 1

    def next(self):
        x = self.state
        x ^= (x << 13) & 0xFFFFFFFF
        x ^= x >> 17
        x ^= (x << 5) & 0xFFFFFFFF
        self.state = x
        return x / 4294967296.0

    def uniform(self, lo, hi):
        return lo + (hi - lo) * self.next()


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


def mix(a, b, t):
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


def ramp(stops, t):
    """Colour at t along (position, colour) stops sorted by position."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0))
    return stops[-1][1]


def lattice(ix, iy, seed):
    h = (ix * 374761393 + iy * 668265263 + seed * 2246822519) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0


def value_noise(x, y, seed):
    ix, iy = math.floor(x), math.floor(y)
    fx, fy = x - ix, y - iy
    fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    a, b = lattice(ix, iy, seed), lattice(ix + 1, iy, seed)
    c, d = lattice(ix, iy + 1, seed), lattice(ix + 1, iy + 1, seed)
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy


def fbm(x, y, seed, octaves=4):
    total, amp, norm = 0.0, 1.0, 0.0
    for i in range(octaves):
        total += amp * value_noise(x, y, seed + i * 31)
        norm += amp
        x, y, amp = x * 2.03, y * 2.03, amp * 0.5
    return total / norm


class Canvas:
    """RGB floats, 0..255 per channel, row 0 at the top."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[0.0, 0.0, 0.0] for _ in range(w * h)]

    def get(self, x, y):
        return self.px[y * self.w + x]

    def blend(self, x, y, colour, alpha):
        if alpha <= 0.0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        p = self.px[y * self.w + x]
        a = min(alpha, 1.0)
        p[0] += (colour[0] - p[0]) * a
        p[1] += (colour[1] - p[1]) * a
        p[2] += (colour[2] - p[2]) * a

    def add(self, x, y, colour, amount):
        if amount <= 0.0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        p = self.px[y * self.w + x]
        p[0] += colour[0] * amount
        p[1] += colour[1] * amount
        p[2] += colour[2] * amount

    def glow(self, cx, cy, radius, colour, strength):
        """Additive soft light falling off as a Gaussian."""
        r = int(radius * 3) + 1
        for y in range(max(0, int(cy) - r), min(self.h, int(cy) + r + 1)):
            for x in range(max(0, int(cx) - r), min(self.w, int(cx) + r + 1)):
                d2 = ((x - cx) ** 2 + (y - cy) ** 2) / (radius * radius)
                if d2 < 9.0:
                    self.add(x, y, colour, strength * math.exp(-d2))

    def image(self):
        out = Image.new("RGB", (self.w, self.h))
        out.putdata([tuple(round(clamp(v, 0, 255)) for v in p) for p in self.px])
        return out


# ----------------------------------------------------------------------------------------------
# The background scene

SKY = [
    (0.00, (5, 2, 12)),
    (0.30, (16, 4, 18)),
    (0.62, (52, 7, 12)),
    (0.86, (96, 16, 10)),
    (0.95, (170, 52, 12)),
    (1.00, (250, 140, 40)),
]

HOT = (255, 190, 90)
CYAN = (60, 200, 255)


def draw_sky(c):
    for y in range(HORIZON):
        base = ramp(SKY, y / HORIZON)
        for x in range(c.w):
            # Thin drifting haze bands keep the gradient from looking flat.
            haze = fbm(x / 90.0, y / 14.0, 7, 3)
            k = 0.80 + 0.35 * haze
            p = c.get(x, y)
            p[0], p[1], p[2] = base[0] * k, base[1] * k, base[2] * k
    # The sun has just set behind the arena, right of centre, under the buttons.
    for y in range(HORIZON):
        for x in range(c.w):
            dx, dy = (x - 360) / 170.0, (HORIZON - y) / 26.0
            c.add(x, y, (200, 60, 10), 0.55 * math.exp(-(dx * dx + dy * dy)))


def draw_stars(c, rng):
    for _ in range(260):
        x, y = rng.uniform(0, c.w), rng.uniform(0, HORIZON - 6)
        fade = 1.0 - smoothstep(HORIZON * 0.35, HORIZON * 0.9, y)
        b = rng.next() ** 3 * fade
        if b < 0.03:
            continue
        tint = mix((255, 235, 220), (190, 210, 255), rng.next())
        ix, iy = int(x), int(y)
        c.add(ix, iy, tint, 0.9 * b)
        if b > 0.35:  # a few bright ones twinkle with a small cross
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                c.add(ix + dx, iy + dy, tint, 0.35 * b)


PLANET = (214.0, 25.0, 19.0)  # centre x, centre y, radius
RING_TILT = math.radians(-14)


def ring_coords(x, y):
    """Position in the ring plane: u along the long axis, v across, both scaled to the ring."""
    cx, cy, _ = PLANET
    dx, dy = x - cx, y - cy
    ca, sa = math.cos(RING_TILT), math.sin(RING_TILT)
    u = dx * ca + dy * sa
    v = -dx * sa + dy * ca
    return u, v


def ring_cover(x, y):
    """Opacity of the ring at (x, y) and whether that part lies in front of the planet."""
    u, v = ring_coords(x, y)
    r = math.hypot(u / 1.0, v / 0.22)
    inner, outer = 25.0, 40.0
    if r < inner - 1 or r > outer + 1:
        return 0.0, False, 0.0
    edge = smoothstep(inner - 0.8, inner + 0.8, r) * (1.0 - smoothstep(outer - 1.0, outer + 0.6, r))
    t = (r - inner) / (outer - inner)
    bands = 0.65 + 0.35 * math.sin(t * 23.0) * math.sin(t * 7.0 + 1.0)
    gap = 1.0 - 0.8 * math.exp(-((t - 0.62) / 0.05) ** 2)
    return edge * bands * gap, v > 0, t


def draw_planet(c):
    cx, cy, rad = PLANET
    light = (-0.55, 0.35, 0.76)  # from the lower left: the glow of the set sun
    norm = math.sqrt(sum(v * v for v in light))
    light = tuple(v / norm for v in light)
    for y in range(int(cy - 50), int(cy + 50)):
        for x in range(int(cx - 50), int(cx + 50)):
            if not (0 <= x < c.w and 0 <= y < c.h):
                continue
            px, py = x + 0.5, y + 0.5
            alpha_ring, in_front, t = ring_cover(px, py)
            ring_col = mix((150, 70, 40), (255, 170, 90), 1.0 - t)
            d = math.hypot(px - cx, py - cy)
            cover = clamp(rad + 0.5 - d)
            if not in_front and alpha_ring > 0:
                c.blend(x, y, ring_col, alpha_ring * 0.75)
            if cover > 0:
                nx, ny = (px - cx) / rad, (py - cy) / rad
                nz = math.sqrt(max(0.0, 1 - nx * nx - ny * ny))
                lam = max(0.0, nx * light[0] + ny * light[1] + nz * light[2])
                u, v = ring_coords(px, py)
                band = fbm(u / 9.0, v / 2.2 + 40.0, 3, 3)
                surface = mix((48, 36, 70), (128, 96, 120), band)
                shade = 0.10 + 0.95 * lam ** 1.2
                col = (surface[0] * shade, surface[1] * shade, surface[2] * shade)
                rim = (1.0 - nz) ** 3 * max(0.0, -nx * 0.6 + ny * 0.8)
                col = (col[0] + 255 * rim * 0.9, col[1] + 120 * rim * 0.9, col[2] + 40 * rim * 0.9)
                # The ring throws a thin shadow band across the planet.
                sh, _, _ = ring_cover(px + 1.5, py - 4.0)
                col = mix(col, (col[0] * 0.35, col[1] * 0.35, col[2] * 0.4), sh * 0.8)
                c.blend(x, y, col, cover)
            if in_front and alpha_ring > 0:
                c.blend(x, y, ring_col, alpha_ring * 0.9)
    # Soft atmosphere around the disc.
    for y in range(int(cy - 30), int(cy + 30)):
        for x in range(int(cx - 30), int(cx + 30)):
            if 0 <= x < c.w and 0 <= y < c.h:
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if d > rad:
                    c.add(x, y, (160, 60, 60), 0.20 * math.exp(-((d - rad) / 3.0) ** 2))


def draw_skyline(c, rng):
    """A dark arena skyline along the horizon, with a tall tower behind the "UT User" label."""
    top = [HORIZON] * c.w
    x = 0
    while x < c.w:
        width = int(rng.uniform(6, 22))
        height = rng.uniform(4, 16) if rng.next() < 0.7 else rng.uniform(14, 24)
        for i in range(x, min(c.w, x + width)):
            top[i] = min(top[i], HORIZON - height)
        x += width
    # Landmarks: a broad keep behind the label (darkens it), a spire near the planet, a pylon far right.
    towers = [(4, 62, 38), (20, 44, 30), (62, 70, 50), (132, 140, 56), (150, 160, 44),
              (262, 268, 40), (276, 290, 58), (470, 480, 34), (492, 500, 48)]
    for x0, x1, ty in towers:
        for i in range(x0, x1):
            top[i] = min(top[i], ty)
    # Each landmark carries a narrower crown, stepped back from its walls.
    for x0, x1, ty in towers:
        inset = max(2, (x1 - x0) // 4)
        for i in range(x0 + inset, x1 - inset):
            top[i] = min(top[i], ty - 5)
    for x in range(c.w):
        for y in range(int(top[x]), HORIZON):
            depth = (y - top[x]) / max(1.0, HORIZON - top[x])
            col = mix((14, 6, 10), (30, 10, 10), depth)
            c.blend(x, y, col, 1.0)
        # Rim light on the roof edge from the red sky.
        if top[x] < HORIZON:
            c.blend(x, int(top[x]), (80, 24, 16), 0.8)
    # Antennas with warning lights.
    for ax, ay, h in ((32, 25, 12), (155, 39, 10), (265, 35, 14), (496, 43, 9)):
        for y in range(ay - h, ay):
            c.blend(ax, y, (20, 8, 10), 1.0)
        c.glow(ax, ay - h, 1.4, (255, 60, 20), 0.9)
        c.blend(ax, ay - h, (255, 200, 150), 1.0)
    # Lit windows, kept away from the label's and list's rectangles.
    for _ in range(140):
        x = int(rng.uniform(0, c.w))
        y = int(rng.uniform(top[x] + 2, HORIZON - 2)) if top[x] + 4 < HORIZON else None
        if y is None:
            continue
        if any(r[0] - 3 <= x <= r[2] + 3 and r[1] - 3 <= y <= r[3] + 3
               for r in (LABEL_RECT, LIST_RECT)):
            continue
        warm = mix((255, 150, 60), (255, 210, 140), rng.next())
        c.blend(x, y, warm, rng.uniform(0.35, 0.8))


def draw_horizon_glow(c):
    for y in range(HORIZON - 10, HORIZON + 16):
        for x in range(c.w):
            d = (y - HORIZON + 0.5) / (2.2 if y < HORIZON else 4.0)
            strength = math.exp(-d * d) * (0.55 + 0.45 * math.exp(-((x - 360) / 220.0) ** 2))
            c.add(x, y, (255, 120, 40), 0.75 * strength)


FOCAL = 260.0
EYE_H = 1.6
VX = 255.0  # vanishing point


def draw_floor(c):
    spacing = 1.2
    for y in range(HORIZON, c.h):
        yc = y + 0.5
        dy = yc - HORIZON
        z = FOCAL * EYE_H / dy
        near = 1.0 - math.exp(-dy / 90.0)  # 0 at the horizon, towards 1 close by
        fog = math.exp(-dy / 16.0)
        for x in range(c.w):
            xc = x + 0.5
            wx = (xc - VX) * z / FOCAL
            # Brushed metal plates: noise stretched across the view, darker far away.
            metal = fbm(wx * 1.4, z * 0.35, 11, 3)
            plate = 0.75 + 0.45 * metal
            base = (18 * plate, 20 * plate, 27 * plate)
            # Reflection of the red sky near the horizon, and of the sun.
            sun = math.exp(-((xc - 360) / 160.0) ** 2)
            base = mix(base, (120, 34, 14), fog * (0.55 + 0.45 * sun))
            # Grid lines along and across the arena, about one pixel wide on screen.
            u = wx / spacing
            du = z / (FOCAL * spacing)
            line_x = clamp(1.0 - abs(u - round(u)) / (du * 0.9))
            w = z / spacing
            dw = (FOCAL * EYE_H / (dy * dy)) / spacing
            line_z = clamp(1.0 - abs(w - round(w)) / max(dw * 0.9, 1e-6))
            # Where lines crowd closer than a few pixels they fade into the plate colour.
            line_x *= 1.0 - smoothstep(0.12, 0.45, du)
            line_z *= 1.0 - smoothstep(0.12, 0.45, dw)
            line = max(line_x, line_z) * (0.25 + 0.75 * near)
            p = c.get(x, y)
            p[0], p[1], p[2] = base
            if line > 0:
                col = mix((255, 90, 20), (255, 170, 70), near)
                c.add(x, y, col, 0.55 * line)


def draw_energy_ring(c):
    """A glowing energy ring hovering over the arena floor on the right, with its reflection."""
    cx, cy = 400.0, 250.0
    a, b = 72.0, 17.0
    # Column of light rising from the ring.
    for y in range(int(cy - 150), int(cy)):
        for x in range(int(cx - a), int(cx + a) + 1):
            t = (cy - y) / 150.0
            w = a * 0.8
            across = (x - cx) / w
            if abs(across) < 1.0:
                k = (1.0 - across * across) ** 2 * (1.0 - t) ** 1.5
                c.add(x, y, CYAN, 0.18 * k)
    # Shadow on the floor under it.
    for y in range(int(cy + 10), int(cy + 60)):
        for x in range(int(cx - a - 20), int(cx + a + 20)):
            e = ((x - cx) / (a + 10)) ** 2 + ((y - (cy + 34)) / 20.0) ** 2
            if e < 1:
                c.blend(x, y, (0, 0, 0), 0.45 * (1 - e))
    # Reflection on the metal, then the ring itself.
    for y0, strength in ((cy + 34.0, 0.16), (cy, 1.0)):
        for y in range(int(y0 - b - 14), int(y0 + b + 14)):
            for x in range(int(cx - a - 14), int(cx + a + 14)):
                if not (0 <= x < c.w and 0 <= y < c.h):
                    continue
                dx, dy = (x + 0.5 - cx) / a, (y + 0.5 - y0) / b
                r = math.hypot(dx, dy)
                dist = abs(r - 1.0) * min(a, b * 2.2)
                core = math.exp(-(dist / 1.2) ** 2)
                halo = math.exp(-(dist / 6.0) ** 2)
                c.add(x, y, (220, 250, 255), strength * core * 0.9)
                c.add(x, y, CYAN, strength * halo * 0.45)
    # Sparks thrown off the ring.
    rng = Rng(0xC0FFEE)
    for _ in range(40):
        ang = rng.uniform(0, 2 * math.pi)
        px = cx + math.cos(ang) * a * rng.uniform(1.0, 1.5)
        py = cy + math.sin(ang) * b * rng.uniform(1.0, 2.0) - rng.uniform(0, 40)
        c.add(int(px), int(py), (200, 240, 255), rng.uniform(0.4, 1.0))


def draw_shield(c):
    """A stylised armour shield hovering in the column of light above the ring."""
    cx, top, half, height = 400.0, 150.0, 26.0, 70.0
    for y in range(int(top) - 4, int(top + height) + 4):
        for x in range(int(cx - half) - 4, int(cx + half) + 5):
            inside, border, shade = shield_shape(x + 0.5, y + 0.5, cx, top, half, height)
            if inside <= 0:
                continue
            body = mix((40, 90, 120), (10, 30, 50), clamp((y - top) / height))
            body = mix(body, (120, 200, 230), shade * 0.35)
            col = mix(body, (200, 240, 255), border)
            # It bears the same K as the program's icon.
            if in_k(16.0 + (x + 0.5 - cx) * 14.0 / half, 1.5 + (y + 0.5 - top) * 29.5 / height):
                col = mix((255, 220, 120), (255, 120, 30), clamp((y - top) / height))
            c.blend(x, y, col, inside * 0.9)
    c.glow(cx, top + height * 0.42, 22, CYAN, 0.25)


def shield_shape(x, y, cx, top, half, height):
    """Coverage, border strength and a bevel shade of a heater shield at (x, y)."""
    t = (y - top) / height
    if t < 0 or t > 1:
        return 0.0, 0.0, 0.0
    straight = 0.42
    if t <= straight:
        w = half
    else:
        s = (t - straight) / (1 - straight)
        w = half * math.cos(s * math.pi / 2) ** 0.75
    d_side = w - abs(x - cx)
    d_top = (y - top) * 1.0
    d = min(d_side, d_top, (1 - t) * height)
    inside = clamp(d + 0.5)
    border = clamp(2.6 - d) if d > -0.5 else 0.0
    shade = clamp(0.5 - (x - cx) / (2 * half)) * (1 - t)
    return inside, border, shade


def draw_sparks(c, rng):
    """Embers drifting over the arena: short warm streaks."""
    for _ in range(34):
        x, y = rng.uniform(0, c.w), rng.uniform(HORIZON - 40, c.h)
        if LABEL_RECT[1] - 6 <= y <= LIST_RECT[3] + 4 and x <= LIST_RECT[2] + 6:
            continue
        length = rng.uniform(2, 6)
        ang = rng.uniform(-2.2, -1.2)
        b = rng.uniform(0.4, 1.0)
        steps = int(length * 2) + 1
        for i in range(steps):
            f = i / steps
            c.add(int(x + math.cos(ang) * length * f), int(y + math.sin(ang) * length * f),
                  HOT, b * (1 - f) * 0.8)


def vignette(c):
    for y in range(c.h):
        for x in range(c.w):
            dx, dy = (x - c.w / 2) / (c.w * 0.75), (y - c.h * 0.4) / (c.h * 0.9)
            k = 1.0 - 0.45 * clamp(dx * dx + dy * dy)
            p = c.get(x, y)
            p[0] *= k
            p[1] *= k
            p[2] *= k


def darken_behind_label(c):
    """A soft dark patch where white text is drawn straight onto the picture."""
    x0, y0, x1, y1 = LABEL_RECT
    for y in range(y0 - 8, y1 + 9):
        for x in range(0, x1 + 12):
            dx = max(x0 - x, 0, x - x1) / 8.0
            dy = max(y0 - y, 0, y - y1) / 6.0
            c.blend(x, y, (6, 3, 6), 0.6 * math.exp(-(dx * dx + dy * dy) * 2.0))


def draw_background():
    c = Canvas(BG_W, BG_H)
    rng = Rng(1999)
    draw_sky(c)
    draw_stars(c, rng)
    draw_planet(c)
    draw_skyline(c, rng)
    draw_floor(c)
    draw_horizon_glow(c)
    draw_energy_ring(c)
    draw_shield(c)
    draw_sparks(c, rng)
    vignette(c)
    darken_behind_label(c)
    return c.image()


# ----------------------------------------------------------------------------------------------
# The icon: a bold orange "K" on a dark heater shield

def icon_shield(x, y):
    """Signed distance (pixels, positive inside) to the icon's shield outline."""
    cx, top, bottom, half = 16.0, 1.5, 31.0, 14.0
    t = (y - top) / (bottom - top)
    if t < 0:
        return -(top - y)
    if t > 1:
        return -(y - bottom)
    straight = 0.40
    if t <= straight:
        w = half
    else:
        s = (t - straight) / (1 - straight)
        w = half * math.cos(s * math.pi / 2) ** 0.7
    # Rounded top corners.
    if y < top + 3 and abs(x - cx) > half - 3:
        ccx = cx + math.copysign(half - 3, x - cx)
        return 3 - math.hypot(x - ccx, y - (top + 3))
    return min(w - abs(x - cx), y - top, (bottom - y) * 0.8 + 0.0)


def inside_polygon(x, y, poly):
    inside = False
    n = len(poly)
    for i in range(n):
        x0, y0 = poly[i]
        x1, y1 = poly[(i + 1) % n]
        if (y0 > y) != (y1 > y):
            xi = x0 + (y - y0) * (x1 - x0) / (y1 - y0)
            if x < xi:
                inside = not inside
    return inside


# The letter K, bold: stem, upper arm and lower leg (icon pixel coordinates).
K_SHAPES = [
    [(8.5, 6.0), (13.5, 6.0), (13.5, 23.5), (8.5, 23.5)],
    [(12.5, 14.2), (19.5, 6.0), (25.5, 6.0), (15.5, 17.5), (12.5, 17.5)],
    [(14.0, 13.5), (17.6, 12.0), (24.5, 23.5), (18.8, 23.5)],
]


def in_k(x, y):
    return any(inside_polygon(x, y, s) for s in K_SHAPES)


def icon_sample(x, y):
    """Colour and coverage of one sub-pixel sample of the icon."""
    d = icon_shield(x, y)
    if d <= 0:
        return None
    t = y / 32.0
    if d < 2.4:  # bevelled gold-orange border, lit from the top left
        light = clamp(0.75 - (x - 16) / 40.0 - (y - 16) / 40.0)
        col = mix((150, 50, 8), (255, 200, 90), light)
        if d < 0.9:
            col = mix(col, (60, 16, 4), 0.5)
        return col
    body = mix((70, 14, 10), (16, 4, 8), t)
    glow = math.exp(-((x - 16) ** 2 + (y - 14) ** 2) / 90.0)
    body = mix(body, (120, 30, 12), glow * 0.5)
    if in_k(x, y):
        return mix((255, 225, 120), (255, 110, 20), clamp((y - 6) / 17.5))
    if in_k(x - 1.0, y - 1.0):  # drop shadow down-right of the letter
        return mix(body, (0, 0, 0), 0.75)
    return body


def draw_icon(ss=6):
    """RGBA of the icon, each pixel averaged from ss x ss samples."""
    out = []
    for py in range(ICON):
        for px in range(ICON):
            hits = [col for sy in range(ss) for sx in range(ss)
                    if (col := icon_sample(px + (sx + 0.5) / ss, py + (sy + 0.5) / ss))]
            n = max(len(hits), 1)
            out.append(tuple(sum(col[k] for col in hits) / n for k in range(3)) +
                       (len(hits) / (ss * ss),))
    return out



# ----------------------------------------------------------------------------------------------
# Checks on what is about to be written

def contrast_with_white(col):
    """The WCAG contrast ratio of white text over the colour."""
    lin = [c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
           for c in (v / 255 for v in col)]
    return 1.05 / (0.2126 * lin[0] + 0.7152 * lin[1] + 0.0722 * lin[2] + 0.05)


def check_readable(image, rect, name, worst_min, mean_min):
    x0, y0, x1, y1 = rect
    rgb = image.convert("RGB")
    ratios = [contrast_with_white(rgb.getpixel((x, y)))
              for y in range(y0, y1) for x in range(x0, x1)]
    worst, mean = min(ratios), sum(ratios) / len(ratios)
    print(f"  {name}: contrast with white text worst {worst:.1f}:1, mean {mean:.1f}:1")
    if worst < worst_min or mean < mean_min:
        sys.exit(f"make_images: white text would be hard to read over the {name} area")


# ----------------------------------------------------------------------------------------------
# Quantising and writing, both Pillow's

def background_image(image):
    """256 colours, dithered: by libimagequant where Pillow has it (Debian's has), the best of its
    quantisers here; otherwise by median cut settled by k-means, then Floyd-Steinberg."""
    if features.check("libimagequant"):
        return image.quantize(256, method=Image.Quantize.LIBIMAGEQUANT)
    palette = image.quantize(256, method=Image.Quantize.MEDIANCUT, kmeans=4)
    return image.quantize(palette=palette, dither=Image.Dither.FLOYDSTEINBERG)


def icon_images(rgba):
    """The icon in 256 colours with index 0 transparent, and in 32 bits."""
    full = Image.new("RGBA", (ICON, ICON))
    full.putdata([(round(r), round(g), round(b), round(a * 255)) for r, g, b, a in rgba])
    opaque = full.getchannel("A").point(lambda a: 255 if a >= 128 else 0)
    # Transparent pixels take the centre's colour, so that they spend no palette entry.
    solid = Image.new("RGB", full.size, full.getpixel((ICON // 2, ICON // 2))[:3])
    solid.paste(full, mask=opaque)
    quantised = solid.quantize(255, method=Image.Quantize.MEDIANCUT)
    indices = bytes(i + 1 if o else 0 for i, o in zip(quantised.getdata(), opaque.getdata()))
    paletted = Image.frombytes("P", full.size, indices)
    colours = quantised.getpalette()[:255 * 3]
    paletted.putpalette([0, 0, 0] + colours + [0] * (255 * 3 - len(colours)))
    return paletted, full


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else RESOURCES
    print("drawing background.bmp ...")
    background = background_image(draw_background())
    check_readable(background, LABEL_RECT, "label", 4.5, 10.0)
    check_readable(background, LIST_RECT, "player list", 4.5, 7.0)
    background.save(os.path.join(out, "background.bmp"))

    print("drawing icon.png and korvale.ico ...")
    paletted, full = icon_images(draw_icon())
    paletted.save(os.path.join(out, "icon.png"), transparency=0, optimize=True)
    paletted.save(os.path.join(out, "korvale.ico"), sizes=[(ICON, ICON)], bitmap_format="bmp",
                  append_images=[full])
    print("done")


if __name__ == "__main__":
    main()
