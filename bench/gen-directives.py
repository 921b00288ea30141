#!/usr/bin/env python3
"""Writes a directive-only source of N lines with L labels: data lines (DFB, DWL),
EQU symbols, labels with backward and forward references, and an ORG every 5000 lines."""
import sys

def main():
    lines = int(sys.argv[1])
    labels = int(sys.argv[2])
    out = sys.stdout
    out.write('\tHOF "INT16"\n\tORG 0\n')
    every = max(1, lines // labels)
    n = 2
    k = 0
    while n < lines - 1:
        if n % 5000 == 0:
            out.write("\tORG 0\n")  # keeps every address within 16 bits
        elif n % every == 0 and k < labels:
            out.write(f"L{k}\tDWL L{k + 1}, L{max(k - 1, 0)}\n")  # a label with a forward and a backward reference
            k += 1
        elif n % 7 == 0:
            j = n % labels  # names repeat with the same value, so symbols stay as many as labels
            out.write(f"E{j}\tEQU {j} * 3 + 1\n")
        elif n % 2 == 0:
            out.write("\tDFB 1, 2, 3, \"AB\", 0FFH\t; data\n")
        else:
            out.write("\tDWL 1234H, $ + 10, 0\n")
        n += 1
    out.write(f"L{k}\tDFB 0\n\tEND\n")

main()
