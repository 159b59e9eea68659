"""A small ICC version 2 display profile for sRGB, built byte by byte.

Writing it here rather than asking a colour library keeps it free of creation
dates and library version strings, so the logo regenerates byte for byte.
"""
import struct

DESCRIPTION = "sRGB IEC61966-2.1"
COPYRIGHT = "No copyright, use freely"

# Primaries adapted to the D50 connection space, and the D65 media white.
RED = (0.4360747, 0.2225045, 0.0139322)
GREEN = (0.3850649, 0.7168786, 0.0971045)
BLUE = (0.1430804, 0.0606169, 0.7141733)
WHITE = (0.9504559, 1.0, 1.0890578)
D50 = (0.9642, 1.0, 0.8249)
CURVE_POINTS = 1024


def _s15f16(value):
    return struct.pack(">i", int(round(value * 65536)))


def _xyz(values):
    return b"XYZ " + bytes(4) + b"".join(_s15f16(v) for v in values)


def _srgb_to_linear(v):
    return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4


def _curve():
    points = [round(_srgb_to_linear(i / (CURVE_POINTS - 1)) * 65535) for i in range(CURVE_POINTS)]
    return b"curv" + bytes(4) + struct.pack(">I", CURVE_POINTS) + struct.pack(f">{CURVE_POINTS}H", *points)


def _description(text):
    ascii_text = text.encode("ascii") + b"\0"
    # ASCII part, then empty Unicode and ScriptCode parts (the latter is fixed at 67 bytes).
    return (b"desc" + bytes(4) + struct.pack(">I", len(ascii_text)) + ascii_text
            + struct.pack(">II", 0, 0) + struct.pack(">HB", 0, 0) + bytes(67))


def _text(text):
    return b"text" + bytes(4) + text.encode("ascii") + b"\0"


def _pad4(data):
    return data + bytes(-len(data) % 4)


def profile():
    curve = _curve()
    tags = [(b"desc", _description(DESCRIPTION)), (b"cprt", _text(COPYRIGHT)),
            (b"wtpt", _xyz(WHITE)), (b"rXYZ", _xyz(RED)), (b"gXYZ", _xyz(GREEN)),
            (b"bXYZ", _xyz(BLUE)), (b"rTRC", curve), (b"gTRC", curve), (b"bTRC", curve)]
    table_size = 4 + 12 * len(tags)
    offset = 128 + table_size
    entries, body, placed = [], b"", {}
    for signature, data in tags:
        if data not in placed:  # the three tone curves share one copy
            placed[data] = offset + len(body)
            body += _pad4(data)
        entries.append(struct.pack(">4sII", signature, placed[data], len(data)))
    size = offset + len(body)
    header = (struct.pack(">I", size) + bytes(4) + struct.pack(">I", 0x02100000)
              + b"mntr" + b"RGB " + b"XYZ "
              + struct.pack(">6H", 2024, 1, 1, 0, 0, 0)
              + b"acsp" + bytes(4) + struct.pack(">I", 0) + bytes(4) + bytes(4) + bytes(8)
              + struct.pack(">I", 0) + b"".join(_s15f16(v) for v in D50) + bytes(4) + bytes(44))
    assert len(header) == 128
    return header + struct.pack(">I", len(tags)) + b"".join(entries) + body
