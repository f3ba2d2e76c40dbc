#!/usr/bin/python3
"""Makes the evaluation set of screenshots: the HTML pages of page_list.py rendered by headless
Chromium, the screenshots of Brambolt's windows kept in brambolt/, element screenshots of
real documentation (make_real.mjs) and screenshots of real programs' windows under Xvfb
(make_windows.py), each with its known text.

  make_set.py OUT_FOLDER

Writes OUT_FOLDER/NAME.png, OUT_FOLDER/NAME.txt and OUT_FOLDER/index.tsv (name, language profile,
"aside" for the held-out part kept out of all tuning, else "work", as split.py records it,
"made" for the pages and windows made on the project, "real" for the documentation written
elsewhere, "window" for other programs' windows, and the origin: "pages", "brambolt", the manual
or the toolkit). The real material needs Node.js and the packages of package-lock.json,
installed here at the first run; the windows need what make_windows.py names.
"""
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from pages import page_html, page_text  # noqa: E402
from page_list import PAGES  # noqa: E402
import make_windows  # noqa: E402
import split  # noqa: E402

# Brambolt's windows under Wine, cut from the end-to-end tier's screenshots; all Chinese.
BRAMBOLT = ["main_window", "main_window_entries", "password_prompt", "set_password_dialog",
            "folder_browser"]

CHROMIUM = ["/usr/bin/chromium", "--headless", "--no-sandbox", "--disable-gpu",
            "--disable-background-networking", "--disable-component-update", "--no-first-run",
            "--hide-scrollbars", "--force-device-scale-factor=1"]


def render(page, out):
    with tempfile.TemporaryDirectory() as profile:
        source = os.path.join(profile, page["name"] + ".html")
        with open(source, "w", encoding="utf-8") as file:
            file.write(page_html(page))
        subprocess.run(CHROMIUM + [f"--user-data-dir={profile}", f"--screenshot={out}",
                                   f"--window-size={page['w']},{page['h']}", "file://" + source],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def render_real(out):
    if not os.path.isdir(os.path.join(HERE, "node_modules", "playwright-core")):
        subprocess.run(["npm", "ci", "--no-audit", "--no-fund"], cwd=HERE, check=True)
    subprocess.run(["node", os.path.join(HERE, "make_real.mjs"), out], check=True)
    with open(os.path.join(out, "real.tsv"), encoding="utf-8") as file:
        return [tuple(line.split()) for line in file if line.strip()]  # name, lang, manual


def main() -> int:
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    index = []
    for page in PAGES:
        render(page, os.path.join(out, page["name"] + ".png"))
        with open(os.path.join(out, page["name"] + ".txt"), "w", encoding="utf-8") as file:
            file.write(page_text(page))
        index.append((page["name"], page["lang"], "made", "pages"))
    for name in BRAMBOLT:
        for ext in (".png", ".txt"):
            shutil.copyfile(os.path.join(HERE, "brambolt", name + ext),
                            os.path.join(out, name + ext))
        index.append((name, "zh", "made", "brambolt"))
    index += [(name, lang, "real", manual) for name, lang, manual in render_real(out)]
    index += [(name, lang, "window", toolkit) for name, lang, toolkit in make_windows.shoot(out)]
    with open(os.path.join(out, "index.tsv"), "w", encoding="utf-8") as file:
        for name, lang, source, origin in index:
            file.write(f"{name}\t{lang}\twork\t{source}\t{origin}\n")
    held, total = split.apply(out)
    print(f"{total} screenshots, {held} held out, in {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
