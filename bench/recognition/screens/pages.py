"""The screenshots of the evaluation set that are rendered from HTML: what each page shows and the
text a flawless reader takes from it, row by row.

A page is a list of rows; a row is a list of items laid out left to right. The known text of a
page is the text of its items in that order, so it follows the reading order of the screen.
"""
import html

# Item kinds: ("text", s), ("bold", s), ("button", s), ("check", s, checked), ("radio", s, on),
# ("input", value), ("field", label, value), ("link", s), ("para", s), ("cells", [s, ...]),
# ("head", [s, ...]), ("menu", [s, ...]), ("tabs", [s, ...], active), ("gap",).


def _item_html(item, theme):
    kind = item[0]
    e = html.escape
    if kind == "text":
        return f'<span class="t">{e(item[1])}</span>'
    if kind == "bold":
        return f'<span class="t b">{e(item[1])}</span>'
    if kind == "button":
        return f'<span class="btn">{e(item[1])}</span>'
    if kind == "check":
        mark = "&#10003;" if item[2] else ""
        return f'<span class="chk"><span class="box">{mark}</span>{e(item[1])}</span>'
    if kind == "radio":
        dot = '<span class="dot"></span>' if item[2] else ""
        return f'<span class="chk"><span class="circle">{dot}</span>{e(item[1])}</span>'
    if kind == "input":
        return f'<span class="inp">{e(item[1])}</span>'
    if kind == "field":
        return f'<span class="lbl">{e(item[1])}</span><span class="inp">{e(item[2])}</span>'
    if kind == "link":
        return f'<span class="lnk">{e(item[1])}</span>'
    if kind == "para":
        return f'<p class="para">{e(item[1])}</p>'
    if kind in ("cells", "head"):
        cls = "cell head" if kind == "head" else "cell"
        return "".join(f'<span class="{cls}">{e(c)}</span>' for c in item[1])
    if kind == "menu":
        return "".join(f'<span class="mi">{e(c)}</span>' for c in item[1])
    if kind == "tabs":
        return "".join(
            f'<span class="tab{" on" if i == item[2] else ""}">{e(c)}</span>'
            for i, c in enumerate(item[1]))
    if kind == "gap":
        return '<span class="gap"></span>'
    raise ValueError(kind)


def _item_text(item):
    kind = item[0]
    if kind in ("text", "bold", "button", "check", "radio", "input", "link", "para"):
        return [item[1]]
    if kind == "field":
        return [item[1], item[2]]
    if kind in ("cells", "head", "menu", "tabs"):
        return list(item[1])
    return []


THEMES = {
    "light": dict(bg="#ffffff", fg="#1f1f1f", panel="#ffffff", line="#c8c8c8", btn="#f3f3f3",
                  inp="#ffffff", accent="#1a66c2", head="#f0f0f0"),
    "grey": dict(bg="#ececec", fg="#222222", panel="#f5f5f5", line="#b9b9b9", btn="#e1e1e1",
                 inp="#ffffff", accent="#0b57b0", head="#dedede"),
    "dark": dict(bg="#1e1f22", fg="#d8dadd", panel="#2b2d31", line="#4a4d52", btn="#3a3d42",
                 inp="#18191c", accent="#6ea8fe", head="#313338"),
}


def page_html(page):
    c = THEMES[page["theme"]]
    size = page["size"]
    family = page.get("font", "'DejaVu Sans', 'WenQuanYi Micro Hei'")
    cell = page.get("cell", 120)
    rows = "\n".join(
        f'<div class="row">{"".join(_item_html(i, page["theme"]) for i in row)}</div>'
        for row in page["rows"])
    title = (f'<div class="title">{html.escape(page["title"])}</div>' if page.get("title") else "")
    return f"""<!DOCTYPE html><html><head><meta charset="utf-8"><style>
html, body {{ margin: 0; background: {c['bg']}; color: {c['fg']};
  font-family: {family}; font-size: {size}px; }}
.win {{ margin: 10px; border: 1px solid {c['line']}; background: {c['panel']}; }}
.title {{ background: {c['head']}; padding: 6px 10px; border-bottom: 1px solid {c['line']};
  font-weight: bold; }}
.body {{ padding: 8px 14px; }}
.row {{ display: flex; align-items: center; gap: 10px; min-height: {int(size * 2.1)}px; }}
.b {{ font-weight: bold; }}
.btn {{ border: 1px solid {c['line']}; background: {c['btn']}; border-radius: 3px;
  padding: 4px 16px; }}
.chk {{ display: inline-flex; align-items: center; gap: 6px; margin-right: 14px; }}
.box, .circle {{ display: inline-block; width: {size - 1}px; height: {size - 1}px;
  border: 1px solid {c['line']}; background: {c['inp']}; font-size: {size - 3}px;
  line-height: {size - 1}px; text-align: center; color: {c['accent']}; }}
.circle {{ border-radius: 50%; position: relative; }}
.dot {{ position: absolute; left: 3px; top: 3px; width: {size - 7}px; height: {size - 7}px;
  border-radius: 50%; background: {c['accent']}; }}
.lbl {{ width: {page.get('label', 90)}px; }}
.inp {{ border: 1px solid {c['line']}; background: {c['inp']}; padding: 3px 6px;
  min-width: 180px; }}
.lnk {{ color: {c['accent']}; text-decoration: underline; }}
.para {{ margin: 2px 0; line-height: 1.5; }}
.cell {{ width: {cell}px; border-bottom: 1px solid {c['line']}; padding: 2px 0; }}
.head {{ font-weight: bold; background: {c['head']}; }}
.mi {{ padding: 2px 8px; }}
.tab {{ padding: 4px 12px; border: 1px solid {c['line']}; border-bottom: none; }}
.tab.on {{ background: {c['head']}; font-weight: bold; }}
.gap {{ flex: 1; }}
</style></head><body><div class="win">{title}<div class="body">
{rows}
</div></div></body></html>
"""


def page_text(page):
    lines = [page["title"]] if page.get("title") else []
    for row in page["rows"]:
        words = [w for item in row for w in _item_text(item)]
        lines.append(" ".join(words))
    return "\n".join(lines) + "\n"
