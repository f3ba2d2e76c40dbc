#!/usr/bin/env python3
"""Sends requests to Glyphsnap in its framing and prints each reply.

  gsframe.py [--program CMD ...] --image FILE [--action edit_image]   one request for an image file
  gsframe.py [--program CMD ...] --json TEXT [--json TEXT ...]        raw JSON payloads
  gsframe.py --raw                                                    frame stdin as one payload

Without --program the request frames are written to standard output (pipe them into Glyphsnap).
Replies are printed one a line as their JSON text; --hex prints their bytes, length prefix included.
"""
import argparse
import base64
import json
import struct
import subprocess
import sys


def frame(payload: bytes) -> bytes:
    return struct.pack("<I", len(payload)) + payload


def read_replies(data: bytes):
    replies = []
    while len(data) >= 4:
        (length,) = struct.unpack("<I", data[:4])
        replies.append(data[4:4 + length])
        data = data[4 + length:]
    return replies


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawTextHelpFormatter)
    parser.add_argument("--program", nargs="+", help="command that starts Glyphsnap")
    parser.add_argument("--image", action="append", default=[], help="image file to send")
    parser.add_argument("--action", help='request "action" for --image requests')
    parser.add_argument("--json", action="append", default=[], help="JSON payload to send as it is")
    parser.add_argument("--raw", action="store_true", help="send standard input as one payload")
    parser.add_argument("--hex", action="store_true", help="print replies as hexadecimal bytes")
    args = parser.parse_args()

    payloads = []
    for path in args.image:
        with open(path, "rb") as image:
            request = {"image": base64.b64encode(image.read()).decode("ascii")}
        if args.action:
            request["action"] = args.action
        payloads.append(json.dumps(request).encode("utf-8"))
    payloads += [text.encode("utf-8") for text in args.json]
    if args.raw:
        payloads.append(sys.stdin.buffer.read())
    if not payloads:
        parser.error("nothing to send")

    stream = b"".join(frame(p) for p in payloads) + frame(b"")
    if not args.program:
        sys.stdout.buffer.write(stream)
        return 0

    done = subprocess.run(args.program, input=stream, stdout=subprocess.PIPE, check=False)
    for reply in read_replies(done.stdout):
        if args.hex:
            print(frame(reply).hex(" "))
        else:
            print(reply.decode("utf-8", errors="replace"))
    return done.returncode


if __name__ == "__main__":
    sys.exit(main())
