#!/usr/bin/python3
"""Scores Glyphsnap and the tesseract command line on the evaluation set of make_set.py.

  score.py --program GLYPHSNAP --set FOLDER [--part work|aside|all] [--save FOLDER]

Prints per image the character error rate (edit distance over the known text's length, white
space ignored on both sides, since the join rule places spaces its own way, and full-width forms
folded) of Glyphsnap and of
`tesseract` (OMP_THREAD_LIMIT=1, LSTM, the same languages as Glyphsnap's profile: "eng" for an
English profile, "chi_sim+eng" for a Chinese one), with the seconds each took: Glyphsnap per
request in one running process (its engine warmed by one untimed request), the command line as a
whole process. Then the means per language profile and part of the set.
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


def squeeze(text: str) -> str:
    """White space dropped, and full-width forms folded to the characters they show ("：" is
    ":"), since the engines give either for the same glyph."""
    return "".join(unicodedata.normalize("NFKC", text).split())


def cer(want: str, got: str) -> float:
    want, got = squeeze(want), squeeze(got)
    return edit_distance(want, got) / max(1, len(want))


class Glyphsnap:
    def __init__(self, program, locale):
        env = dict(os.environ, LANG=locale, LANGUAGE="", LC_ALL="", LC_MESSAGES="")
        env.pop("OMP_THREAD_LIMIT", None)
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


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--set", required=True, help="folder made by make_set.py")
    parser.add_argument("--part", choices=["work", "aside", "all"], default="all")
    parser.add_argument("--save", help="folder for the texts read")
    parser.add_argument("--no-cli", action="store_true", help="skip the command line")
    parser.add_argument("--cli-psm", help="the command line's page segmentation mode")
    args = parser.parse_args()
    with open(os.path.join(args.set, "index.tsv"), encoding="utf-8") as file:
        entries = [line.split() for line in file if line.strip()]
    entries = [e for e in entries if args.part in ("all", e[2])]
    if args.save:
        os.makedirs(args.save, exist_ok=True)

    results = []
    print(f"{'image':22} lang part   CER gs  CER cli   s gs  s cli")
    for lang, (locale, languages) in PROFILES.items():
        mine = [e for e in entries if e[1] == lang]
        if not mine:
            continue
        glyphsnap = Glyphsnap(args.program, locale)
        glyphsnap.read(os.path.join(args.set, mine[0][0] + ".png"))  # loads the engine
        for name, _, part in mine:
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
            row = (name, lang, part, cer(want, got), cer(want, cli), seconds, cli_seconds)
            results.append(row)
            print(f"{name:22} {lang:4} {part:5} {row[3]:7.1%} {row[4]:7.1%} {seconds:6.2f} "
                  f"{cli_seconds:6.2f}", flush=True)
        glyphsnap.close()

    print("\nmeans                  lang part   CER gs  CER cli   s gs  s cli  images")
    for lang in PROFILES:
        for part in ("work", "aside"):
            rows = [r for r in results if r[1] == lang and r[2] == part]
            if rows:
                mean = [sum(r[i] for r in rows) / len(rows) for i in (3, 4, 5, 6)]
                print(f"{'':22} {lang:4} {part:5} {mean[0]:7.1%} {mean[1]:7.1%} {mean[2]:6.2f} "
                      f"{mean[3]:6.2f}  {len(rows)}")
    worst = sorted(results, key=lambda r: -r[3])[:5]
    print("worst (Glyphsnap):", ", ".join(f"{r[0]} {r[3]:.1%}" for r in worst))
    total_gs = sum(r[5] for r in results)
    total_cli = sum(r[6] for r in results)
    if total_cli:
        print(f"time: Glyphsnap {total_gs:.1f} s, command line {total_cli:.1f} s, "
              f"ratio {total_gs / total_cli:.2f} (load before: {os.getloadavg()[0]:.1f})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
