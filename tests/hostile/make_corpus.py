#!/usr/bin/env python3
"""Makes the hostile-input corpus: pictures and recipe files built to break readers.

Everything is generated (never committed) from a fixed seed, so a failure can be reproduced:
    make_corpus.py OUT_DIR
OUT_DIR/pictures/ gets the pictures (good ones prefixed "good-", hostile ones everything else),
OUT_DIR/recipes/ the recipe files. A manifest (OUT_DIR/manifest.txt) lists every picture with the
kind of damage it carries.
"""
import os
import random
import struct
import subprocess
import sys
import zlib

CONVERT = "/usr/bin/convert"


def run_convert(args):
    subprocess.run([CONVERT] + args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png_bomb(width, height):
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    # A few rows of zeros compressed: the header promises far more than the data holds.
    idat = zlib.compress(b"\0" * 4096, 9)
    return b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) + png_chunk(b"IDAT", idat) + png_chunk(b"IEND", b"")


def gif_bomb(width, height):
    head = b"GIF89a" + struct.pack("<HHBBB", width, height, 0x80, 0, 0) + b"\0\0\0\xff\xff\xff"
    image = b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0) + b"\x02\x02\x44\x01\x00"
    return head + image + b"\x3b"


def bmp_bomb(width, height):
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, 0, 2835, 2835, 0, 0)
    body = b"\0" * 64
    size = 14 + len(info) + len(body)
    return b"BM" + struct.pack("<IHHI", size, 0, 0, 54) + info + body


def psd_bomb(width, height):
    head = b"8BPS" + struct.pack(">H6xHIIHH", 1, 3, height, width, 8, 3)
    return head + struct.pack(">I", 0) * 3 + struct.pack(">H", 0) + b"\0" * 64


def jpeg_bomb(width, height):
    soi = b"\xff\xd8"
    sof = b"\xff\xc0" + struct.pack(">HBHHB", 17, 8, height, width, 3) + b"\x01\x22\x00\x02\x11\x01\x03\x11\x01"
    return soi + sof + b"\xff\xd9"


def gif_endless_extensions(count):
    head = b"GIF89a" + struct.pack("<HHBBB", 10, 10, 0, 0, 0)
    block = b"\x21\xfe\x03abc\x00"  # comment extension
    return head + block * count  # no image, no trailer


def gif_sub_block_past_end():
    head = b"GIF89a" + struct.pack("<HHBBB", 10, 10, 0, 0, 0)
    return head + b"\x21\xff\x0bNETSCAPE2.0\xff" + b"x" * 10


def tiff_directory_outside(byte_order):
    if byte_order == "II":
        return b"II*\0" + struct.pack("<I", 0x7FFFFFF0) + b"\0" * 32
    return b"MM\0*" + struct.pack(">I", 0x7FFFFFF0) + b"\0" * 32


def tiff_huge_entry_count():
    return b"II*\0" + struct.pack("<I", 8) + struct.pack("<H", 0xFFFF) + b"\0" * 24


def jpeg_many_segments(seed_jpeg, segments):
    body = seed_jpeg[2:]
    comments = b"".join(b"\xff\xfe" + struct.pack(">H", 2 + 5) + b"hello" for _ in range(segments))
    return b"\xff\xd8" + comments + body


def riff(chunks):
    body = b"WEBP" + chunks
    return b"RIFF" + struct.pack("<I", len(body)) + body


def webp_chunk(kind, data):
    pad = b"\0" if len(data) % 2 else b""
    return kind + struct.pack("<I", len(data)) + data + pad


def webp_extended_header(flags, width, height):
    return webp_chunk(b"VP8X", bytes([flags, 0, 0, 0]) + (width - 1).to_bytes(3, "little")
                      + (height - 1).to_bytes(3, "little"))


def webp_bomb(seed_webp, width, height):
    # The extended header declares the canvas; the frame inside is the small seed's.
    return riff(webp_extended_header(0, width, height) + seed_webp[12:])


def webp_animation(seed_webp, frames):
    """An animated WebP of the seed's frame shown `frames` times (animation flag 0x02)."""
    frame = seed_webp[12:]  # the seed's "VP8 " chunk
    width, height = struct.unpack("<HH", seed_webp[26:30])
    width &= 0x3FFF
    height &= 0x3FFF
    anmf = bytes(6) + (width - 1).to_bytes(3, "little") + (height - 1).to_bytes(3, "little") \
        + (100).to_bytes(3, "little") + b"\0" + frame
    return riff(webp_extended_header(0x02, width, height) + webp_chunk(b"ANIM", bytes(4) + b"\0\0")
                + webp_chunk(b"ANMF", anmf) * frames)


def heif_bomb(seed, width, height):
    """Every picture-size box ("ispe") of a HEIF or AVIF file made to declare width x height."""
    data = bytearray(seed)
    at = data.find(b"ispe")
    while at >= 0:
        data[at + 8:at + 16] = struct.pack(">II", width, height)
        at = data.find(b"ispe", at + 4)
    return bytes(data)


def heif_sequence(seed):
    """The seed's boxes behind an "ftyp" whose major brand is the image-sequence brand."""
    return seed[:8] + b"msf1" + seed[12:]


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_corpus.py OUT_DIR")
    out = sys.argv[1]
    pictures = os.path.join(out, "pictures")
    recipes = os.path.join(out, "recipes")
    os.makedirs(pictures, exist_ok=True)
    os.makedirs(recipes, exist_ok=True)
    rng = random.Random(20261209)
    manifest = []

    def put(name, data, kind):
        with open(os.path.join(pictures, name), "wb") as f:
            f.write(data)
        manifest.append((name, kind))

    # Good pictures, made by ImageMagick; also the seeds the damaged files are cut from.
    seeds = {}
    for ext, extra in [("jpg", []), ("png", []), ("gif", ["-colors", "32"]), ("bmp", ["-type", "TrueColor"]),
                       ("tif", []), ("psd", []), ("heic", []), ("avif", []), ("webp", [])]:
        path = os.path.join(pictures, "good-seed." + ext)
        run_convert(["-seed", "7", "-size", "64x48", "plasma:red-blue"] + extra + [path])
        with open(path, "rb") as f:
            seeds[ext] = f.read()
        manifest.append(("good-seed." + ext, "good"))

    # Good pictures under names ImageMagick would otherwise interpret.
    for name in ["100%d.jpg", "a[0].png", "msl:x.jpg", "@list.jpg", "a|b.jpg", "with space.jpg",
                 "中文 名字.jpg", "new\nline.jpg", "ephemeral:y.png"]:
        ext = name.rsplit(".", 1)[1]
        put("good-" + name, seeds[ext], "good")

    # Zero-byte files with picture extensions.
    for ext in ["jpg", "jpeg", "png", "gif", "bmp", "tif", "tiff", "psd", "heic", "avif", "webp"]:
        put("empty." + ext, b"", "empty")

    # Truncated copies at many offsets.
    for ext, data in seeds.items():
        offsets = sorted(set([1, 2, 3, 8, 16, 32, 64, len(data) // 4, len(data) // 2, len(data) - 1]
                             + list(range(97, len(data), max(97, len(data) // 12)))))
        for cut in offsets:
            if 0 < cut < len(data):
                put("cut-%s-%05d.%s" % (ext, cut, ext), data[:cut], "truncated")

    # Random bytes behind each format's magic bytes.
    magics = {"jpg": b"\xff\xd8\xff", "png": b"\x89PNG\r\n\x1a\n", "gif": b"GIF89a", "bmp": b"BM",
              "tif": b"II*\0", "psd": b"8BPS", "heic": seeds["heic"][:24], "avif": seeds["avif"][:24],
              "webp": b"RIFF\0\x08\0\0WEBPVP8 "}
    for ext, magic in magics.items():
        for i in range(4):
            put("noise-%s-%d.%s" % (ext, i, ext), magic + bytes(rng.getrandbits(8) for _ in range(2048)), "noise")

    # Headers that claim enormous pictures.
    put("bomb.png", png_bomb(60000, 60000), "bomb")
    put("bomb-wide.png", png_bomb(1000000, 10), "bomb")
    put("bomb.gif", gif_bomb(65535, 65535), "bomb")
    put("bomb.bmp", bmp_bomb(60000, 60000), "bomb")
    put("bomb.psd", psd_bomb(60000, 60000), "bomb")
    put("bomb.jpg", jpeg_bomb(60000, 60000), "bomb")
    put("bomb.heic", heif_bomb(seeds["heic"], 100000, 100000), "bomb")
    put("bomb.avif", heif_bomb(seeds["avif"], 100000, 100000), "bomb")
    put("bomb.webp", webp_bomb(seeds["webp"], 100000, 100000), "bomb")

    # Moving pictures: refused before any decoder sees them.
    put("animated.webp", webp_animation(seeds["webp"], 2), "moving")
    put("sequence.heic", heif_sequence(seeds["heic"]), "moving")
    put("sequence.avif", heif_sequence(seeds["avif"]), "moving")

    # Block and directory walks that lead nowhere.
    put("endless-extensions.gif", gif_endless_extensions(20000), "walk")
    put("sub-block-past-end.gif", gif_sub_block_past_end(), "walk")
    put("directory-outside-ii.tif", tiff_directory_outside("II"), "walk")
    put("directory-outside-mm.tif", tiff_directory_outside("MM"), "walk")
    put("huge-entry-count.tif", tiff_huge_entry_count(), "walk")
    put("many-segments.jpg", jpeg_many_segments(seeds["jpg"], 200), "segments")

    # Recipe files.
    def recipe(name, data):
        with open(os.path.join(recipes, name), "wb") as f:
            f.write(data)

    recipe("long-values.sz", b"sy_text=" + b"A" * 5000 + b"\r\nsizeValue=" + b"9" * 3000 + b"\r\nbSize=1\r\n")
    recipe("garbage.sz", bytes(rng.getrandbits(8) for _ in range(65536)))
    recipe("no-equals.sz", b"bSize 1\r\nsizeValue\r\n=\r\n==\r\nbSize=1\r\nsizeValue=100\r\n")
    recipe("script-watermark.sz", b"bSYImage=1\r\nsy_image=msl:/tmp/brindle-hostile.msl\r\n")
    recipe("list-watermark.sz", b"bSYImage=1\r\nsy_image=@/etc/passwd\r\n")
    recipe("nul-bytes.sz", b"bSize=1\0\r\nsizeValue=1\0\0\r\nquanlity=\0\r\n")

    with open(os.path.join(out, "manifest.txt"), "w", encoding="utf-8") as f:
        for name, kind in manifest:
            f.write("%s\t%s\n" % (kind, name.replace("\n", "\\n")))


if __name__ == "__main__":
    main()
