#!/usr/bin/env bash
# Draws the screen classes of the writer benchmark at 1920x1080 and 3840x2160 (the larger
# one drawn at twice the scale, as a high-DPI screen shows it):
#   desktop   photo wallpaper, a picture viewer, a file window, gradients, a task bar
#   document  a word processor: black text on a white page, a few coloured lines
#   flatui    a flat settings window of a few colours
#   editor    a dark code editor with coloured text
#   photo     a photograph for wallpaper (made here: gradients, texture, edges and sensor
#             noise), a browser and a dialog over it, a translucent task bar
# The pictures are drawn, not grabbed, so every run and every machine gets the same
# pixels. Needs ImageMagick, Pillow (python3-pil) and NumPy (python3-numpy).
# Usage: capture-screens.sh OUTDIR
set -euo pipefail
out="${1:?output directory}"
mkdir -p "$out"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for size in 1920x1080 3840x2160; do
  w=${size%x*}; h=${size#*x}
  # Photograph-like pictures: fractal plasma, lightly blurred, with a little sensor noise.
  convert -size "${w}x${h}" -seed 7 plasma:fractal -blur 0x1.5 -attenuate 0.4 +noise Gaussian -depth 8 "$work/photo-a-$size.ppm"
  convert -size "$((w / 2))x$((h / 2))" -seed 11 plasma:red-blue -blur 0x1 -attenuate 0.4 +noise Gaussian -depth 8 "$work/photo-b-$size.ppm"
done

/usr/bin/python3 - "$root" "$work" "$out" <<'PY'
import sys, re
import numpy as np
from PIL import Image, ImageDraw, ImageFont

root, work, out = sys.argv[1:4]
FONTS = "/usr/share/fonts/truetype/dejavu/"

def font(name, px):
    return ImageFont.truetype(FONTS + name, px)

def source_lines(path):
    with open(root + "/" + path, encoding="utf-8") as f:
        return [l.rstrip("\n").replace("\t", "    ") for l in f]

def prose(path):
    words = []
    with open(root + "/" + path, encoding="utf-8") as f:
        for l in f:
            words += re.sub(r"[`#*|\[\]()]", "", l).split()
    return words

def wrap(words, fnt, width, start):
    lines, line, i = [], "", start
    while len(lines) < 400:
        word = words[i % len(words)]
        i += 1
        cand = (line + " " + word).strip()
        if fnt.getlength(cand) > width and line:
            lines.append(line)
            line = word
        else:
            line = cand
    return lines

def window(d, s, x, y, w, h, title, bar=(45, 95, 160), body=(240, 240, 240)):
    d.rectangle([x - 1, y - 1, x + w, y + h], outline=(90, 90, 90))
    d.rectangle([x, y, x + w - 1, y + 30 * s], fill=bar)
    d.text((x + 10 * s, y + 7 * s), title, font=font("DejaVuSans-Bold.ttf", 13 * s), fill=(255, 255, 255))
    for i, c in enumerate([(230, 80, 70), (240, 190, 60), (90, 190, 90)]):
        cx = x + w - (25 + 22 * i) * s
        d.ellipse([cx, y + 9 * s, cx + 12 * s, y + 21 * s], fill=c)
    d.rectangle([x, y + 30 * s, x + w - 1, y + h - 1], fill=body)

def desktop(W, H, s, size):
    img = Image.open(f"{work}/photo-a-{size}.ppm").convert("RGB")
    d = ImageDraw.Draw(img)
    # A picture viewer with a second photograph.
    photo = Image.open(f"{work}/photo-b-{size}.ppm").convert("RGB")
    x, y = 120 * s, 80 * s
    window(d, s, x, y, photo.width + 20 * s, photo.height + 50 * s, "Holiday 2026 - Picture Viewer", bar=(30, 30, 30), body=(20, 20, 20))
    img.paste(photo, (x + 10 * s, y + 40 * s))
    # A file window with gradient header, thumbnails and names.
    fx, fy, fw, fh = 1080 * s, 150 * s, 720 * s, 620 * s
    window(d, s, fx, fy, fw, fh, "Pictures")
    for i in range(fw):
        t = i / fw
        d.line([fx + i, fy + 31 * s, fx + i, fy + 70 * s], fill=(int(70 + 120 * t), int(130 + 60 * t), int(200 - 40 * t)))
    thumbs = Image.open(f"{work}/photo-a-{size}.ppm").convert("RGB")
    f = font("DejaVuSans.ttf", 12 * s)
    for k in range(16):
        tx, ty = fx + (20 + (k % 4) * 170) * s, fy + (90 + (k // 4) * 130) * s
        tile = thumbs.crop((k * 97 * s, k * 53 * s, k * 97 * s + 140 * s, k * 53 * s + 95 * s))
        img.paste(tile, (tx, ty))
        d.text((tx, ty + 100 * s), f"IMG_{4711 + k}.jpg", font=f, fill=(20, 20, 20))
    # Task bar.
    d.rectangle([0, H - 40 * s, W, H], fill=(32, 34, 40))
    for i in range(8):
        d.rounded_rectangle([(10 + 50 * i) * s, H - 34 * s, (50 + 50 * i) * s, H - 6 * s], 6 * s, fill=(60 + 20 * (i % 3), 90, 140 + 10 * i))
    d.text((W - 80 * s, H - 28 * s), "10:40", font=font("DejaVuSans.ttf", 14 * s), fill=(230, 230, 230))
    return img

def document(W, H, s):
    img = Image.new("RGB", (W, H), (230, 232, 236))
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, W, 34 * s], fill=(43, 87, 154))
    d.text((12 * s, 9 * s), "Report.docx - Writer", font=font("DejaVuSans.ttf", 13 * s), fill=(255, 255, 255))
    d.rectangle([0, 34 * s, W, 110 * s], fill=(245, 245, 245))
    for i in range(24):
        d.rectangle([(14 + 36 * i) * s, 46 * s, (40 + 36 * i) * s, 72 * s], outline=(170, 170, 170), fill=(250, 250, 250))
    d.rectangle([0, 84 * s, W, 108 * s], fill=(252, 252, 252))
    for i in range(0, W, 10 * s):
        d.line([i, 100 * s, i, (108 if i % (50 * s) == 0 else 104) * s], fill=(120, 120, 120))
    px, pw = (W - 860 * s) // 2, 860 * s
    d.rectangle([px, 120 * s, px + pw, H], fill=(255, 255, 255), outline=(200, 200, 200))
    body, bold = font("DejaVuSerif.ttf", 15 * s), font("DejaVuSans-Bold.ttf", 22 * s)
    words = prose("docs/ARCHITECTURE.md") + prose("README.md")
    y, start, para = 180 * s, 0, 0
    d.text((px + 90 * s, y - 10 * s), "Quarterly report of the imaging layer", font=bold, fill=(0, 0, 0))
    y += 40 * s
    while y < H - 30 * s:
        n = 5 + para % 4
        lines = wrap(words, body, pw - 180 * s, start)[:n]
        start += sum(len(l.split()) for l in lines)
        for l in lines:
            if y > H - 30 * s:
                break
            d.text((px + 90 * s, y), l, font=body, fill=(0, 0, 0))
            y += 22 * s
        para += 1
        if para % 3 == 0:  # a coloured rule, a link line and a red underline
            d.line([px + 90 * s, y + 6 * s, px + pw - 90 * s, y + 6 * s], fill=(200, 40, 40), width=2 * s)
            y += 14 * s
        elif para % 3 == 1:
            d.text((px + 90 * s, y), "See also: https://example.org/imaging/notes", font=body, fill=(20, 80, 200))
            d.line([px + 90 * s, y + 18 * s, px + 420 * s, y + 18 * s], fill=(20, 80, 200), width=s)
            y += 22 * s
        y += 14 * s
    d.rectangle([W - 16 * s, 110 * s, W, H], fill=(240, 240, 240))
    d.rectangle([W - 13 * s, 140 * s, W - 3 * s, 320 * s], fill=(190, 190, 190))
    return img

def flatui(W, H, s):
    img = Image.new("RGB", (W, H), (243, 244, 246))
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, 280 * s, H], fill=(31, 41, 55))
    f, fb, fs = font("DejaVuSans.ttf", 14 * s), font("DejaVuSans-Bold.ttf", 18 * s), font("DejaVuSans.ttf", 12 * s)
    items = ["General", "Capture", "Clipboard", "Hot keys", "Frame", "Saving", "Preview", "Language", "About"]
    for i, name in enumerate(items):
        y = (80 + 44 * i) * s
        if i == 1:
            d.rectangle([0, y - 8 * s, 280 * s, y + 30 * s], fill=(55, 65, 81))
        d.rectangle([24 * s, y + 2 * s, 40 * s, y + 18 * s], fill=(96, 165, 250))
        d.text((56 * s, y), name, font=f, fill=(229, 231, 235))
    d.rectangle([280 * s, 0, W, 64 * s], fill=(255, 255, 255))
    d.text((310 * s, 20 * s), "Capture settings", font=fb, fill=(17, 24, 39))
    for k in range(12):
        cx, cy = (310 + (k % 3) * 520) * s, (96 + (k // 3) * 240) * s
        if cy + 220 * s > H:
            break
        d.rounded_rectangle([cx, cy, cx + 490 * s, cy + 210 * s], 10 * s, fill=(255, 255, 255), outline=(229, 231, 235))
        d.text((cx + 20 * s, cy + 18 * s), f"Option group {k + 1}", font=fb, fill=(17, 24, 39))
        for r in range(3):
            ry = cy + (60 + 44 * r) * s
            d.text((cx + 20 * s, ry), ["Copy to the clipboard", "Show the preview", "Save automatically"][r], font=f, fill=(55, 65, 81))
            on = (k + r) % 2 == 0
            d.rounded_rectangle([cx + 410 * s, ry, cx + 460 * s, ry + 24 * s], 12 * s, fill=(37, 99, 235) if on else (209, 213, 219))
            kx = cx + (438 if on else 412) * s
            d.ellipse([kx, ry + 2 * s, kx + 20 * s, ry + 22 * s], fill=(255, 255, 255))
        d.rounded_rectangle([cx + 20 * s, cy + 170 * s, cx + 120 * s, cy + 198 * s], 6 * s, fill=(37, 99, 235))
        d.text((cx + 44 * s, cy + 176 * s), "Apply", font=fs, fill=(255, 255, 255))
    return img

def fractal(W, H, rng, cell, persistence=0.5, stretch=(1.0, 1.0), finest=1.0):
    """Value noise summed over octaves, from cells of `cell` pixels down to `finest`; about 0..1."""
    total = np.zeros((H, W), np.float32)
    amp, norm = 1.0, 0.0
    while cell >= finest:
        cx, cy = cell * stretch[0], cell * stretch[1]
        gw, gh = int(W / cx) + 4, int(H / cy) + 4
        grid = rng.random((gh, gw), dtype=np.float32)
        up = Image.fromarray(grid, "F").resize((int(gw * cx), int(gh * cy)), Image.BICUBIC)
        total += amp * np.asarray(up)[:H, :W]
        norm += amp
        amp *= persistence
        cell /= 2
    return total / norm

def ridge(W, rng, cell):
    return fractal(W, 1, rng, cell, 0.55)[0] - 0.5

def smoothstep(a, b, x):
    t = np.clip((x - a) / (b - a), 0, 1)
    return t * t * (3 - 2 * t)

def mix(a, b, t):
    t = t[..., None]
    return a * (1 - t) + b * t

def photograph(W, H, seed):
    rng = np.random.default_rng(seed)
    s = W / 1920
    v = (np.arange(H, dtype=np.float32) / H)[:, None] * np.ones((1, W), np.float32)
    u = (np.arange(W, dtype=np.float32) / W)[None, :] * np.ones((H, 1), np.float32)
    col = lambda *c: np.array(c, np.float32)
    # Sky: a gradient to a pale horizon, a warm glow around the sun, clouds.
    horizon = 0.6
    img = mix(col(38, 84, 160), col(196, 212, 228), np.clip(v / horizon, 0, 1) ** 0.8)
    glow = np.exp(-(((u - 0.72) * 1.8) ** 2 + ((v - 0.33) * 3.0) ** 2))
    img = mix(img, col(255, 226, 180), 0.55 * glow)
    clouds = fractal(W, H, rng, 320 * s, 0.55, (2.2, 1.0))
    cover = smoothstep(0.52, 0.68, clouds) * smoothstep(horizon, 0.1, v)
    shade = 0.75 + 0.25 * smoothstep(0.5, 0.8, fractal(W, H, rng, 60 * s, 0.5))
    img = mix(img, col(248, 248, 250) * shade[..., None], 0.9 * cover)
    # Far mountains, hazy; nearer wooded hills with rock and forest texture.
    far = 0.42 + 0.5 * ridge(W, rng, 400 * s)[None, :] * 0.5
    near = 0.53 + 0.4 * ridge(W, rng, 250 * s)[None, :] * 0.45
    tex = fractal(W, H, rng, 90 * s, 0.62)
    img = mix(img, col(112, 128, 158) + 24 * (tex[..., None] - 0.5), smoothstep(far - 0.6 / H, far + 0.6 / H, v))
    img = mix(img, mix(col(46, 74, 40), col(120, 110, 84), smoothstep(0.45, 0.75, tex)) * (0.7 + 0.6 * fractal(W, H, rng, 12 * s, 0.7)[..., None]),
              smoothstep(near - 0.6 / H, near + 0.6 / H, v))
    # A lake mirroring the sky, with ripples; a meadow in front.
    lake = smoothstep(horizon - 0.6 / H, horizon + 0.6 / H, v)
    ripples = fractal(W, H, rng, 40 * s, 0.6, (6.0, 0.5))
    water = mix(col(70, 104, 140), col(160, 184, 206), np.clip(1 - (v - horizon) * 4, 0, 1)) + 30 * (ripples[..., None] - 0.5)
    img = mix(img, water, lake)
    shore = 0.76 + 0.03 * ridge(W, rng, 300 * s)[None, :]
    grass = fractal(W, H, rng, 24 * s, 0.75, (0.35, 2.5))
    light = fractal(W, H, rng, 200 * s, 0.5)
    meadow = mix(col(70, 96, 30), col(176, 170, 80), smoothstep(0.3, 0.75, 0.6 * grass + 0.4 * light)) * (0.55 + 0.7 * grass[..., None])
    img = mix(img, meadow, smoothstep(shore - 0.8 / H, shore + 0.8 / H, v))
    # Dark conifers on the left with ragged edges.
    for k, (x0, top, base, half) in enumerate([(0.06, 0.30, 0.86, 0.045), (0.13, 0.40, 0.83, 0.032), (0.19, 0.47, 0.80, 0.022)]):
        t = np.clip((v - top) / (base - top), 0, 1)
        edge = half * t * (0.75 + 0.5 * fractal(W, H, rng, 6 * s, 0.6, (1.0, 0.4)))
        inside = (np.abs(u - x0) < edge) & (v > top) & (v < base + 0.02)
        img = np.where(inside[..., None], col(18, 34, 22) * (0.6 + 0.8 * tex[..., None]), img)
    # The camera: a vignette, a slight blur, sensor noise, eight bits.
    img *= (1 - 0.25 * ((u - 0.5) ** 2 + (v - 0.5) ** 2))[..., None]
    img = 0.25 * np.roll(img, 1, 1) + 0.5 * img + 0.25 * np.roll(img, -1, 1)
    img = 0.25 * np.roll(img, 1, 0) + 0.5 * img + 0.25 * np.roll(img, -1, 0)
    img += rng.normal(0, 0.8, (H, W, 1)).astype(np.float32) + rng.normal(0, 0.6, (H, W, 3)).astype(np.float32)
    return Image.fromarray(np.clip(img + 0.5, 0, 255).astype(np.uint8), "RGB")


def photo(W, H, s):
    img = photograph(W, H, 5)
    d = ImageDraw.Draw(img)
    label, small = font("DejaVuSans.ttf", 12 * s), font("DejaVuSans.ttf", 13 * s)
    # Desktop icons with shadowed names straight on the photograph.
    for i, name in enumerate(["Computer", "Documents", "Screenshots", "Recycle Bin"]):
        x, y = 24 * s, (20 + 96 * i) * s
        d.rounded_rectangle([x + 14 * s, y, x + 62 * s, y + 48 * s], 8 * s, fill=[(70, 140, 220), (240, 200, 90), (90, 180, 120), (200, 200, 210)][i])
        d.text((x + 39 * s + s, y + 56 * s + s), name, font=label, fill=(0, 0, 0), anchor="ma")
        d.text((x + 39 * s, y + 56 * s), name, font=label, fill=(255, 255, 255), anchor="ma")
    # A browser with an article, and a copy dialog, both over the wallpaper.
    bx, by, bw, bh = 1000 * s, 90 * s, 820 * s, 700 * s
    window(d, s, bx, by, bw, bh, "Notes - Browser", bar=(52, 58, 70), body=(255, 255, 255))
    d.rectangle([bx, by + 31 * s, bx + bw - 1, by + 70 * s], fill=(236, 238, 242))
    d.rounded_rectangle([bx + 90 * s, by + 38 * s, bx + bw - 40 * s, by + 63 * s], 12 * s, fill=(255, 255, 255), outline=(200, 204, 210))
    d.text((bx + 106 * s, by + 43 * s), "https://example.org/imaging/notes", font=small, fill=(60, 60, 60))
    d.text((bx + 40 * s, by + 95 * s), "Notes on screen pictures", font=font("DejaVuSans-Bold.ttf", 22 * s), fill=(20, 20, 20))
    body = font("DejaVuSerif.ttf", 15 * s)
    for k, l in enumerate(wrap(prose("docs/ARCHITECTURE.md"), body, bw - 80 * s, 40)[:25]):
        d.text((bx + 40 * s, by + (140 + 22 * k) * s), l, font=body, fill=(30, 30, 30))
    cx, cy, cw, ch = 430 * s, 620 * s, 460 * s, 170 * s
    window(d, s, cx, cy, cw, ch, "Copying 214 items")
    d.text((cx + 20 * s, cy + 50 * s), "From Pictures to Backup (1.2 GB)", font=small, fill=(30, 30, 30))
    d.rectangle([cx + 20 * s, cy + 85 * s, cx + cw - 20 * s, cy + 105 * s], fill=(220, 220, 220), outline=(170, 170, 170))
    d.rectangle([cx + 21 * s, cy + 86 * s, cx + 21 * s + (cw - 42 * s) * 62 // 100, cy + 104 * s], fill=(60, 170, 80))
    d.rounded_rectangle([cx + cw - 120 * s, cy + 125 * s, cx + cw - 20 * s, cy + 155 * s], 5 * s, fill=(225, 225, 225), outline=(160, 160, 160))
    d.text((cx + cw - 70 * s, cy + 132 * s), "Cancel", font=small, fill=(20, 20, 20), anchor="ma")
    # A translucent task bar: the wallpaper shows through it, darkened.
    bar = img.crop((0, H - 44 * s, W, H))
    img.paste(Image.blend(bar, Image.new("RGB", bar.size, (20, 24, 32)), 0.7), (0, H - 44 * s))
    d = ImageDraw.Draw(img)
    for i in range(7):
        d.rounded_rectangle([(12 + 48 * i) * s, H - 38 * s, (48 + 48 * i) * s, H - 8 * s], 6 * s, fill=(70 + 25 * (i % 3), 110, 150 + 12 * i))
    d.text((W - 80 * s, H - 30 * s), "10:40", font=font("DejaVuSans.ttf", 14 * s), fill=(235, 235, 235))
    return img

KEYWORDS = set("int return for if else while const auto void bool struct class namespace static size_t uint8_t "
               "uint32_t break case switch default true false nullptr private public template typename".split())

def editor(W, H, s):
    bg = (30, 30, 30)
    img = Image.new("RGB", (W, H), bg)
    d = ImageDraw.Draw(img)
    mono, ui = font("DejaVuSansMono.ttf", 14 * s), font("DejaVuSans.ttf", 13 * s)
    d.rectangle([0, 0, 48 * s, H], fill=(51, 51, 51))
    d.rectangle([48 * s, 0, 300 * s, H], fill=(37, 37, 38))
    for i, name in enumerate(["src", "  imaging", "    PngWriter.cpp", "    JpegWriter.cpp", "    Bitmap.cpp", "  image", "  capture", "tests", "bench"]):
        d.text((60 * s, (40 + 22 * i) * s), name, font=ui, fill=(204, 204, 204))
    d.rectangle([300 * s, 0, W, 35 * s], fill=(37, 37, 38))
    d.rectangle([300 * s, 0, 480 * s, 35 * s], fill=bg)
    d.text((315 * s, 10 * s), "JpegWriter.cpp", font=ui, fill=(255, 255, 255))
    d.rectangle([0, H - 22 * s, W, H], fill=(0, 122, 204))
    d.text((10 * s, H - 19 * s), "main  Ln 42, Col 7  UTF-8  C++", font=ui, fill=(255, 255, 255))
    lines = source_lines("src/imaging/JpegWriter.cpp") + source_lines("src/imaging/PngWriter.cpp")
    cw, lh = mono.getlength("M"), 19 * s
    y, n = 45 * s, 0
    token = re.compile(r'//.*|"[^"]*"|\b\d+\w*\b|\b\w+\b|\S')
    while y < H - 30 * s and n < len(lines):
        line = lines[n]
        n += 1
        d.text((310 * s, y), f"{n:4d}", font=mono, fill=(133, 133, 133))
        for m in token.finditer(line):
            t = m.group(0)
            if t.startswith("//"): c = (106, 153, 85)
            elif t.startswith('"'): c = (206, 145, 120)
            elif t[0].isdigit(): c = (181, 206, 168)
            elif t in KEYWORDS: c = (86, 156, 214)
            elif t[0].isupper(): c = (78, 201, 176)
            elif t[0].isalpha() or t[0] == "_": c = (156, 220, 254)
            else: c = (212, 212, 212)
            d.text((370 * s + m.start() * cw, y), t, font=mono, fill=c)
        y += lh
    return img

for size in ["1920x1080", "3840x2160"]:
    W, H = map(int, size.split("x"))
    s = W // 1920
    desktop(W, H, s, size).save(f"{out}/desktop-{size}.ppm")
    document(W, H, s).save(f"{out}/document-{size}.ppm")
    flatui(W, H, s).save(f"{out}/flatui-{size}.ppm")
    editor(W, H, s).save(f"{out}/editor-{size}.ppm")
    photo(W, H, s).save(f"{out}/photo-{size}.ppm")
PY
# A picture four times the larger screen, for the memory figures of a save.
convert "$out/desktop-3840x2160.ppm" -resize 200% -depth 8 "$out/huge-7680x4320.ppm"
ls -l "$out"
