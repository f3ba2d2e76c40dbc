#!/usr/bin/python3
"""Soak run of one Glyphsnap process: a mixed stream of valid, damaged and heavy requests.

  soak.py --program build/native/glyphsnap/glyphsnap [--minutes 10] [--seed 1]

Requests are drawn at random: recognition of rendered pages and labels, edits, images of six
formats cut short, with bytes flipped or garbage put in, protocol errors (invalid JSON, wrong
types, requests that get no reply), and heavy requests (a dense 4000 x 4000 page, an image at the
size bound, a GIF of millions of comment blocks, a frame of a million values, brackets nested a
million deep). Every request that has a reply must get it within two minutes.

Prints the requests served, the peak memory of the program (VmHWM), the slowest reply with its
kind, the bytes the program wrote to standard error and its exit code. Not part of CI.
"""
import argparse
import base64
import collections
import io
import json
import os
import random
import selectors
import struct
import subprocess
import sys
import tempfile
import threading
import time

from PIL import Image, ImageDraw, ImageFont

REPLY_LIMIT_S = 120
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
WORDS = ("the quick brown fox jumps over lazy dog report revenue quarter shipping window "
         "network budget archive invoice printer schedule").split()


def frame(payload: bytes) -> bytes:
    return struct.pack("<I", len(payload)) + payload


def rendered_page(width: int, height: int, size: int, rng: random.Random) -> Image.Image:
    font = ImageFont.truetype(FONT, size)
    image = Image.new("L", (width, height), 255)
    draw = ImageDraw.Draw(image)
    y = size // 2
    while y + size < height:
        line = ""
        while draw.textlength(line, font=font) < width - 2 * size:
            line += rng.choice(WORDS) + " "
        draw.text((size // 2, y), line, fill=0, font=font)
        y += int(size * 1.5)
    return image


def encoded(image: Image.Image, fmt: str) -> bytes:
    out = io.BytesIO()
    image.save(out, format=fmt)
    return out.getvalue()


def damaged(data: bytes, rng: random.Random) -> bytes:
    kind = rng.randrange(3)
    if kind == 0:
        return data[:rng.randrange(1, len(data))]
    data = bytearray(data)
    if kind == 1:
        for _ in range(rng.randrange(1, 20)):
            data[rng.randrange(len(data))] ^= 1 << rng.randrange(8)
    else:
        at = rng.randrange(len(data))
        data[at:at] = bytes(rng.randrange(256) for _ in range(rng.randrange(1, 64)))
    return bytes(data)


def recognition(data: bytes) -> bytes:
    return json.dumps({"image": base64.b64encode(data).decode()}).encode()


class Requests:
    """The request kinds, each making (payload, whether a reply is due)."""

    def __init__(self, rng: random.Random, pages: str):
        self.rng = rng
        page = Image.open(os.path.join(pages, "page-1280x720.png")).convert("RGB")
        label = Image.open(os.path.join(pages, "label-300x60.png")).convert("RGB")
        self.valid = [encoded(page, "PNG"), encoded(label, "PNG"), encoded(page, "JPEG")]
        self.formats = [encoded(label, fmt) for fmt in ("PNG", "JPEG", "GIF", "TIFF", "BMP", "WEBP")]
        self.dense = encoded(rendered_page(4000, 4000, 16, rng), "PNG")
        self.at_bound = encoded(Image.new("L", (8192, 8192), 255), "PNG")
        gif = encoded(label, "GIF")
        self.comment_gif = gif[:-1] + b"\x21\xfe" + b"\x01x" * 4_000_000 + b"\x00" + gif[-1:]
        self.wide = b'{"image":"AAAA","x":[' + b"0," * 1_000_000 + b"0]}"
        self.deep = b"[" * 1_000_000
        self.kinds = [  # (name, weight, maker)
            ("valid", 30, self.valid_request),
            ("edit", 8, lambda: (json.dumps(
                {"action": "edit_image", "image": base64.b64encode(self.valid[1]).decode()}).encode(), True)),
            ("damaged", 40, lambda: (recognition(damaged(self.rng.choice(self.formats), self.rng)), True)),
            ("protocol", 10, self.protocol_request),
            ("no-reply", 5, lambda: (self.rng.choice([b'{"action":"ocr"}', b"[1,2]", b"null"]), False)),
            ("dense-4000", 1, lambda: (recognition(self.dense), True)),
            ("at-bound-8192", 1, lambda: (recognition(self.at_bound), True)),
            ("comment-gif", 2, lambda: (recognition(self.comment_gif), True)),
            ("wide-json", 2, lambda: (self.wide, True)),
            ("deep-json", 1, lambda: (self.deep, True)),
        ]

    def valid_request(self):
        return recognition(self.rng.choice(self.valid)), True

    def protocol_request(self):
        return self.rng.choice([b"abc", b'{"image":5}', b'{"action":[],"image":"x"}',
                                b'{"image":"x"} trailing', b'{"image":"@@@@"}']), True

    def draw(self):
        names, weights, makers = zip(*self.kinds)
        index = self.rng.choices(range(len(names)), weights=weights)[0]
        payload, replied = makers[index]()
        return names[index], payload, replied


class Program:
    def __init__(self, command: str, env: dict):
        self.process = subprocess.Popen([command], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, env=env)
        self.selector = selectors.DefaultSelector()
        self.selector.register(self.process.stdout, selectors.EVENT_READ)
        self.buffer = b""
        self.error_bytes = 0
        self.errors = threading.Thread(target=self.drain_errors, daemon=True)
        self.errors.start()

    def drain_errors(self):
        while chunk := self.process.stderr.read(4096):
            self.error_bytes += len(chunk)

    def send(self, payload: bytes):
        self.process.stdin.write(frame(payload))
        self.process.stdin.flush()

    def reply(self, limit: float):
        deadline = time.monotonic() + limit
        while True:
            if len(self.buffer) >= 4:
                (length,) = struct.unpack("<I", self.buffer[:4])
                if len(self.buffer) >= 4 + length:
                    payload = self.buffer[4:4 + length]
                    self.buffer = self.buffer[4 + length:]
                    return payload
            left = deadline - time.monotonic()
            if left <= 0 or not self.selector.select(left):
                return None
            chunk = os.read(self.process.stdout.fileno(), 1 << 16)
            if not chunk:
                return None
            self.buffer += chunk

    def peak_memory_kib(self) -> int:
        with open(f"/proc/{self.process.pid}/status") as status:
            for line in status:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
        return 0

    def finish(self) -> int:
        self.process.stdin.close()
        code = self.process.wait(timeout=REPLY_LIMIT_S)
        self.errors.join(timeout=5)
        return code


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--minutes", type=float, default=10)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()

    rng = random.Random(args.seed)
    here = os.path.dirname(os.path.abspath(__file__))
    with tempfile.TemporaryDirectory() as scratch:
        pages = os.path.join(scratch, "pages")
        subprocess.run([os.path.join(here, "..", "recognition", "render_bench_images.sh"), pages],
                       check=True)
        requests = Requests(rng, pages)
        temp = os.path.join(scratch, "tmp")
        os.mkdir(temp)
        env = dict(os.environ, TMPDIR=temp, GLYPHSNAP_PAINT="/bin/true", LANG="C.UTF-8")
        for name in ("LANGUAGE", "LC_ALL", "LC_MESSAGES"):
            env.pop(name, None)

        program = Program(args.program, env)
        served = collections.Counter()
        slowest = (0.0, "")
        unanswered = None
        start = time.monotonic()
        end = start + args.minutes * 60
        while time.monotonic() < end:
            kind, payload, replied = requests.draw()
            sent = time.monotonic()
            program.send(payload)
            if replied:
                reply = program.reply(REPLY_LIMIT_S)
                if reply is None:
                    unanswered = kind
                    break
                took = time.monotonic() - sent
                if took > slowest[0]:
                    slowest = (took, kind)
            served[kind] += 1
        peak = program.peak_memory_kib()
        code = program.finish() if unanswered is None else None
        if unanswered is not None:
            program.process.kill()

        total = sum(served.values())
        print(f"requests served: {total} in {time.monotonic() - start:.0f} s")
        print("  " + ", ".join(f"{kind} {count}" for kind, count in served.most_common()))
        print(f"peak memory (VmHWM): {peak / 1024:.0f} MiB")
        print(f"slowest reply: {slowest[0]:.1f} s ({slowest[1]})")
        print(f"standard error: {program.error_bytes} bytes; exit code: {code}")
        if unanswered is not None:
            print(f"UNANSWERED: a {unanswered} request got no reply within {REPLY_LIMIT_S} s")
            return 1
        return 0 if code == 0 and program.error_bytes == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
