"""The group's colours: a dusk palette, warm where the sun sets, cool where night begins."""

AMBER = (255, 190, 92)
CORAL = (255, 104, 96)
ROSE = (232, 72, 138)
VIOLET = (122, 70, 214)
TEAL = (44, 204, 222)
OCEAN = (34, 92, 196)
NAVY = (22, 30, 88)
INK = (13, 14, 32)
PAPER = (250, 244, 236)
PEACH = (255, 222, 196)

# Stops for the lid of the mark (sunset) and its two sides (dusk to night).
LID = [(0.0, AMBER), (1.0, CORAL)]
LEFT_SIDE = [(0.0, ROSE), (1.0, VIOLET)]
RIGHT_SIDE = [(0.0, TEAL), (1.0, OCEAN)]
WORDMARK = [(0.0, PAPER), (0.6, PAPER), (1.0, PEACH)]
TAGLINE = [(0.0, AMBER), (0.5, ROSE), (1.0, TEAL)]
