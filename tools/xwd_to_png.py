"""Not a test: turns an X window dump (xwd -root) of 24 or 32 bits per pixel
into a PNG, for scripts/screenshot's whole-screen pictures (the machine has
no image converter of its own).

    python3 xwd_to_png.py SCREEN.xwd SCREEN.png
"""
import struct, sys, zlib
data = open(sys.argv[1], 'rb').read()
hdr = struct.unpack('>25I', data[:100])
header_size, version, fmt, depth, width, height = hdr[:6]
byte_order, bitmap_unit, bit_order, bitmap_pad, bpp, bpl = hdr[7], hdr[8], hdr[9], hdr[10], hdr[11], hdr[12]
ncolors = hdr[19]
off = header_size + ncolors * 12
rows = []
for y in range(height):
    step = bpp // 8
    line = data[off + y * bpl: off + y * bpl + width * step]
    out = bytearray(width * 3)
    if byte_order == 0:  # LSB first: B G R (X)
        out[0::3] = line[2::step]; out[1::3] = line[1::step]; out[2::3] = line[0::step]
    else:
        out[0::3] = line[step-3::step]; out[1::3] = line[step-2::step]; out[2::3] = line[step-1::step]
    rows.append(b'\x00' + bytes(out))
def chunk(t, d):
    c = struct.pack('>I', len(d)) + t + d
    return c + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)) + chunk(b'IDAT', zlib.compress(b''.join(rows), 6)) + chunk(b'IEND', b'')
open(sys.argv[2], 'wb').write(png)
