#!/usr/bin/python3
"""Per-request latency of a running Glyphsnap against the tesseract command line.

  request_latency.py --program GLYPHSNAP --image FILE [--lang eng] [--runs N]

Glyphsnap is started once; the first request (which loads the trained data) is reported on its
own, then N requests are timed from the first byte written to the last reply byte read. The
command line runs N times on the same file, each a whole process, with OMP_THREAD_LIMIT=1 and the
LSTM engine (its fastest configuration). Medians in milliseconds, and their ratio.
"""
import argparse
import base64
import json
import os
import statistics
import struct
import subprocess
import time


def frame(payload: bytes) -> bytes:
    return struct.pack("<I", len(payload)) + payload


def read_exactly(stream, size: int) -> bytes:
    data = b""
    while len(data) < size:
        chunk = stream.read(size - len(data))
        if not chunk:
            raise SystemExit("Glyphsnap ended its output")
        data += chunk
    return data


class Glyphsnap:
    def __init__(self, program: str, image: bytes, env: dict):
        self.request = frame(json.dumps({"image": base64.b64encode(image).decode()}).encode())
        self.process = subprocess.Popen([program], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        env=env)

    def request_ms(self) -> float:
        start = time.perf_counter()
        self.process.stdin.write(self.request)
        self.process.stdin.flush()
        (length,) = struct.unpack("<I", read_exactly(self.process.stdout, 4))
        read_exactly(self.process.stdout, length)
        return (time.perf_counter() - start) * 1000

    def close(self) -> None:
        self.process.stdin.write(frame(b""))
        self.process.stdin.close()
        self.process.wait()


def command_line_ms(image_path: str, lang: str, env: dict) -> float:
    start = time.perf_counter()
    subprocess.run(["tesseract", image_path, "stdout", "--oem", "1", "-l", lang],
                   env=dict(env, OMP_THREAD_LIMIT="1"), capture_output=True, check=True)
    return (time.perf_counter() - start) * 1000


def main() -> None:
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--image", required=True)
    parser.add_argument("--lang", default="eng")
    parser.add_argument("--runs", type=int, default=10)
    args = parser.parse_args()

    env = dict(os.environ)
    env.setdefault("LANG", "zh_CN.UTF-8" if "chi_sim" in args.lang else "en_US.UTF-8")
    with open(args.image, "rb") as file:
        image = file.read()
    glyphsnap = Glyphsnap(args.program, image, env)
    first = glyphsnap.request_ms()
    # In turn, so that a machine whose speed drifts affects both alike; the ratio is pairwise.
    ours, theirs = [], []
    for _ in range(args.runs):
        ours.append(glyphsnap.request_ms())
        theirs.append(command_line_ms(args.image, args.lang, env))
    glyphsnap.close()
    ratios = [a / b for a, b in zip(ours, theirs)]
    print(f"{os.path.basename(args.image)}: glyphsnap first request {first:.0f} ms, "
          f"median {statistics.median(ours):.0f} ms; command line median "
          f"{statistics.median(theirs):.0f} ms; median pairwise ratio {statistics.median(ratios):.2f}")


if __name__ == "__main__":
    main()
