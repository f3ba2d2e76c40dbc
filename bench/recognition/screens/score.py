#!/usr/bin/python3
"""Scores Glyphsnap and the tesseract command line on the evaluation set of make_set.py.

  score.py --program GLYPHSNAP --set FOLDER [--part work|aside|all] [--save FOLDER]
           [--tuning FILE]

Prints per image the character error rate (edit distance over the known text's length, white
space ignored on both sides, since the join rule places spaces its own way, and full-width forms
folded) of Glyphsnap and of
`tesseract` (OMP_THREAD_LIMIT=1, LSTM, the same languages as Glyphsnap's profile: "eng" for an
English profile, "chi_sim+eng" for a Chinese one), with the seconds each took: Glyphsnap per
request in one running process (its engine warmed by one untimed request), the command line as a
whole process, and the lines of each reply read twice (see read_twice). Then, for the pages made
on the project, the real documentation and other programs' windows apart, the means per language
profile and part of the set, the images furthest behind the command line and the ratio of the
summed times; the means per origin (the manual or toolkit) and part; and per part the means of
all material written elsewhere, the images more than MOST_BEHIND worse than the command line and
the lines read twice.

Sweeping a tuned number needs no rebuild: the recognizer's tuned numbers are the fields of
ReadingTuning (glyphsnap/recognition/tesseract/layout/reading_tuning.h, each with its reason), and
--tuning FILE hands Glyphsnap a file of `name=value` lines (a ratio as `3/4`, `#` for comments)
through GLYPHSNAP_READING_TUNING. A line with an unknown name or a malformed value is passed over,
the default kept, so check the name against the header. A sweep scores each value on the tuning
part only (--part work) and keeps a value only when the held-out part (--part aside) is no worse:

  for v in 3 4 5 6; do
    echo "thickestFrameStroke=$v" > sweep.txt
    score.py --program build/native/glyphsnap/glyphsnap --set SET --part work --no-cli \
             --tuning sweep.txt | tail -n 12
  done
"""
import argparse
import base64
import json
import os
import struct
import subprocess
import sys
import time
import unicodedata

# The framing and the edit distance are the accuracy script's, one folder up.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from accuracy import edit_distance, frame, read_exactly  # noqa: E402

PROFILES = {"en": ("en_US.UTF-8", "eng"), "zh": ("zh_CN.UTF-8", "chi_sim+eng")}
PARTS = ("work", "aside")
SOURCES = ("made", "real", "window")
MOST_BEHIND = 0.02  # two points of character error rate
LEAST_REPEATED = 4  # characters, squeezed: shorter lines repeat by chance ("OK", "1")


def squeeze(text: str) -> str:
    """White space dropped, and full-width forms folded to the characters they show ("：" is
    ":"), since the engines give either for the same glyph."""
    return "".join(unicodedata.normalize("NFKC", text).split())


def cer(want: str, got: str) -> float:
    want, got = squeeze(want), squeeze(got)
    return edit_distance(want, got) / max(1, len(want))


def nearly_inside(part: str, whole: str) -> bool:
    """Whether `whole` holds a stretch within a third of `part`'s length in edits of `part`
    (case folded), so that a line misread the same way twice is still found in the known text."""
    part, whole = part.casefold(), whole.casefold()
    allowed = max(1, len(part) // 3)
    previous = [0] * (len(whole) + 1)  # a stretch may start anywhere in `whole`
    for i, unit in enumerate(part, 1):
        current = [i]
        for j, other in enumerate(whole, 1):
            current.append(min(previous[j] + 1, current[j - 1] + 1,
                               previous[j - 1] + (unit != other)))
        previous = current
    return min(previous) <= allowed


def read_twice(want: str, got: str) -> list:
    """The lines of the reply `got` read twice: a line of at least LEAST_REPEATED characters,
    squeezed, that equals another line of the reply or is inside one, while the known text `want`
    holds it fewer times than the reply's lines do (counted as its exact repeats, or as the lines
    that nearly hold it, whichever is more). Of two equal lines the later one counts."""
    lines = [line for line in (squeeze(text) for text in got.splitlines()) if line]
    truth = [line for line in (squeeze(text) for text in want.splitlines()) if line]
    repeated = []
    for i, line in enumerate(lines):
        if len(line) < LEAST_REPEATED:
            continue
        holders = [j for j, other in enumerate(lines) if j != i and line in other]
        if not any(len(lines[j]) > len(line) or j < i for j in holders):
            continue
        held = max(1, "".join(truth).count(line), sum(nearly_inside(line, t) for t in truth))
        if 1 + len(holders) > held:
            repeated.append(line)
    return repeated


class Glyphsnap:
    def __init__(self, program, locale, tuning=None):
        env = dict(os.environ, LANG=locale, LANGUAGE="", LC_ALL="", LC_MESSAGES="")
        env.pop("OMP_THREAD_LIMIT", None)
        env.pop("GLYPHSNAP_READING_TUNING", None)
        if tuning:
            env["GLYPHSNAP_READING_TUNING"] = os.path.abspath(tuning)
        self.process = subprocess.Popen([program], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        env=env)

    def read(self, path):
        with open(path, "rb") as file:
            request = {"image": base64.b64encode(file.read()).decode()}
        start = time.perf_counter()
        self.process.stdin.write(frame(json.dumps(request).encode()))
        self.process.stdin.flush()
        (length,) = struct.unpack("<I", read_exactly(self.process.stdout, 4))
        reply = json.loads(read_exactly(self.process.stdout, length))
        return reply["data"] if reply.get("status") != "error" else "", \
            time.perf_counter() - start

    def close(self):
        self.process.stdin.write(frame(b""))
        self.process.stdin.close()
        self.process.wait()


def command_line(path, languages, psm=None):
    env = dict(os.environ, OMP_THREAD_LIMIT="1")
    layout = ["--psm", psm] if psm else []
    start = time.perf_counter()
    done = subprocess.run(["tesseract", path, "stdout", "--oem", "1", "-l", languages] + layout,
                          capture_output=True, env=env, check=False)
    return done.stdout.decode("utf-8", "replace"), time.perf_counter() - start


def report(results, source):
    """Means per language profile and part, the worst images, and the time of each program."""
    rows = [r for r in results if r[3] == source]
    if not rows:
        return
    print(f"\n{source:5} means           lang part   CER gs  CER cli   s gs  s cli  images")
    for lang in PROFILES:
        for part in ("work", "aside", "all"):
            chosen = [r for r in rows if r[1] == lang and part in ("all", r[2])]
            if chosen:
                mean = [sum(r[i] for r in chosen) / len(chosen) for i in (4, 5, 6, 7)]
                print(f"{'':22} {lang:4} {part:5} {mean[0]:7.1%} {mean[1]:7.1%} {mean[2]:6.2f} "
                      f"{mean[3]:6.2f}  {len(chosen)}")
    worst = sorted(rows, key=lambda r: -r[4])[:5]
    print("worst (Glyphsnap):", ", ".join(f"{r[0]} {r[4]:.1%}" for r in worst))
    behind = sorted(rows, key=lambda r: r[5] - r[4])[:3]
    print("most behind the command line:",
          ", ".join(f"{r[0]} {r[4] - r[5]:+.1%}" for r in behind))
    total_gs = sum(r[6] for r in rows)
    total_cli = sum(r[7] for r in rows)
    if total_cli:
        print(f"time: Glyphsnap {total_gs:.1f} s, command line {total_cli:.1f} s, "
              f"ratio of the sums {total_gs / total_cli:.2f}")


def mean(rows, column):
    return sum(r[column] for r in rows) / len(rows)


def report_origins(results):
    """Means per origin (manual, toolkit, or the pages and windows made here) and part."""
    print(f"\n{'origin':22} part    CER gs  CER cli  images  lines read twice gs/cli")
    for origin in sorted({r[8] for r in results}):
        for part in PARTS:
            rows = [r for r in results if r[8] == origin and r[2] == part]
            if rows:
                print(f"{origin:22} {part:5} {mean(rows, 4):7.1%} {mean(rows, 5):7.1%}  "
                      f"{len(rows):6}  {sum(len(r[9]) for r in rows)}/"
                      f"{sum(len(r[10]) for r in rows)}")


def report_parts(results):
    """Per part: the means of the material written elsewhere, the images behind the command line
    and the lines read twice, which the held-out part's goals are stated in."""
    for part in PARTS:
        rows = [r for r in results if r[2] == part]
        if not rows:
            continue
        print(f"\n{part} part  lang  material     CER gs  CER cli  images")
        for lang in PROFILES:
            for label, chosen in (("elsewhere", [r for r in rows if r[3] != "made"]),
                                  ("all", rows)):
                chosen = [r for r in chosen if r[1] == lang]
                if chosen:
                    print(f"{'':11} {lang:4}  {label:10} {mean(chosen, 4):7.1%} "
                          f"{mean(chosen, 5):7.1%}  {len(chosen)}")
        behind = sorted((r for r in rows if r[4] - r[5] > MOST_BEHIND), key=lambda r: r[5] - r[4])
        print(f"more than {MOST_BEHIND:.0%} worse than the command line: {len(behind)}" +
              "".join(f"\n  {r[0]} {r[4]:.1%} against {r[5]:.1%}" for r in behind))
        twice = [r for r in rows if r[9]]
        print(f"lines read twice: {sum(len(r[9]) for r in rows)} in {len(twice)} images "
              f"(the command line: {sum(len(r[10]) for r in rows)})" +
              "".join(f"\n  {r[0]}: " + " | ".join(r[9]) for r in twice))


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--set", required=True, help="folder made by make_set.py")
    parser.add_argument("--part", choices=["work", "aside", "all"], default="all")
    parser.add_argument("--source", choices=list(SOURCES) + ["all"], default="all",
                        help="pages made on the project, real documentation, other programs' "
                        "windows, or all")
    parser.add_argument("--only", help="names of images to read, separated by commas")
    parser.add_argument("--save", help="folder for the texts read")
    parser.add_argument("--no-cli", action="store_true", help="skip the command line")
    parser.add_argument("--cli-psm", help="the command line's page segmentation mode")
    parser.add_argument("--tuning", help="a file of name=value lines overriding tuned numbers")
    args = parser.parse_args()
    with open(os.path.join(args.set, "index.tsv"), encoding="utf-8") as file:
        # A fourth column tells the real material apart, a fifth where it came from; an index
        # without them is all made here.
        entries = [(line.split() + ["made"])[:4] + (line.split()[4:] or ["pages"])[:1]
                   for line in file if line.strip()]
    entries = [e for e in entries if args.part in ("all", e[2]) and args.source in ("all", e[3])]
    if args.only:
        entries = [e for e in entries if e[0] in args.only.split(",")]
    if args.save:
        os.makedirs(args.save, exist_ok=True)

    results = []
    print(f"{'image':26} lang part  source  CER gs  CER cli   s gs  s cli  twice gs/cli")
    for lang, (locale, languages) in PROFILES.items():
        mine = [e for e in entries if e[1] == lang]
        if not mine:
            continue
        glyphsnap = Glyphsnap(args.program, locale, args.tuning)
        glyphsnap.read(os.path.join(args.set, mine[0][0] + ".png"))  # loads the engine
        for name, _, part, source, origin in mine:
            path = os.path.join(args.set, name + ".png")
            with open(os.path.join(args.set, name + ".txt"), encoding="utf-8") as file:
                want = file.read()
            got, seconds = glyphsnap.read(path)
            cli, cli_seconds = ("", 0.0) if args.no_cli else command_line(path, languages, args.cli_psm)
            if args.save:
                with open(os.path.join(args.save, name + ".gs.txt"), "w", encoding="utf-8") as f:
                    f.write(got)
                with open(os.path.join(args.save, name + ".cli.txt"), "w", encoding="utf-8") as f:
                    f.write(cli)
            row = (name, lang, part, source, cer(want, got), cer(want, cli), seconds, cli_seconds,
                   origin, read_twice(want, got), read_twice(want, cli))
            results.append(row)
            print(f"{name:26} {lang:4} {part:5} {source:6} {row[4]:7.1%} {row[5]:7.1%} "
                  f"{seconds:6.2f} {cli_seconds:6.2f}  {len(row[9])}/{len(row[10])}", flush=True)
        glyphsnap.close()

    for source in SOURCES:
        report(results, source)
    report_origins(results)
    report_parts(results)
    print(f"(load after the run: {os.getloadavg()[0]:.1f})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
