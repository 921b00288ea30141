#!/usr/bin/env python3
"""Writes the hostile sources that once took quadratic time or memory, into the directory given."""
import os
import sys

out = sys.argv[1]


def write(name, text):
    with open(os.path.join(out, name), "w") as f:
        f.write(text)


# A macro that defines one label and invokes itself: ends with error 13.
write("self-invoking-1.asm", "M\tMACRO\nL\tDFB 1\n\tM\n\tENDM\n\tM\n\tEND\n")
# The same with 50 labels in the body.
body = "".join(f"L{i}\tDFB 1\n" for i in range(50))
write("self-invoking-50.asm", f"M\tMACRO\n{body}\tM\n\tENDM\n\tM\n\tEND\n")
# 20,000 RPTXT lines, then 20,000 lines that use their words.
write("rptxt-20000.asm", "".join(f'\tRPTXT "W{i}","{i % 256}"\n' for i in range(20000)) +
      "".join(f"\tDFB W{i}\n" for i in range(20000)) + "\tEND\n")
# A RPTXT inside a self-invoking macro.
write("rptxt-self-invoking.asm", 'M\tMACRO\n\tRPTXT "AB","CD"\n\tDFB 1\n\tM\n\tENDM\n\tM\n\tEND\n')
# 100,000 distinct macros, each invoked once.
write("macros-100000.asm", "".join(f"M{i}\tMACRO\n\tDFB {i % 256}\n\tENDM\n" for i in range(100000)) +
      "".join(f"\tM{i}\n" for i in range(100000)) + "\tEND\n")
# 2,000,000 lines, each with an error.
write("errors-2000000.asm", "\tDFB 300\n" * 2000000)
