#!/usr/bin/python3
"""Screenshots of real programs' windows under Xvfb, each with the text the program itself put on
the screen: Wine's own dialogs and control-panel pages, GTK's file and colour choosers and its
message dialogs (as zenity shows them) and Qt's own file, colour and font dialogs and its About
Qt box (as windows/qt_dialog.py shows them, in Qt's own translation), in English and in Chinese.

  make_windows.py OUT_FOLDER     (with DISPLAY naming a running X server, such as Xvfb)

For each window a fresh Wine prefix per language starts the program, windows/list_controls.cpp
(built here by mingw-w64) lists the window's visible controls with their texts and places, the
screen is shot and cut to the window's client area (or to the shown page of a property sheet).
The known text is the controls' texts in reading order: rows top to bottom, each row left to
right, a control joining a row when its middle lies within the row's first control and that
control's middle within it (a tall picture or label takes no line beside it); a group box
counts by its caption line; a control's own line ends are kept; accelerator marks ("&") are
dropped as the controls drop them.
Controls whose content is not window text (list views, tree views, list boxes, tab strips) are
painted over with their own background, and so are the pictures a toolkit lists (the Qt logo,
which is the word "Qt"), so the picture holds only text the listing knows.
The GTK and Qt windows are listed the same way from their accessibility tree over AT-SPI, by
windows/list_accessible.py in a session bus of its own, and cut to the window (the file
choosers to their list of files).

Writes OUT_FOLDER/NAME.png and OUT_FOLDER/NAME.txt and returns (name, language profile,
toolkit) to make_set.py. Needs, for the evaluation only: wine, mingw-w64, imagemagick,
xvfb, fonts-wqy-microhei, zenity, python3-pyatspi, gir1.2-atspi-2.0, dbus, python3-pyqt5,
qttranslations5-l10n and the zh_CN.UTF-8 locale (`localedef -i zh_CN -f UTF-8 zh_CN.UTF-8`).
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
LOCALES = {"en": "en_US.UTF-8", "zh": "zh_CN.UTF-8"}

# name, program and arguments, window class, property-sheet page (None: the whole client area).
SHOTS = [
    ("wine_libraries", ["winecfg"], "#32770", 1),
    ("wine_graphics", ["winecfg"], "#32770", 2),
    ("wine_desktop", ["winecfg"], "#32770", 3),
    ("wine_about", ["winecfg"], "#32770", 6),
    ("wine_winver", ["winver"], "#32770", None),
    ("wine_msiexec", ["msiexec", "/?"], "#32770", None),
    ("wine_internet", ["control", "inetcpl.cpl"], "#32770", 0),
    ("wine_internet_security", ["control", "inetcpl.cpl"], "#32770", 1),
    ("wine_programs", ["control", "appwiz.cpl"], "#32770", 0),
    ("wine_joystick", ["control", "joy.cpl"], "#32770", 0),
]

# name, the role of the element to cut to (None: the window), program and arguments of the GTK
# windows; the file chooser's list shows a folder of Debian's documentation in both languages.
GTK_SHOTS = [
    ("gtk_files", "table", ["zenity", "--file-selection",
                            "--filename=/usr/share/doc/debian-reference-en/docs/"]),
    ("gtk_colors", None, ["zenity", "--color-selection"]),
    # zenity's message dialogs with their own texts, each with an icon beside its text
    ("gtk_info", None, ["zenity", "--info"]),
    ("gtk_question", None, ["zenity", "--question"]),
    ("gtk_warning", None, ["zenity", "--warning"]),
    ("gtk_error", None, ["zenity", "--error"]),
]
# The same for Qt's own standard dialogs, shown by windows/qt_dialog.py; the file dialog's list
# shows the same folder.
QT_DIALOG = os.path.join(HERE, "windows", "qt_dialog.py")
QT_SHOTS = [
    ("qt_files", "tree", [QT_DIALOG, "files", "/usr/share/doc/debian-reference-en/docs/"]),
    ("qt_colors", None, [QT_DIALOG, "colors"]),
    ("qt_fonts", None, [QT_DIALOG, "fonts"]),
    ("qt_about", None, [QT_DIALOG, "about"]),
]
SYSTEM_PYTHON = "/usr/bin/python3"  # the one python3-pyatspi is installed for

# The dialog fonts drawn with a CJK font, or Chinese comes out as boxes.
DIALOG_FONTS = ["MS Shell Dlg", "MS Shell Dlg 2", "Tahoma", "MS Sans Serif", "SimSun", "宋体",
                "NSimSun", "Microsoft YaHei"]
CJK_FONT = "WenQuanYi Micro Hei"

# Controls whose content is drawn from data, not from their window text.
PAINTED_OVER = {"SysListView32", "SysTreeView32", "ListBox", "SysTabControl32"}
NO_TEXT = {"#32770", "msctls_trackbar32", "msctls_progress32", "msctls_updown32", "ComboLBox",
           "SysHeader32", "ScrollBar"} | PAINTED_OVER
STATIC_TEXT_KINDS = {0x0, 0x1, 0x2, 0xB, 0xC}  # left, centred, right, simple, left unwrapped
SS_NOPREFIX = 0x80
BS_TYPEMASK, BS_GROUPBOX, BS_OWNERDRAW, BS_ICON, BS_BITMAP = 0xF, 0x7, 0xB, 0x40, 0x80
ES_PASSWORD = 0x20
CAPTION_HEIGHT = 14  # a group box's caption line, in pixels at 96 dpi


def wine_env(prefix, lang):
    return dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all", LANG=LOCALES[lang],
                LC_ALL="", LANGUAGE="", WINEDLLOVERRIDES="mscoree,mshtml=")


def make_prefix(prefix, lang):
    env = wine_env(prefix, lang)
    subprocess.run(["wineboot", "-i"], env=env, check=True, capture_output=True)
    subprocess.run(["wineserver", "-w"], env=env, check=True)
    if lang == "zh":
        for font in DIALOG_FONTS:
            subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\Fonts\Replacements",
                            "/v", font, "/t", "REG_SZ", "/d", CJK_FONT, "/f"],
                           env=env, check=True, capture_output=True)
    subprocess.run(["wineserver", "-k"], env=env, check=False)


def without_accelerators(text):
    return re.sub(r"&(.)", r"\1", text)


def parse_listing(listing):
    """(frame, controls): the frame rectangle and, per control, (class, style, rect, text)."""
    frame, controls = None, []
    for line in listing.splitlines():
        if line.startswith("frame "):
            frame = tuple(int(v) for v in line.split()[1:5])
        elif line.startswith("control "):
            fields = line.split(" ", 7)
            text = fields[7] if len(fields) > 7 else ""
            text = re.sub(r"\\(.)", lambda m: "\n" if m.group(1) == "n" else m.group(1), text)
            controls.append((fields[1], int(fields[2], 16),
                             tuple(int(v) for v in fields[3:7]), text))
    return frame, controls


def shown_text(kind, style, text):
    """The text a control draws, or None when it draws none of its window text."""
    if kind in NO_TEXT or not text.strip():
        return None
    if kind == "Static":
        if style & 0x1F not in STATIC_TEXT_KINDS:
            return None
        return text if style & SS_NOPREFIX else without_accelerators(text)
    if kind == "Button":
        if style & BS_TYPEMASK == BS_OWNERDRAW or style & (BS_ICON | BS_BITMAP):
            return None
        return without_accelerators(text)
    if kind == "Edit" and style & ES_PASSWORD:
        return None
    if kind == "SysLink":
        return re.sub(r"<[^>]*>", "", text)
    return text


def inside(rect, frame):
    middle_x, middle_y = (rect[0] + rect[2]) / 2, (rect[1] + rect[3]) / 2
    return frame[0] <= middle_x < frame[2] and frame[1] <= middle_y < frame[3]


def beside(first, rect):
    """Whether two controls share a row: each one's middle lies within the other's height."""
    return first[1] <= (rect[1] + rect[3]) / 2 <= first[3] and \
        rect[1] <= (first[1] + first[3]) / 2 <= rect[3]


def known_text(frame, controls):
    """The texts of the controls in the frame, in reading order, one row a line."""
    combos = [rect for kind, _, rect, _ in controls if kind == "ComboBox"]
    items = []
    for kind, style, rect, text in controls:
        shown = shown_text(kind, style, text)
        if shown is None:
            continue
        if kind == "Edit" and any(c[0] <= rect[0] and rect[2] <= c[2] and c[1] <= rect[1]
                                  and rect[3] <= c[3] for c in combos):
            continue  # the edit of a combo box, whose text the combo box gives
        if kind == "Button" and style & BS_TYPEMASK == BS_GROUPBOX:
            rect = (rect[0], rect[1], rect[2], rect[1] + CAPTION_HEIGHT)
        if inside(rect, frame):
            lines = (" ".join(line.split()) for line in shown.splitlines())
            items.append((rect, "\n".join(line for line in lines if line)))
    items.sort(key=lambda item: (item[0][1], item[0][0]))
    rows = []
    for rect, text in items:
        if rows and beside(rows[-1][0], rect):
            rows[-1][1].append((rect, text))
        else:
            rows.append((rect, [(rect, text)]))
    lines = [" ".join(t for _, t in sorted(row, key=lambda item: item[0][0])) for _, row in rows]
    return "".join(line + "\n" for line in lines if line)


def cut(screen, frame, controls, out):
    """The frame of the screenshot, with the data-drawn controls and the pictures painted over
    with the background around them."""
    command = ["convert", screen]
    for kind, _, rect, _ in controls:
        holds_frame = rect[0] <= frame[0] and rect[1] <= frame[1] and \
            frame[2] <= rect[2] and frame[3] <= rect[3]
        if kind in PAINTED_OVER and inside(rect, frame) and not holds_frame:
            left, top, right, bottom = rect[0] + 2, rect[1] + 2, rect[2] - 3, rect[3] - 3
            command += ["-fill", pixel(screen, right - 2, bottom - 2),
                        "-draw", f"rectangle {left},{top} {right},{bottom}"]
        elif kind == "image" and inside(rect, frame):  # a toolkit's picture, such as a logo
            command += ["-fill", pixel(screen, rect[0] - 1, rect[1] - 1),
                        "-draw", f"rectangle {rect[0]},{rect[1]} {rect[2] - 1},{rect[3] - 1}"]
    width, height = frame[2] - frame[0], frame[3] - frame[1]
    command += ["-crop", f"{width}x{height}+{frame[0]}+{frame[1]}", "+repage", out]
    subprocess.run(command, check=True)


def pixel(image, x, y):
    done = subprocess.run(["convert", f"{image}[1x1+{x}+{y}]", "-format",
                           "%[pixel:p{0,0}]", "info:"], check=True, capture_output=True)
    return done.stdout.decode().strip()


def shoot_one(prefix, lang, lister, shot, out):
    name, program, window_class, page = shot
    env = wine_env(prefix, lang)
    started = subprocess.Popen(["wine"] + program, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        arguments = [lister, window_class] + ([str(page)] if page is not None else [])
        # A file, not a pipe: a Wine service started by this call would hold a pipe open.
        listed = os.path.join(os.path.dirname(prefix), name + ".listing")
        with open(listed, "wb") as file:
            subprocess.run(["wine"] + arguments, env=env, stdout=file,
                           stderr=subprocess.DEVNULL, check=False, timeout=90)
        with open(listed, encoding="utf-8", errors="replace") as file:
            listing = file.read()
        frame, controls = parse_listing(listing)
        if frame is None:
            raise RuntimeError(f"{name}: no window of class {window_class}: {listing!r}")
        screen = os.path.join(os.path.dirname(prefix), name + ".screen.png")
        subprocess.run(["import", "-window", "root", screen], check=True, env=env)
        cut(screen, frame, controls, os.path.join(out, f"{name}_{lang}.png"))
        with open(os.path.join(out, f"{name}_{lang}.txt"), "w", encoding="utf-8") as file:
            file.write(known_text(frame, controls))
    finally:
        subprocess.run(["wineserver", "-k"], env=env, check=False)
        started.wait()


def shoot_accessible(work, lang, shot, out):
    name, role, program = shot
    home = os.path.join(work, "home")  # no bookmarks, no recent files, no folder of ours
    os.makedirs(home, exist_ok=True)
    # Qt builds its accessibility tree only when asked to, or when a desktop asks for it.
    env = dict(os.environ, HOME=home, LANG=LOCALES[lang], LC_ALL="", LANGUAGE="",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    screen = os.path.join(work, name + ".screen.png")
    done = subprocess.run(["dbus-run-session", "--", SYSTEM_PYTHON,
                           os.path.join(HERE, "windows", "list_accessible.py"), screen] +
                          ([role] if role else []) + ["--"] +
                          program, env=env, cwd=home, capture_output=True, check=False, timeout=120)
    frame, controls = parse_listing(done.stdout.decode("utf-8", "replace"))
    if done.returncode or frame is None:
        raise RuntimeError(f"{name}: no window listed: {done.stderr.decode()[-600:]}")
    cut(screen, frame, controls, os.path.join(out, f"{name}_{lang}.png"))
    with open(os.path.join(out, f"{name}_{lang}.txt"), "w", encoding="utf-8") as file:
        file.write(known_text(frame, controls))


def build_lister(folder):
    lister = os.path.join(folder, "list_controls.exe")
    subprocess.run(["x86_64-w64-mingw32-g++-posix", "-std=c++20", "-O2", "-municode", "-static",
                    "-o", lister, os.path.join(HERE, "windows", "list_controls.cpp")], check=True)
    return lister


def shoot(out):
    """Shoots every window in both languages into `out`; returns (name, lang, toolkit)."""
    if not os.environ.get("DISPLAY"):
        raise SystemExit("make_windows.py needs DISPLAY, such as a running Xvfb")
    made = []
    with tempfile.TemporaryDirectory() as work:
        lister = build_lister(work)
        for lang in LOCALES:
            prefix = os.path.join(work, "prefix-" + lang)
            make_prefix(prefix, lang)
            for shot in SHOTS:
                shoot_one(prefix, lang, lister, shot, out)
                made.append((f"{shot[0]}_{lang}", lang, "wine"))
            shutil.rmtree(prefix, ignore_errors=True)
            for toolkit, shots in (("gtk", GTK_SHOTS), ("qt", QT_SHOTS)):
                for shot in shots:
                    shoot_accessible(work, lang, shot, out)
                    made.append((f"{shot[0]}_{lang}", lang, toolkit))
    return made


if __name__ == "__main__":
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    os.makedirs(sys.argv[1], exist_ok=True)
    print(f"{len(shoot(sys.argv[1]))} window screenshots in {sys.argv[1]}")
