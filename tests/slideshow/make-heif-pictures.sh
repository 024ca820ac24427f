#!/bin/sh
# Writes the HEIF test pictures into tests/data/slideshow from quadrants.png there. Needs
# heif-enc (libheif-examples), ImageMagick's convert and python3; the tests need none of them.
set -eu
data=$(cd "$(dirname "$0")/../data/slideshow" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 17 x 11 of (200, 100, 50), alpha 255 in columns 0-5, 128 in 6-11, 0 from 12.
convert -size 17x11 'xc:rgb(200,100,50)' -alpha set -channel A \
    -fx 'i<6 ? 1 : (i<12 ? 128/255 : 0)' +channel "PNG32:$work/alpha.png"
# The same with its colours multiplied by alpha, for a file that says it holds them so.
convert "$work/alpha.png" -channel RGB -fx 'u*u.a' +channel "PNG32:$work/premultiplied.png"
# The quadrants as a JPEG whose Exif orientation (6) says to turn it a quarter to the right.
convert "$data/quadrants.png" -quality 95 "$work/q.jpg"
python3 - "$work/q.jpg" "$work/exif6.jpg" <<'PY'
import struct, sys
jpeg = open(sys.argv[1], 'rb').read()
entry = struct.pack('>HHIHH', 0x0112, 3, 1, 6, 0)
exif = b'Exif\0\0MM\0\x2a' + struct.pack('>IH', 8, 1) + entry + struct.pack('>I', 0)
open(sys.argv[2], 'wb').write(jpeg[:2] + b'\xff\xe1' + struct.pack('>H', len(exif) + 2) + exif + jpeg[2:])
PY

heif-enc -q 90 -o "$data/quadrants.heic" "$data/quadrants.png"
heif-enc -q 90 -o "$data/quadrants.avif" "$data/quadrants.png"
# Ten bits a channel, as some phones store their photos.
convert "$data/quadrants.png" -depth 16 "PNG48:$work/deep.png"
heif-enc -q 90 -b 10 -o "$data/deep.heic" "$work/deep.png"
heif-enc -q 90 -o "$data/alpha.heic" "$work/alpha.png"
heif-enc -q 90 -o "$data/alpha.avif" "$work/alpha.png"
heif-enc -q 90 --premultiplied-alpha -o "$data/premultiplied.heic" "$work/premultiplied.png"
# heif-enc keeps the Exif block as it is and writes no rotation of its own.
heif-enc -q 90 -o "$data/exif6.heic" "$work/exif6.jpg"
# As phones write it: the same Exif block, and the file's own rotation a quarter clockwise.
python3 "$(dirname "$0")/heif-add-rotation.py" "$data/exif6.heic" "$data/turned.heic" 3
