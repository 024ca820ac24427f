#!/usr/bin/env python3
# Adds a rotation property (irot, ANGLE quarter turns anticlockwise) to the primary image of
# a small single-image HEIF file as heif-enc writes them: IN OUT ANGLE. The boxes that hold
# it grow, and the item locations after them move along.
import struct, sys
src, dst, angle = sys.argv[1], sys.argv[2], int(sys.argv[3])
b = bytearray(open(src, 'rb').read())

def boxes(start, end):
    at = start
    while at < end:
        size, kind = struct.unpack('>I4s', b[at:at + 8])
        yield at, size, kind.decode()
        at += size

meta = next(a for a, s, k in boxes(0, len(b)) if k == 'meta')
msize = struct.unpack('>I', b[meta:meta + 4])[0]
kids = {k: (a, s) for a, s, k in boxes(meta + 12, meta + msize)}
primary = struct.unpack('>H', b[kids['pitm'][0] + 12:kids['pitm'][0] + 14])[0]
iprp, iprp_size = kids['iprp']
inner = {k: (a, s) for a, s, k in boxes(iprp + 8, iprp + iprp_size)}
ipco, ipco_size = inner['ipco']
ipma, ipma_size = inner['ipma']
count = sum(1 for _ in boxes(ipco + 8, ipco + ipco_size))
version, flags = b[ipma + 8], int.from_bytes(b[ipma + 9:ipma + 12], 'big')
assert version == 0 and not flags & 1, 'ipma layout not handled'

# The association (essential, 7-bit index) goes at the end of the primary item's entry.
at = ipma + 16
for _ in range(struct.unpack('>I', b[ipma + 12:ipma + 16])[0]):
    item, n = struct.unpack('>HB', b[at:at + 3])
    if item == primary:
        b[at + 2] = n + 1
        b[at + 3 + n:at + 3 + n] = bytes([0x80 | (count + 1)])
        break
    at += 3 + n

def grow(box, by):
    b[box:box + 4] = struct.pack('>I', struct.unpack('>I', b[box:box + 4])[0] + by)

grow(ipma, 1)  # before the property moves it
b[ipco + ipco_size:ipco + ipco_size] = struct.pack('>I4sB', 9, b'irot', angle)
grow(ipco, 9); grow(iprp, 10); grow(meta, 10)
delta = 10

# Everything after meta moved: shift iloc's file offsets (iloc precedes iprp here).
iloc = kids['iloc'][0]
assert iloc < iprp
v = b[iloc + 8]
sizes = b[iloc + 12], b[iloc + 13]
off_size, len_size = sizes[0] >> 4, sizes[0] & 15
base_size, idx_size = sizes[1] >> 4, (sizes[1] & 15 if v in (1, 2) else 0)
at = iloc + 14
n_items = struct.unpack('>H' if v < 2 else '>I', b[at:at + (2 if v < 2 else 4)])[0]
at += 2 if v < 2 else 4
def field(at, size, shift):
    if size == 0: return
    val = int.from_bytes(b[at:at + size], 'big')
    b[at:at + size] = (val + shift).to_bytes(size, 'big')
for _ in range(n_items):
    at += 2 if v < 2 else 4
    method = 0
    if v in (1, 2):
        method = struct.unpack('>H', b[at:at + 2])[0] & 15
        at += 2
    at += 2  # data reference index
    base = int.from_bytes(b[at:at + base_size], 'big') if base_size else 0
    if method == 0 and base: field(at, base_size, delta)
    at += base_size
    extents = struct.unpack('>H', b[at:at + 2])[0]
    at += 2
    for _ in range(extents):
        at += idx_size
        if method == 0 and not base: field(at, off_size, delta)
        at += off_size + len_size
open(dst, 'wb').write(b)
