#!/usr/bin/python3
"""Draws the installer's artwork into app/resources/.

Writes the window pictures (BACKGROUND, MAIN, LOGO, TITLE_PNL_L/R/M, TITLE),
the message-window button glyphs, the program icon and the INFO contact sheet.
Standard library only (zlib, struct); every shape is drawn from signed
distances, so edges are antialiased analytically and the output is the same on
every run.  Run it from anywhere: /usr/bin/python3 tools/make_artwork.py
"""

import math
import os
import struct
import zlib

RESOURCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app", "resources")

# Colours shared by several pictures.
PAGE = (236, 236, 235)           # interior of the panels, the page colour
STRIP_TOP = (31, 104, 132)       # title strip gradient
STRIP_BOTTOM = (12, 56, 80)
BACKDROP = (36, 52, 66)          # background tile, also behind rounded corners
FRAME_TOP = (211, 220, 227)      # panel frame gradient
FRAME_BOTTOM = (189, 201, 211)
CARD_EDGE = (150, 166, 179)
SHADOW = (10, 36, 54)
TEAL_INK = (16, 82, 108)
RED_INK = (176, 30, 46)
HEART_LIGHT = (232, 74, 86)
HEART_DARK = (150, 18, 36)
WHITE = (255, 255, 255)

STRIP_HEIGHT = 100
LOGO_POS = (17, 15)  # where the window draws the logo on the title strip


# ----------------------------------------------------------------- helpers

def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def mix(c1, c2, t):
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


def smoothstep(e0, e1, v):
    t = clamp01((v - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


def coverage(distance):
    """Share of a pixel covered by a shape at this signed distance (px)."""
    return clamp01(0.5 - distance)


def rounded_rect_sd(px, py, left, top, right, bottom, radius):
    """Signed distance to a rounded rectangle given by its outer edges."""
    cx, cy = (left + right) / 2, (top + bottom) / 2
    qx = abs(px - cx) - ((right - left) / 2 - radius)
    qy = abs(py - cy) - ((bottom - top) / 2 - radius)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else clamp01(((px - ax) * dx + (py - ay) * dy) / length2)
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def polyline_distance(px, py, segments):
    return min(segment_distance(px, py, *s) for s in segments)


def to_segments(polylines):
    segs = []
    for line in polylines:
        segs.extend((a[0], a[1], b[0], b[1]) for a, b in zip(line, line[1:]))
    return segs


def hash01(x, y, seed):
    """Deterministic pseudo-random value in [0, 1) for a grid point."""
    h = (x * 374761393 + y * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65536.0


class Canvas:
    """Straight-alpha RGBA picture with float channels (0..255, alpha 0..1)."""

    def __init__(self, width, height, color=(0, 0, 0), alpha=0.0):
        self.width, self.height = width, height
        self.rgb = [list(color) for _ in range(width * height)]
        self.alpha = [alpha] * (width * height)

    def set(self, x, y, color, alpha=1.0):
        i = y * self.width + x
        self.rgb[i] = list(color)
        self.alpha[i] = alpha

    def blend(self, x, y, color, alpha):
        """Source-over of `color` with opacity `alpha` onto pixel (x, y)."""
        if alpha <= 0.0:
            return
        i = y * self.width + x
        below = self.alpha[i] * (1.0 - alpha)
        out = alpha + below
        self.rgb[i] = [(c * alpha + d * below) / out for c, d in zip(color, self.rgb[i])]
        self.alpha[i] = out

    def paint(self, shade, box=None):
        """Calls shade(x + .5, y + .5) -> (color, alpha) for each pixel of box."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                color, alpha = shade(x + 0.5, y + 0.5)
                self.blend(x, y, color, alpha)

    def rows_rgba(self):
        for y in range(self.height):
            row = bytearray()
            for x in range(self.width):
                i = y * self.width + x
                row.extend(int(round(min(255.0, max(0.0, c)))) for c in self.rgb[i])
                row.append(int(round(clamp01(self.alpha[i]) * 255)))
            yield row


# ------------------------------------------------------------- file output

def png_chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def png_bytes(canvas, with_alpha=True):
    """Encodes as 8-bit RGBA (colour type 6) or RGB (2), Up filter."""
    raw = bytearray()
    prior = None
    for rgba in canvas.rows_rgba():
        row = rgba if with_alpha else bytes(b for i, b in enumerate(rgba) if i % 4 != 3)
        if not with_alpha and any(rgba[i] != 255 for i in range(3, len(rgba), 4)):
            raise ValueError("an RGB picture must be opaque")
        if prior is None:
            raw.append(0)
            raw.extend(row)
        else:
            raw.append(2)
            raw.extend((a - b) & 0xFF for a, b in zip(row, prior))
        prior = row
    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6 if with_alpha else 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + png_chunk(b"IEND", b""))


def ico_bytes(canvases):
    """An icon file with one 32-bit BMP image per canvas (with AND mask)."""
    images = []
    for c in canvases:
        rows = list(c.rows_rgba())
        xor = bytearray()
        mask_stride = (c.width + 31) // 32 * 4
        mask = bytearray()
        for row in reversed(rows):  # BMP rows are stored bottom-up
            bits = bytearray(mask_stride)
            for x in range(c.width):
                r, g, b, a = row[4 * x:4 * x + 4]
                xor.extend((b, g, r, a))
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask.extend(bits)
        info = struct.pack("<IiiHHIIiiII", 40, c.width, c.height * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        images.append(info + bytes(xor) + bytes(mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.width % 256, c.height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


# ------------------------------------------------------------------ pieces

def strip_color(y):
    """Colour of the title strip at row y (the same in every column)."""
    t = y / (STRIP_HEIGHT - 1)
    color = mix(STRIP_TOP, STRIP_BOTTOM, smoothstep(0.0, 1.0, t))
    gloss = 0.10 * (1.0 - smoothstep(0.0, 0.5, t))  # soft sheen on the upper half
    color = mix(color, WHITE, gloss)
    if y == 0:
        color = mix(color, (150, 205, 222), 0.55)
    elif y == 1:
        color = mix(color, (150, 205, 222), 0.18)
    return color


def ecg_trace(x0, x1, baseline, height):
    """A polyline of one heartbeat (P, QRS, T) between x0 and x1."""
    w = x1 - x0
    shape = [(0.00, 0.0), (0.22, 0.0), (0.27, -0.12), (0.32, 0.0), (0.38, 0.0), (0.41, 0.14),
             (0.47, -1.0), (0.53, 0.55), (0.57, 0.0), (0.66, 0.0), (0.72, -0.22), (0.79, 0.0), (1.00, 0.0)]
    return [(x0 + fx * w, baseline + fy * height) for fx, fy in shape]


def heart_inside(u, v):
    """The classic heart curve; u to the right, v upwards."""
    a = u * u + v * v - 1.0
    return a * a * a - u * u * v * v * v <= 0.0


def draw_heart(canvas, cx, cy, size, shade, samples=4):
    """A heart `size` pixels wide centred at (cx, cy); shade(x, y) -> colour."""
    scale = size / 2.28  # the curve spans u -1.14..1.14 and v -1..1.25
    half = size / 2 + 1
    for y in range(max(0, int(cy - half)), min(canvas.height, int(cy + half) + 1)):
        for x in range(max(0, int(cx - half)), min(canvas.width, int(cx + half) + 1)):
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    u = (x + (sx + 0.5) / samples - cx) / scale
                    v = (cy - y - (sy + 0.5) / samples) / scale + 0.125
                    hits += heart_inside(u, v)
            if hits:
                canvas.blend(x, y, shade(x + 0.5, y + 0.5), hits / samples ** 2)


def glossy_red(cx, cy, size):
    """Shading of the heart: light to dark red with a highlight on the left lobe."""
    def shade(px, py):
        t = clamp01(((px - cx) + (py - cy)) / (1.4 * size) + 0.5)
        color = mix(HEART_LIGHT, HEART_DARK, t)
        gx, gy = (px - (cx - size * 0.24)) / size, (py - (cy - size * 0.22)) / size
        return mix(color, WHITE, 0.45 * clamp01(1.0 - math.hypot(gx, gy * 1.4) / 0.17))
    return shade


def draw_stroke(canvas, polylines, width, color, alpha=1.0):
    segs = to_segments(polylines)
    xs = [p for s in segs for p in (s[0], s[2])]
    ys = [p for s in segs for p in (s[1], s[3])]
    pad = width / 2 + 2
    box = (int(min(xs) - pad), int(min(ys) - pad), int(max(xs) + pad) + 1, int(max(ys) + pad) + 1)
    canvas.paint(lambda px, py: (color, alpha * coverage(polyline_distance(px, py, segs) - width / 2)), box)


def draw_cardio_mark(canvas, cx, cy, size, trace_from, trace_to, line):
    """The product mark: a red heart with a light rim and a white ECG trace."""
    draw_heart(canvas, cx, cy, size + 2.2 * line, lambda px, py: (246, 250, 251))
    draw_heart(canvas, cx, cy, size, glossy_red(cx, cy, size))
    trace = ecg_trace(trace_from, trace_to, cy + size * 0.04, size * 0.40)
    draw_stroke(canvas, [trace], line * 2.4, SHADOW, 0.30)
    draw_stroke(canvas, [trace], line, WHITE)


# -------------------------------------------------------------- lettering

def arc(cx, cy, rx, ry, start, end, steps=24):
    """Points of an elliptic arc; angles in degrees, 90 pointing down."""
    return [(cx + rx * math.cos(math.radians(start + (end - start) * i / steps)),
             cy + ry * math.sin(math.radians(start + (end - start) * i / steps))) for i in range(steps + 1)]


def _glyphs():
    """Stroke skeletons of the banner's capitals: (advance, polylines).

    Units: cap height 1, y down from the cap line; strokes are drawn centred
    on these lines with round ends."""
    o = (0.90, [arc(0.45, 0.5, 0.45, 0.5, 0, 360, 72)])
    e = (0.52, [[(0.52, 0), (0, 0), (0, 1), (0.52, 1)], [(0, 0.5), (0.45, 0.5)]])
    p = (0.58, [[(0, 1), (0, 0), (0.28, 0)] + arc(0.28, 0.27, 0.28, 0.27, -90, 90, 24) + [(0, 0.54)]])
    r = (0.62, p[1] + [[(0.28, 0.54), (0.62, 1)]])
    return {
        "V": (0.72, [[(0, 0), (0.36, 1), (0.72, 0)]]),
        "E": e, "Е": e,
        "L": (0.50, [[(0, 0), (0, 1), (0.50, 1)]]),
        "M": (0.86, [[(0, 1), (0, 0), (0.43, 0.74), (0.86, 0), (0.86, 1)]]),
        "O": o, "О": o,
        "R": r,
        "A": (0.76, [[(0, 1), (0.38, 0), (0.76, 1)], [(0.13, 0.66), (0.63, 0.66)]]),
        "-": (0.34, [[(0, 0.56), (0.34, 0.56)]]),
        "Х": (0.70, [[(0, 0), (0.70, 1)], [(0.70, 0), (0, 1)]]),
        "Л": (0.68, [[(0.68, 1), (0.68, 0), (0.17, 0), (0.16, 0.55)] +
                     [(0.16 - 0.20 * (1 - math.cos(math.radians(a))), 0.55 + 0.45 * math.sin(math.radians(a)))
                      for a in range(0, 91, 6)]]),
        "Т": (0.66, [[(0, 0), (0.66, 0)], [(0.33, 0), (0.33, 1)]]),
        "Р": p,
    }


GLYPHS = _glyphs()
# Pairs whose shapes leave too much or too little air between them.
KERNING = {("R", "A"): -0.10, ("V", "E"): -0.04, ("A", "-"): 0.03, ("-", "Х"): 0.03}


def layout_text(text, tracking):
    """Pen positions (in cap units) of each character and the total width."""
    x, placed = 0.0, []
    for i, ch in enumerate(text):
        if i:
            x += tracking + KERNING.get((text[i - 1], ch), 0.0)
        placed.append((x, ch))
        x += GLYPHS[ch][0]
    return placed, x


def draw_text(canvas, text, left, cap_top, cap, weight, colors, tracking):
    """Draws `text` with the stroke font; colors[i] is the ink of text[i]."""
    placed, _ = layout_text(text, tracking)
    half = weight / 2
    runs = {}
    for (pen, ch), color in zip(placed, colors):
        advance, lines = GLYPHS[ch]
        segs = to_segments([[(left + (pen + gx) * cap, cap_top + gy * cap) for gx, gy in line] for line in lines])
        runs.setdefault(color, []).append((left + pen * cap - half - 1, left + (pen + advance) * cap + half + 1, segs))
    y0, y1 = int(cap_top - cap * 0.1 - half - 1), int(cap_top + cap * 1.1 + half + 2)
    for color, glyphs in runs.items():
        x0, x1 = int(min(g[0] for g in glyphs)), int(max(g[1] for g in glyphs)) + 1

        def shade(px, py, glyphs=glyphs, color=color):
            d = min((polyline_distance(px, py, segs) for gx0, gx1, segs in glyphs if gx0 <= px <= gx1), default=99.0)
            return color, coverage(d - half)
        canvas.paint(shade, (x0, y0, x1, y1))


# ---------------------------------------------------------------- pictures

def background_tile():
    """128 x 128 slate tile: fine diagonal ribs and grain, seamless."""
    size = 128
    tile = Canvas(size, size, BACKDROP, 1.0)
    for y in range(size):
        for x in range(size):
            rib = 0.5 + 0.5 * math.cos(2 * math.pi * (x + y) / 8)  # period 8 divides 128
            swell = math.cos(2 * math.pi * x / size) * math.cos(2 * math.pi * 2 * y / size)
            grain = hash01(x, y, 7) - 0.5
            lift = 5.0 * rib * rib + 2.0 * swell + 4.0 * grain
            tile.set(x, y, tuple(c + lift * k for c, k in zip(BACKDROP, (0.8, 1.0, 1.15))))
    return tile


CAP_WIDTH = 22
CAP_RADIUS = 9


def strip_cap(right):
    """An end of the title strip: rounded outer corners and a light rim."""
    cap = Canvas(CAP_WIDTH, STRIP_HEIGHT, BACKDROP, 1.0)
    for y in range(STRIP_HEIGHT):
        for x in range(CAP_WIDTH):
            ox = CAP_WIDTH - 1 - x if right else x  # distance from the outer edge, in pixels
            px, py = ox + 0.5, y + 0.5
            sd = rounded_rect_sd(px, py, 0, 0, 2 * CAP_WIDTH + 40, STRIP_HEIGHT, CAP_RADIUS)
            color = strip_color(y)
            # A one-pixel light line just inside the outer edge and its
            # corners, gone before the inner columns, which must equal the
            # middle column.
            rim = coverage(abs(sd + 1.0) - 0.5) * (1.0 - smoothstep(CAP_RADIUS - 2, CAP_RADIUS + 2, ox))
            color = mix(color, (120, 186, 208), 0.45 * rim * (1.0 - smoothstep(20, 90, y)))
            cap.set(x, y, BACKDROP)
            cap.blend(x, y, color, coverage(sd))
    return cap


def strip_middle():
    """The one-pixel column repeated between the two ends."""
    column = Canvas(1, STRIP_HEIGHT, BACKDROP, 1.0)
    for y in range(STRIP_HEIGHT):
        column.set(0, y, strip_color(y))
    return column


def logo():
    """72 x 70, opaque: the mark on exactly the strip's colours behind it."""
    w, h = 72, 70
    pic = Canvas(w, h)
    for y in range(h):
        for x in range(w):
            pic.set(x, y, strip_color(LOGO_POS[1] + y))
    draw_cardio_mark(pic, 36, 36, 50, 3, 69, 2.6)
    return pic


def title_banner():
    """500 x 66, opaque: a light name plate carrying the product name."""
    w, h = 500, 66
    pic = Canvas(w, h, PAGE, 1.0)
    inset, radius = 2.0, 11.0

    def plate(px, py):
        sd = rounded_rect_sd(px, py, inset, inset, w - inset, h - inset, radius)
        color = mix((248, 249, 249), PAGE, smoothstep(inset, h - inset, py))
        color = mix(color, (146, 176, 190), coverage(abs(sd + 0.6) - 0.6))  # thin edge line
        return color, coverage(sd)
    pic.paint(plate)

    text = "VELMORA-ХОЛТЕР"
    cap, weight = 28.0, 4.4
    tracking = 0.20
    _, width = layout_text(text, tracking)
    left = (w - width * cap) / 2
    top = (h - cap) / 2
    inks = [TEAL_INK] * 7 + [RED_INK] * 7
    draw_text(pic, text, left, top, cap, weight, inks, tracking)
    # A quiet heartbeat on either side of the name.
    for x0, x1 in ((18, left - 18), (left + width * cap + 18, w - 18)):
        draw_stroke(pic, [ecg_trace(x0, x1, h / 2 + 1, 14)], 1.6, (120, 168, 186))
    return pic


# Panel rectangles in MAIN's own coordinates: the areas the side panel and
# the page control cover (the window draws MAIN at (-3, 95)).
SIDE_PANEL = (19, 15, 301, 456)   # left, top, right, bottom (exclusive)
PAGE_PANEL = (323, 15, 942, 456)
CARD_MARGIN, CARD_RADIUS = 3, 6


def panel_frame():
    """958 x 472, opaque: the frame with the two panels, whose interiors are
    exactly the page colour so the controls on them blend in."""
    w, h = 958, 472
    pic = Canvas(w, h)
    cards = [(l - CARD_MARGIN, t - CARD_MARGIN, r + CARD_MARGIN, b + CARD_MARGIN)
             for l, t, r, b in (SIDE_PANEL, PAGE_PANEL)]
    for y in range(h):
        py = y + 0.5
        base = mix(FRAME_TOP, FRAME_BOTTOM, y / (h - 1))
        if y < 3:  # the strip's lower edge, then a teal accent line
            base = ((8, 38, 56), (64, 152, 178), (118, 186, 204))[y]
        else:
            base = mix(base, SHADOW, 0.22 * (1.0 - smoothstep(3, 12, y)))  # the strip's shadow
        if y == h - 3:  # a bevelled bottom edge above the background
            base = mix(base, WHITE, 0.35)
        elif y == h - 2:
            base = (140, 156, 170)
        elif y == h - 1:
            base = (58, 76, 92)
        for x in range(w):
            if any(l <= x < r and t <= y < b for l, t, r, b in (SIDE_PANEL, PAGE_PANEL)):
                pic.set(x, y, PAGE)
                continue
            pic.set(x, y, base)
            px = x + 0.5
            for l, t, r, b in cards:
                if l - 10 <= px <= r + 10 and t - 10 <= py <= b + 12:
                    shadow = rounded_rect_sd(px, py - 2.0, l, t, r, b, CARD_RADIUS)
                    pic.blend(x, y, SHADOW, 0.30 * (1.0 - smoothstep(-2.0, 7.0, shadow)))
                    sd = rounded_rect_sd(px, py, l, t, r, b, CARD_RADIUS)
                    pic.blend(x, y, CARD_EDGE, coverage(sd))
                    pic.blend(x, y, PAGE, coverage(sd + 1.0))
    return pic


def glyph_ok():
    """16 x 16 button glyph: a green check on transparency."""
    pic = Canvas(16, 16, (0, 0, 0), 0.0)
    draw_stroke(pic, [[(3.6, 8.6), (6.6, 11.6), (12.6, 4.4)]], 2.5, (34, 146, 62))
    return pic


def glyph_cancel():
    """16 x 16 button glyph: a red cross on transparency."""
    pic = Canvas(16, 16, (0, 0, 0), 0.0)
    draw_stroke(pic, [[(4.5, 4.5), (11.5, 11.5)], [(11.5, 4.5), (4.5, 11.5)]], 2.5, (204, 44, 44))
    return pic


def icon(size):
    """The program icon: the mark on a rounded teal square."""
    pic = Canvas(size, size, (0, 0, 0), 0.0)
    s = size / 32.0
    pic.paint(lambda px, py: (mix(STRIP_TOP, STRIP_BOTTOM, py / size),
                              coverage(rounded_rect_sd(px, py, 0.5, 0.5, size - 0.5, size - 0.5, 6 * s))))
    draw_cardio_mark(pic, size / 2, size / 2 + 0.5 * s, 19 * s, 3 * s, size - 3 * s, max(1.0, 1.6 * s))
    return pic


# ------------------------------------------------------------ contact sheet

INFO_LINES = [
    # (style, text); styles: title, lead, head, text, gap
    ("title", "Velmora-Холтер"),
    ("lead", "Система суточного мониторирования ЭКГ"),
    ("gap", ""),
    ("head", "Официальный дистрибьютор"),
    ("text", "ООО «Медсервис-Регион»"),
    ("text", "123456, г. Москва,"),
    ("text", "ул. Примерная, д. 10, офис 5"),
    ("text", "Телефон: +7 (800) 000-00-00"),
    ("text", "Факс: +7 (800) 000-00-01"),
    ("text", "E-mail: info@medservis-region.example.ru"),
    ("text", "Сайт: www.medservis-region.example.ru"),
    ("text", "Режим работы: пн–пт, 9:00–18:00 (МСК)"),
    ("gap", ""),
    ("head", "Техническая поддержка"),
    ("text", "Вопросы по установке и работе комплекса:"),
    ("text", "Телефон: +7 (800) 000-00-02"),
    ("text", "E-mail: support@medservis-region.example.ru"),
    ("gap", ""),
    ("note", "При обращении сообщите серийный номер регистратора и версию программы."),
]

RTF_STYLES = {
    "title": r"\sa60\cf1\b\fs30 ",
    "lead": r"\sa0\cf3\b0\fs17 ",
    "head": r"\sa80\cf2\b\fs18 ",
    "text": r"\sa50\cf3\b0\fs17 ",
    "note": r"\sa0\cf3\b0\i\fs16 ",
    "gap": r"\sa0\b0\fs20 ",
}


def rtf_escape(text):
    """Text as RTF in code page 1251: non-ASCII as \\'xx escapes."""
    out = []
    for ch in text:
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ord(ch) < 128:
            out.append(ch)
        else:
            out.append("\\'%02x" % ch.encode("cp1251")[0])
    return "".join(out)


def info_rtf():
    head = (r"{\rtf1\ansi\ansicpg1251\deff0\deflang1049"
            r"{\fonttbl{\f0\fswiss\fcharset204 Tahoma{\*\falt MS Sans Serif};}}"
            "{\\colortbl;\\red%d\\green%d\\blue%d;\\red%d\\green%d\\blue%d;\\red40\\green46\\blue52;}"
            % (TEAL_INK + RED_INK))
    body = "".join(r"\pard\plain\f0" + RTF_STYLES[style] + rtf_escape(text) + "\\par\n"
                   for style, text in INFO_LINES)
    return (head + "\n" + body + "}\n").encode("ascii")


# --------------------------------------------------------------------- main

def main():
    os.makedirs(RESOURCES, exist_ok=True)

    def write(name, data):
        with open(os.path.join(RESOURCES, name), "wb") as f:
            f.write(data)

    write("BACKGROUND.png", png_bytes(background_tile(), with_alpha=False))
    write("TITLE_PNL_L.png", png_bytes(strip_cap(right=False)))
    write("TITLE_PNL_R.png", png_bytes(strip_cap(right=True)))
    write("TITLE_PNL_M.png", png_bytes(strip_middle()))
    write("LOGO.png", png_bytes(logo()))
    write("TITLE.png", png_bytes(title_banner()))
    write("MAIN.png", png_bytes(panel_frame()))
    write("GLYPH_OK.png", png_bytes(glyph_ok()))
    write("GLYPH_CANCEL.png", png_bytes(glyph_cancel()))
    write("app.ico", ico_bytes([icon(16), icon(32), icon(48)]))
    write("INFO.rtf", info_rtf())


if __name__ == "__main__":
    main()
