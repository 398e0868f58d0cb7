#!/usr/bin/python3
"""Draws the catalogue's pictures into app/assets/.

    tools/assets/make_assets.py [ASSETS_DIR]        (default: app/assets)

Writes
  nodes/node_NN_name.png  the twelve 16 x 16 node pictures, in the order of
                          the node window's picture choices (PY ... 其他)
  window.png              the 24 x 24 window icon picture
  about.jpg               the 1080 x 1080 picture of the about window

and then, by hand, the icon file from the icon picture with the build's own
writer:  BUILD/tools/png_to_icon app/assets/window.ico app/assets/window.png

The results are committed; the build never runs this.  Needs Python 3 with
Pillow (Debian: python3-pil) and the DejaVu and WenQuanYi Micro Hei fonts
(fonts-dejavu-core, fonts-wqy-microhei).  The drawing is deterministic, so a
second run writes the same files.
"""

import os
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
SANS_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
SANS = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
CJK = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"

# Symbols are drawn this many times larger and scaled down, for smooth edges.
SUPER = 8

# ---------------------------------------------------------------------------
# Pixel letters.  Small pictures read best with letters drawn pixel by pixel:
# "#" is a lit pixel.  Large letters are 5 x 7, small ones 5 rows high.

LARGE = {
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "#": [".#.#.", ".#.#.", "#####", ".#.#.", "#####", ".#.#.", ".#.#."],
    "J": ["..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
}

SMALL = {
    ".": [".", ".", ".", ".", "#"],
    "N": ["#..#", "##.#", "#.##", "#..#", "#..#"],
    "E": ["###", "#..", "##.", "#..", "###"],
    "T": ["###", ".#.", ".#.", ".#.", ".#."],
    "P": ["##.", "#.#", "##.", "#..", "#.."],
    "H": ["#.#", "#.#", "###", "#.#", "#.#"],
    "M": ["#...#", "##.##", "#.#.#", "#...#", "#...#"],
    "V": ["#.#", "#.#", "#.#", "#.#", ".#."],
    "C": [".##", "#..", "#..", "#..", ".##"],
}


def text_width(text, font):
    return sum(len(font[c][0]) for c in text) + len(text) - 1


def draw_text(img, text, font, top, colour, left=None):
    """Pixel letters, one column apart, centred unless `left` is given."""
    x = (img.width - text_width(text, font)) // 2 if left is None else left
    for c in text:
        rows = font[c]
        for dy, row in enumerate(rows):
            for dx, bit in enumerate(row):
                if bit == "#":
                    img.putpixel((x + dx, top + dy), colour)
        x += len(rows[0]) + 1


def rgba(hex_colour, alpha=255):
    v = int(hex_colour.lstrip("#"), 16)
    return (v >> 16 & 255, v >> 8 & 255, v & 255, alpha)


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(4))


def badge(top_colour, bottom_colour):
    """A 16 x 16 rounded square shaded from top to bottom."""
    img = Image.new("RGBA", (16, 16), (0, 0, 0, 0))
    top, bottom = rgba(top_colour), rgba(bottom_colour)
    for y in range(16):
        c = mix(top, bottom, y / 15)
        for x in range(16):
            img.putpixel((x, y), c)
    for x, y in [(0, 0), (15, 0), (0, 15), (15, 15)]:
        img.putpixel((x, y), (0, 0, 0, 0))
    for x, y in [(1, 0), (0, 1), (14, 0), (15, 1), (0, 14), (1, 15), (15, 14), (14, 15)]:
        r, g, b, _ = img.getpixel((x, y))
        img.putpixel((x, y), (r, g, b, 140))
    return img


def symbol(draw_big):
    """A symbol drawn at SUPER times the size by `draw_big(draw, s)`."""
    s = SUPER
    big = Image.new("RGBA", (16 * s, 16 * s), (0, 0, 0, 0))
    draw_big(ImageDraw.Draw(big), s)
    return big.resize((16, 16), Image.LANCZOS)


# ---------------------------------------------------------------------------
# The twelve node pictures.

WHITE = (255, 255, 255, 255)
BLACK = (20, 20, 20, 255)


def node_python():
    img = badge("#4B8BBE", "#306998")
    for y in range(12, 15):
        for x in range(1, 15):
            img.putpixel((x, y), rgba("#FFD43B"))
    for x in (1, 14):
        img.putpixel((x, 14), rgba("#FFD43B", 140))
    draw_text(img, "PY", LARGE, 3, WHITE)
    return img


def node_csharp():
    img = badge("#9B4F96", "#68217A")
    draw_text(img, "C#", LARGE, 4, WHITE)
    return img


def node_dotnet():
    img = badge("#6D4AFF", "#512BD4")
    draw_text(img, ".NET", SMALL, 6, WHITE)
    return img


def paint_map(img, rows, colours):
    """Paints a picture given as text rows, one character per pixel."""
    for y, row in enumerate(rows):
        for x, key in enumerate(row):
            if key in colours:
                img.putpixel((x, y), colours[key])


def node_java():
    img = badge("#F08A24", "#C25E00")
    paint_map(img, [
        "",
        "",
        ".....s..s",
        "......s..s",
        ".....s..s",
        "......s..s",
        "",
        "...WWWWWWWW",
        "...WWWWWWWWWW",
        "...WWWWWWWW..W",
        "...WWWWWWWW..W",
        "...WWWWWWWWWW",
        "....WWWWWW",
        "..WWWWWWWWWWW",
    ], {"W": WHITE, "s": rgba("#FFE0B2")})
    return img


def node_js():
    img = badge("#F7DF1E", "#F0D000")
    draw_text(img, "JS", LARGE, 7, BLACK, left=4)
    return img


def node_ui():
    img = badge("#20C997", "#12A47A")
    frame = rgba("#0B5F47")
    for y in range(3, 13):
        for x in range(2, 14):
            img.putpixel((x, y), WHITE)
    for y in range(3, 6):
        for x in range(2, 14):
            img.putpixel((x, y), frame)
    for x in (11, 12):
        img.putpixel((x, 4), rgba("#FF6B6B"))
    for x in range(4, 12):
        img.putpixel((x, 8), rgba("#9AA5B1"))
    for x in range(4, 9):
        img.putpixel((x, 10), rgba("#9AA5B1"))
    return img


def node_php():
    def ellipse(d, s):
        d.ellipse([0, 2 * s, 16 * s - 1, 14 * s - 1], fill=rgba("#8892BF"), outline=rgba("#4F5B93"), width=s)
    img = symbol(ellipse)
    draw_text(img, "PHP", SMALL, 6, BLACK)
    return img


def node_sql():
    def cylinder(d, s):
        body, top, line = rgba("#336791"), rgba("#6FA8DC"), rgba("#DCEBF7")
        d.rectangle([2 * s, 3.5 * s, 14 * s, 12.5 * s], fill=body)
        d.ellipse([2 * s, 10 * s, 14 * s, 15 * s], fill=body)
        for y in (6.5, 9.5):
            d.arc([2 * s, (y - 2.5) * s, 14 * s, (y + 2.5) * s], 0, 180, fill=line, width=int(0.9 * s))
        d.ellipse([2 * s, 1 * s, 14 * s, 6 * s], fill=top, outline=body, width=int(0.8 * s))
    return symbol(cylinder)


def node_mvc():
    img = badge("#43A047", "#2E7D32")
    draw_text(img, "MVC", SMALL, 6, WHITE)
    return img


def node_network():
    # Drawn pixel for pixel: a 15-pixel globe, one column and row in.
    globe = Image.new("RGBA", (15, 15), (0, 0, 0, 0))
    d = ImageDraw.Draw(globe)
    line = rgba("#E3F2FD")
    d.ellipse([0, 0, 14, 14], fill=rgba("#1E88E5"), outline=rgba("#0D47A1"))
    d.ellipse([4, 0, 10, 14], outline=line)
    d.line([(1, 7), (13, 7)], fill=line)
    d.line([(7, 1), (7, 13)], fill=line)
    img = Image.new("RGBA", (16, 16), (0, 0, 0, 0))
    img.alpha_composite(globe, (1, 1))
    return img


def node_social():
    def people(d, s):
        d.rounded_rectangle([0, 0, 16 * s - 1, 16 * s - 1], radius=3 * s, fill=rgba("#EC407A"))
        back, front = rgba("#F8BBD0"), WHITE
        d.ellipse([8.5 * s, 2.5 * s, 13 * s, 7 * s], fill=back)
        d.pieslice([6.5 * s, 7.5 * s, 15 * s, 16 * s], 180, 360, fill=back)
        d.ellipse([3 * s, 3.5 * s, 8 * s, 8.5 * s], fill=front, outline=rgba("#EC407A"), width=int(0.6 * s))
        d.pieslice([0.8 * s, 9 * s, 10.2 * s, 18.5 * s], 180, 360, fill=front, outline=rgba("#EC407A"),
                   width=int(0.6 * s))
    return symbol(people)


def node_other():
    img = badge("#9E9E9E", "#616161")
    for x0 in (2, 7, 12):
        for y in (7, 8):
            for x in (x0, x0 + 1):
                img.putpixel((x, y), WHITE)
    return img


NODES = [
    ("py", node_python), ("csharp", node_csharp), ("dotnet", node_dotnet), ("java", node_java),
    ("js", node_js), ("ui", node_ui), ("php", node_php), ("sql", node_sql),
    ("mvc", node_mvc), ("network", node_network), ("social", node_social), ("other", node_other),
]


# ---------------------------------------------------------------------------
# The window icon: a small category tree on a rounded square.

def window_icon():
    s = SUPER
    size = 24 * s
    big = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    shade = Image.new("RGBA", (size, size))
    top, bottom = rgba("#3949AB"), rgba("#00897B")
    for y in range(size):
        ImageDraw.Draw(shade).line([(0, y), (size, y)], fill=mix(top, bottom, y / (size - 1)))
    mask = Image.new("L", (size, size), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, size - 1, size - 1], radius=5 * s, fill=255)
    big.paste(shade, (0, 0), mask)
    d = ImageDraw.Draw(big)
    w = int(1.6 * s)
    # trunk and branches of a tree view
    d.line([(6 * s, 6 * s), (6 * s, 18 * s)], fill=WHITE, width=w)
    for y in (12, 18):
        d.line([(6 * s, y * s), (12 * s, y * s)], fill=WHITE, width=w)
    d.ellipse([3 * s, 3 * s, 9 * s, 9 * s], fill=WHITE)
    for y in (12, 18):
        d.rounded_rectangle([12 * s, (y - 2.5) * s, 20.5 * s, (y + 2.5) * s], radius=1.5 * s, fill=rgba("#FFD54F"))
    d.rounded_rectangle([11 * s, 3.5 * s, 20.5 * s, 5.5 * s], radius=s, fill=rgba("#FFFFFF", 200))
    return big.resize((24, 24), Image.LANCZOS)


# ---------------------------------------------------------------------------
# The about picture.

def about_picture():
    size = 1080
    img = Image.new("RGB", (size, size))
    d = ImageDraw.Draw(img)
    top, bottom = rgba("#1A237E"), rgba("#004D40")
    for y in range(size):
        d.line([(0, y), (size, y)], fill=mix(top, bottom, y / (size - 1))[:3])

    # A category tree on the left, snippet cards on the right.
    line = (200, 230, 255)
    d.line([(170, 360), (170, 820)], fill=line, width=10)
    for y in (480, 640, 800):
        d.line([(170, y), (270, y)], fill=line, width=10)
    d.ellipse([120, 300, 220, 400], fill=(255, 213, 79))
    node_colours = [(79, 195, 247), (129, 199, 132), (240, 98, 146)]
    for y, c in zip((480, 640, 800), node_colours):
        d.rounded_rectangle([270, y - 45, 360, y + 45], radius=18, fill=c)
    for i, (y, c) in enumerate(zip((480, 640, 800), node_colours)):
        card = [400, y - 60, 950, y + 60]
        shadow = [card[0] + 10, card[1] + 12, card[2] + 10, card[3] + 12]
        d.rounded_rectangle(shadow, radius=24, fill=(10, 30, 50))
        d.rounded_rectangle(card, radius=24, fill=(250, 250, 252))
        d.rounded_rectangle([card[0], card[1], card[0] + 22, card[3]], radius=10, fill=c)
        widths = [(330, 260), (260, 340), (340, 220)][i]
        d.rounded_rectangle([450, y - 30, 450 + widths[0], y - 12], radius=9, fill=(60, 72, 88))
        d.rounded_rectangle([450, y + 12, 450 + widths[1], y + 28], radius=8, fill=(160, 170, 184))
        mono = ImageFont.truetype(SANS_BOLD, 40)
        d.text((900, y), "{ }" if i != 1 else "</>", font=mono, fill=c, anchor="rm")

    title = ImageFont.truetype(SANS_BOLD, 150)
    d.text((size // 2 + 6, 176), "Velmora", font=title, fill=(8, 20, 40), anchor="mm")
    d.text((size // 2, 170), "Velmora", font=title, fill=(255, 255, 255), anchor="mm")
    subtitle = ImageFont.truetype(CJK, 48)
    d.text((size // 2, 270), "编程笔记 · 代码片段", font=subtitle, fill=(200, 230, 255), anchor="mm")
    small = ImageFont.truetype(SANS, 36)
    d.text((size // 2, 1000), "v1.0", font=small, fill=(200, 230, 255), anchor="mm")
    return img.filter(ImageFilter.SMOOTH)


def main():
    assets = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.path.join(ROOT, "app", "assets")
    os.makedirs(os.path.join(assets, "nodes"), exist_ok=True)
    for i, (name, draw) in enumerate(NODES):
        draw().save(os.path.join(assets, "nodes", "node_%02d_%s.png" % (i, name)), optimize=True)
    window_icon().save(os.path.join(assets, "window.png"), optimize=True)
    about_picture().save(os.path.join(assets, "about.jpg"), quality=90, optimize=True)


if __name__ == "__main__":
    main()
