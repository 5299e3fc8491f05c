#!/usr/bin/env python3
"""Checks the .ico files written by tools/make_icons.py by reading them back with an independent parser.

    python3 tools/tests/test_make_icons.py
"""

import os
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "make_icons.py")

EXPECTED_SIZES = {
    "claverix": [128],
    "sellomar": [128],
    "sclav": [16, 32, 48, 64, 128, 256],
    "portaclip": [128],
}

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def run_script(*args):
    return subprocess.run([sys.executable, SCRIPT] + list(args), capture_output=True, timeout=120)


# ---------------------------------------------------------------------------------------------------
# Reading icons back.


def parse_ico(data):
    """Returns the directory entries as dicts; raises AssertionError on a malformed header."""
    assert len(data) >= 6, "file shorter than ICONDIR"
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert reserved == 0, "ICONDIR reserved field is %d" % reserved
    assert kind == 1, "ICONDIR type is %d, not 1 (icon)" % kind
    assert 6 + 16 * count <= len(data), "directory runs past the end of the file"
    entries = []
    for n in range(count):
        w, h, colors, res, planes, bits, nbytes, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * n)
        entries.append(dict(width=w or 256, height=h or 256, colors=colors, reserved=res, planes=planes,
                            bits=bits, nbytes=nbytes, offset=offset,
                            data=data[offset:offset + nbytes]))
    return entries


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def decode_png(blob):
    """RGBA 8-bit non-interlaced PNG -> (width, height, list of rows of (r, g, b, a))."""
    assert blob[:8] == PNG_SIGNATURE
    pos = 8
    chunks = []
    while pos < len(blob):
        (length,) = struct.unpack_from(">I", blob, pos)
        tag = blob[pos + 4:pos + 8]
        body = blob[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack_from(">I", blob, pos + 8 + length)
        assert zlib.crc32(tag + body) & 0xFFFFFFFF == crc, "bad CRC in PNG chunk %r" % tag
        chunks.append((tag, body))
        pos += 12 + length
    assert pos == len(blob), "trailing bytes after the PNG"
    assert chunks[0][0] == b"IHDR" and chunks[-1][0] == b"IEND"
    w, h, depth, ctype, comp, filt, interlace = struct.unpack(">IIBBBBB", chunks[0][1])
    assert (depth, ctype, comp, filt, interlace) == (8, 6, 0, 0, 0), "PNG is not plain 8-bit RGBA"
    raw = zlib.decompress(b"".join(body for tag, body in chunks if tag == b"IDAT"))
    stride = w * 4
    assert len(raw) == h * (stride + 1), "PNG image data has the wrong length"
    prev = bytearray(stride)
    rows = []
    for y in range(h):
        ftype = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        assert ftype <= 4, "unknown PNG filter %d" % ftype
        for i in range(stride):
            left, up, ul = (line[i - 4], prev[i], prev[i - 4]) if i >= 4 else (0, prev[i], 0)
            # None, Sub, Up, Average, Paeth
            line[i] = (line[i] + (0, left, up, (left + up) // 2, paeth(left, up, ul))[ftype]) & 255
        rows.append([tuple(line[i:i + 4]) for i in range(0, stride, 4)])
        prev = line
    return w, h, rows


def decode_dib(blob):
    """32-bit icon DIB (XOR BGRA bottom-up + AND mask) -> (width, height, rows of RGBA, mask rows)."""
    (hsize, w, h2, planes, bits, compression, image_size,
     _, _, used, important) = struct.unpack_from("<IiiHHIIiiII", blob, 0)
    assert hsize == 40, "not a BITMAPINFOHEADER"
    assert h2 == 2 * w, "DIB height %d is not twice the width %d" % (h2, w)
    assert planes == 1 and bits == 32 and compression == 0, "DIB is not 32-bit BI_RGB"
    assert used == 0 and important == 0
    h = h2 // 2
    mask_stride = ((w + 31) // 32) * 4
    assert len(blob) == 40 + w * h * 4 + mask_stride * h, "DIB has the wrong byte count"
    assert image_size in (0, w * h * 4 + mask_stride * h)
    rows = []
    for y in range(h):
        base = 40 + (h - 1 - y) * w * 4
        rows.append([(blob[base + 4 * x + 2], blob[base + 4 * x + 1], blob[base + 4 * x],
                      blob[base + 4 * x + 3]) for x in range(w)])
    mask_base = 40 + w * h * 4
    mask = []
    for y in range(h):
        base = mask_base + (h - 1 - y) * mask_stride
        mask.append([(blob[base + (x >> 3)] >> (7 - (x & 7))) & 1 for x in range(w)])
    return w, h, rows, mask


def decode_entry(entry):
    blob = entry["data"]
    if blob[:8] == PNG_SIGNATURE:
        w, h, rows = decode_png(blob)
        return "png", w, h, rows, None
    w, h, rows, mask = decode_dib(blob)
    return "dib", w, h, rows, mask


# ---------------------------------------------------------------------------------------------------


class IconFilesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.files = {}
        for name in EXPECTED_SIZES:
            path = os.path.join(cls.tmp.name, name + ".ico")
            result = run_script(name, path)
            if result.returncode != 0:
                raise RuntimeError("make_icons.py %s failed: %s" % (name, result.stderr.decode()))
            with open(path, "rb") as f:
                cls.files[name] = f.read()
        cls.images = {name: [(e, decode_entry(e)) for e in parse_ico(data)] for name, data in cls.files.items()}

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def test_directory_lists_expected_sizes(self):
        for name, sizes in EXPECTED_SIZES.items():
            entries = parse_ico(self.files[name])
            self.assertEqual([e["width"] for e in entries], sizes, name)
            self.assertEqual([e["height"] for e in entries], sizes, name)

    def test_directory_entry_fields(self):
        for name, data in self.files.items():
            for n, e in enumerate(parse_ico(data)):
                self.assertEqual((e["colors"], e["reserved"], e["planes"], e["bits"]), (0, 0, 1, 32), name)
                # 256 is written as 0 in the width and height bytes.
                raw_w, raw_h = data[6 + 16 * n], data[7 + 16 * n]
                expected = 0 if e["width"] == 256 else e["width"]
                self.assertEqual((raw_w, raw_h), (expected, expected), name)

    def test_images_tile_the_file_exactly(self):
        for name, data in self.files.items():
            entries = parse_ico(data)
            pos = 6 + 16 * len(entries)
            for e in sorted(entries, key=lambda e: e["offset"]):
                self.assertEqual(e["offset"], pos, "%s: gap or overlap before an image" % name)
                self.assertGreater(e["nbytes"], 0, name)
                pos += e["nbytes"]
            self.assertEqual(pos, len(data), "%s: byte sizes do not add up to the file" % name)

    def test_images_decode_to_listed_dimensions(self):
        for name, images in self.images.items():
            for e, (kind, w, h, rows, _) in images:
                self.assertEqual((w, h), (e["width"], e["height"]), name)
                self.assertEqual(len(rows), h, name)
                self.assertTrue(all(len(r) == w for r in rows), name)
                if e["width"] == 256:
                    self.assertEqual(kind, "png", "%s: 256 px image must be stored as PNG" % name)

    def test_and_mask_matches_alpha(self):
        for name, images in self.images.items():
            for e, (kind, w, h, rows, mask) in images:
                if kind != "dib":
                    continue
                self.assertEqual(mask, [[1 if p[3] == 0 else 0 for p in r] for r in rows],
                                 "%s %d px: mask disagrees with alpha" % (name, w))

    def test_alpha_has_transparent_edge_and_opaque_body(self):
        for name, images in self.images.items():
            for e, (_, w, h, rows, _) in images:
                alphas = [p[3] for r in rows for p in r]
                label = "%s %d px" % (name, w)
                self.assertFalse(all(a == 255 for a in alphas), label + ": fully opaque")
                self.assertFalse(all(a == 0 for a in alphas), label + ": fully transparent")
                self.assertEqual(rows[0][0][3], 0, label + ": top-left corner not transparent")
                centre = [rows[y][x][3] for y in range(h * 3 // 8, h * 5 // 8)
                          for x in range(w * 3 // 8, w * 5 // 8)]
                self.assertGreater(sum(1 for a in centre if a == 255), len(centre) // 2,
                                   label + ": centre mostly not opaque")

    def test_edges_are_antialiased(self):
        # Soft shadows alone stay well below 170; alpha between that and opaque comes from shape
        # edges that partly cover a pixel.
        for name, images in self.images.items():
            for e, (_, w, h, rows, _) in images:
                partial = sum(1 for r in rows for p in r if 170 < p[3] < 255)
                self.assertGreaterEqual(partial, max(2, w // 8), "%s %d px: hard edges only" % (name, w))

    def test_fully_transparent_pixels_carry_no_colour(self):
        for name, images in self.images.items():
            for e, (_, w, h, rows, _) in images:
                self.assertEqual([p for r in rows for p in r if p[3] == 0 and p != (0, 0, 0, 0)], [],
                                 "%s %d px" % (name, w))

    def test_colours_are_not_premultiplied(self):
        # The 16 px document has no soft shadows, so a pixel its edges only partly cover keeps the
        # colour of the shape there (icons store straight alpha): no edge pixel may be darker than
        # the darkest solid one, as it would be if the colour had been multiplied by alpha.
        rows = [img for e, img in self.images["sclav"] if e["width"] == 16][0][3]
        darkest = min(max(p[:3]) for r in rows for p in r if p[3] == 255)
        edge = [p for r in rows for p in r if 0 < p[3] < 255]
        self.assertTrue(edge)
        for p in edge:
            self.assertGreaterEqual(max(p[:3]), darkest - 2, "edge pixel %r darkened" % (p,))

    def _mean_colour(self, rows):
        opaque = [p for r in rows for p in r if p[3] == 255]
        n = float(len(opaque))
        return tuple(sum(p[c] for p in opaque) / n for c in range(3))

    def test_dominant_colours_fit_the_motifs(self):
        def first(name):
            return self.images[name][0][1][3]
        r, g, b = self._mean_colour(first("claverix"))
        self.assertGreater(b, r, "claverix should be mostly a blue tile")
        r, g, b = self._mean_colour(first("sellomar"))
        self.assertGreater(r, 1.5 * g, "sellomar should be mostly red wax")
        self.assertGreater(r, 1.5 * b, "sellomar should be mostly red wax")
        r, g, b = self._mean_colour(first("portaclip"))
        self.assertGreater(r, b, "portaclip should show a brown board")
        for e, (_, w, h, rows, _) in self.images["sclav"]:
            light = sum(1 for row in rows for p in row if p[3] == 255 and min(p[:3]) > 200)
            self.assertGreater(light, w * h // 8, "sclav %d px: no white page" % w)
            red = sum(1 for row in rows for p in row
                      if p[3] == 255 and p[0] > 120 and p[0] > 2 * p[1] and p[0] > 2 * p[2])
            self.assertGreater(red, w * h // 40, "sclav %d px: no red seal" % w)

    def test_icons_are_distinct(self):
        pixels = {name: self.images[name][0][1][3] for name in ("claverix", "sellomar", "portaclip")}
        pixels["sclav"] = [img for e, img in self.images["sclav"] if e["width"] == 128][0][3]
        names = sorted(pixels)
        for i, a in enumerate(names):
            for b in names[i + 1:]:
                self.assertNotEqual(pixels[a], pixels[b], "%s and %s look the same" % (a, b))

    def test_small_document_sizes_are_not_blank_resamples(self):
        # Each size has its own drawing: the text lines sit on whole pixels, so a column through
        # the lines shows fully light and clearly darker pixels rather than a uniform grey smear.
        for e, (_, w, h, rows, _) in self.images["sclav"]:
            if w > 48:
                continue
            column = [rows[y][w * 3 // 8] for y in range(h // 8, h // 2)]
            shades = [min(p[:3]) for p in column if p[3] == 255]
            self.assertTrue(any(s > 220 for s in shades) and any(s < 180 for s in shades),
                            "sclav %d px: text lines are not crisp" % w)

    def test_output_is_deterministic_and_folder_is_created(self):
        with tempfile.TemporaryDirectory() as other:
            for name, data in self.files.items():
                path = os.path.join(other, "nested", "deeper", name + ".ico")
                result = run_script(name, path)
                self.assertEqual(result.returncode, 0, result.stderr.decode())
                with open(path, "rb") as f:
                    self.assertEqual(f.read(), data, "%s differs between runs" % name)


class CommandLineTest(unittest.TestCase):
    def test_unknown_name_fails_without_writing(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "x.ico")
            result = run_script("nonexistent", path)
            self.assertNotEqual(result.returncode, 0)
            self.assertFalse(os.path.exists(path))

    def test_missing_arguments_fail(self):
        self.assertNotEqual(run_script().returncode, 0)
        self.assertNotEqual(run_script("claverix").returncode, 0)


if __name__ == "__main__":
    unittest.main()
