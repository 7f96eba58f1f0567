"""Cuts the dialog face, AR PL UMing CN, to the characters the program's texts
use: src/resources/fonts/DialogFont.ttf, embedded in the program. Run by
scripts/dialog-font.sh when a text brings a character the face lacks (the
window tests say so)."""

import datetime
import pathlib

from fontTools import subset
from fontTools.ttLib import TTCollection

ROOT = pathlib.Path(__file__).resolve().parent.parent
INSTALLED = pathlib.Path("/usr/share/fonts/truetype/arphic/uming.ttc")
OUTPUT = ROOT / "src/resources/fonts/DialogFont.ttf"
FAMILY = "AR PL UMing CN Dialog"  # still matches fontconfig's rules for "AR PL UMing"

# FreeType's auto-hinter measures a CJK face by the tops, bottoms and sides of
# these ideographs and by the stems of 田 and 囗; without them the cut face is
# hinted, and drawn, differently from the whole one.
HINTER_CHARACTERS = (
    "他们你來們到和地对對就席我时時會来為能舰說说这這齊军同已愿既星是景民照现現"
    "理用置要軍那配里開雷露面顾个为人以個大有些因它想意生當看着者自著裡过还进進"
    "過道還主她将將年得情最样樣通即吗吧听呢品响嗎师師收断斷明眼間间际陈限除陳随"
    "際隨事前學或政斯新沒没然特球第經谁起例別别制动動增指朝期构物确种調调費费都"
    "田囗"
)


def program_characters():
    characters = {chr(c) for c in range(0x20, 0x7F)} | set(HINTER_CHARACTERS)
    for source in sorted((ROOT / "src").rglob("*")):
        if source.suffix in (".cpp", ".h"):
            characters |= {c for c in source.read_text(encoding="utf-8") if ord(c) > 0x7E}
    return characters


def main():
    # The glyphs' bounding boxes stay as they are: recomputed, they move the
    # outlines against their side bearings by a fraction of a pixel.
    face = TTCollection(INSTALLED, recalcBBoxes=False, recalcTimestamp=False).fonts[0]
    options = subset.Options()
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.drop_tables = []  # the embedded bitmaps draw the small sizes
    cutter = subset.Subsetter(options)
    cutter.populate(unicodes=[ord(c) for c in program_characters()])
    cutter.subset(face)

    notice = (f"Modified {datetime.date.today().isoformat()} by scripts/dialog-font.py: "
              "cut to the characters of the program's texts, family renamed.")
    for record in face["name"].names:
        if record.nameID in (1, 4, 16):
            record.string = FAMILY
        elif record.nameID == 6:
            record.string = FAMILY.replace(" ", "")
        elif record.nameID == 0:
            record.string = f"{record.toUnicode()}\n\n{notice}"
    face.save(OUTPUT)
    print(f"{OUTPUT.relative_to(ROOT)}: {len(face.getGlyphOrder())} glyphs, "
          f"{OUTPUT.stat().st_size} bytes")


if __name__ == "__main__":
    main()
