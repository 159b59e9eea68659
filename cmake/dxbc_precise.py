#!/usr/bin/python3
"""Marks the rounding arithmetic of a DXBC program precise, instruction by
instruction, files shader model 5 code under the chunk kind the native
compiler gives it, and signs the container again.

    cmake/dxbc_precise.py PROGRAM.dxbc      (rewrites the file in place)

vkd3d-compiler writes no refactoringAllowed flag, so Direct3D already runs
the whole program as precise: no fused multiply-adds, no reordering. Wine
translates DXBC to GLSL and ignores the missing flag; only the per-instruction
marks reach its GLSL (as `precise`). Without them the GL compiler fuses and
reorders freely, and hashes that take the fraction of a large product (the
scene's noises) come out different. The marks say for each instruction what
the missing flag says for the program, so a Direct3D driver sees no change.

vkd3d-compiler files every program's code in an SHDR chunk, the shader
model 4 kind. The native compiler writes SHEX for shader model 5 and SHDR
only below it; runtimes accept both today, but a driver has every right to
expect what the native compiler makes, so the chunk is renamed by the
program's own version token.
"""
import struct
import sys

# Shader model 4/5 opcodes whose result is a rounded float.
ROUNDING_OPCODES = {
    0: "add", 14: "div", 15: "dp2", 16: "dp3", 17: "dp4", 25: "exp", 26: "frc",
    47: "log", 50: "mad", 56: "mul", 68: "rsq", 75: "sqrt", 77: "sincos", 129: "rcp",
}
OPCODE_CUSTOMDATA = 0x35
PRECISE_ALL_COMPONENTS = 0xF << 19


def _md5_block(state, block):
    shifts = [7, 12, 17, 22] * 4 + [5, 9, 14, 20] * 4 + [4, 11, 16, 23] * 4 + [6, 10, 15, 21] * 4
    words = struct.unpack("<16I", block)
    a, b, c, d = state
    for i in range(64):
        if i < 16:
            f, g = (b & c) | (~b & d), i
        elif i < 32:
            f, g = (d & b) | (~d & c), (5 * i + 1) % 16
        elif i < 48:
            f, g = b ^ c ^ d, (3 * i + 5) % 16
        else:
            f, g = c ^ (b | (~d & 0xFFFFFFFF)), (7 * i) % 16
        f = (f + a + _MD5_SINES[i] + words[g]) & 0xFFFFFFFF
        rotated = ((f << shifts[i]) | (f >> (32 - shifts[i]))) & 0xFFFFFFFF
        a, d, c, b = d, c, b, (b + rotated) & 0xFFFFFFFF
    return [(x + y) & 0xFFFFFFFF for x, y in zip(state, (a, b, c, d))]


def _md5_sines():
    import math
    return [int(abs(math.sin(i + 1)) * 2**32) & 0xFFFFFFFF for i in range(64)]


_MD5_SINES = _md5_sines()


def dxbc_checksum(container):
    """The container's signature: MD5 rounds over everything after the
    signature field, with Direct3D's own final block (bit count first, and
    bit count / 4 | 1 last)."""
    data = bytes(container[20:])
    bits = len(data) * 8
    state = [0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476]
    whole = len(data) // 64 * 64
    for at in range(0, whole, 64):
        state = _md5_block(state, data[at:at + 64])
    rest = data[whole:]
    last_word = struct.pack("<I", (bits >> 2) | 1)
    if len(rest) >= 56:
        state = _md5_block(state, rest + b"\x80" + bytes(63 - len(rest)))
        state = _md5_block(state, struct.pack("<I", bits) + bytes(56) + last_word)
    else:
        block = struct.pack("<I", bits) + rest + b"\x80"
        state = _md5_block(state, block + bytes(60 - len(block)) + last_word)
    return struct.pack("<4I", *state)


def program_chunks(container):
    """Offsets of the chunks that hold program code."""
    if container[:4] != b"DXBC":
        raise ValueError("not a DXBC container")
    chunk_count = struct.unpack_from("<I", container, 28)[0]
    for offset in struct.unpack_from("<%dI" % chunk_count, container, 32):
        if container[offset:offset + 4] in (b"SHEX", b"SHDR"):
            yield offset


def name_program_chunk(container):
    """SHEX for shader model 5 and above, SHDR below, by the version token
    that opens the chunk's code (major version in bits 4 to 7)."""
    for offset in program_chunks(container):
        version = struct.unpack_from("<I", container, offset + 8)[0]
        container[offset:offset + 4] = b"SHEX" if (version >> 4) & 0xF >= 5 else b"SHDR"


def mark_precise(container):
    """Sets the precise bits of every rounding instruction in the program
    chunk; returns how many were marked."""
    marked = 0
    for offset in program_chunks(container):
        program = offset + 8
        tokens = struct.unpack_from("<I", container, program + 4)[0]
        at = 2
        while at < tokens:
            token = struct.unpack_from("<I", container, program + 4 * at)[0]
            opcode = token & 0x7FF
            if opcode == OPCODE_CUSTOMDATA:
                length = struct.unpack_from("<I", container, program + 4 * at + 4)[0]
            else:
                length = (token >> 24) & 0x7F
            if length == 0:
                raise ValueError("malformed instruction at token %d" % at)
            if opcode in ROUNDING_OPCODES:
                struct.pack_into("<I", container, program + 4 * at, token | PRECISE_ALL_COMPONENTS)
                marked += 1
            at += length
    return marked


def main(path):
    with open(path, "rb") as f:
        container = bytearray(f.read())
    if dxbc_checksum(container) != container[4:20]:
        sys.exit("%s: the container's signature does not match its contents" % path)
    mark_precise(container)
    name_program_chunk(container)
    container[4:20] = dxbc_checksum(container)
    with open(path, "wb") as f:
        f.write(container)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: dxbc_precise.py PROGRAM.dxbc")
    main(sys.argv[1])
