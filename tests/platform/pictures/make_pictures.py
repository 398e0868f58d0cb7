#!/usr/bin/env python3
"""Makes the pictures beside this script, which picture_test.cpp decodes.

Most are written by the usual tools (Debian packages netpbm, imagemagick,
libjpeg-turbo-progs, gifsicle, icoutils) from patterns drawn here; the few
layouts no tool writes (RLE4, RLE8 with jumps, top-down rows, 16 and 32
bits without bit fields, the V4 header) are put together here from the
tools' output and read back with ImageMagick before they are kept.  The
patterns are drawn the same way in picture_test.cpp.

    python3 make_pictures.py        # rewrites the pictures in this folder
"""
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
CONVERT = "/usr/bin/convert"  # ImageMagick itself, whatever PATH holds

PALETTE = [
    (0x00, 0x00, 0x00), (0xFF, 0xFF, 0xFF), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0xFF, 0x00), (0x00, 0xFF, 0xFF), (0xFF, 0x00, 0xFF),
    (0x80, 0x80, 0x80), (0xC0, 0x40, 0x20), (0x20, 0x80, 0xC0), (0x40, 0xC0, 0x80),
    (0x80, 0x40, 0x00), (0xF0, 0xA0, 0xB0), (0x10, 0x20, 0x30), (0xE0, 0xE0, 0xD0),
]
W, H = 13, 11  # odd sizes: row padding and half-filled bytes


def index(x, y):
    return (x // 2 + 3 * y) % 16  # pairs of pixels: runs for the run-length coders


def colour(x, y):
    return PALETTE[index(x, y)]


def white(x, y):
    return (x // 2 + y) % 3 == 0


def alpha(x, y):
    return (x * 20 + y * 9) % 256


def icon_hole(x, y):
    return (x + y) % 7 == 0


def rle8_delta_written(x, y):
    """Pixels the hand-made RLE8 picture writes (y counted from the top)."""
    b = H - 1 - y
    if b == 3:
        return x < 4
    if b == 4:
        return x >= 8
    if b == 6:
        return x < 7
    return b <= 8


def run(*args, stdin=None):
    return subprocess.run(args, input=stdin, stdout=subprocess.PIPE, check=True).stdout


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def ppm(w, h, px):
    out = bytearray(b"P6\n%d %d\n255\n" % (w, h))
    for y in range(h):
        for x in range(w):
            out += bytes(px(x, y))
    return bytes(out)


def pgm(w, h, px, maxval=255):
    out = bytearray(b"P5\n%d %d\n%d\n" % (w, h, maxval))
    for y in range(h):
        for x in range(w):
            v = px(x, y)
            out += struct.pack(">H", v) if maxval > 255 else bytes([v])
    return bytes(out)


def pam(w, h, px):
    out = bytearray(b"P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n" % (w, h))
    for y in range(h):
        for x in range(w):
            out += bytes(px(x, y))
    return bytes(out)


def rgba_of(data, fmt):
    """ImageMagick's reading of a picture, as rows of RGBA tuples."""
    raw = run(CONVERT, fmt + ":-", "-depth", "8", "rgba:-", stdin=data)
    assert len(raw) == W * H * 4, (fmt, len(raw))
    return [[tuple(raw[4 * (y * W + x):4 * (y * W + x) + 4]) for x in range(W)] for y in range(H)]


def check(data, expected, fmt="bmp", only=lambda x, y: True):
    got = rgba_of(data, fmt)
    for y in range(H):
        for x in range(W):
            if only(x, y) and got[y][x] != expected(x, y):
                sys.exit("ImageMagick reads %s differently at %d,%d: %s" % (fmt, x, y, got[y][x]))


def split_bmp(data):
    """File header, info header, palette and bits of a BMP written with a 40+ byte header."""
    offset = struct.unpack_from("<I", data, 10)[0]
    size = struct.unpack_from("<I", data, 14)[0]
    return data[14:14 + size], data[14 + size:offset], data[offset:]


def bmp_file(header, palette, bits):
    offset = 14 + len(header) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(bits), 0, 0, offset) + header + palette + bits


def info_header(w, h, bpp, compression, bits_size, colours=0):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, compression, bits_size, 2835, 2835, colours, 0)


def bmp_palette():
    return b"".join(bytes([b, g, r, 0]) for r, g, b in PALETTE)


def rle4_row(y):
    """One row in every RLE4 form: absolute runs (odd and even), two-colour
    and one-pixel encoded runs, then the end of the line."""
    px = [index(x, y) for x in range(W)]
    out = bytearray([0, 5])
    nibbles = px[0:5] + [0]
    out += bytes(nibbles[i] << 4 | nibbles[i + 1] for i in range(0, 6, 2))
    out += b"\0"  # absolute runs end on a 16-bit boundary
    out += bytes([2, px[5] << 4 | px[6], 2, px[7] << 4 | px[8]])
    out += bytes([0, 3, px[9] << 4 | px[10], px[11] << 4])
    out += bytes([1, px[12] << 4])
    return bytes(out + b"\0\0")


def rle8_delta_bits():
    out = bytearray()
    for b in range(H):
        y = H - 1 - b
        px = [index(x, y) for x in range(W)]
        if b == 3:
            out += bytes([0, 4] + px[0:4])  # absolute run of 4
            out += bytes([0, 2, 4, 1])  # jump right 4 and up a row: x 8 of row 4
            continue
        if b == 4:
            out += bytes([0, 5] + px[8:13] + [0])  # odd run, padded
            out += b"\0\0"
            continue
        if b == 6:
            out += bytes([0, 7] + px[0:7] + [0])
            out += b"\0\0"  # the line ends early: its last pixels stay unwritten
            continue
        if b == 9:
            out += b"\0\1"  # end of the picture: rows 9 and 10 stay unwritten
            break
        for x in range(0, W - 1, 2):
            out += bytes([2, px[x]])  # the pattern's pairs as runs of two
        out += bytes([1, px[W - 1], 0, 0])
    return bytes(out)


def make_bmp(tmp):
    pattern = ppm(W, H, colour)
    mono = ppm(W, H, lambda x, y: (255,) * 3 if white(x, y) else (0,) * 3)
    opaque = lambda x, y: colour(x, y) + (255,)
    write("bmp_1.bmp", run("ppmtobmp", "-bpp", "1", stdin=mono))
    write("bmp_4.bmp", run("ppmtobmp", "-bpp", "4", stdin=pattern))
    write("bmp_8.bmp", run("ppmtobmp", "-bpp", "8", stdin=pattern))
    bmp24 = run("ppmtobmp", "-bpp", "24", stdin=pattern)
    write("bmp_24.bmp", bmp24)
    write("bmp_core_4.bmp", run("ppmtobmp", "-os2", "-bpp", "4", stdin=pattern))
    write("bmp_core_24.bmp", run("ppmtobmp", "-os2", "-bpp", "24", stdin=pattern))
    rgb565 = run(CONVERT, "ppm:-", "-define", "bmp:subtype=RGB565", "bmp:-", stdin=pattern)
    write("bmp_16_565.bmp", rgb565)
    rgb555 = run(CONVERT, "ppm:-", "-define", "bmp:subtype=RGB555", "bmp:-", stdin=pattern)
    write("bmp_16_555_fields.bmp", rgb555)
    write("bmp_rle8.bmp", run(CONVERT, "ppm:-", "-type", "Palette", "-compress", "RLE", "bmp3:-", stdin=pattern))
    argb = run(CONVERT, "pam:-", "bmp:-", stdin=pam(W, H, lambda x, y: colour(x, y) + (alpha(x, y),)))
    write("bmp_32_v5_alpha.bmp", argb)

    # Rows top-down: the 24-bit picture's rows turned over and its height negated.
    header, palette, bits = split_bmp(bmp24)
    stride = len(bits) // H
    rows = [bits[i * stride:(i + 1) * stride] for i in range(H)]
    top_down = bmp_file(header[:8] + struct.pack("<i", -H) + header[12:], palette, b"".join(reversed(rows)))
    check(top_down, opaque)
    write("bmp_24_top_down.bmp", top_down)

    # 16 bits without bit fields: five bits each, the 5-5-5 picture's bits.
    _, _, bits = split_bmp(rgb555)
    plain16 = bmp_file(info_header(W, H, 16, 0, len(bits)), b"", bits)
    fields = rgba_of(rgb555, "bmp")  # the same bits, told by their masks
    check(plain16, lambda x, y: fields[y][x])
    write("bmp_16_555.bmp", plain16)

    # 32 bits without bit fields, alpha in the fourth byte; and the V4 header.
    header, _, bits = split_bmp(argb)
    plain32 = bmp_file(info_header(W, H, 32, 0, len(bits)), b"", bits)
    write("bmp_32_alpha.bmp", plain32)
    v4 = bmp_file(struct.pack("<I", 108) + header[4:108], b"", bits)
    check(v4, lambda x, y: colour(x, y) + (alpha(x, y),))
    write("bmp_32_v4_alpha.bmp", v4)

    rle4 = b"".join(rle4_row(H - 1 - b) for b in range(H)) + b"\0\1"
    rle4_file = bmp_file(info_header(W, H, 4, 2, len(rle4), 16), bmp_palette(), rle4)
    check(rle4_file, opaque)
    write("bmp_rle4.bmp", rle4_file)

    rle8 = rle8_delta_bits()
    # Two bytes past the end code, which ImageMagick reads before it stops.
    rle8_file = bmp_file(info_header(W, H, 8, 1, len(rle8), 16), bmp_palette(), rle8 + b"\0\0")
    check(rle8_file, opaque, only=rle8_delta_written)
    write("bmp_rle8_delta.bmp", rle8_file)


def make_png(tmp):
    pattern = ppm(W, H, colour)
    mask_path = os.path.join(tmp, "alpha.pgm")
    with open(mask_path, "wb") as f:
        f.write(pgm(W, H, alpha))
    write("png_rgb.png", run("pnmtopng", "-force", stdin=pattern))
    write("png_palette.png", run("pnmtopng", stdin=pattern))
    write("png_palette_trns.png", run("pnmtopng", "-transparent=rgb:ff/00/00", stdin=pattern))
    write("png_grey.png", run("pnmtopng", stdin=pgm(W, H, lambda x, y: index(x, y) * 17)))
    write("png_grey_alpha.png",
          run("pnmtopng", "-alpha=" + mask_path, stdin=pgm(W, H, lambda x, y: index(x, y) * 17)))
    write("png_mono.png", run("pnmtopng", stdin=pgm(W, H, lambda x, y: 255 if white(x, y) else 0)))
    # 16 bits a sample, alpha, interlaced (Adam7 over 13 x 11: every pass).
    wide = bytearray(b"P6\n%d %d\n65535\n" % (W, H))
    for y in range(H):
        for x in range(W):
            wide += b"".join(struct.pack(">H", c * 257) for c in colour(x, y))
    wide_mask = os.path.join(tmp, "alpha16.pgm")
    with open(wide_mask, "wb") as f:
        f.write(pgm(W, H, lambda x, y: alpha(x, y) * 257, 65535))
    write("png_rgba16_interlaced.png", run("pnmtopng", "-interlace", "-alpha=" + wide_mask, stdin=bytes(wide)))


ANIMATION = [  # (left, top, width, height, palette colour, delay, disposal)
    (0, 0, 10, 8, 2, 10, "none"),
    (1, 1, 4, 3, 3, 20, "background"),
    (3, 2, 3, 3, 4, 30, "previous"),  # its centre is transparent
    (0, 0, 2, 2, 6, 40, "none"),
]


def make_gif(tmp):
    pattern = ppm(W, H, colour)
    write("gif_still.gif", run("ppmtogif", stdin=pattern))
    write("gif_interlaced.gif", run("ppmtogif", "-interlace", stdin=pattern))
    args = ["gifsicle", "--loopcount=3"]
    for n, (left, top, w, h, c, delay, disposal) in enumerate(ANIMATION):
        px = (lambda x, y, c=c: PALETTE[5] if n == 2 and (x, y) == (1, 1) else PALETTE[c])
        path = os.path.join(tmp, "frame%d.gif" % n)
        with open(path, "wb") as f:
            f.write(run("ppmtogif", stdin=ppm(w, h, px)))
        args += ["-d", str(delay), "-D", disposal, "-p", "%d,%d" % (left, top)]
        args += ["-t", "#FFFF00"] if n == 2 else ["--no-transparent"]
        args.append(path)
    write("gif_animated.gif", run(*args))

    # ImageMagick gives the second frame a colour table of its own.
    paths = [os.path.join(tmp, "stripes.ppm"), os.path.join(tmp, "block.ppm")]
    with open(paths[0], "wb") as f:
        f.write(ppm(6, 4, lambda x, y: PALETTE[9] if x % 2 else PALETTE[10]))
    with open(paths[1], "wb") as f:
        f.write(ppm(3, 2, lambda x, y: PALETTE[11 + x]))
    local = run(CONVERT, "-delay", "5", "-dispose", "none", paths[0], "-delay", "7", "-page", "+1+1", paths[1],
                "-loop", "0", "gif:-")
    assert b"local color table" in run("gifsicle", "--cinfo", stdin=local)
    write("gif_local_table.gif", local)


def make_pcx(tmp):
    pattern = ppm(W, H, colour)
    write("pcx_256.pcx", run("ppmtopcx", "-8bit", stdin=pattern))
    write("pcx_24.pcx", run("ppmtopcx", "-24bit", stdin=pattern))
    write("pcx_runs.pcx", run("ppmtopcx", "-8bit", stdin=ppm(150, 4, lambda x, y: PALETTE[y + 1])))
    mono = bytearray(run("ppmtopcx", stdin=ppm(W, H, lambda x, y: (255,) * 3 if white(x, y) else (0,) * 3)))
    assert mono[1] == 5 and mono[3] == 1 and mono[65] == 1
    mono[1] = 3  # PC Paintbrush 2.8 without a palette: black and white
    write("pcx_mono.pcx", bytes(mono))


def png_of(tmp, name, w, h, px):
    path = os.path.join(tmp, name)
    with open(path, "wb") as f:
        f.write(run("pamtopng", stdin=pam(w, h, px)))
    return path


def icon_colours(shift):
    return lambda x, y: (0, 0, 0, 0) if icon_hole(x, y) else PALETTE[(index(x, y) + shift) % 16] + (255,)


def make_icons(tmp):
    many = lambda x, y: (x // 4 * 20, y // 4 * 20, 60, 255)  # 144 colours at 48 x 48
    smooth = lambda x, y: (x * 5, y * 5, 90, (x * 5 + y) % 256)
    small16 = png_of(tmp, "small16.png", 16, 16, icon_colours(0))
    true32 = png_of(tmp, "true32.png", 32, 32, smooth)
    first = png_of(tmp, "first.png", 32, 32, icon_colours(0))
    second = png_of(tmp, "second.png", 32, 32, icon_colours(1))
    big256 = png_of(tmp, "big256.png", 48, 48, many)
    run("icotool", "-c", "-o", os.path.join(HERE, "icon_first_match.ico"), small16, true32, first, second, big256)
    many32 = png_of(tmp, "many32.png", 32, 32, many)
    mono32 = png_of(tmp, "mono32.png", 32, 32, lambda x, y: (255,) * 4 if (x + y) % 3 else (0, 0, 0, 255))
    raw48 = png_of(tmp, "raw48.png", 48, 48, smooth)
    run("icotool", "-c", "-o", os.path.join(HERE, "icon_last.ico"), many32, small16, mono32, "--raw=" + raw48)
    run("icotool", "-c", "--cursor", "-X", "5", "-Y", "9", "-o", os.path.join(HERE, "cursor.cur"), small16, first)
    listing = run("icotool", "-l", os.path.join(HERE, "icon_first_match.ico"), os.path.join(HERE, "icon_last.ico"))
    expected = [b"--bit-depth=4", b"--bit-depth=32", b"--bit-depth=4", b"--bit-depth=4", b"--bit-depth=8",
                b"--bit-depth=8", b"--bit-depth=4", b"--bit-depth=1", b"--bit-depth=32"]
    for line, depth in zip(listing.splitlines(), expected):
        assert depth in line, (line, depth)


JPEG_BLOCKS = 16  # one colour per 16 x 16 block: whole MCUs, whatever the sampling


def make_jpeg(tmp):
    blocks = ppm(64, 32, lambda x, y: PALETTE[1 + x // JPEG_BLOCKS + 4 * (y // JPEG_BLOCKS)])
    write("jpeg_rgb.jpg", run("cjpeg", "-quality", "95", stdin=blocks))
    write("jpeg_progressive.jpg", run("cjpeg", "-quality", "95", "-progressive", stdin=blocks))
    write("jpeg_grey.jpg", run("cjpeg", "-quality", "95",
                              stdin=pgm(64, 32, lambda x, y: 40 * (1 + x // JPEG_BLOCKS + 4 * (y // JPEG_BLOCKS)) % 256)))
    write("jpeg_cmyk.jpg", run(CONVERT, "ppm:-", "-colorspace", "CMYK", "-quality", "95", "jpeg:-", stdin=blocks))


if __name__ == "__main__":
    with tempfile.TemporaryDirectory() as tmp:
        for make in (make_bmp, make_png, make_gif, make_pcx, make_icons, make_jpeg):
            make(tmp)
