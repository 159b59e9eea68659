"""The words of the 81 credits pages, written for the moments they flash.

Page p is shown while the choreography's credits value is p + 1. During the drop
(rows 896-1151, 120 bpm, a sixteenth note is two rows) the pages go by one per
sixteenth in bars of 32 rows: a run of single words, a flicker between two or
three pages, and a page held for a beat at the end of the bar. Pages that
flicker are parts of one layout (the next held page, or a line split in place),
so the eye assembles them. In the finale (rows 1663-2046) each closing line
blinks on sixteenths for one or two seconds, so those pages carry a short line.

Pages 32, 61 and 80 are never reached by the choreography; they complete the
set with pages that would fit where they stand.

Every name here is invented: the group's members, the greeted groups and the
intro's title.
"""

TITLE = "VESPERROW"
GROUP = "VELMORAND"


# Faces: "condensed" for most words, "display" (the wordmark's face) for the
# group's name, "title" for the intro's title.
def word(text, section, caption=None, align="center", row="middle", face="condensed", scale=1.0):
    return {"kind": "word", "text": text, "section": section, "caption": caption,
            "align": align, "row": row, "face": face, "scale": scale}


def split(parts, show, section, caption=None, face="condensed", scale=1.0):
    """One line laid out whole; only the parts listed in show are drawn."""
    return {"kind": "split", "parts": parts, "show": show, "section": section,
            "caption": caption, "face": face, "scale": scale}


def stack(lines, show, section):
    """Lines stacked in one layout; only the lines listed in show are drawn."""
    return {"kind": "stack", "lines": lines, "show": show, "section": section}


def roster(title, names, column, first_number, section="GREETINGS"):
    """A numbered column of names: column 0 or 1 sits left or right of centre,
    None in the middle."""
    return {"kind": "roster", "title": title, "names": names, "column": column,
            "first": first_number, "section": section}


def emblem(section):
    return {"kind": "emblem", "section": section}


def spark(section):
    return {"kind": "spark", "section": section}


def verse(line, caption, section="CLOSING"):
    return {"kind": "verse", "line": line, "caption": caption, "section": section}


TITLE_PARTS = ["VESPER", "ROW"]
CODE_PARTS = ["KORVEL", " & ", "MIRETH"]
MUSIC_PARTS = ["SOL", "VAI", "RE"]
ART_PARTS = ["QUENTRA", " & ", "OBELINE"]
CRAFT_PARTS = ["HAND", " MADE ", "PIXELS"]
GREET_FLICKER = ["HALVARD SIGNAL", "QUIETMOTH"]
GREET_LEFT = ["TIDEWRIGHT", "CORVANE", "LUMENFOLD", "STRAY PARALLAX"]
GREET_RIGHT = ["OSMIUM CHOIR", "NINE LANTERNS", "MOSSVAULT", "HEXWREN"]
GREET_GLITCH = ["PALE MERIDIAN", "CINDERHOOK"]
GREET_HELD = ["GLIMMERSTACK", "ASHGROVE UNIT", "POLYGLINT", "OBSIDIAN KITE", "SUNDIAL SECT"]
GREET_PAIR = ["ORBIT TAILORS", "NULLHAVEN"]
GREET_LAST = ["TINFOIL ORCHARD", "EMBERSYNTAX", "COPPERFERN", "SALTGLASS UNION"]
SIGN_OFF = ["WATCHING", "LISTENING"]

PAGES = [
    # Bar 1, rows 896-927: the title.
    word(GROUP, "TITLE", face="display", scale=0.6),
    word("PRESENTS", "TITLE", align="left"),
    word("A REAL-TIME", "TITLE", align="right"),
    word("INTRO", "TITLE"),
    split(TITLE_PARTS, [0], "TITLE", face="title", scale=0.75),
    split(TITLE_PARTS, [1], "TITLE", face="title", scale=0.75),
    emblem("TITLE"),
    split(TITLE_PARTS, [0, 1], "TITLE", caption="AN INTRO IN ONE HUNDRED AND THIRTY-SIX SECONDS",
          face="title", scale=0.75),
    # Bar 2, rows 928-959: code.
    word("CODE", "CODE", caption="ROLE 01", align="left", row="upper"),
    word("SHADERS", "CODE", caption="ROLE 02", align="right", row="lower"),
    word("SYNC", "CODE", caption="ROLE 03", align="left", row="lower"),
    word("TOOLS", "CODE", caption="ROLE 04", align="right", row="upper"),
    split(CODE_PARTS, [0], "CODE"),
    split(CODE_PARTS, [2], "CODE"),
    split(CODE_PARTS, [1], "CODE"),
    split(CODE_PARTS, [0, 1, 2], "CODE", caption="CODE, SHADERS, SYNC AND TOOLS"),
    # Bar 3, rows 960-991: music; the name stutters in three syllables.
    word("MUSIC", "MUSIC", caption="ROLE 05", align="left"),
    word("MIXING", "MUSIC", caption="ROLE 06"),
    word("MASTERING", "MUSIC", caption="ROLE 07", align="right"),
    word("BY", "MUSIC"),
    split(MUSIC_PARTS, [0], "MUSIC"),
    split(MUSIC_PARTS, [1], "MUSIC"),
    split(MUSIC_PARTS, [2], "MUSIC"),
    split(MUSIC_PARTS, [0, 1, 2], "MUSIC", caption="SOUNDTRACK, MIX AND MASTER"),
    # Bar 4, rows 992-1023: pictures.
    word("LOGO", "GRAPHICS", caption="ROLE 08", align="left", row="upper"),
    word("TYPE", "GRAPHICS", caption="ROLE 09", align="right", row="upper"),
    word("COLOUR", "GRAPHICS", caption="ROLE 10", align="left", row="lower"),
    word("LIGHT", "GRAPHICS", caption="ROLE 11", align="right", row="lower"),
    word("CAMERA", "GRAPHICS", caption="ROLE 12"),
    word("BY", "GRAPHICS"),
    split(ART_PARTS, [0], "GRAPHICS"),
    split(ART_PARTS, [2], "GRAPHICS"),
    split(ART_PARTS, [0, 1, 2], "GRAPHICS", caption="GRAPHICS AND DIRECTION"),
    split(CRAFT_PARTS, [0], "GRAPHICS"),
    split(CRAFT_PARTS, [1], "GRAPHICS"),
    split(CRAFT_PARTS, [2], "GRAPHICS"),
    # Bar 5, rows 1024-1055: greetings begin; two columns of names flicker.
    word("GREETINGS", "GREETINGS"),
    word("TO", "GREETINGS", align="left"),
    word("FRIENDS", "GREETINGS", align="right"),
    word("EVERYWHERE", "GREETINGS"),
    stack(GREET_FLICKER, [0], "GREETINGS"),
    stack(GREET_FLICKER, [1], "GREETINGS"),
    roster("GREETINGS", GREET_LEFT, 0, 1),
    roster("GREETINGS", GREET_RIGHT, 1, 5),
    # Bar 6, rows 1056-1087: more greetings under the glitch.
    word("AND", "GREETINGS"),
    stack(GREET_GLITCH, [0], "GREETINGS"),
    stack(GREET_GLITCH, [1], "GREETINGS"),
    roster("GREETINGS", GREET_HELD, None, 9),
    # Bar 7, rows 1088-1119.
    word("KILN & KETTLE", "GREETINGS", align="left"),
    word("WYRMLIGHT", "GREETINGS"),
    word("BRASKOVA", "GREETINGS", align="right"),
    stack(GREET_PAIR, [0], "GREETINGS"),
    stack(GREET_PAIR, [1], "GREETINGS"),
    word("VANTERLY", "GREETINGS"),
    spark("GREETINGS"),
    roster("AND ALSO", GREET_LAST, None, 14),
    # Bar 8, rows 1120-1151: to the audience, then the name strobes.
    word("AND", "THANKS", align="left"),
    word("TO", "THANKS", align="right"),
    word("EVERYONE", "THANKS"),
    stack(SIGN_OFF, [0], "THANKS"),
    stack(SIGN_OFF, [1], "THANKS"),
    stack(SIGN_OFF, [0, 1], "THANKS"),
    emblem("THANKS"),
    word(GROUP, "THANKS", caption="WITH LOVE FROM", face="display", scale=0.6),
    # Finale, rows 1663-2046: closing words, one line per page.
    verse("THE SUN IS DOWN", "AFTER DUSK"),
    verse("THE CUBES ROLL ON", "AFTER DUSK"),
    verse("INTO THE LONG HALL", "AFTER DUSK"),
    verse("EVERY EDGE A LANTERN", "AFTER DUSK"),
    verse("EVERY BEAT A DOOR", "AFTER DUSK"),
    verse("WE MADE THIS", "AFTER DUSK"),
    verse("IN THE SMALL HOURS", "AFTER DUSK"),
    verse("WITH BORROWED LIGHT", "AFTER DUSK"),
    verse("FOR YOU", "SIGNING OFF"),
    verse("STAY CURIOUS", "SIGNING OFF"),
    verse("STAY UP LATE", "SIGNING OFF"),
    verse("MAKE SOMETHING", "SIGNING OFF"),
    verse("SHARE IT", "SIGNING OFF"),
    verse(GROUP, "SIGNING OFF"),
    verse("SIGNING OFF", "SIGNING OFF"),
    verse("GOOD NIGHT", "SIGNING OFF"),
    verse("THE END", "SIGNING OFF"),
]

assert len(PAGES) == 81
