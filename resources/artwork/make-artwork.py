#!/usr/bin/python3
"""Draws the program's artwork: the banner, the window icon and the four tree node images.

Run from anywhere:  /usr/bin/python3 resources/artwork/make-artwork.py
Needs Debian's python3-pil and fonts-wqy-microhei (generator only; the build uses the committed
outputs). The output is deterministic: no randomness, no time stamps.
"""

import math
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
FONT_CANDIDATES = [
    ("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc", 0),
    ("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", 0),
    ("/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc", 2),
]


def hexrgb(s, a=255):
    s = s.lstrip("#")
    return (int(s[0:2], 16), int(s[2:4], 16), int(s[4:6], 16), a)


def lerp(c1, c2, t):
    return tuple(int(round(a + (b - a) * t)) for a, b in zip(c1, c2))


def vgradient(size, top, bottom):
    w, h = size
    img = Image.new("RGBA", size)
    d = ImageDraw.Draw(img)
    for y in range(h):
        d.line([(0, y), (w, y)], fill=lerp(top, bottom, y / max(1, h - 1)))
    return img


def paste_masked(base, fill, mask):
    """Lays fill (an image or a colour) over base through mask."""
    if not isinstance(fill, Image.Image):
        fill = Image.new("RGBA", base.size, fill)
    layer = fill.copy()
    a = ImageChops.multiply(layer.getchannel("A"), mask)
    layer.putalpha(a)
    base.alpha_composite(layer)


class Pen:
    """Draws in design units on a canvas scaled by s. With blend, a translucent fill is laid over
    what lies below (through a layer, so the picture's alpha stays right); without it, on layers
    and masks, the fill replaces the pixels."""

    def __init__(self, img, s, blend=True):
        self.img, self.s = img, s
        self.blend = blend and img.mode == "RGBA"
        self.d = ImageDraw.Draw(img)

    def _draw(self, fill, fn):
        if self.blend and isinstance(fill, tuple) and len(fill) == 4 and fill[3] < 255:
            layer = Image.new("RGBA", self.img.size, (0, 0, 0, 0))
            fn(ImageDraw.Draw(layer))
            self.img.alpha_composite(layer)
        else:
            fn(self.d)

    def _b(self, cx, cy, rx, ry, grow=0.0):
        s = self.s
        return [(cx - rx - grow) * s, (cy - ry - grow) * s, (cx + rx + grow) * s, (cy + ry + grow) * s]

    def ellipse(self, cx, cy, rx, ry, fill, grow=0.0):
        if fill is None:
            return
        self._draw(fill, lambda d: d.ellipse(self._b(cx, cy, rx, ry, grow), fill=fill))

    def rrect(self, x0, y0, x1, y1, r, fill, grow=0.0, outline=None, width=0):
        s = self.s
        box = [(x0 - grow) * s, (y0 - grow) * s, (x1 + grow) * s, (y1 + grow) * s]
        self._draw(fill, lambda d: d.rounded_rectangle(box, radius=(r + grow) * s, fill=fill, outline=outline,
                                                       width=int(round(width * s))))

    def poly(self, pts, fill, outline=None, width=0):
        s = self.s
        self._draw(fill, lambda d: d.polygon([(x * s, y * s) for x, y in pts], fill=fill))
        if outline:
            self._draw(outline, lambda d: d.line([(x * s, y * s) for x, y in pts + pts[:1]], fill=outline,
                                                 width=int(round(width * s)), joint="curve"))

    def line(self, pts, fill, width):
        s = self.s

        def fn(d):
            d.line([(x * s, y * s) for x, y in pts], fill=fill, width=max(1, int(round(width * s))), joint="curve")
            r = width / 2  # round caps
            for x, y in (pts[0], pts[-1]):
                d.ellipse(self._b(x, y, r, r), fill=fill)

        self._draw(fill, fn)

    def arc(self, cx, cy, rx, ry, a0, a1, fill, width):
        self._draw(fill, lambda d: d.arc(self._b(cx, cy, rx, ry), a0, a1, fill=fill,
                                         width=max(1, int(round(width * self.s)))))


# ---------------------------------------------------------------------------------------------
# The teddy bear, shared by the banner mascot and the window icon.

FUR = hexrgb("#C0823F")
FUR_DARK = hexrgb("#9A6128")
FUR_LIGHT = hexrgb("#EDCB9C")
INK = hexrgb("#4A2A10")
NOSE = hexrgb("#3A2214")
CHEEK = hexrgb("#F08C7C", 150)


def bear_head(p, cx, cy, r, line, simple=False, eye=0.115, shine=True):
    """Head with ears, centred at (cx, cy) with radius r; line is the outline width."""
    ear_dx, ear_dy, ear_r = r * 0.80, r * 0.78, r * 0.40
    # outlines first, then fills: the fills cover the inner outlines, leaving one silhouette
    for sx in (-1, 1):
        p.ellipse(cx + sx * ear_dx, cy - ear_dy, ear_r, ear_r, INK, grow=line)
    p.ellipse(cx, cy, r * 1.04, r, INK, grow=line)
    for sx in (-1, 1):
        p.ellipse(cx + sx * ear_dx, cy - ear_dy, ear_r, ear_r, FUR)
        p.ellipse(cx + sx * ear_dx * 1.02, cy - ear_dy * 0.98, ear_r * 0.55, ear_r * 0.55, FUR_LIGHT)
    p.ellipse(cx, cy, r * 1.04, r, FUR)
    # a soft top light on the head
    p.ellipse(cx - r * 0.18, cy - r * 0.35, r * 0.62, r * 0.42, lerp(FUR, hexrgb("#FFFFFF"), 0.16))
    # muzzle
    p.ellipse(cx, cy + r * 0.36, r * 0.50, r * 0.38, FUR_LIGHT)
    # nose
    p.ellipse(cx, cy + r * 0.20, r * 0.19, r * 0.13, NOSE)
    if not simple:
        p.ellipse(cx - r * 0.06, cy + r * 0.16, r * 0.06, r * 0.035, hexrgb("#A07A60"))
        # mouth
        p.arc(cx - r * 0.12, cy + r * 0.36, r * 0.12, r * 0.12, 0, 180, NOSE, line * 0.8)
        p.arc(cx + r * 0.12, cy + r * 0.36, r * 0.12, r * 0.12, 0, 180, NOSE, line * 0.8)
        p.line([(cx, cy + r * 0.26), (cx, cy + r * 0.44)], NOSE, line * 0.8)
    # eyes
    er = r * eye
    for sx in (-1, 1):
        ex, ey = cx + sx * r * 0.40, cy - r * 0.08
        p.ellipse(ex, ey, er, er * 1.12, NOSE)
        if shine and not simple:
            p.ellipse(ex - er * 0.35, ey - er * 0.45, er * 0.38, er * 0.38, hexrgb("#FFFFFF"))
    if not simple:
        for sx in (-1, 1):
            p.ellipse(cx + sx * r * 0.66, cy + r * 0.30, r * 0.17, r * 0.11, CHEEK)


# ---------------------------------------------------------------------------------------------
# Banner

BANNER_W, BANNER_H = 398, 62


def banner_font(size):
    for path, index in FONT_CANDIDATES:
        if os.path.exists(path):
            return ImageFont.truetype(path, size, index=index)
    sys.exit("no CJK font found: install fonts-wqy-microhei")


def draw_bell(p, cx, cy, r, body, edge, line):
    """A small bell, r = half its height."""
    shape = [(cx - r * 0.62, cy - r * 0.35)]
    for i in range(0, 181, 10):
        a = math.radians(i)
        shape.append((cx - r * 0.62 * math.cos(a), cy - r * 0.35 - r * 0.55 * math.sin(a)))
    shape += [(cx + r * 0.66, cy + r * 0.30), (cx + r * 0.92, cy + r * 0.55), (cx - r * 0.92, cy + r * 0.55),
              (cx - r * 0.66, cy + r * 0.30)]
    p.ellipse(cx, cy + r * 0.72, r * 0.24, r * 0.24, edge)  # clapper
    p.poly(shape, body, outline=edge, width=line)
    p.ellipse(cx, cy - r * 0.95, r * 0.16, r * 0.16, edge)  # knob
    # shine
    p.line([(cx - r * 0.30, cy - r * 0.55), (cx - r * 0.40, cy + r * 0.10)], hexrgb("#FFFFFF", 200), line * 0.9)


def make_banner():
    S = 4
    W, H = BANNER_W * S, BANNER_H * S
    img = vgradient((W, H), hexrgb("#FBFEF6"), hexrgb("#E2F2D6"))
    p = Pen(img, S)

    # soft decorations: a wide light sweep and a few pale rings
    deco = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    dp = Pen(deco, S, blend=False)
    dp.ellipse(120, 96, 260, 52, hexrgb("#CFE8BD", 110))
    dp.ellipse(300, 104, 200, 58, hexrgb("#C3E2AD", 90))
    dp.ellipse(-10, -30, 110, 48, hexrgb("#FFFFFF", 150))
    for cx, cy, r, a in ((226, 12, 9, 70), (246, 46, 5, 80), (268, 20, 4, 90), (214, 50, 3, 90)):
        dp.ellipse(cx, cy, r, r, hexrgb("#BFE0A8", a))
        dp.ellipse(cx, cy, r - 1.2, r - 1.2, hexrgb("#EAF6E0", a))
    deco = deco.filter(ImageFilter.GaussianBlur(S * 0.6))
    img.alpha_composite(deco)

    # badge: a green disc with a white bell
    shadow = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    Pen(shadow, S, blend=False).ellipse(31, 33, 19, 19, hexrgb("#2F6A1E", 70))
    img.alpha_composite(shadow.filter(ImageFilter.GaussianBlur(S * 1.2)))
    p.ellipse(30, 31, 19.5, 19.5, hexrgb("#FFFFFF"))
    disc = vgradient((W, H), hexrgb("#6CC655"), hexrgb("#259A35"))
    m = Image.new("L", (W, H), 0)
    Pen(m, S).ellipse(30, 31, 17.5, 17.5, 255)
    paste_masked(img, disc, m)
    gloss = Image.new("L", (W, H), 0)
    Pen(gloss, S).ellipse(30, 22, 13, 8.5, 90)
    paste_masked(img, hexrgb("#FFFFFF"), ImageChops.multiply(gloss, m))
    draw_bell(p, 30, 31.5, 11, hexrgb("#FFFFFF"), hexrgb("#1E7A2C"), 1.0)
    p.arc(30, 30, 15.5, 15.5, 300, 330, hexrgb("#FFFFFF", 220), 1.2)

    # the words, bold, with a white rim and a soft shadow
    font = banner_font(35 * S)
    text = "信息提示"
    tx, ty = 58 * S, 13 * S
    bold = int(0.55 * S)
    body = Image.new("L", (W, H), 0)
    ImageDraw.Draw(body).text((tx, ty), text, font=font, fill=255, stroke_width=bold, stroke_fill=255)
    bbox = body.getbbox()
    # centre the glyphs vertically on the badge
    want_mid = 31 * S
    shift = want_mid - (bbox[1] + bbox[3]) // 2
    body = ImageChops.offset(body, 0, shift)
    rim = body.filter(ImageFilter.MaxFilter(2 * int(1.6 * S) + 1))
    shadow = ImageChops.offset(rim, int(1.2 * S), int(1.6 * S)).filter(ImageFilter.GaussianBlur(1.6 * S))
    paste_masked(img, hexrgb("#2E5E1E", 110), shadow)
    paste_masked(img, hexrgb("#FFFFFF"), rim)
    tb = body.getbbox()
    grad = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    g = vgradient((W, tb[3] - tb[1]), hexrgb("#3DB04A"), hexrgb("#137A26"))
    grad.paste(g, (0, tb[1]))
    paste_masked(img, grad, body)
    # a light band across the upper half of the glyphs
    top = Image.new("L", (W, H), 0)
    ImageDraw.Draw(top).rectangle([0, tb[1], W, tb[1] + (tb[3] - tb[1]) * 0.42], fill=60)
    paste_masked(img, hexrgb("#FFFFFF"), ImageChops.multiply(top, body))
    text_right = tb[2] / S

    # a fine dotted rule under the words
    for x in range(int(60), int(text_right) + 2, 4):
        p.ellipse(x, 55.2, 0.75, 0.75, hexrgb("#8CC878"))

    # the mascot: a teddy bear with a green bow tie and a clipboard, saying something
    bx, by = 358, 28
    # speech bubble
    bub = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    bp = Pen(bub, S, blend=False)
    bp.rrect(290.5, 5.5, 327.5, 30.5, 7, hexrgb("#2E5E1E", 60))
    bub = bub.filter(ImageFilter.GaussianBlur(S * 0.8))
    img.alpha_composite(ImageChops.offset(bub, S, S))
    tail = [(318, 26), (334, 31), (324, 22)]
    p.poly(tail, hexrgb("#FFFFFF"), outline=hexrgb("#58B04A"), width=1.3)
    p.rrect(289, 4, 326, 29, 7, hexrgb("#FFFFFF"), outline=hexrgb("#58B04A"), width=1.3)
    p.poly([(318.5, 25.5), (331.2, 29.8), (323.5, 23.5)], hexrgb("#FFFFFF"))
    # inside the bubble: a gold bell and three little sound lines
    draw_bell(p, 307.5, 17, 8.5, hexrgb("#F6B72C"), hexrgb("#B7741A"), 0.9)
    for r in (8.5, 12):
        p.arc(307.5, 16.5, r, r, -38, 38, hexrgb("#F09A2A"), 1.1)
        p.arc(307.5, 16.5, r, r, 142, 218, hexrgb("#F09A2A"), 1.1)

    line = 1.15
    # soft ground shadow
    gs = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    Pen(gs, S, blend=False).ellipse(bx + 2, 61, 26, 4, hexrgb("#3F6E2A", 70))
    img.alpha_composite(gs.filter(ImageFilter.GaussianBlur(S)))
    # body
    p.ellipse(bx, 60, 19, 17, INK, grow=line)
    p.ellipse(bx, 60, 19, 17, FUR)
    p.ellipse(bx, 62, 11.5, 11, FUR_LIGHT)
    # right arm waving
    p.ellipse(bx + 19, 44, 5, 6.5, INK, grow=line)
    p.ellipse(bx + 19, 44, 5, 6.5, FUR)
    p.ellipse(bx + 19.5, 42.5, 2.6, 2.8, FUR_LIGHT)
    # head
    bear_head(p, bx, by, 16, line)
    # bow tie
    tie = hexrgb("#2FA043")
    tie_edge = hexrgb("#15652A")
    p.poly([(bx, 46), (bx - 7, 42.2), (bx - 7, 50.8)], tie, outline=tie_edge, width=0.9)
    p.poly([(bx, 46), (bx + 7, 42.2), (bx + 7, 50.8)], tie, outline=tie_edge, width=0.9)
    p.ellipse(bx, 46, 2.2, 2.2, tie_edge, grow=0.3)
    p.ellipse(bx, 46, 2.0, 2.0, hexrgb("#49BE5A"))
    # clipboard held in front, tilted
    cb = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    cp = Pen(cb, S)
    cx0, cy0 = 326, 40
    cp.rrect(cx0, cy0, cx0 + 17, cy0 + 21, 2, hexrgb("#A86A2C"), outline=INK, width=0.9)
    cp.rrect(cx0 + 2.2, cy0 + 3.2, cx0 + 14.8, cy0 + 20, 0.6, hexrgb("#FFFFFF"), outline=hexrgb("#B8B8B8"), width=0.4)
    cp.rrect(cx0 + 5, cy0 - 1.2, cx0 + 12, cy0 + 3.4, 1.2, hexrgb("#C9CED6"), outline=hexrgb("#5B6470"), width=0.7)
    for i in range(3):
        yy = cy0 + 7.5 + i * 4.2
        cp.line([(cx0 + 4.2, yy), (cx0 + 5.6, yy + 1.3), (cx0 + 7.6, yy - 1.2)], hexrgb("#2FA043"), 0.9)
        cp.line([(cx0 + 9, yy), (cx0 + 13, yy)], hexrgb("#9AA3AE"), 0.8)
    cb = cb.rotate(-8, resample=Image.BICUBIC, center=((cx0 + 8.5) * S, (cy0 + 10) * S))
    img.alpha_composite(cb)
    # left paw holding the board
    p.ellipse(341.5, 52, 4.6, 4.2, INK, grow=line)
    p.ellipse(341.5, 52, 4.6, 4.2, FUR)

    out = img.convert("RGB").resize((BANNER_W, BANNER_H), Image.LANCZOS)
    out.save(os.path.join(HERE, "Banner.jpg"), "JPEG", quality=95, subsampling=0, optimize=True)
    return out


# ---------------------------------------------------------------------------------------------
# Window icon: a teddy bear in front of a blue folder

FOLDER_BACK = hexrgb("#2D63B8")
FOLDER_EDGE = hexrgb("#183F80")
FOLDER_TOP = hexrgb("#6FB2F4")
FOLDER_BOTTOM = hexrgb("#2F72D0")


def draw_icon(size):
    """The icon drawn on a 256 grid, then reduced to size x size with alpha."""
    S = 4  # draw on a 1024 canvas: design units are 1/256 of the icon
    W = 256 * S
    img = Image.new("RGBA", (W, W), (0, 0, 0, 0))
    p = Pen(img, S)
    small = size <= 16
    e = 256 / size  # one output pixel in design units
    edge = e * (1.0 if small else 1.0)

    # folder back with its tab
    fx0, fy0, fx1, fy1 = 8, 34, 248, 206
    p.rrect(fx0, fy0 - 22, fx0 + 96, fy0 + 30, 14, FOLDER_EDGE)
    p.rrect(fx0 + edge, fy0 - 22 + edge, fx0 + 96 - edge, fy0 + 30, 14 - edge, FOLDER_BACK)
    p.rrect(fx0, fy0, fx1, fy1, 16, FOLDER_EDGE)
    p.rrect(fx0 + edge, fy0 + edge, fx1 - edge, fy1 - edge, 16 - edge, FOLDER_BACK)
    # a sheet of paper sticking out
    if not small:
        p.rrect(30, 46, 226, 140, 6, hexrgb("#9AA8BA"))
        p.rrect(30 + edge, 46 + edge, 226 - edge, 140, 6, hexrgb("#FFFFFF"))
        for i in range(3):
            p.rrect(50, 62 + i * 16, 150 - i * 24, 62 + i * 16 + 6, 3, hexrgb("#B9C6D8"))
    # folder front, a little lower, with a light gradient
    front_top = 84 if not small else 78
    grad = vgradient((W, W), FOLDER_TOP, FOLDER_BOTTOM)
    m = Image.new("L", (W, W), 0)
    mp = Pen(m, S)
    mp.rrect(fx0 - 2, front_top, fx1 + 2, fy1 + 26, 16, 255)
    paste_masked(img, FOLDER_EDGE, m)
    m2 = Image.new("L", (W, W), 0)
    Pen(m2, S).rrect(fx0 - 2 + edge, front_top + edge, fx1 + 2 - edge, fy1 + 26 - edge, 16 - edge, 255)
    paste_masked(img, grad, m2)
    # highlight line under the front's top edge
    if not small:
        hl = Image.new("L", (W, W), 0)
        Pen(hl, S).rrect(fx0 - 2 + edge, front_top + edge, fx1 + 2 - edge, front_top + edge * 2, 1, 200)
        paste_masked(img, hexrgb("#D6ECFF"), hl)

    # the bear, in front and to the right
    line = edge * (0.8 if small else 1.05)
    # eyes on the pixel grid: at 32 px two 2 x 2 blocks around the corners (136, 152) and (184, 152),
    # at 16 px single pixels centred there
    hx, hy, hr = 160, 156.8, 60
    # body
    p.ellipse(hx, 258, 74, 58, INK, grow=line)
    p.ellipse(hx, 258, 74, 58, FUR)
    if not small:
        p.ellipse(hx, 262, 40, 40, FUR_LIGHT)
    bear_head(p, hx, hy, hr, line, simple=small, eye=0.16 if small else 0.135, shine=False)
    # bow tie
    tie, tie_edge = hexrgb("#E8463A"), hexrgb("#8E1F18")
    p.poly([(hx, 222), (hx - 26, 208), (hx - 26, 238)], tie, outline=tie_edge, width=edge * 0.9)
    p.poly([(hx, 222), (hx + 26, 208), (hx + 26, 238)], tie, outline=tie_edge, width=edge * 0.9)
    if not small:
        p.ellipse(hx, 222, 8, 8, tie_edge, grow=edge * 0.5)
        p.ellipse(hx, 222, 8, 8, hexrgb("#F2665A"))

    return img.resize((size, size), Image.LANCZOS)


def ico_entry(img, bpp):
    """One .ico image as a BMP without file header: colour rows and an AND mask, bottom-up."""
    w, h = img.size
    px = img.load()
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bpp, 0, 0, 0, 0, 256 if bpp == 8 else 0, 0)
    body = bytearray()
    palette = b""
    if bpp == 32:
        for y in range(h - 1, -1, -1):
            for x in range(w):
                r, g, b, a = px[x, y]
                if a == 0:
                    r = g = b = 0
                body += bytes((b, g, r, a))
    else:
        # 256 colours: the picture over nothing, with a hard mask
        solid = Image.new("RGB", (w, h), (255, 255, 255))
        solid.paste(img.convert("RGB"), mask=img.getchannel("A").point(lambda a: 255 if a >= 96 else 0))
        q = solid.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
        pal = q.getpalette()[: 256 * 3]
        pal += [0] * (256 * 3 - len(pal))
        palette = b"".join(bytes((pal[i * 3 + 2], pal[i * 3 + 1], pal[i * 3], 0)) for i in range(256))
        qp = q.load()
        stride = (w + 3) // 4 * 4
        for y in range(h - 1, -1, -1):
            row = bytes(qp[x, y] for x in range(w))
            body += row + bytes(stride - w)
    mask_stride = (w + 31) // 32 * 4
    for y in range(h - 1, -1, -1):
        row = bytearray(mask_stride)
        for x in range(w):
            if px[x, y][3] < 96:
                row[x // 8] |= 0x80 >> (x % 8)
        body += row
    return header + palette + bytes(body)


def write_ico(path, images):
    """images: list of (image, bpp); the first listed wins among equal sizes."""
    entries = [(img, bpp, ico_entry(img, bpp)) for img, bpp in images]
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for img, bpp, data in entries:
        w, h = img.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0 if bpp != 8 else 0, 0, 1, bpp, len(data), offset)
        offset += len(data)
    for _, _, data in entries:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def make_icon():
    i32, i16 = draw_icon(32), draw_icon(16)
    write_ico(os.path.join(HERE, "Vandrel.ico"), [(i32, 32), (i16, 32), (i32, 8), (i16, 8)])
    # The desktop's icon theme wants larger sizes too; the window carries only the small file.
    write_ico(os.path.join(HERE, "VandrelLarge.ico"), [(draw_icon(256), 32), (draw_icon(48), 32)])
    return i32, i16


# ---------------------------------------------------------------------------------------------
# Tree node images: 16 x 16 pixel art, one character a pixel. '.' is the mask colour.

MASK = (255, 0, 255)

PAGE = [
    "................",
    "..KKKKKKKKK.....",
    "..KWWWWWWWKK....",
    "..KWWWWWWWKgK...",
    "..KWWWWWWWKggK..",
    "..KWWWWWWWKKKKK.",
    "..KWWWWWWWWWWWK.",
    "..KWbbbbbbbWWWK.",
    "..KWWWWWWWWWWWK.",
    "..KWbbbbbbbbbWK.",
    "..KWWWWWWWWWWWK.",
    "..KWbbbbbbbbWWK.",
    "..KWWWWWWWWWWWK.",
    "..KWbbbbbWWWWgK.",
    "..KWWWWWWWWWggK.",
    "..KKKKKKKKKKKKK.",
]

FOLDER = [
    "................",
    "................",
    "..OOOOO.........",
    ".OttttTO........",
    ".OttttttOOOOOOO.",
    ".OhhhhhhhhhhhhO.",
    ".OhyyyyyyyyyyyO.",
    ".OhyyyyyyyyyyyO.",
    ".OhyyyyyyyyyyyO.",
    ".OhyyyyyyyyyyyO.",
    ".OhyyyyyyyyyyyO.",
    ".OhyyyyyyyyyyyO.",
    ".OhyyyyyyyyyyYO.",
    ".OYYYYYYYYYYYYO.",
    "..OOOOOOOOOOOO..",
    "................",
]

FOLDER_OPEN = [
    "................",
    "................",
    "..OOOOO.........",
    ".OttttTO........",
    ".OttttttOOOOOO..",
    ".OtPPPPPPPPPPtO.",
    ".OtPWWWWWWWWPtO.",
    ".OtPWOOOOOOOOOOO",
    ".OtttOhhhhhhhhhO",
    ".OttOyyyyyyyyyO.",
    ".OttOyyyyyyyyyO.",
    ".OtOyyyyyyyyyO..",
    ".OOyyyyyyyyyO...",
    ".OYYYYYYYYYYO...",
    "..OOOOOOOOOO....",
    "................",
]

HAND = [
    "................",
    "................",
    "................",
    "......OOOOOOOO..",
    ".OOOOOWWWWWWWWO.",
    ".OcccOWWWWWWWWhO",
    ".OcbcOWWWWOOOOO.",
    ".OcbcOWWWWWWhO..",
    ".OcbcOWWWhOOOO..",
    ".OcbcOWWWWWhO...",
    ".OcbcOhWhOOOO...",
    ".OcbcOhWWWWhO...",
    ".OcccOhhWhhO....",
    ".OOOOOOhhhhO....",
    ".......OOOO.....",
    "................",
]

NODE_COLOURS = {
    # page
    "K": "#56647A", "W": "#FFFFFF", "g": "#C9D2DE", "b": "#7FA0CF",
    # folder
    "O": "#9A6A12", "t": "#E8B23A", "T": "#F4CC6A", "h": "#FFF2BE", "y": "#FBD468", "Y": "#E4A93A",
    "P": "#F2F2F2",
    # hand: outline shared with the folder's key 'O' is overridden per image below
    "c": "#3E7FD6",
}


def pixel_image(rows, colours, gradient=None):
    img = Image.new("RGB", (16, 16), MASK)
    px = img.load()
    assert len(rows) == 16, rows
    for y, row in enumerate(rows):
        assert len(row) == 16, (y, row)
        for x, ch in enumerate(row):
            if ch == ".":
                continue
            c = colours[ch]
            if gradient and ch in gradient:
                top, bottom, y0, y1 = gradient[ch]
                c = lerp(hexrgb(top)[:3], hexrgb(bottom)[:3], min(1, max(0, (y - y0) / (y1 - y0))))
                px[x, y] = c
                continue
            px[x, y] = hexrgb(c)[:3]
    return img


def write_bmp24(path, img):
    w, h = img.size
    stride = (w * 3 + 3) // 4 * 4
    data = bytearray()
    px = img.load()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = px[x, y]
            row += bytes((b, g, r))
        data += row + bytes(stride - len(row))
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + bytes(data))


NODE_FILES = ["Node0Page.bmp", "Node1Folder.bmp", "Node2FolderOpen.bmp", "Node3Hand.bmp"]


def make_nodes():
    folder_grad = {"y": ("#FFE08A", "#F2BC48", 6, 12)}
    page = pixel_image(PAGE, NODE_COLOURS)
    folder = pixel_image(FOLDER, NODE_COLOURS, folder_grad)
    folder_open = pixel_image(FOLDER_OPEN, NODE_COLOURS, {"y": ("#FFE08A", "#F2BC48", 9, 12)})
    hand_colours = dict(NODE_COLOURS, O="#5A3A22", W="#FFF6E8", h="#F1D9B8", b="#2A5FAE", c="#4F8EE0")
    hand = pixel_image(HAND, hand_colours)
    images = [page, folder, folder_open, hand]
    for name, im in zip(NODE_FILES, images):
        write_bmp24(os.path.join(HERE, name), im)
    return images


def main():
    make_banner()
    make_icon()
    make_nodes()
    preview = "--preview" in sys.argv
    if preview:
        # an enlarged contact sheet for looking at, not committed
        i32, i16 = draw_icon(32), draw_icon(16)
        nodes = [Image.open(os.path.join(HERE, n)) for n in NODE_FILES]
        sheet = Image.new("RGB", (16 * 4 * 8 + 32 * 8 + 16 * 8 + 40, 32 * 8), (255, 255, 255))
        x = 0
        for im in nodes:
            sheet.paste(im.resize((128, 128), Image.NEAREST), (x, 0))
            x += 130
        bg = Image.new("RGBA", (32, 32), (236, 233, 216, 255))
        bg.alpha_composite(i32)
        sheet.paste(bg.convert("RGB").resize((256, 256), Image.NEAREST), (x, 0))
        x += 258
        bg = Image.new("RGBA", (16, 16), (236, 233, 216, 255))
        bg.alpha_composite(i16)
        sheet.paste(bg.convert("RGB").resize((128, 128), Image.NEAREST), (x, 0))
        sheet.save("/tmp/artwork-preview.png")


if __name__ == "__main__":
    main()
