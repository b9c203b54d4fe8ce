"""Pads a PE file to a multiple of 8 bytes, the boundary where Authenticode
puts a signature, and writes its PE checksum for the new length. Signing
then adds nothing but the signature, and removing the signature gives back
these bytes exactly. (The 32-bit program ends in the 14-byte string table
that names its .eh_frame section.)

  align_for_signing.py PROGRAM.exe"""

import struct
import sys


def pe_checksum(data):
    """Windows' PE checksum: 16-bit words summed with their carries folded
    back in, plus the file's length (the field itself holding zero)."""
    total = 0
    for (word,) in struct.iter_unpack("<H", bytes(data)):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    return (total + len(data)) & 0xFFFFFFFF


def main():
    path = sys.argv[1]
    with open(path, "rb") as f:
        data = bytearray(f.read())
    data += b"\0" * (-len(data) % 8)
    # The optional header's CheckSum, at the same place in PE32 and PE32+.
    field = struct.unpack_from("<I", data, 0x3C)[0] + 24 + 64
    struct.pack_into("<I", data, field, 0)
    struct.pack_into("<I", data, field, pe_checksum(data))
    with open(path, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
