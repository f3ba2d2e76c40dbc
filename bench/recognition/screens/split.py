#!/usr/bin/python3
"""The evaluation set's split into a tuning part ("work") and a held-out part ("aside"), drawn
once by a fixed seed and recorded in split.tsv beside this script, so that every later run, and
every image added later, keeps the part it was given.

  split.py SET_FOLDER

Reads SET_FOLDER/index.tsv (name, language profile, part, source, and any further columns, kept
as they are), draws a part for each image that split.tsv does not hold yet, writes split.tsv and
the parts into the index. The draw is stratified: within each language profile and source
("made", "real" or "window"), the new names in name
order are shuffled by a generator seeded with SEED and that group's key, and go aside until the
group holds at least HELD_OUT of its images aside; the rest are for tuning. Nothing here looks at
a score: a part is never changed to suit a result.
"""
import math
import os
import random
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SPLIT = os.path.join(HERE, "split.tsv")
SEED = 20261210
HELD_OUT = 0.4  # at least a third, in every group


def read_split():
    if not os.path.exists(SPLIT):
        return {}
    with open(SPLIT, encoding="utf-8") as file:
        return dict(line.split()[:2] for line in file if line.strip())


def draw(index, recorded):
    """The part of each entry of `index` (name, lang, part, source): as recorded, or drawn."""
    parts = dict(recorded)
    groups = {}
    for name, lang, _, source, *_ in index:
        groups.setdefault((lang, source), []).append(name)
    for (lang, source), names in sorted(groups.items()):
        new = sorted(n for n in names if n not in parts)
        random.Random(f"{SEED}:{lang}:{source}").shuffle(new)
        aside = sum(1 for n in names if parts.get(n) == "aside")
        wanted = math.ceil(HELD_OUT * len(names))
        for name in new:
            parts[name] = "aside" if aside < wanted else "work"
            aside += parts[name] == "aside"
    return parts


def apply(folder):
    """Gives the images of the set in `folder` their parts; returns (aside, all)."""
    path = os.path.join(folder, "index.tsv")
    with open(path, encoding="utf-8") as file:
        index = [(line.split() + ["made"])[:4] + line.split()[4:] for line in file if line.strip()]
    parts = draw(index, read_split())
    with open(SPLIT, "w", encoding="utf-8") as file:
        for name in sorted(parts):
            file.write(f"{name}\t{parts[name]}\n")
    with open(path, "w", encoding="utf-8") as file:
        for name, lang, _, *rest in index:
            file.write("\t".join([name, lang, parts[name]] + rest) + "\n")
    return sum(parts[name] == "aside" for name, *_ in index), len(index)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    held, total = apply(sys.argv[1])
    print(f"{held} of {total} screenshots held out")
