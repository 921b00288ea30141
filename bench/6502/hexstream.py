#!/usr/bin/env python3
"""Turns an Intel hex file into the stream of its data bytes in record order,
so that code which restarts at the same address (ORG $1000 again) compares
with a flat binary image. Checks each record's checksum, and that each record
continues where the previous one ended or starts a new run at RESTART.

usage: hexstream.py IN.HEX OUT.BIN [RESTART]   (RESTART defaults to 1000 hex)
"""
import sys


def main():
    source, target = sys.argv[1], sys.argv[2]
    restart = int(sys.argv[3], 16) if len(sys.argv) > 3 else 0x1000
    out = bytearray()
    expected = None
    with open(source) as f:
        for number, line in enumerate(f, 1):
            line = line.strip()
            if not line:
                continue
            if not line.startswith(":"):
                sys.exit(f"{source}:{number}: not an Intel hex record")
            record = bytes.fromhex(line[1:])
            if sum(record) & 0xFF:
                sys.exit(f"{source}:{number}: checksum error")
            count, address, kind = record[0], record[1] << 8 | record[2], record[3]
            if kind == 1:
                break
            if kind != 0:
                continue
            if expected is not None and address != expected and address != restart:
                sys.exit(f"{source}:{number}: record at {address:04X}, expected {expected:04X} or {restart:04X}")
            out += record[4:4 + count]
            expected = (address + count) & 0xFFFF
    with open(target, "wb") as f:
        f.write(out)


main()
