#!/usr/bin/python3
"""Prints the info file of a release package, in the manner of a demo
release's: title, what it needs, how to run and stop it, and the credits,
taken from the credits pages the intro shows.

    scripts/lib/release_info.py windows VERSION
    scripts/lib/release_info.py linux VERSION [LIBRARY (PACKAGE) ...]
    scripts/lib/release_info.py warning     the photosensitivity warning alone
"""
import os
import sys
import textwrap

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "assets"))
import credits_pages as cp  # noqa: E402

WIDTH = 72

REQUIREMENTS = {
    "windows": [
        "Windows 10 or 11, 64-bit.",
        "A GPU with Direct3D 11 at feature level 11.0; the programs run as compute "
        "kernels at the desktop's size, so a recent one helps.",
        "Sound through the default output device (it plays silently without one).",
        "On Linux, take the native build (the linux-x64 package).",
    ],
    "linux": [
        "Linux on x86-64 with the shared libraries listed below (Debian 12 package "
        "names in brackets).",
        "A Vulkan 1.3 driver with push descriptors: your GPU's, or Mesa's lavapipe "
        "(mesa-vulkan-drivers), which draws on the CPU.",
        "velmorand-capture writes PNG files by itself; for video it needs the ffmpeg "
        "command.",
    ],
}

# What `velmorand-capture --flash-report` finds over the whole intro (at
# 128x72, 30 frames a second): the seconds where more than three flashes a
# second cover more than a quarter of a 10-degree field.
FLASHING_SECONDS = "from 57 to 83 s and from 104 to 128 s"
WARNING = ("Photosensitivity warning: this intro flashes. " + FLASHING_SECONDS.capitalize() + " it shows "
           "more than three flashes a second (up to 7.5) over a large part of the screen, more than WCAG 2.3.1 and "
           "ITU-R BT.1702 allow. It may trigger seizures in people with photosensitive epilepsy. "
           "Watch in a lit room, from a distance, or not at all if you are sensitive.")

RUNNING = {
    "windows": [
        "Run velmorand.exe. It covers the desktop, plays its soundtrack once and "
        "ends by itself after 2:16. Nothing to install, nothing to configure.",
        "Escape stops it at any time.",
    ],
    "linux": [
        "Run ./velmorand. It covers the screen, plays its soundtrack once and ends "
        "by itself after 2:16.",
        "Escape stops it at any time.",
        "./velmorand-capture --help: the intro rendered offline, frame by frame, to "
        "PNG files or a video (Ctrl-C stops a capture and keeps what was made).",
    ],
}

# Where a report from a viewer's own machine helps, and how to make one.
STUTTER = {
    "windows": [
        "The intro is made to keep up with the display on a GPU. If it stutters, "
        "velmorand-bench.exe --realtime 10 (built from the source with "
        "scripts/build-windows) plays it for 10 seconds and reports the intervals "
        "between frames, the refreshes missed and the GPU time per section; send "
        "that with your GPU and driver.",
    ],
    "linux": [
        "The intro is made to keep up with the display on a GPU. If it stutters or "
        "draws wrongly, scripts/gpu-report in the source writes one text file with "
        "your GPU and driver, timings at 1920x1080 and 3840x2160 and how its "
        "pictures compare with the reference renderer's; send that file. "
        "velmorand-bench --realtime 10 shows how it keeps up with your display.",
    ],
}


def centred(text):
    return text.center(WIDTH).rstrip()


def section(title, lines):
    out = ["", title, "-" * len(title)]
    for line in lines:
        out += textwrap.wrap(line, WIDTH, initial_indent="  - ", subsequent_indent="    ")
    return out


def join_names(names):
    return ", ".join(names[:-1]) + " and " + names[-1] if len(names) > 1 else names[0]


def greeted():
    names = (cp.GREET_FLICKER + cp.GREET_LEFT + cp.GREET_RIGHT + cp.GREET_GLITCH + cp.GREET_HELD +
             ["KILN & KETTLE", "WYRMLIGHT", "BRASKOVA"] + cp.GREET_PAIR + ["VANTERLY"] + cp.GREET_LAST)
    return [join_names(names) + "."]


def credits():
    return [
        "Code, shaders, sync and tools: " + "".join(cp.CODE_PARTS),
        "Soundtrack, mix and master: " + "".join(cp.MUSIC_PARTS),
        "Graphics and direction: " + "".join(cp.ART_PARTS),
    ]


def info(platform, version, libraries):
    lines = [centred(cp.GROUP), centred("presents"), "", centred(cp.TITLE),
             centred("a real-time intro in 136 seconds"), "",
             centred("%s for %s, version %s" % (cp.GROUP.lower(), platform.capitalize(), version))]
    lines += [""] + textwrap.wrap(WARNING, WIDTH)
    lines += section("What it needs", REQUIREMENTS[platform])
    if libraries:
        lines += ["", "  Shared libraries:"] + ["    " + lib for lib in libraries]
    lines += section("Running it", RUNNING[platform])
    lines += section("If it stutters", STUTTER[platform])
    lines += section("Credits", credits())
    lines += section("Greetings", greeted())
    lines += ["", centred("-- " + "  ".join(cp.SIGN_OFF).lower() + " --"), ""]
    newline = "\r\n" if platform == "windows" else "\n"
    return newline.join(lines)


def main(argv):
    if argv[1:] == ["warning"]:
        print(WARNING)
        return
    if len(argv) < 3 or argv[1] not in REQUIREMENTS:
        sys.exit("usage: release_info.py windows|linux VERSION [LIBRARY ...]")
    sys.stdout.buffer.write(info(argv[1], argv[2], argv[3:]).encode("ascii"))


if __name__ == "__main__":
    main(sys.argv)
