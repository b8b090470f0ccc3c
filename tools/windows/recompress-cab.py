#!/usr/bin/python3
"""Compresses a cabinet's MSZIP data again, each block referring back to the
one before it, as the format allows and Windows' own cabinet writer does.

wixl's cabinet writer compresses every 32 KB block on its own, which makes
the Windows Installer package about a tenth larger than it needs to be. The
files, their order and the blocks' sizes stay as they are; only the
compressed data and its checksums change.

usage: recompress-cab.py IN.cab OUT.cab
"""
import struct
import sys
import zlib

HEADER = struct.Struct("<4sIIIIIBBHHHHH")
FOLDER = struct.Struct("<IHH")
BLOCK = struct.Struct("<IHH")
MSZIP = 1


def checksum(data, seed=0):
    """The cabinet format's checksum: the data's 32-bit words XORed."""
    whole = len(data) // 4 * 4
    words = struct.unpack(f"<{whole // 4}I", data[:whole])
    value = seed
    for word in words:
        value ^= word
    tail = 0
    for byte in data[whole:]:
        tail = tail << 8 | byte
    return value ^ tail


def block_checksum(compressed, uncompressed_size):
    sizes = struct.pack("<HH", len(compressed), uncompressed_size)
    return checksum(sizes, checksum(compressed))


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    cab = open(sys.argv[1], "rb").read()
    header = list(HEADER.unpack_from(cab))
    folders, flags = header[8], header[10]
    if header[0] != b"MSCF" or folders != 1 or flags != 0:
        raise SystemExit(f"{sys.argv[1]}: not a cabinet of one folder without reserves")
    data_start, blocks, compression = FOLDER.unpack_from(cab, HEADER.size)
    if compression != MSZIP:
        raise SystemExit(f"{sys.argv[1]}: not MSZIP")

    out = bytearray(cab[:data_start])
    at = data_start
    history = b""
    for _ in range(blocks):
        _, size, uncompressed_size = BLOCK.unpack_from(cab, at)
        body = cab[at + BLOCK.size:at + BLOCK.size + size]
        at += BLOCK.size + size
        if body[:2] != b"CK":
            raise SystemExit(f"{sys.argv[1]}: a block without the MSZIP signature")
        plain = zlib.decompressobj(-15, zdict=history).decompress(body[2:]) if history else \
            zlib.decompressobj(-15).decompress(body[2:])
        if len(plain) != uncompressed_size:
            raise SystemExit(f"{sys.argv[1]}: a block of the wrong size")
        packer = (zlib.compressobj(9, zlib.DEFLATED, -15, 9, zdict=history) if history else
                  zlib.compressobj(9, zlib.DEFLATED, -15, 9))
        compressed = b"CK" + packer.compress(plain) + packer.flush()
        out += BLOCK.pack(block_checksum(compressed, uncompressed_size), len(compressed),
                          uncompressed_size)
        out += compressed
        history = plain
    header[2] = len(out)
    out[:HEADER.size] = HEADER.pack(*header)
    open(sys.argv[2], "wb").write(out)


if __name__ == "__main__":
    main()
