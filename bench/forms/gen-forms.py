#!/usr/bin/env python3
"""Writes three programs into the directory given (default: the current one):
z80.asm (30,003 lines for the Z80 table) and rv32im.asm (26,003 lines for the
RISC-V table), whose operands are labels named like registers, and 6502.asm
(24,153 lines for the 6502 table), whose operands are expressions of several
names and numbers (PTR+1, LOW TAB, BUF-1).
usage: bench/forms/gen-forms.py [dir]"""
import os
import sys

out = sys.argv[1] if len(sys.argv) > 1 else "."

# Z80: labels that begin with register and condition names (B, C, D, H, L,
# NZ, ...), compared letter by letter with the name lists of the table.
lines = ['\tCPU "z80.tbl"', '\tHOF "INT8"', '\tORG 100H']
for i in range(2000):
    lines += [f'LOOP{i}\tLD A,(BUF{i})', f'\tLD HL,DATA{i}', f'\tLD B,COUNT{i}', '\tCP 0DH',
              f'\tJR Z,DONE{i}', f'\tCALL SUB{i}', '\tLD (HL),A', '\tINC HL', f'\tDJNZ LOOP{i}',
              f'DONE{i}\tLD DE,{i * 3}', f'\tJP NZ,LOOP{i}', f'SUB{i}\tRET']
for i in range(2000):
    lines += [f'BUF{i}\tEQU {1000 + i}', f'DATA{i}\tEQU {2000 + i}', f'COUNT{i}\tEQU {i % 200}']
with open(os.path.join(out, "z80.asm"), "w") as f:
    f.write("\n".join(lines) + "\n")

# RISC-V: branch and jump fields of 45 steps, %hi and %lo, register names.
lines = ['\tCPU "rv32im.tbl"', '\tHOF "INT8"', '\tORG 0']
for i in range(2000):
    lines += [f'loop{i}\tlw t0,0(a1)', '\tsw t0,4(a0)', f'\taddi a0,a0,{i % 100}', '\tadd a1,a1,t1',
              f'\tbeqz a2,done{i}', f'\tjal fn{i}', f'\tlui a3,%hi(data{i})', f'\taddi a3,a3,%lo(data{i})',
              '\tsrl a0,s0,s1', f'done{i}\tmv s0,a0', f'fn{i}\tret', f'\tbne a0,a1,loop{i}']
for i in range(2000):
    lines += [f'data{i}\tEQU {4096 + i * 4}']
with open(os.path.join(out, "rv32im.asm"), "w") as f:
    f.write("\n".join(lines) + "\n")

# 6502: operands of several names and numbers.
lines = ['\tCPU "6502.tbl"', '\tHOF "INT8"', '\tORG 1000H']
for i in range(4000):
    lines += [f'P{i}\tLDA PTR{i % 50}+1', f'\tSTA BUF{i % 50}+2,X', f'\tLDA #LOW TAB{i % 50}',
              f'\tLDA #HIGH TAB{i % 50}+{i % 7}', f'\tADC BUF{i % 50}-1', f'\tJMP P{i}+3']
for i in range(50):
    lines += [f'PTR{i}\tEQU {0x20 + i}', f'BUF{i}\tEQU {0x300 + i * 4}', f'TAB{i}\tEQU {0x5000 + i * 16}']
with open(os.path.join(out, "6502.asm"), "w") as f:
    f.write("\n".join(lines) + "\n")
