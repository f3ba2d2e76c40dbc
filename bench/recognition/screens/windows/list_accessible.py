#!/usr/bin/python3
"""Starts a program with an accessibility tree (GTK, or Qt with
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1), waits for its first window, prints the texts it shows with
their places as read over AT-SPI, shoots the screen, and ends the program: the toolkit's own
record of what is on the screen.

  list_accessible.py SCREEN_PNG [ROLE] -- PROGRAM [ARGUMENTS...]

Run it inside its own session bus (dbus-run-session), with DISPLAY set, by the system's Python
with python3-pyatspi. Prints the listing form of list_controls.cpp: "frame L T R B" for the
window (or, with ROLE, for its first element of that role, such as "table" for a file
chooser's list of files apart from its sidebar), then "control ROLE 0 L T R B TEXT" for every
showing element with a text (labels, buttons, cells, headers, entries, spin buttons, combo
boxes, tabs; a named panel, which is a group box, by its caption line), and "control image 0 L
T R B" for every picture, rectangles in screen pixels. An element cut by the edge of the pane
or list it scrolls in, or too narrow to show its name (a button that shows an icon and names
it for a screen reader), is left out.
"""
import subprocess
import sys
import time
import unicodedata

import pyatspi

TEXT_ROLES = {"label", "push button", "toggle button", "check box", "radio button", "table cell",
              "table column header", "text", "spin button", "combo box", "page tab", "menu item",
              "list item", "link"}
EDITED_ROLES = {"text", "spin button"}  # their text is what they hold, not their name
CONTAINERS = {"filler", "panel", "scroll pane", "viewport", "split pane", "list box", "table"}
SCROLLING = {"scroll pane", "list"}  # a GTK pane; a Qt list, whose items scroll out of it
CAPTION_HEIGHT = 17  # a named panel's (a group box's) caption line, in pixels
LINE_HEIGHT = 20  # a generous line of text at any of the toolkits' default sizes


def rectangle(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.x + box.width, box.y + box.height


def text_of(node, role):
    if role in EDITED_ROLES:
        try:
            return node.queryText().getText(0, -1)
        except NotImplementedError:
            return ""
    return node.name or ""


def middle_line(box):
    """The line a one-line field taller than its text draws its text on: its middle (a
    toolkit's accessible text places it at the top instead), so that it reads in its row."""
    middle = (box[1] + box[3]) // 2
    return box[0], middle - LINE_HEIGHT // 2, box[2], middle + LINE_HEIGHT // 2


def wide_enough(box, text):
    """Whether a box has room for its text: five pixels for a narrow character, ten for a wide
    one, well below any readable size, on as many lines as the box is tall enough for (a label
    wraps its paragraphs)."""
    need = sum(10 if unicodedata.east_asian_width(c) in "WF" else 5 for c in text.strip())
    return (box[2] - box[0]) * max(1, (box[3] - box[1]) // LINE_HEIGHT) >= need


def within(box, clip, slack=4):
    """Whether a box lies in the clip; cells may reach a few pixels past their pane's edge."""
    return clip[0] - slack <= box[0] and clip[1] - slack <= box[1] and \
        box[2] <= clip[2] + slack and box[3] <= clip[3] + slack


def showing(node):
    states = node.getState()
    return states.contains(pyatspi.STATE_SHOWING) and states.contains(pyatspi.STATE_VISIBLE)


def listing(node, lines, clip):
    """The showing elements with a text, depth first; an element that has a text of its own
    stands for its children (a button for its label)."""
    if not showing(node):
        return
    role = node.getRoleName()
    box = rectangle(node)
    if role in SCROLLING:
        clip = (max(clip[0], box[0]), max(clip[1], box[1]), min(clip[2], box[2]),
                min(clip[3], box[3]))
    text = text_of(node, role) if role in TEXT_ROLES else ""
    if role == "panel" and node.name.strip():  # a group box: its caption is a line at its top
        box = (box[0], box[1], box[2], box[1] + CAPTION_HEIGHT)
        text = node.name
    if role == "image" and within(box, clip):  # a picture, which may well hold letters
        lines.append(f"control image 0 {' '.join(map(str, box))}")
    if role in EDITED_ROLES and box[3] - box[1] > 2 * LINE_HEIGHT and "\n" not in text:
        box = middle_line(box)
    if text.strip():
        if within(box, clip) and wide_enough(box, text):
            shown = text.replace("\\", "\\\\").replace("\n", "\\n")
            lines.append(f"control {role.replace(' ', '_')} 0 {' '.join(map(str, box))} {shown}")
        if role not in CONTAINERS:
            return
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            listing(child, lines, clip)


def first_window(name):
    """The first window of the application `name`, fetched only once it has had time to show:
    without an event loop here, what was fetched earlier is never refreshed but by clearing the
    cache."""
    time.sleep(3)
    for _ in range(60):
        desktop = pyatspi.Registry.getDesktop(0)
        desktop.clear_cache()
        for index in range(desktop.childCount):
            application = desktop.getChildAtIndex(index)
            if application is not None and application.name == name and application.childCount:
                time.sleep(2.5)
                return application.getChildAtIndex(0)
        time.sleep(0.5)
    return None


def first_of_role(node, role):
    if node is None or not showing(node):
        return None
    if node.getRoleName() == role:
        return node
    for index in range(node.childCount):
        found = first_of_role(node.getChildAtIndex(index), role)
        if found is not None:
            return found
    return None


def main():
    if "--" not in sys.argv[2:4]:
        raise SystemExit(__doc__)
    split = sys.argv.index("--", 2)
    screen, role, program = sys.argv[1], sys.argv[2:split], sys.argv[split + 1:]
    started = subprocess.Popen(program, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        window = first_window(program[0].rsplit("/", 1)[-1])
        if window is None:
            raise SystemExit(f"no window of {program[0]}")
        if role:
            window = first_of_role(window, role[0])
            if window is None:
                raise SystemExit(f"no {role[0]} in the window of {program[0]}")
        frame = rectangle(window)
        lines = [f"frame {' '.join(map(str, frame))}"]
        for index in range(window.childCount):
            listing(window.getChildAtIndex(index), lines, frame)
        subprocess.run(["import", "-window", "root", screen], check=True)
        print("\n".join(lines))
    finally:
        started.terminate()
        started.wait()


if __name__ == "__main__":
    main()
