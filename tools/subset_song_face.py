#!/usr/bin/python3
"""Cuts the windows' Song face down to the characters of the program's own texts.

Usage:
  tools/subset_song_face.py --style Regular --output taliven-song-regular.otf TEXT_FILE...

The source is the installed "Noto Serif CJK SC" face of the given style (fonts-noto-cjk),
found with fc-match. The result keeps every outline, hint, metric and layout feature of the
characters it holds, so text drawn with it looks exactly as with the full face; it is
renamed "Taliven Song" so that the two never mix up. Its characters are printable ASCII
and every non-ASCII character of the TEXT_FILEs that the face has.

Why: the full face is a 25 MB collection whose glyphs lie scattered across the file, and
each glyph drawn maps its neighbourhood, about 5 MB per style for one window of text. The
cut-down face is a few hundred kilobytes. The program lists it before the full face, so any
other character (a user's input, say) still comes from the full face.

Runs on Debian's python3 with python3-fonttools; the output depends only on the source face
and the texts.
"""

import argparse
import subprocess
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

SOURCE_FAMILY = "Noto Serif CJK SC"
FAMILY = "Taliven Song"


def find_face(style):
    """Returns (path, index) of the installed source face of `style`."""
    pattern = f"{SOURCE_FAMILY}:style={style}"
    found = subprocess.run(["fc-match", "-f", "%{family[0]}\n%{style[0]}\n%{file}\n%{index}", pattern],
                           check=True, capture_output=True, text=True).stdout.split("\n")
    family, found_style, path, index = found
    if family != SOURCE_FAMILY or found_style != style:
        sys.exit(f"subset_song_face: {pattern} is not installed (fc-match offers {family} {found_style}); "
                 "install fonts-noto-cjk")
    return path, int(index)


def text_characters(paths):
    characters = set(range(0x20, 0x7F))
    for path in paths:
        with open(path, encoding="utf-8") as text:
            characters.update(ord(c) for c in text.read() if ord(c) > 0x7F)
    return characters


def rename(font, style):
    postscript = f"TalivenSong-{style}"
    for record in font["name"].names:
        if record.nameID in (1, 16):
            record.string = FAMILY
        elif record.nameID == 3:
            record.string = f"{FAMILY} {style}; cut from {SOURCE_FAMILY}"
        elif record.nameID == 4:
            record.string = f"{FAMILY} {style}"
        elif record.nameID == 6:
            record.string = postscript
    font["CFF "].cff.fontNames = [postscript]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--style", required=True, choices=["Regular", "Bold"])
    parser.add_argument("--output", required=True)
    parser.add_argument("texts", nargs="+", help="UTF-8 files whose characters the face must hold")
    args = parser.parse_args()

    path, index = find_face(args.style)
    font = TTFont(path, fontNumber=index, recalcTimestamp=False, lazy=False)
    options = subset.Options()
    options.layout_features = ["*"]  # shape exactly as the full face does
    options.name_IDs = ["*"]  # keep the copyright and licence records
    options.name_languages = ["*"]
    options.notdef_outline = True
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=text_characters(args.texts))
    subsetter.subset(font)
    rename(font, args.style)
    font.save(args.output)


if __name__ == "__main__":
    main()
