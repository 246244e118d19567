"""The font sheet and the map tile, drawn with PIL and written as plain 24-bit BMPs.

The renderer multiplies each texel by the current colour and draws every
glyph's whole 16 by 16 cell without blending, on a white clear colour. So the
sheet is black ink on white: tinted white, a cell's background vanishes into
the white screen and only the ink shows. Each glyph stands 12.8 pixels after the
one before and its cell covers the last 3.2 pixels of that one, so the ink is
kept inside columns 1 to 11 of its cell, one pixel clear of the edges that
linear filtering reads across.
"""

import struct

from PIL import Image, ImageDraw, ImageFont

CELL = 16
SHEET = 16 * CELL
INK_LEFT, INK_RIGHT = 1, 11   # ink columns, inclusive
INK_TOP, INK_BOTTOM = 0, 15   # ink rows, inclusive
BASELINE = 12                 # row under the last row of a capital letter
FONT_SIZE = 16
INK = 0
PAPER = 255

TILE = 16
TILE_EDGE = 2
TILE_FILL = (214, 214, 214)
TILE_RIM = (64, 64, 64)


def write_bmp(path, image):
    """Uncompressed 24-bit BMP: 14-byte file header, 40-byte info header,
    rows bottom-up, each padded to four bytes."""
    image = image.convert("RGB")
    width, height = image.size
    stride = (width * 3 + 3) & ~3
    rows = []
    pixels = image.load()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixels[x, y]
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, "wb") as out:
        out.write(header + info + data)


def _glyph(font, char):
    """One character on its own canvas, baseline at BASELINE, fitted into the
    ink box and centred across."""
    big = Image.new("L", (CELL * 4, CELL * 4), 0)
    ImageDraw.Draw(big).text((CELL, CELL + BASELINE), char, fill=255, font=font, anchor="ls")
    box = big.getbbox()
    cell = Image.new("L", (CELL, CELL), PAPER)
    if box is None:
        return cell
    left, top, right, bottom = box
    ink = big.crop(box)
    width, height = right - left, bottom - top
    top_in_cell = top - CELL
    above = BASELINE - top_in_cell
    below = height - above
    max_w = INK_RIGHT - INK_LEFT + 1
    # Too wide: condensed across; too tall: shrunk around the baseline.
    across = min(1.0, max_w / width)
    down = 1.0
    if above > BASELINE - INK_TOP:
        down = min(down, (BASELINE - INK_TOP) / above)
    if below > INK_BOTTOM + 1 - BASELINE:
        down = min(down, (INK_BOTTOM + 1 - BASELINE) / below)
    if across < 1.0 or down < 1.0:
        width = max(1, round(width * across))
        height = max(1, round(height * down))
        ink = ink.resize((width, height), Image.LANCZOS)
        top_in_cell = BASELINE - round(above * down)
    top_in_cell = min(max(top_in_cell, INK_TOP), INK_BOTTOM + 1 - height)
    x = INK_LEFT + (max_w - width) // 2
    darkness = Image.new("L", (CELL, CELL), 0)
    darkness.paste(ink, (x, top_in_cell))
    return Image.composite(Image.new("L", (CELL, CELL), INK), cell, darkness)


def font_sheet(font_path):
    """Glyph i is byte i + 32 in Windows-1252, in column i % 16 and row i // 16
    from the top. Bytes with no character in Windows-1252 stay blank."""
    font = ImageFont.truetype(font_path, FONT_SIZE)
    sheet = Image.new("L", (SHEET, SHEET), PAPER)
    for i in range(256):
        code = i + 32
        if code > 255:
            break
        try:
            char = bytes([code]).decode("cp1252")
        except UnicodeDecodeError:
            continue
        if not char.isprintable() or char == "\xa0":
            continue
        sheet.paste(_glyph(font, char), ((i % 16) * CELL, (i // 16) * CELL))
    return sheet


def map_tile():
    """A light square with a dark rim, so neighbouring tiles read as separate
    squares and the red-tinted player square stays red with a dark rim."""
    tile = Image.new("RGB", (TILE, TILE), TILE_RIM)
    ImageDraw.Draw(tile).rectangle(
        (TILE_EDGE, TILE_EDGE, TILE - 1 - TILE_EDGE, TILE - 1 - TILE_EDGE), fill=TILE_FILL)
    return tile
