#!/usr/bin/env python3
"""Generates readings/pinyin_index.cpp: the syllable list and the GBK reading grid.

Usage:
  python3 tools/gen_pinyin_index.py --output readings/pinyin_index.cpp
  python3 tools/gen_pinyin_index.py --check readings/pinyin_index.cpp   # exit 1 if stale

The readings come from Unicode's Unihan database (Unihan_Readings.txt, as Debian's
unicode-data package ships it). GBK positions are mapped to Unicode with Python's 'gbk'
codec, which agrees with the toolkit's GBK codec on every ideograph position the grid
fills (the five unassigned positions D7FA..D7FE decode to nothing here and to private-use
characters there; both leave them without a reading).

How a character gets its reading (only syllables of SYLLABLES count; ü is v, üe is ue):
  1. FIXED_READINGS decide first, whatever the data says.
  2. Otherwise the customary reading (kMandarin) when its syllable is in the list, else the
     first in-list reading of kTGHZ2013, then kXHC1983, then kHanyuPinyin.
  3. Characters without any in-list reading keep 0.

The grid must hold exactly AREA_READING_COUNTS readings per ideograph area. Unihan reads
more characters of GBK/3 and GBK/4 than that, so the surplus is dropped, weakest evidence
first. A character's evidence, compared in this order, is: how many of the two modern
dictionaries (kTGHZ2013, kXHC1983) list it, whether kHanyuPinyin lists it, whether
kMandarin does; among equal evidence the higher code point goes first.

Everything is sorted or indexed, so the output depends only on the data file.
"""

import argparse
import bz2
import re
import sys
import unicodedata

DEFAULT_UNIHAN = "/usr/share/unicode/Unihan_Readings.txt.bz2"
REGENERATE = "python3 tools/gen_pinyin_index.py --output readings/pinyin_index.cpp"

# Syllable number n is SYLLABLES[n - 1]. The numbering is fixed: the grid refers to it.
# Empty entries and the ones in NEVER_USED are never given to a character.
SYLLABLES = """
a ai an ang ao ba bai ban bang bao bei ben beng bi bian biao bie bin bing bo bu ca cai can
cang cao ce ceng cha chai chan chang chao che chen cheng chi chong chou chu chuai chuan chuang
chui chun chuo ci cong cou cu cuan cui cun cuo da dai dan dang dao de deng di dian diao die
ding diu dong dou du duan dui dun duo e en er fa fan fang fei fen feng fu fou ga gai gan gang
gao ge ji gen geng gong gou gu gua guai guan guang gui gun guo ha hai han hang hao he hei hen
heng hong hou hu hua huai huan huang hui hun huo jia jian jiang qiao jiao jie jin jing jiong
jiu ju juan jue jun ka kai kan kang kao ke ken keng kong kou ku kua kuai kuan kuang kui kun
kuo la lai lan lang lao le lei leng li lia lian liang liao lie lin ling liu long lou lu luan
lue lun luo ma mai man mang mao me mei men meng mi mian miao mie min ming miu mo mou mu na
nai nan nang nao ne nei nen neng ni nian niang niao nie nin ning niu nong nu nuan nue yao nuo
o ou pa pai pan pang pao pei pen peng pi pian piao pie pin ping po pou pu qi qia qian qiang
qie qin qing qiong qiu qu quan que qun ran rang rao re ren reng ri rong rou ru ruan rui run
ruo sa sai san sang sao se sen seng sha shai shan shang shao she shen sheng shi shou shu shua
shuai shuan shuang shui shun shuo si song sou su suan sui sun suo ta tai tan tang tao te teng
ti tian tiao tie ting tong tou tu tuan tui tun tuo wa wai wan wang wei wen weng wo wu xi xia
xian xiang xiao xie xin xing xiong xiu xu xuan xue xun ya yan yang ye yi yin ying yo yong you
yu yuan yue yun za zai zan zang zao ze zei zen zeng zha zhai zhan zhang zhao zhe zhen zheng
zhi zhong zhou zhu zhua zhuai zhuan zhuang zhui zhun zhuo zi zong zou zu zuan zui zun zuo
""".split() + [""] + "ei m n dia cen nou jv qv xv lv nv".split()
NEVER_USED = {165, 401, 402, 403}  # lia, jv, qv, xv

# Readings the program has always given, kept although the data would choose otherwise
# (None: no reading).
FIXED_READINGS = {
    "行": "hang", "还": "huan", "觉": "jiao", "嗯": "en",
    "佛": None, "给": None, "髟": None,
}

ROWS, COLUMNS, FIRST_LEAD, FIRST_TRAIL = 126, 191, 0x81, 0x40

# Area name -> (lead bytes, trail bytes, number of characters with a reading).
AREAS = {
    "GBK/3": (range(0x81, 0xA1), [t for t in range(0x40, 0xFF) if t != 0x7F], 5988),
    "GB2312": (range(0xB0, 0xF8), range(0xA1, 0xFF), 6760),
    # Row 0xFE holds compatibility forms and stays empty.
    "GBK/4": (range(0xAA, 0xFE), [t for t in range(0x40, 0xA1) if t != 0x7F], 7997),
}

SOURCES = ("kMandarin", "kTGHZ2013", "kXHC1983", "kHanyuPinyin")


def toneless(reading):
    decomposed = unicodedata.normalize("NFD", reading).replace("u\u0308", "v")
    plain = "".join(c for c in decomposed if not unicodedata.combining(c)).lower()
    return plain.replace("ve", "ue")


def source_readings(field, value):
    if field == "kMandarin":
        return value.split()
    # "page.position:reading,reading ..." entries
    return [r for entry in value.split() for r in entry.split(":", 1)[1].split(",")]


def load_unihan(path):
    version = date = None
    fields = {}
    with bz2.open(path, "rt", encoding="utf-8") as data:
        for line in data:
            if line.startswith("#"):
                if m := re.match(r"# Unicode version: (\S+)", line):
                    version = m.group(1)
                if m := re.match(r"# Date: (.+?)\s*$", line):
                    date = m.group(1)
                continue
            if not line.strip():
                continue
            code, field, value = line.rstrip("\n").split("\t")
            if field in SOURCES:
                fields.setdefault(int(code[2:], 16), {})[field] = [
                    toneless(r) for r in source_readings(field, value)]
    if not version or not date:
        sys.exit(f"{path}: no version or date in the header")
    return version, date, fields


def syllable_numbers():
    return {s: n for n, s in enumerate(SYLLABLES, 1) if s and n not in NEVER_USED}


def choose(char, sources, numbers):
    if char in FIXED_READINGS:
        fixed = FIXED_READINGS[char]
        return numbers[fixed] if fixed else 0
    for field in SOURCES:
        for reading in sources.get(field, []):
            if reading in numbers:
                return numbers[reading]
    return 0


def evidence(code, sources):
    modern = ("kTGHZ2013" in sources) + ("kXHC1983" in sources)
    return (modern, "kHanyuPinyin" in sources, "kMandarin" in sources, -code)


def decode(lead, trail):
    try:
        return bytes([lead, trail]).decode("gbk")
    except UnicodeDecodeError:
        return None


def build_grid(fields):
    numbers = syllable_numbers()
    grid = [0] * (ROWS * COLUMNS)
    for name, (leads, trails, wanted) in AREAS.items():
        candidates = []
        for lead in leads:
            for trail in trails:
                char = decode(lead, trail)
                if char is None:
                    continue
                sources = fields.get(ord(char), {})
                number = choose(char, sources, numbers)
                if number:
                    candidates.append((evidence(ord(char), sources), lead, trail, number))
        if len(candidates) < wanted:
            sys.exit(f"{name}: only {len(candidates)} readings, {wanted} wanted")
        candidates.sort()
        for _, lead, trail, number in candidates[len(candidates) - wanted:]:
            grid[(lead - FIRST_LEAD) * COLUMNS + (trail - FIRST_TRAIL)] = number
    return grid


def render(version, date, grid):
    out = [
        "// ==== Generated file: do not edit by hand. ====",
        "// Data: Unihan_Readings.txt of Unicode " + version + " (" + date + "),",
        "//       as Debian's unicode-data package ships it: " + DEFAULT_UNIHAN,
        "// Regenerate: " + REGENERATE,
        "// ==============================================",
        "",
        '#include "pinyin.h"',
        "",
        "namespace taliven {",
        "",
        "const std::array<PinyinSyllable, kPinyinSyllableCount> PinyinSyllables{{",
    ]
    for number, syllable in enumerate(SYLLABLES, 1):
        letters = ", ".join(f"'{c}'" for c in syllable)
        out.append(f"    {{{len(syllable)}, {{{letters}}}}},  // {number}")
    out += ["}};", "", "const std::array<std::uint16_t, kPinyinIndexSize> PinyinIndex{{"]
    for row in range(ROWS):
        out.append(f"    // lead byte 0x{FIRST_LEAD + row:02X}")
        values = grid[row * COLUMNS:(row + 1) * COLUMNS]
        for start in range(0, COLUMNS, 16):
            out.append("    " + " ".join(f"{v}," for v in values[start:start + 16]))
    out += ["}};", "", "}  // namespace taliven", ""]
    return "\n".join(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--unihan", default=DEFAULT_UNIHAN)
    target = parser.add_mutually_exclusive_group(required=True)
    target.add_argument("--output", help="write the table to this file")
    target.add_argument("--check", help="exit 1 unless this file equals the generated table")
    args = parser.parse_args()

    version, date, fields = load_unihan(args.unihan)
    text = render(version, date, build_grid(fields))
    if args.output:
        with open(args.output, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
        return 0
    with open(args.check, encoding="utf-8", newline="") as f:
        if f.read() == text:
            return 0
    print(f"{args.check} differs from the generated table; rerun: {REGENERATE}", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
