#!/usr/bin/python3
"""Character accuracy of Glyphsnap on clean renders of known English and Chinese text.

  accuracy.py --program GLYPHSNAP

Each page is rendered with tools/render_text.py at several font sizes, sent to one running
Glyphsnap per language profile, and compared with the rendered text: accuracy is
1 - edit distance / length of the text a flawless recognizer would give (line ends included,
spaces as the join rule sets them).
"""
import argparse
import base64
import json
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
RENDER = os.path.join(HERE, "..", "..", "tools", "render_text.py")

ENGLISH = [
    ["The quick brown fox jumps over the lazy dog", "Pack my box with five dozen liquor jugs"],
    ["Invoice number 4471 is due on 12 March", "Please call the office before noon"],
    ["Settings  Display  Sound  Network", "Battery saver turns on at twenty percent"],
    ["Error: the file could not be opened", "Check that the disk is connected and try again"],
    ["Save changes before closing?"],
]
CHINESE = [
    ["文字识别测试", "今天天气很好"],
    ["请在周五之前提交报告", "会议室在三楼东侧"],
    ["设置 显示 声音 网络", "电池电量低于百分之二十"],
    ["文件无法打开", "请检查磁盘连接后重试"],
    ["是否在关闭前保存更改"],
    ["下载完成"],
]
SIZES = [20, 28, 40]


def frame(payload: bytes) -> bytes:
    return struct.pack("<I", len(payload)) + payload


def read_exactly(stream, size):
    data = b""
    while len(data) < size:
        chunk = stream.read(size - len(data))
        if not chunk:
            raise SystemExit("Glyphsnap ended its output")
        data += chunk
    return data


def edit_distance(a: str, b: str) -> int:
    previous = list(range(len(b) + 1))
    for i, ca in enumerate(a, 1):
        current = [i]
        for j, cb in enumerate(b, 1):
            current.append(min(previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (ca != cb)))
        previous = current
    return previous[-1]


def expected_text(lines):
    """What a flawless recognizer gives: the words of each line put together by the join rule."""
    text = ""
    for line in lines:
        words = line.split()
        for j, word in enumerate(words):
            text += word
            if j + 1 < len(words) and "!" <= word[-1] <= "~" and words[j + 1][0].isascii() \
                    and words[j + 1][0].isalpha():
                text += " "
        text += "\r\n"
    return text


def measure(program, pages, lang, folder):
    env = dict(os.environ, LANG=lang, LANGUAGE="", LC_ALL="", LC_MESSAGES="")
    process = subprocess.Popen([program], stdin=subprocess.PIPE, stdout=subprocess.PIPE, env=env)
    errors = total = 0
    for index, lines in enumerate(pages):
        for size in SIZES:
            path = os.path.join(folder, f"{lang}-{index}-{size}.png")
            subprocess.run(["/usr/bin/python3", RENDER, path, *lines, "--size", str(size)],
                           check=True)
            with open(path, "rb") as file:
                request = {"image": base64.b64encode(file.read()).decode()}
            process.stdin.write(frame(json.dumps(request).encode()))
            process.stdin.flush()
            (length,) = struct.unpack("<I", read_exactly(process.stdout, 4))
            got = json.loads(read_exactly(process.stdout, length))["data"]
            want = expected_text(lines)
            distance = edit_distance(want, got)
            errors += distance
            total += len(want)
            if distance:
                print(f"  {lang} page {index} size {size}: {distance} errors: {got!r}")
    process.stdin.write(frame(b""))
    process.stdin.close()
    process.wait()
    return 1 - errors / total, total


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as folder:
        for name, pages, lang in (("English", ENGLISH, "en_US.UTF-8"),
                                  ("Chinese", CHINESE, "zh_CN.UTF-8")):
            accuracy, total = measure(args.program, pages, lang, folder)
            print(f"{name}: {accuracy * 100:.2f} % of {total} characters")
    return 0


if __name__ == "__main__":
    sys.exit(main())
