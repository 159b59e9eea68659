"""Geometry of the group's mark: a cube seen from above, split into a lifted lid
and a V-shaped base (the two side faces), with gaps between the three faces.

Everything is given as polygons in pixels around a centre, so the same mark can
be drawn at any size: in the logos, on credits pages and in the window icon.
"""
import math

COS30 = math.cos(math.pi / 6)


def _offset(poly, dx, dy):
    return [(x + dx, y + dy) for x, y in poly]


def faces(cx, cy, radius, gap_ratio=0.075, lift_ratio=0.16):
    """Returns (lid, left, right) polygons for a mark of the given circumradius.

    The side faces meet at the cube's front edge only at a gap, so the base
    reads as a letter V; the lid floats above the V's notch.
    """
    r = radius
    w = r * COS30
    g = r * gap_ratio
    lift = r * lift_ratio
    # The hexagon is centred at (cx, cy); the lid is lifted and the base lowered
    # by half the lift each, so the whole mark stays centred.
    top_y, base_y = cy - lift / 2, cy + lift / 2
    lid = [(0, -r), (w, -r / 2), (0, 0), (-w, -r / 2)]
    lid = _shrink(lid, g / 2)
    # The side faces stop g/2 short of the front edge x = 0; their upper and lower
    # edges rise by r/2 over the half-width w, hence the y values at x = g/2.
    rise = (g / 2) * (r / 2) / w
    left = [(-w, -r / 2), (-g / 2, -rise), (-g / 2, r - rise), (-w, r / 2)]
    right = [(g / 2, -rise), (w, -r / 2), (w, r / 2), (g / 2, r - rise)]
    return (_offset(lid, cx, top_y), _offset(left, cx, base_y), _offset(right, cx, base_y))


def _shrink(poly, amount):
    """Moves every vertex towards the polygon's centroid by amount."""
    mx = sum(x for x, _ in poly) / len(poly)
    my = sum(y for _, y in poly) / len(poly)
    out = []
    for x, y in poly:
        dx, dy = x - mx, y - my
        d = math.hypot(dx, dy)
        out.append((x - dx / d * amount, y - dy / d * amount))
    return out


def hull(cx, cy, radius, lift_ratio=0.16):
    """The hexagon around the whole mark, lid and lift included: the shape an
    outline follows, so the notch between lid and base is never left open."""
    r = radius
    w = r * COS30
    h = r * lift_ratio / 2
    poly = [(0, -r - h), (w, -r / 2 - h), (w, r / 2 + h), (0, r + h), (-w, r / 2 + h), (-w, -r / 2 - h)]
    return _offset(poly, cx, cy)


def bounds(cx, cy, radius, lift_ratio=0.16):
    """(left, top, right, bottom) of the whole mark."""
    lift = radius * lift_ratio
    return (cx - radius * COS30, cy - radius - lift / 2, cx + radius * COS30, cy + radius + lift / 2)
