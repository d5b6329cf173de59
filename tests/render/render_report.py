#!/usr/bin/env python3
"""Renders the HTML report of the dune example in headless Chromium and
checks that the picture is not blank: enough ink on the page, the blue
percentile bands and the vermillion marks of the assessment sample.

Exit status 0 passed, 1 failed, 77 skipped (Chromium is not installed).
Uses the standard library only (the PNG is decoded with zlib)."""

import argparse
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zlib
from pathlib import Path

SKIP = 77


def fail(message):
    print("FAILED: " + message)
    sys.exit(1)


def find_chromium():
    for name in ("chromium", "chromium-browser"):
        path = shutil.which(name)
        if path:
            return path
    return None


def decode_png(data):
    """The pixels of an 8-bit RGB or RGBA PNG as (width, height, rows of RGB tuples)."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        fail("the screenshot is not a PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos : pos + 4])
        kind = data[pos + 4 : pos + 8]
        body = data[pos + 8 : pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    if header is None:
        fail("PNG without header")
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        fail("unexpected PNG form: depth %d, colour type %d, interlace %d" % (depth, colour, interlace))
    channels = 3 if colour == 2 else 4
    stride = width * channels
    raw = zlib.decompress(idat)
    rows, previous, at = [], bytearray(stride), 0
    for _ in range(height):
        kind = raw[at]
        line = bytearray(raw[at + 1 : at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            upper_left = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + ((left + up) >> 1)) & 0xFF
            elif kind == 4:
                p = left + up - upper_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upper_left)
                predictor = left if pa <= pb and pa <= pc else up if pb <= pc else upper_left
                line[i] = (line[i] + predictor) & 0xFF
        rows.append(line)
        previous = line
    pixels = [[tuple(row[i : i + 3]) for i in range(0, stride, channels)] for row in rows]
    return width, height, pixels


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--example", required=True, help="folder with the example's header")
    parser.add_argument("--header", default="dune.hdr")
    parser.add_argument("--work", required=True)
    args = parser.parse_args()

    chromium = find_chromium()
    if chromium is None:
        print("SKIPPED: chromium is not installed (apt-get install chromium); "
              "the HTML report was not rendered")
        return SKIP

    work = Path(args.work)
    shutil.rmtree(work, ignore_errors=True)
    run = work / "run"
    shutil.copytree(args.example, run, ignore=shutil.ignore_patterns("expected", "out"))
    result = subprocess.run([args.program, args.header, "--html"], cwd=run,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=300)
    if result.returncode != 0:
        fail("the program ended with status %d: %s" % (result.returncode, result.stderr.decode()))
    pages = sorted(run.glob("*.html"))
    if len(pages) != 1:
        fail("expected one HTML report, found %s" % [p.name for p in pages])
    page = pages[0]
    try:
        ET.parse(page)
    except ET.ParseError as e:
        fail("the report is not well-formed: %s" % e)

    screenshot = work / "report.png"
    with tempfile.TemporaryDirectory() as profile:
        command = [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                   "--no-first-run", "--disable-background-networking",
                   "--disable-component-update", "--disable-sync",
                   "--user-data-dir=" + profile, "--screenshot=" + str(screenshot),
                   "--window-size=1200,2000", page.resolve().as_uri()]
        shot = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              timeout=180)
    if not screenshot.exists():
        fail("chromium wrote no screenshot (status %d): %s"
             % (shot.returncode, shot.stderr.decode(errors="replace")[-2000:]))

    width, height, pixels = decode_png(screenshot.read_bytes())
    total = width * height
    ink = blue = vermillion = 0
    for row in pixels:
        for r, g, b in row:
            if r < 235 or g < 235 or b < 235:
                ink += 1
            if b > r + 60 and b > g + 10:
                blue += 1
            if r > 170 and 60 <= g <= 130 and b < 70:
                vermillion += 1
    print("screenshot %s: %dx%d, %.1f %% ink, %d band pixels, %d assessment-mark pixels"
          % (screenshot, width, height, 100.0 * ink / total, blue, vermillion))
    if ink < total * 0.03:
        fail("the page looks blank")
    if blue < 5000:
        fail("the percentile bands are missing")
    if vermillion < 50:
        fail("the marks of the assessment sample are missing")
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
