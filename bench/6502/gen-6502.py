#!/usr/bin/env python3
"""Writes one generated 6502 program in three syntaxes: tarn's (with the 6502
CPU table), dasm's and 64tass's. The program cycles through every documented
opcode in every addressing mode, puts a label every ten lines, branches and
jumps backward and forward, and mixes in data lines. Every 56 KB the code
starts again at $1000 (ORG under "INT8" here, RORG for dasm, .logical for
64tass), so that every address fits in 16 bits while the three binary images
stay one flat stream of bytes.

usage: gen-6502.py LINES OUTDIR   (writes bench.asm, bench.dasm, bench.s)
"""
import os
import sys

# The documented opcodes by mnemonic and addressing mode; the opcode numbers
# themselves are the CPU table's business, only the sizes matter here.
GROUP1 = ["ORA", "AND", "EOR", "ADC", "STA", "LDA", "CMP", "SBC"]
MODES1 = ["imm", "zp", "abs", "zpx", "absx", "absy", "indx", "indy"]
OPS = [(m, mode) for m in GROUP1 for mode in MODES1 if (m, mode) != ("STA", "imm")]
OPS += [(m, mode) for m in ["ASL", "ROL", "LSR", "ROR"] for mode in ["acc", "zp", "abs", "zpx", "absx"]]
OPS += [(m, mode) for m in ["DEC", "INC"] for mode in ["zp", "abs", "zpx", "absx"]]
OPS += [("STX", "zp"), ("STX", "abs"), ("STX", "zpy"),
        ("LDX", "imm"), ("LDX", "zp"), ("LDX", "abs"), ("LDX", "zpy"), ("LDX", "absy"),
        ("BIT", "zp"), ("BIT", "abs"), ("STY", "zp"), ("STY", "abs"), ("STY", "zpx"),
        ("LDY", "imm"), ("LDY", "zp"), ("LDY", "abs"), ("LDY", "zpx"), ("LDY", "absx"),
        ("CPY", "imm"), ("CPY", "zp"), ("CPY", "abs"), ("CPX", "imm"), ("CPX", "zp"), ("CPX", "abs"),
        ("JMP", "abs"), ("JMP", "ind"), ("JSR", "abs")]
OPS += [(m, "rel") for m in ["BPL", "BMI", "BVC", "BVS", "BCC", "BCS", "BNE", "BEQ"]]
OPS += [(m, "imp") for m in ["BRK", "PHP", "CLC", "PLP", "SEC", "RTI", "PHA", "CLI", "RTS", "PLA", "SEI", "DEY",
                             "TXA", "TYA", "TXS", "TAY", "TAX", "CLV", "TSX", "INY", "DEX", "CLD", "INX", "NOP",
                             "SED"]]
assert len(OPS) == 151

SIZE = {"imp": 1, "acc": 1, "imm": 2, "zp": 2, "zpx": 2, "zpy": 2, "indx": 2, "indy": 2, "rel": 2,
        "abs": 3, "absx": 3, "absy": 3, "ind": 3}
SEGMENT_START = 0x1000
SEGMENT_BYTES = 56 * 1024
BLOCK = 10  # lines per label


class Writer:
    """Collects the program once, as (label, mnemonic, operand) rows, and
    renders each row in the three syntaxes."""

    def __init__(self, outdir):
        self.files = {k: open(os.path.join(outdir, n), "w") for k, n in
                      [("tarn", "bench.asm"), ("dasm", "bench.dasm"), ("tass", "bench.s")]}

    def raw(self, tarn, dasm, tass):
        self.files["tarn"].write(tarn + "\n")
        self.files["dasm"].write(dasm + "\n")
        self.files["tass"].write(tass + "\n")

    def instruction(self, label, mnemonic, mode, operand):
        text = f"{mnemonic} {operand}".rstrip()
        # dasm reads an "A" operand as a symbol: its accumulator form has none.
        dasm = mnemonic if mode == "acc" else text
        self.raw(f"{label}\t{text}", f"{label}\t{dasm}", f"{label}\t{text}")

    def data(self, label, kind, values):
        ours = {"byte": "DFB", "word": "DWL"}[kind]
        self.raw(f"{label}\t{ours} {values}", f"{label}\t.{kind} {values}", f"{label}\t.{kind} {values}")

    def close(self):
        for f in self.files.values():
            f.close()


def operand(mode, n, k, last_label):
    """An operand for addressing mode MODE on line N of block K; absolute
    operands are at least $100 so that each assembler picks the same form."""
    zp = (n * 7) & 0xFF
    ab = 0x0100 + (n * 263) % 0xFE00
    if mode in ("abs", "absx", "absy") and n % 3 == 0:
        # A label as address: the next one (forward) or the previous one.
        ab = None
        target = f"L{k + 1}" if n % 2 == 0 and k + 1 <= last_label else f"L{max(k - 1, 0)}"
    return {
        "imp": "", "acc": "A" if n % 2 else "", "imm": f"#${zp:02X}", "zp": f"${zp:02X}",
        "zpx": f"${zp:02X},X", "zpy": f"${zp:02X},Y", "indx": f"(${zp:02X},X)", "indy": f"(${zp:02X}),Y",
        "abs": f"${ab:04X}" if ab else target, "absx": f"${ab:04X},X" if ab else f"{target},X",
        "absy": f"${ab:04X},Y" if ab else f"{target},Y", "ind": f"(${0x0200 + n % 0xFD00:04X})",
    }[mode]


def main():
    lines = int(sys.argv[1])
    out = Writer(sys.argv[2])
    out.raw('\tCPU "6502.tbl"\n\tHOF "INT8"\n\tORG $1000', "\tprocessor 6502\n\torg $0000\n\trorg $1000",
            "*\t= $0000\n\t.logical $1000")
    body = lines - 5
    blocks = body // BLOCK
    last_label = blocks - 1
    pc = SEGMENT_START
    op = 0
    first_block = 0  # first block of the current segment
    n = 0
    for k in range(blocks):
        # A segment ends before a block that might not fit; branches never
        # cross the restart: the last block of a segment branches only
        # backward, the first only forward.
        last_of_segment = pc + 40 * BLOCK > SEGMENT_START + SEGMENT_BYTES - 2 * 40 * BLOCK
        for i in range(BLOCK):
            label = f"L{k}" if i == 0 else ""
            n += 1
            if i == 4:
                if n % 20 < 10:
                    out.data(label, "byte", f"{n & 0xFF}, 2, $FF, {k & 0x7F}")
                    pc += 4
                else:
                    out.data(label, "word", f"${(n * 31) & 0xFFFF:04X}, L{k}")
                    pc += 4
                continue
            if i == 7:
                # A jump to a label five blocks away, forward or back.
                target = k + 5 if k % 2 == 0 and k + 5 <= last_label else max(k - 5, 0)
                out.instruction(label, "JMP" if k % 3 else "JSR", "abs", f"L{target}")
                pc += 3
                continue
            mnemonic, mode = OPS[op % len(OPS)]
            op += 1
            if mode == "rel":
                forward = (k % 2 == 0 or k == first_block) and not last_of_segment and k + 1 <= last_label
                backward_ok = k > first_block
                if forward:
                    target = f"L{k + 1}"
                elif backward_ok:
                    target = f"L{k - 1}" if i < 5 else f"L{k}"
                else:
                    target = f"L{k}"
                out.instruction(label, mnemonic, mode, target)
            else:
                out.instruction(label, mnemonic, mode, operand(mode, n, k, last_label))
            pc += SIZE[mode]
        if last_of_segment and k < blocks - 1:
            out.raw("\tORG $1000", "\trend\n\trorg $1000", "\t.here\n\t.logical $1000")
            pc = SEGMENT_START
            first_block = k + 1
    out.raw("\tEND", "\trend", "\t.here")
    out.close()


main()
