#!/usr/bin/env python3
"""Regenerate Zandrel's committed assets.

Run from the repository root:

    python3 assets/make_assets.py

Needs Pillow and the pure-Python QR encoder (Debian: python3-pil,
python3-qrcode).  The build does not run this script; the files it writes
are committed.  Every run produces the same bytes: nothing depends on the
clock, on fonts installed on the machine or on the encoder's own choice of
mask, and the PNG and ICO writers below add no timestamps.

Files written (all inside assets/):
  donate_qq.png        121 x 118 RGB sample "payment" QR card, blue accent
  donate_wechat.png    110 x 108 RGB sample "payment" QR card, green accent
  zandrel.ico          program icon, 16/32/48 px, 32-bit BGRA with alpha
  Brovanek_a.txt.utf8  notice shown after a bootloader unlock code was sent
                       (UTF-8, CRLF; the build converts it to GBK)
"""

import os
import struct
import sys

try:
    from PIL import Image, ImageDraw, ImageFilter
    import qrcode
    import qrcode.util
except ImportError as exc:  # pragma: no cover - environment problem
    sys.exit("make_assets.py needs Pillow and qrcode "
             "(apt-get install python3-pil python3-qrcode): %s" % exc)

HERE = os.path.dirname(os.path.abspath(__file__))

# Colours the window paints behind the pictures.  The outermost row and
# column of each card must never be one of these, so that the edge of the
# picture stays visible (and detectable) against the dialog background.
BUTTON_FACE_GREYS = {(240, 240, 240), (212, 208, 200)}

WHITE = (255, 255, 255)
INK = (0, 0, 0)


# --------------------------------------------------------------------------
# Tiny 5x7 pixel font for the caption strips.  Drawn by hand so the output
# does not depend on whichever fonts happen to be installed.
# --------------------------------------------------------------------------
GLYPHS = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "W": ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
    " ": ["00000"] * 7,
}
GLYPH_W, GLYPH_H, GLYPH_GAP = 5, 7, 1


def text_width(text):
    return len(text) * (GLYPH_W + GLYPH_GAP) - GLYPH_GAP


def draw_text(img, x0, y0, text, colour):
    px = img.load()
    for i, ch in enumerate(text):
        rows = GLYPHS[ch]
        gx = x0 + i * (GLYPH_W + GLYPH_GAP)
        for dy, row in enumerate(rows):
            for dx, bit in enumerate(row):
                if bit == "1":
                    px[gx + dx, y0 + dy] = colour


# --------------------------------------------------------------------------
# QR cards
# --------------------------------------------------------------------------
def qr_modules(text, mask):
    """Return the QR module matrix (list of rows of bools) for text.

    Version 2, error correction L, alphanumeric mode: 25 x 25 modules, room
    for up to 47 upper-case characters.  The mask is fixed so that a change
    in the encoder's mask scoring can never change the committed bytes.
    """
    qr = qrcode.QRCode(version=2,
                       error_correction=qrcode.constants.ERROR_CORRECT_L,
                       box_size=1, border=0, mask_pattern=mask)
    qr.add_data(qrcode.util.QRData(text, mode=qrcode.util.MODE_ALPHA_NUM))
    qr.make(fit=False)
    return qr.get_matrix()


def make_card(width, height, accent, edge, caption, payload, mask,
              module_px=3):
    """Draw a payment-style card: coloured frame, caption strip at the top,
    white panel holding the QR code with as wide a quiet zone as fits."""
    img = Image.new("RGB", (width, height), accent)
    draw = ImageDraw.Draw(img)

    # 1-px darker border on all four sides marks the picture's extent.
    draw.rectangle([0, 0, width - 1, height - 1], outline=edge)

    # Caption strip: white 5x7 text centred in rows 1..11.
    strip_top, strip_h = 1, 11
    tx = (width - text_width(caption)) // 2
    ty = strip_top + (strip_h - GLYPH_H) // 2
    draw_text(img, tx, ty, caption, WHITE)

    modules = qr_modules(payload, mask)
    n = len(modules)
    qr_px = n * module_px

    # White panel: square, as large as the space under the strip allows
    # while leaving at least one accent pixel above and one edge pixel
    # below, capped at a 4-module quiet zone.
    avail_h = height - 1 - (strip_top + strip_h) - 1
    avail_w = width - 2 - 2
    panel = min(avail_h, avail_w, qr_px + 8 * module_px)
    quiet = (panel - qr_px) // 2
    if quiet < 3 * module_px:
        raise SystemExit("card %dx%d: quiet zone only %d px"
                         % (width, height, quiet))
    px0 = (width - panel) // 2
    py0 = strip_top + strip_h + (avail_h - panel + 1) // 2
    draw.rectangle([px0, py0, px0 + panel - 1, py0 + panel - 1], fill=WHITE)

    qx, qy = px0 + quiet, py0 + quiet
    for r, row in enumerate(modules):
        for c, dark in enumerate(row):
            if dark:
                x, y = qx + c * module_px, qy + r * module_px
                draw.rectangle([x, y, x + module_px - 1, y + module_px - 1],
                               fill=INK)
    return img


def check_edges(img, name):
    """Refuse to write a card whose last column or row would blend into
    the dialog background."""
    w, h = img.size
    px = img.load()
    edge = [px[w - 1, y] for y in range(h)] + [px[x, h - 1] for x in range(w)]
    bad = [p for p in edge if tuple(p) in BUTTON_FACE_GREYS]
    if bad:
        raise SystemExit("%s: edge pixel is button-face grey" % name)


def save_png(img, name):
    path = os.path.join(HERE, name)
    # Plain RGB, 8 bits per channel, not interlaced, no ancillary chunks.
    img.save(path, format="PNG", optimize=False)
    return path


# --------------------------------------------------------------------------
# Icon: a phone with an orange wrench across its lower right corner.
# Drawn 8x oversize and box-filtered down, per target size, so every size
# gets its own proportions instead of a scaled copy of the largest one.
# --------------------------------------------------------------------------
ICON_SIZES = (16, 32, 48)
OVERSAMPLE = 8

BODY = (38, 44, 56, 255)
SCREEN = (64, 156, 235, 255)
SCREEN_HI = (140, 200, 250, 255)
WRENCH = (250, 152, 28, 255)
WRENCH_EDGE = (120, 60, 0, 255)


def draw_icon(size):
    s = size * OVERSAMPLE
    u = s / 48.0                      # drawing unit: 1/48 of the icon

    def box(x0, y0, x1, y1):
        return [round(x0 * u), round(y0 * u), round(x1 * u) - 1,
                round(y1 * u) - 1]

    phone = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(phone)
    # Body and screen.  Small sizes get a slightly wider phone and a
    # narrower bezel so the screen stays visible at 16 px.
    if size <= 16:
        d.rounded_rectangle(box(9, 2, 36, 46), radius=round(5 * u), fill=BODY)
        d.rectangle(box(12, 8, 33, 37), fill=SCREEN)
    else:
        d.rounded_rectangle(box(10, 2, 35, 46), radius=round(5 * u), fill=BODY)
        d.rectangle(box(13, 8, 32, 37), fill=SCREEN)
        d.rectangle(box(13, 8, 32, 12), fill=SCREEN_HI)
        d.rounded_rectangle(box(19, 4, 26, 5), radius=round(0.5 * u),
                            fill=(90, 100, 115, 255))
        d.ellipse(box(20, 39, 25, 44), fill=(90, 100, 115, 255))

    # Wrench mask: a thick handle from the lower left towards the upper
    # right, ending in a round head with an open jaw.
    mask = Image.new("L", (s, s), 0)
    m = ImageDraw.Draw(mask)
    handle_w = 6 if size <= 16 else 5
    m.line([(round(22 * u), round(45 * u)), (round(38 * u), round(27 * u))],
           fill=255, width=round(handle_w * u))
    m.ellipse(box(22 + 6, 13 + 6, 47, 38), fill=255)       # head
    m.ellipse(box(20, 41, 26, 47), fill=255)                # handle end
    # Open jaw: a slot cut into the head along the handle's direction.
    jaw = Image.new("L", (s, s), 0)
    j = ImageDraw.Draw(jaw)
    j.line([(round(38 * u), round(28 * u)), (round(50 * u), round(15 * u))],
           fill=255, width=round((5 if size <= 16 else 4) * u))
    j.ellipse(box(36, 24, 42, 30), fill=255)
    mask = Image.composite(Image.new("L", (s, s), 0), mask, jaw)

    outline = mask.filter(ImageFilter.MaxFilter(2 * (OVERSAMPLE // 2) + 1))
    icon = phone
    icon = Image.composite(Image.new("RGBA", (s, s), WRENCH_EDGE), icon,
                           outline)
    icon = Image.composite(Image.new("RGBA", (s, s), WRENCH), icon, mask)
    # Box filter over each 8x8 block: exact coverage-based anti-aliasing
    # (Pillow premultiplies alpha while resizing RGBA).
    return icon.resize((size, size), Image.BOX)


def ico_entry(img):
    """One 32-bit DIB icon image: BITMAPINFOHEADER, BGRA rows bottom-up,
    then the 1-bit AND mask (set where the pixel is fully transparent)."""
    w, h = img.size
    px = img.load()
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            xor += bytes((b, g, r, a))
    stride = ((w + 31) // 32) * 4
    andm = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if px[x, y][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        andm += row
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0,
                         len(xor) + len(andm), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(andm)


def write_ico(images, name):
    entries = [ico_entry(im) for im in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for im, data in zip(images, entries):
        w, h = im.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32,
                           len(data), offset)
        offset += len(data)
    for data in entries:
        out += data
    path = os.path.join(HERE, name)
    with open(path, "wb") as f:
        f.write(out)
    return path


# --------------------------------------------------------------------------
# Notice shown while the phone reboots after "fastboot oem unlock <code>".
# --------------------------------------------------------------------------
UNLOCK_NOTICE = [
    "解锁码已发送，手机正在重启并进入 Fastboot 模式。",
    "请查看手机屏幕上的提示：",
    "·显示“PHONE Locked”或“Phone Lock”：解锁失败。",
    "·显示“PHONE Unlocked”：解锁成功。",
    "·如出现确认界面，请按屏幕提示用音量键选择、电源键确认。",
    "",
    "解锁失败时请检查：",
    "1. 16 位解锁码是否输入正确；",
    "2. 手机是否处于 Fastboot 模式；",
    "3. USB 数据线是否插好、驱动是否正常安装。",
    "检查后可重新发送解锁码。",
    "解锁成功后，点击“刷入Recovery”按钮刷入 Recovery。",
    "",
    "注意：解锁 Bootloader 会清除手机上的全部用户数据（恢复出厂设置），",
    "请务必提前备份！解锁后手机的保修可能受到影响。",
]


def write_notice(name):
    text = "\r\n".join(UNLOCK_NOTICE) + "\r\n"
    # The build converts this file to GBK for the message box; a character
    # GBK cannot hold would be lost there, so fail here instead.
    text.encode("gbk")
    path = os.path.join(HERE, name)
    with open(path, "wb") as f:
        f.write(text.encode("utf-8"))
    return path


def main():
    cards = [
        ("donate_qq.png", 121, 118, (18, 150, 219), (0, 84, 150),
         "QQ DONATE", "ZANDREL DONATE QQ - SAMPLE - NO ACCOUNT", 2),
        ("donate_wechat.png", 110, 108, (7, 180, 90), (0, 110, 50),
         "WECHAT DONATE", "ZANDREL DONATE WECHAT - SAMPLE - NO ACCOUNT", 2),
    ]
    written = []
    for name, w, h, accent, edge, caption, payload, mask in cards:
        img = make_card(w, h, accent, edge, caption, payload, mask)
        check_edges(img, name)
        written.append(save_png(img, name))

    written.append(write_ico([draw_icon(n) for n in ICON_SIZES],
                             "zandrel.ico"))
    written.append(write_notice("Brovanek_a.txt.utf8"))
    for path in written:
        print("%-22s %6d bytes" % (os.path.basename(path),
                                    os.path.getsize(path)))


if __name__ == "__main__":
    main()
