"""Regenerates every image of the intro, or checks that the committed ones match.

    tools/assets/make_all            write assets/*.png, assets/icon.ico and tools/assets/contact_sheet.png
    tools/assets/make_all --check    regenerate into a temporary folder and compare bytes
"""
import argparse
import filecmp
import pathlib
import sys
import tempfile

import banner
import blue_noise
import credits
import icon
import icon_ico
import lettering
import logo
import measure

HERE = pathlib.Path(__file__).resolve().parent
REPO = HERE.parent.parent
ASSETS = REPO / "assets"
SHEET = HERE / "contact_sheet.png"


def outputs():
    """Every file the generators write, relative to (assets folder, sheet path)."""
    names = ["blue_noise.png", "logo.png", "banner.png", "lettering.png", "icon_16.png", "icon_32.png",
             "icon.ico"]
    names += [f"icon_{size}.png" for size in icon.MENU_SIZES]
    names += [f"credits_{i:02d}.png" for i in range(credits.IMAGES)]
    return names


def generate(assets_dir, sheet_path):
    for step, run in [("blue noise", lambda: blue_noise.build(assets_dir)),
                      ("credits pages", lambda: credits.build(assets_dir, sheet_path)),
                      ("logo", lambda: logo.build(assets_dir)),
                      ("banner", lambda: banner.build(assets_dir)),
                      ("lettering", lambda: lettering.build(assets_dir)),
                      ("icon", lambda: icon.build(assets_dir)),
                      ("icon for desktop menus", lambda: icon.build_menu_sizes(assets_dir)),
                      ("icon for Windows", lambda: icon_ico.build(assets_dir))]:
        print(f"make_all: {step}", flush=True)
        run()


def check():
    with tempfile.TemporaryDirectory() as scratch:
        scratch = pathlib.Path(scratch)
        generate(scratch, scratch / SHEET.name)
        pairs = [(scratch / name, ASSETS / name) for name in outputs()]
        pairs.append((scratch / SHEET.name, SHEET))
        differing = [str(ours.relative_to(REPO)) for new, ours in pairs
                     if not ours.exists() or not filecmp.cmp(new, ours, shallow=False)]
    if differing:
        print("make_all: these files differ from what the generators make:\n  " + "\n  ".join(differing))
        return 1
    print(f"make_all: all {len(pairs)} files match byte for byte")
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--check", action="store_true", help="compare instead of writing")
    args = parser.parse_args()
    if args.check:
        return check()
    ASSETS.mkdir(exist_ok=True)
    generate(ASSETS, SHEET)
    print(measure.report(ASSETS))
    return 0


if __name__ == "__main__":
    sys.exit(main())
