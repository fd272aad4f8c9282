#!/usr/bin/env python3
"""Makes the chooser window's pictures and the program icon.

    python3 assets/make_assets.py            write every file into assets/
    python3 assets/make_assets.py --check    remake into a temporary folder and
                                             verify against the files in assets/

Standard library only. The labels are rasterised by ImageMagick
(/usr/bin/convert) with the WenQuanYi Zen Hei font into a grey-scale mask;
everything else (texture, compositing, PNG and ICO encoding) is done here so
that the output is byte-identical on every run.
"""

import math
import os
import random
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# /usr/local/bin/convert may be a stand-in that only reads PNG: use the real one.
CONVERT = "/usr/bin/convert"
FONT = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
LABEL_PX = 20

BG_W, BG_H = 390, 190
BG_SEED = 19790613
BG_BASE = (40, 48, 60)
# Colour of every button picture's top-left pixel on the texture, i.e. the
# button's transparent colour. The texture never goes this dark, and every
# label blends upward from the texture in at least one channel, so no label
# pixel can take this colour.
KEY = (26, 32, 42)
TEXTURE_FLOOR = tuple(c + 1 for c in KEY)
TEXTURE_CEIL = (58, 66, 80)

GREY_LABEL = (204, 204, 204)
HELP_LABEL = (153, 153, 153)
RED = (255, 0, 0)
WHITE = (255, 255, 255)
CLOSE_HOVER_BOTTOM = (150, 0, 0)

# (file stem, label, left, top, width, height) in the window's client area.
BUTTONS = [("interface%d" % n, "接口%d" % n, 10 + 90 * ((n - 1) % 4), 30 + 45 * ((n - 1) // 4), 80, 40)
           for n in range(1, 12)]
BUTTONS.append(("help", "说明", 280, 120, 80, 40))
CLOSE = ("close", "X", 375, 1, 14, 14)

ICON_W, ICON_H = 32, 27
ICON_SS = 8  # supersampling per axis


# ---------------------------------------------------------------- images
# An image is (width, height, pixels) with pixels a flat list of (r, g, b),
# row-major, top row first. Every picture is fully opaque.

def crop(img, left, top, w, h):
    iw, _, px = img
    return (w, h, [px[(top + y) * iw + left + x] for y in range(h) for x in range(w)])


def blend(base, colour, a):
    """Covers base with colour at coverage a (0..255); a == 255 gives colour exactly."""
    return tuple((b * (255 - a) + c * a + 127) // 255 for b, c in zip(base, colour))


def paint(img, mask, colour):
    """Returns img with colour laid through mask (w, h, coverage list) of the same size."""
    w, h, px = img
    mw, mh, cov = mask
    assert (mw, mh) == (w, h)
    return (w, h, [blend(p, colour, a) if a else p for p, a in zip(px, cov)])


# ---------------------------------------------------------------- PNG

def _chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def encode_png(img):
    w, h, px = img
    raw = bytearray()
    for y in range(h):
        raw.append(0)  # no filter
        for r, g, b in px[y * w:(y + 1) * w]:
            raw += bytes((r, g, b, 255))
    ihdr = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", ihdr)
            + _chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + _chunk(b"IEND", b""))


class FormatError(Exception):
    pass


def decode_png(data):
    """Returns (width, height, colour type, bit depth, rows of RGBA bytes).

    Rows are only decoded for 8-bit RGBA, the one layout we write; for any
    other layout rows is None.
    """
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise FormatError("not a PNG file")
    pos, ihdr, idat, kinds = 8, None, bytearray(), []
    while pos < len(data):
        if pos + 8 > len(data):
            raise FormatError("truncated chunk header")
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        crc_bytes = data[pos + 8 + length:pos + 12 + length]
        if len(body) != length or len(crc_bytes) != 4:
            raise FormatError("truncated %r chunk" % kind)
        if struct.unpack(">I", crc_bytes)[0] != zlib.crc32(kind + body):
            raise FormatError("bad CRC in %r chunk" % kind)
        kinds.append(kind)
        if kind == b"IHDR":
            ihdr = body
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
        if kind == b"IEND":
            break
    if not kinds or kinds[0] != b"IHDR" or kinds[-1] != b"IEND" or ihdr is None or len(ihdr) != 13:
        raise FormatError("chunks out of order or IHDR missing")
    w, h, depth, ctype, comp, filt, interlace = struct.unpack(">IIBBBBB", ihdr)
    if ctype != 6 or depth != 8:
        return w, h, ctype, depth, None
    if comp or filt or interlace:
        raise FormatError("unsupported compression, filter method or interlace")
    raw = zlib.decompress(bytes(idat))
    stride, bpp = w * 4, 4
    if len(raw) != h * (stride + 1):
        raise FormatError("image data has %d bytes, expected %d" % (len(raw), h * (stride + 1)))
    rows, prev = [], bytearray(stride)
    for y in range(h):
        ftype = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if ftype == 0:
                pred = 0
            elif ftype == 1:
                pred = a
            elif ftype == 2:
                pred = b
            elif ftype == 3:
                pred = (a + b) // 2
            elif ftype == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
            else:
                raise FormatError("bad filter type %d in row %d" % (ftype, y))
            line[i] = (line[i] + pred) & 0xFF
        rows.append(bytes(line))
        prev = line
    return w, h, ctype, depth, rows


# ---------------------------------------------------------------- texture

def make_background():
    rnd = random.Random(BG_SEED)
    w, h = BG_W, BG_H
    shade = [0.0] * (w * h)

    # Broad, soft variations: value noise on a coarse grid, smoothly interpolated.
    cell = 26
    gw, gh = w // cell + 2, h // cell + 2
    grid = [[rnd.uniform(-4.0, 4.0) for _ in range(gw)] for _ in range(gh)]
    for y in range(h):
        gy, fy = divmod(y / cell, 1.0)
        gy = int(gy)
        sy = fy * fy * (3 - 2 * fy)
        for x in range(w):
            gx, fx = divmod(x / cell, 1.0)
            gx = int(gx)
            sx = fx * fx * (3 - 2 * fx)
            top = grid[gy][gx] + (grid[gy][gx + 1] - grid[gy][gx]) * sx
            bot = grid[gy + 1][gx] + (grid[gy + 1][gx + 1] - grid[gy + 1][gx]) * sx
            shade[y * w + x] = top + (bot - top) * sy

    # Fibres: thin, slightly curved strokes, mostly lying along one direction.
    for _ in range(420):
        x, y = rnd.uniform(-20, w + 20), rnd.uniform(-10, h + 10)
        angle = rnd.gauss(0.35, 0.45)
        bend = rnd.uniform(-0.03, 0.03)
        length = rnd.uniform(8, 46)
        strength = rnd.choice((-1, 1)) * rnd.uniform(2.0, 6.5)
        step = 0.5
        for i in range(int(length / step)):
            fade = math.sin(math.pi * i * step / length)
            ix, iy = int(math.floor(x)), int(math.floor(y))
            fx, fy = x - ix, y - iy
            for dx, dy, wgt in ((0, 0, (1 - fx) * (1 - fy)), (1, 0, fx * (1 - fy)),
                                (0, 1, (1 - fx) * fy), (1, 1, fx * fy)):
                px_, py_ = ix + dx, iy + dy
                if 0 <= px_ < w and 0 <= py_ < h:
                    shade[py_ * w + px_] += strength * fade * wgt * step
            x += math.cos(angle) * step
            y += math.sin(angle) * step
            angle += bend

    pixels = []
    for s in shade:
        grain = rnd.gauss(0.0, 1.3)
        tint = rnd.gauss(0.0, 0.6)
        v = s + grain
        rgb = (BG_BASE[0] + v - tint, BG_BASE[1] + v, BG_BASE[2] + 1.15 * v + tint)
        pixels.append(tuple(int(min(hi, max(lo, round(c))))
                            for c, lo, hi in zip(rgb, TEXTURE_FLOOR, TEXTURE_CEIL)))

    # The one place the transparent colour appears: under each button's top-left corner.
    for _, _, left, top, _, _ in BUTTONS + [CLOSE]:
        pixels[top * w + left] = KEY
    return (w, h, pixels)


# ---------------------------------------------------------------- labels

def read_pgm(data):
    """Parses a binary 8-bit PGM (P5) as written by ImageMagick."""
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    pos += 1  # the single whitespace byte after maxval
    if fields[0] != b"P5" or int(fields[3]) != 255:
        raise FormatError("expected an 8-bit binary PGM from convert")
    w, h = int(fields[1]), int(fields[2])
    body = data[pos:pos + w * h]
    if len(body) != w * h:
        raise FormatError("PGM from convert is truncated")
    return w, h, list(body)


def text_mask(text, size):
    """Rasterises text white on black and returns its ink, cropped tight."""
    cw, ch = 8 * size, 3 * size
    cmd = [CONVERT, "-size", "%dx%d" % (cw, ch), "xc:black", "-density", "72",
           "-font", FONT, "-pointsize", str(size), "-fill", "white", "-antialias",
           "-gravity", "center", "-annotate", "+0+0", text,
           "-colorspace", "Gray", "-depth", "8", "pgm:-"]
    out = subprocess.run(cmd, check=True, stdout=subprocess.PIPE).stdout
    w, h, cov = read_pgm(out)
    xs = [i % w for i, a in enumerate(cov) if a]
    ys = [i // w for i, a in enumerate(cov) if a]
    if not xs:
        raise FormatError("convert drew nothing for %r" % text)
    x0, x1, y0, y1 = min(xs), max(xs), min(ys), max(ys)
    if x0 == 0 or y0 == 0 or x1 == w - 1 or y1 == h - 1:
        raise FormatError("label %r does not fit its scratch canvas" % text)
    return (x1 - x0 + 1, y1 - y0 + 1,
            [cov[y * w + x] for y in range(y0, y1 + 1) for x in range(x0, x1 + 1)])


def centred(mask, w, h):
    """Places a tight mask in the middle of a w x h field."""
    mw, mh, cov = mask
    if mw > w or mh > h:
        raise FormatError("label of %dx%d does not fit %dx%d" % (mw, mh, w, h))
    ox, oy = (w - mw) // 2, (h - mh) // 2
    field = [0] * (w * h)
    for y in range(mh):
        field[(oy + y) * w + ox:(oy + y) * w + ox + mw] = cov[y * mw:(y + 1) * mw]
    return (w, h, field)


def cross_mask(size):
    """A white X for the close button, drawn as two supersampled strokes."""
    ss, half_width = 6, 0.85
    lo, hi = 3.5, size - 3.5
    cov = []
    for y in range(size):
        for x in range(size):
            hit = 0
            for sy in range(ss):
                for sx in range(ss):
                    px, py = x + (sx + 0.5) / ss, y + (sy + 0.5) / ss
                    if not (lo - half_width <= px <= hi + half_width and lo - half_width <= py <= hi + half_width):
                        continue
                    d1 = abs((px - lo) - (py - lo)) / math.sqrt(2)
                    d2 = abs((px - lo) + (py - lo) - (hi - lo)) / math.sqrt(2)
                    # Clip the stroke ends square at the X's bounding box.
                    if min(d1, d2) <= half_width and lo - 0.3 <= px <= hi + 0.3 and lo - 0.3 <= py <= hi + 0.3:
                        hit += 1
            cov.append((hit * 255 + ss * ss // 2) // (ss * ss))
    return (size, size, cov)


CLOSE_HOVER_CORNER = (254, 0, 0)


def close_hover_base(w, h):
    """Red square shading from full red at the top row to a darker red at the bottom."""
    rows = [tuple(round(t + (b - t) * y / (h - 1)) for t, b in zip(RED, CLOSE_HOVER_BOTTOM))
            for y in range(h)]
    pixels = [rows[y] for y in range(h) for _ in range(w)]
    # The corner is the button's transparent colour: a red of its own, so that the rest of
    # the top row is not taken for transparent.
    pixels[0] = CLOSE_HOVER_CORNER
    return (w, h, pixels)


# ---------------------------------------------------------------- icon

def _in_round_rect(px, py, x0, y0, x1, y1, r):
    if not (x0 <= px <= x1 and y0 <= py <= y1):
        return False
    cx = min(max(px, x0 + r), x1 - r)
    cy = min(max(py, y0 + r), y1 - r)
    return (px - cx) ** 2 + (py - cy) ** 2 <= r * r


def _in_triangle(px, py, pts):
    (ax, ay), (bx, by), (cx, cy) = pts
    d1 = (px - bx) * (ay - by) - (ax - bx) * (py - by)
    d2 = (px - cx) * (by - cy) - (bx - cx) * (py - cy)
    d3 = (px - ax) * (cy - ay) - (cx - ax) * (py - ay)
    neg = d1 < 0 or d2 < 0 or d3 < 0
    pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (neg and pos)


def icon_inked(px, py):
    """True where the icon's outline covers point (px, py), in pixel units."""
    # Monitor frame: a rounded rectangle drawn 2 px wide.
    if _in_round_rect(px, py, 1, 1, 31, 20, 3) and not _in_round_rect(px, py, 3, 3, 29, 18, 1):
        return True
    # Stand: neck and foot.
    if 14 <= px <= 18 and 20 <= py <= 23.5:
        return True
    if _in_round_rect(px, py, 8, 23, 24, 26, 1.5):
        return True
    # On the screen: a ring with a play triangle inside.
    cx, cy = 16.0, 10.5
    d = math.hypot(px - cx, py - cy)
    if 4.9 <= d <= 6.3:
        return True
    return _in_triangle(px, py, ((13.8, 7.2), (13.8, 13.8), (19.6, 10.5)))


def icon_alpha():
    n = ICON_SS
    alpha = []
    for y in range(ICON_H):
        for x in range(ICON_W):
            hit = sum(icon_inked(x + (sx + 0.5) / n, y + (sy + 0.5) / n)
                      for sy in range(n) for sx in range(n))
            alpha.append((hit * 255 + n * n // 2) // (n * n))
    return alpha


def encode_ico(alpha):
    w, h = ICON_W, ICON_H
    xor = bytearray()
    for y in reversed(range(h)):
        for x in range(w):
            xor += bytes((0, 0, 0, alpha[y * w + x]))
    and_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(h)):
        row = bytearray(and_stride)
        for x in range(w):
            if alpha[y * w + x] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + bytes(xor) + bytes(mask)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(image), 6 + 16)
    return icondir + entry + image


def check_ico(data):
    """Returns a list of problems with the icon file (empty when it is sound)."""
    problems = []
    if len(data) < 22:
        return ["icon: file too short"]
    reserved, kind, count = struct.unpack("<HHH", data[:6])
    if (reserved, kind, count) != (0, 1, 1):
        problems.append("icon: header says reserved=%d type=%d count=%d, expected 0/1/1" % (reserved, kind, count))
    bw, bh, colours, res, planes, bits, size, offset = struct.unpack("<BBBBHHII", data[6:22])
    if (bw, bh, planes, bits) != (ICON_W, ICON_H, 1, 32):
        problems.append("icon: entry is %dx%d, %d planes, %d bpp; expected %dx%d, 1 plane, 32 bpp"
                        % (bw, bh, planes, bits, ICON_W, ICON_H))
    if offset + size != len(data) or offset < 22:
        problems.append("icon: entry points at %d+%d bytes in a file of %d" % (offset, size, len(data)))
        return problems
    img = data[offset:offset + size]
    hsize, w, h, hplanes, hbits, comp = struct.unpack("<IiiHHI", img[:20])
    if (hsize, w, h, hplanes, hbits, comp) != (40, ICON_W, 2 * ICON_H, 1, 32, 0):
        problems.append("icon: bitmap header %r, expected 40, %d, %d, 1, 32, 0"
                        % ((hsize, w, h, hplanes, hbits, comp), ICON_W, 2 * ICON_H))
        return problems
    xor_len, and_len = ICON_W * ICON_H * 4, ((ICON_W + 31) // 32) * 4 * ICON_H
    if len(img) != 40 + xor_len + and_len:
        problems.append("icon: image is %d bytes, expected %d" % (len(img), 40 + xor_len + and_len))
        return problems
    xor = img[40:40 + xor_len]
    if any(xor[i] or xor[i + 1] or xor[i + 2] for i in range(0, xor_len, 4)):
        problems.append("icon: some pixels are not black")
    alphas = set(xor[3::4])
    if 0 not in alphas or 255 not in alphas:
        problems.append("icon: alpha must have both fully transparent and fully opaque pixels")
    mask = img[40 + xor_len:]
    stride = and_len // ICON_H
    for row in range(ICON_H):
        for x in range(ICON_W):
            bit = (mask[row * stride + x // 8] >> (7 - x % 8)) & 1
            if bit != (xor[(row * ICON_W + x) * 4 + 3] < 128):
                problems.append("icon: AND mask disagrees with alpha at column %d, stored row %d" % (x, row))
                return problems
    return problems


# ---------------------------------------------------------------- the set

def build():
    """Returns {file name: (image or bytes, base image or None, label colour or None)}."""
    bg = make_background()
    out = {"background.png": (bg, None, None)}
    masks = {}
    for stem, label, left, top, w, h in BUTTONS:
        if label not in masks:
            masks[label] = text_mask(label, LABEL_PX)
        base = crop(bg, left, top, w, h)
        field = centred(masks[label], w, h)
        normal = HELP_LABEL if stem == "help" else GREY_LABEL
        out[stem + "_normal.png"] = (paint(base, field, normal), base, normal)
        out[stem + "_hover.png"] = (paint(base, field, RED), base, RED)
    stem, _, left, top, w, h = CLOSE
    cross = cross_mask(w)
    base = crop(bg, left, top, w, h)
    out[stem + "_normal.png"] = (paint(base, cross, WHITE), base, WHITE)
    red = close_hover_base(w, h)
    out[stem + "_hover.png"] = (paint(red, cross, WHITE), red, WHITE)
    out["lineplayer.ico"] = (encode_ico(icon_alpha()), None, None)
    return out


def expected_sizes():
    sizes = {"background.png": (BG_W, BG_H)}
    for stem, _, _, _, w, h in BUTTONS + [CLOSE]:
        sizes[stem + "_normal.png"] = sizes[stem + "_hover.png"] = (w, h)
    return sizes


def write_all(folder, built=None):
    files = {}
    for name, (content, _, _) in (built or build()).items():
        data = content if isinstance(content, bytes) else encode_png(content)
        files[name] = data
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    return files


def check_picture(name, pixels, base, colour):
    """Checks a decoded button picture against the base it was painted on.

    pixels and base are flat lists of (r, g, b); colour is the label's colour.
    Returns a list of problems.
    """
    problems = []
    key = pixels[0]
    label = [p for p, b in zip(pixels, base) if p != b]
    if not label:
        return ["%s: no label drawn" % name]
    if colour not in label:
        problems.append("%s: label has no pixel of exactly %r" % (name, colour))
    if key in label:
        problems.append("%s: top-left colour %r also appears in the label, which would be cut out"
                        % (name, key))
    return problems


def label_centre_problems(name, pixels, base, w, h):
    """The label's ink must sit within a pixel of the picture's middle."""
    xs = [i % w for i, (p, b) in enumerate(zip(pixels, base)) if p != b]
    ys = [i // w for i, (p, b) in enumerate(zip(pixels, base)) if p != b]
    cx, cy = (min(xs) + max(xs) + 1) / 2, (min(ys) + max(ys) + 1) / 2
    if abs(cx - w / 2) > 1 or abs(cy - h / 2) > 1:
        return ["%s: label centred at (%.1f, %.1f), picture middle is (%.1f, %.1f)"
                % (name, cx, cy, w / 2, h / 2)]
    return []


def rgb_of(rows):
    return [tuple(r[i:i + 3]) for r in rows for i in range(0, len(r), 4)]


def check(assets_dir=HERE):
    problems = []
    built = build()
    sizes = expected_sizes()
    with tempfile.TemporaryDirectory() as tmp:
        fresh = write_all(tmp, built)
    decoded = {}
    for name, data in sorted(fresh.items()):
        path = os.path.join(assets_dir, name)
        if not os.path.exists(path):
            problems.append("%s: missing from %s" % (name, assets_dir))
            continue
        with open(path, "rb") as f:
            committed = f.read()
        if committed != data:
            problems.append("%s: differs from a fresh build (run python3 assets/make_assets.py)" % name)
        if not name.endswith(".png"):
            continue
        try:
            w, h, ctype, depth, rows = decode_png(committed)
        except (FormatError, zlib.error) as e:
            problems.append("%s: unreadable PNG: %s" % (name, e))
            continue
        if (w, h) != sizes[name]:
            problems.append("%s: is %dx%d, expected %dx%d" % ((name, w, h) + sizes[name]))
            continue
        if (ctype, depth) != (6, 8):
            problems.append("%s: colour type %d depth %d, expected 8-bit RGBA" % (name, ctype, depth))
            continue
        if any(r[i] != 255 for r in rows for i in range(3, len(r), 4)):
            problems.append("%s: not fully opaque" % name)
        decoded[name] = rgb_of(rows)

    bg = decoded.get("background.png")
    for name, (_, fresh_base, colour) in sorted(built.items()):
        if colour is None or name not in decoded:
            continue
        w, h = sizes[name]
        if name.startswith("close_hover"):
            base = fresh_base[2]
        elif bg is None:
            continue
        else:
            stem = name.rsplit("_", 1)[0]
            left, top = [(b[2], b[3]) for b in BUTTONS + [CLOSE] if b[0] == stem][0]
            base = crop((BG_W, BG_H, bg), left, top, w, h)[2]
        problems += check_picture(name, decoded[name], base, colour)
        problems += label_centre_problems(name, decoded[name], base, w, h)
        keyed = decoded[name].count(decoded[name][0])
        if keyed != 1:
            problems.append("%s: %d pixels share the top-left colour, expected only the corner"
                            % (name, keyed))

    ico = os.path.join(assets_dir, "lineplayer.ico")
    if os.path.exists(ico):
        with open(ico, "rb") as f:
            problems += check_ico(f.read())
    return problems


def main(argv):
    if argv[1:] == ["--check"]:
        problems = check()
        for p in problems:
            print("make_assets --check: " + p, file=sys.stderr)
        if problems:
            print("make_assets --check: FAILED (%d problems)" % len(problems), file=sys.stderr)
            return 1
        print("make_assets --check: %d files OK" % len(expected_sizes() | {"lineplayer.ico": 0}))
        return 0
    if argv[1:]:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    files = write_all(HERE)
    for name in sorted(files):
        print(os.path.join("assets", name))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
