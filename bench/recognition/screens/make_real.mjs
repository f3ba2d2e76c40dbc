#!/usr/bin/env node
// Makes the real-material part of the evaluation set: single elements (a paragraph, a list, a
// table, a code block) of HTML documentation that Debian ships, written by nobody on the project,
// shot by Chromium, each with its DOM text as the known text.
//
//   node make_real.mjs OUT_FOLDER [NAME,NAME...]   (only the pictures named, to try a pick)
//
// English comes from CMake's HTML manual (cmake-doc), laid out in a style of our own, and from
// the HTML manuals of Node.js (nodejs, its light and dark themes) and Valgrind (valgrind) in
// their own style sheets; Chinese from the Chinese manual pages
// (manpages-zh) turned into HTML by man2html; both from the Debian Reference
// (debian-reference-en, debian-reference-zh-cn, installed for the evaluation only) in its own
// style sheet. Writes OUT_FOLDER/NAME.png, OUT_FOLDER/NAME.txt and OUT_FOLDER/real.tsv (name,
// language profile, manual it was cut from), which make_set.py takes into its index.
import { execFileSync } from "node:child_process";
import { mkdirSync, mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { chromium } from "playwright-core";

const CMAKE_HTML = "/usr/share/doc/cmake-doc/html";
const MANUALS_ZH = "/usr/share/man/zh_CN";
const PACKAGE_DOCS = "/usr/share/doc";

// One picture each: the source, the CSS selector, which of the fitting elements (0 the first),
// the text size in pixels, the theme and the width of the page the element lays out in.
// "fitting": from three lines of text to MOST_HEIGHT pixels high, with at least
// LEAST_CHARACTERS characters.
// A manual page's own paragraphs, not those man2html opens around a table or a list, and its
// lists, not the index of links at its end.
const PARAGRAPH = "p:not(dd p):not(:has(table, dl, pre))";
const LIST = "dl:not(dd dl):not(:has(a))";

const PICKS = [
  // CMake's manual, English
  ["cmake_para_en", "en", "cmake:manual/cmake.1.html", "div.body p", 1, 14, "light", 820],
  ["install_para_en", "en", "cmake:command/install.html", "div.body p", 4, 13, "light", 760],
  ["find_package_para_en", "en", "cmake:command/find_package.html", "div.body p", 6, 15, "dark", 820],
  ["presets_para_en", "en", "cmake:manual/cmake-presets.7.html", "div.body p", 2, 12, "light", 700],
  ["tutorial_para_en", "en", "cmake:guide/tutorial/A Basic Starting Point.html", "div.body p", 3, 16, "light", 900],
  ["cmake_options_en", "en", "cmake:manual/cmake.1.html", "div.body dl", 2, 13, "light", 820],
  ["language_list_en", "en", "cmake:manual/cmake-language.7.html", "div.body ul", 1, 14, "dark", 760],
  ["buildsystem_list_en", "en", "cmake:manual/cmake-buildsystem.7.html", "div.body ul.simple", 0, 13, "light", 800],
  ["install_table_en", "en", "cmake:command/install.html", "table.docutils", 0, 13, "light", 760],
  ["find_package_table_en", "en", "cmake:command/find_package.html", "table.docutils", 0, 14, "dark", 820],
  ["cuda_table_en", "en", "cmake:module/FindCUDAToolkit.html", "table.docutils", 0, 14, "light", 760],
  ["interaction_table_en", "en", "cmake:guide/user-interaction/index.html", "table.docutils", 0, 16, "light", 900],
  ["install_code_en", "en", "cmake:command/install.html", "div.highlight pre", 1, 13, "light", 760],
  ["tutorial_code_en", "en", "cmake:guide/tutorial/Adding a Library.html", "div.highlight pre", 0, 14, "dark", 820],
  ["find_package_code_en", "en", "cmake:command/find_package.html", "div.highlight pre", 0, 12, "light", 760],
  ["export_code_en", "en", "cmake:guide/tutorial/Adding Export Configuration.html", "div.highlight pre", 1, 13, "light", 760],
  ["file_code_en", "en", "cmake:command/file.html", "div.highlight pre", 2, 15, "dark", 800],
  ["toolchain_table_en", "en", "cmake:manual/cmake-toolchains.7.html", "table.docutils", 0, 13, "light", 820],
  // The Chinese manual pages; options and examples as two columns, the way manual viewers
  // show them, so that long descriptions wrap beside their commands.
  ["ls_para_zh", "zh", "man:man1/ls.1", PARAGRAPH, 0, 14, "light", 520],
  ["ls_options_zh", "zh", "man:man1/ls.1", LIST, 0, 14, "light", 760],
  ["man_sections_zh", "zh", "man:man1/man.1", "table", 0, 14, "light", 700],
  ["man_notation_zh", "zh", "man:man1/man.1", "table", 1, 15, "dark", 760],
  ["man_examples_zh", "zh", "man:man1/man.1", LIST, 0, 14, "light", 820],
  ["man_options_zh", "zh", "man:man1/man.1", LIST, 1, 13, "light", 820],
  ["man_para_zh", "zh", "man:man1/man.1", PARAGRAPH, 1, 14, "light", 520],
  ["signal_table_zh", "zh", "man:man7/signal.7", "table", 0, 13, "light", 760],
  ["signal_more_zh", "zh", "man:man7/signal.7", "table", 1, 16, "dark", 820],
  ["cp_options_zh", "zh", "man:man1/cp.1", LIST, 0, 13, "light", 820],
  ["cp_para_zh", "zh", "man:man1/cp.1", PARAGRAPH, 1, 15, "dark", 520],
  ["find_para_zh", "zh", "man:man1/find.1", PARAGRAPH, 0, 15, "light", 520],
  ["systemctl_table_zh", "zh", "man:man1/systemctl.1", "table", 0, 14, "light", 820],
  ["bash_para_zh", "zh", "man:man1/bash.1", PARAGRAPH, 4, 14, "light", 760],
  ["bash_code_zh", "zh", "man:man1/bash.1", "pre", 0, 13, "light", 760],
  ["find_options_zh", "zh", "man:man1/find.1", LIST, 1, 16, "light", 900],
  ["grep_options_zh", "zh", "man:man1/grep.1", LIST, 1, 13, "light", 760],
  ["grep_para_zh", "zh", "man:man1/grep.1", PARAGRAPH, 1, 12, "dark", 520],
  // Other manuals in their own style sheets ("own"; "own-dark": the page's own dark theme).
  ["node_fs_para_en", "en", "doc:nodejs/api/fs.html", "#apicontent p", 3, 14, "own", 900],
  ["node_fs_code_en", "en", "doc:nodejs/api/fs.html", "#apicontent pre", 2, 14, "own", 900],
  ["node_path_para_en", "en", "doc:nodejs/api/path.html", "#apicontent p", 2, 14, "own-dark", 900],
  ["node_path_code_en", "en", "doc:nodejs/api/path.html", "#apicontent pre", 1, 14, "own-dark", 900],
  ["valgrind_para_en", "en", "doc:valgrind/html/manual-core.html", "p", 5, 14, "own", 820],
  ["valgrind_code_en", "en", "doc:valgrind/html/manual-core.html", "pre", 1, 13, "own", 820],
  ["valgrind_list_en", "en", "doc:valgrind/html/manual-core.html", "div.itemizedlist", 0, 14, "own", 820],
  // The Debian Reference (debian-reference-en, debian-reference-zh-cn) in its own style sheet,
  // English and Chinese: tables ruled by their own borders, notes laid out as tables without
  // borders, paragraphs, lists and shell sessions; a few in our dark theme.
  ["debref_pam_table_en", "en", "doc:debian-reference-en/docs/ch04.en.html", "table.table", 2, 14, "own", 900],
  ["debref_packages_table_en", "en", "doc:debian-reference-en/docs/ch09.en.html", "table.table", 0, 14, "own", 980],
  ["debref_para_en", "en", "doc:debian-reference-en/docs/ch01.en.html", "div.section p", 3, 14, "own", 900],
  ["debref_code_en", "en", "doc:debian-reference-en/docs/ch01.en.html", "pre.screen", 4, 14, "own", 900],
  ["debref_note_en", "en", "doc:debian-reference-en/docs/ch02.en.html", "table[summary=\"Note\"]", 1, 14, "own", 900],
  ["debref_list_en", "en", "doc:debian-reference-en/docs/ch10.en.html", "div.itemizedlist", 2, 14, "own", 900],
  ["debref_table_dark_en", "en", "doc:debian-reference-en/docs/ch06.en.html", "table.table", 1, 14, "dark", 900],
  ["debref_pam_table_zh", "zh", "doc:debian-reference-en/docs/ch04.zh-cn.html", "table.table", 0, 14, "own", 900],
  ["debref_tools_table_zh", "zh", "doc:debian-reference-en/docs/ch12.zh-cn.html", "table.table", 1, 14, "own", 980],
  ["debref_para_zh", "zh", "doc:debian-reference-en/docs/ch04.zh-cn.html", "div.section p", 1, 14, "own", 700],
  ["debref_para2_zh", "zh", "doc:debian-reference-en/docs/ch03.zh-cn.html", "div.section p", 0, 14, "own", 700],
  ["debref_code_zh", "zh", "doc:debian-reference-en/docs/ch02.zh-cn.html", "pre.screen", 3, 14, "own", 900],
  ["debref_note_zh", "zh", "doc:debian-reference-en/docs/ch01.zh-cn.html", "table[summary=\"Note\"]", 2, 14, "own", 900],
  ["debref_list_zh", "zh", "doc:debian-reference-en/docs/ch05.zh-cn.html", "div.itemizedlist", 1, 14, "own", 900],
  ["debref_table_dark_zh", "zh", "doc:debian-reference-en/docs/ch06.zh-cn.html", "table.table", 2, 14, "dark", 900],
];

const MOST_HEIGHT = 640;
const LEAST_CHARACTERS = 40;
const LINE_HEIGHT = 1.45;

const THEMES = {
  light: { bg: "#ffffff", fg: "#1f1f1f", line: "#c8c8c8", code: "#f4f4f4", link: "#1a66c2" },
  dark: { bg: "#1e1f22", fg: "#d8dadd", line: "#4a4d52", code: "#2b2d31", link: "#6ea8fe" },
};

function style(size, theme, width) {
  if (theme.startsWith("own")) {
    // Smooth scrolling would leave the page moving while the element is shot.
    return `html { scroll-behavior: auto !important; }
      .shot { padding: 8px 10px !important; }`;
  }
  const c = THEMES[theme];
  return `
    html, body { background: ${c.bg} !important; color: ${c.fg} !important; }
    body { margin: 0 !important; padding: 12px !important; width: ${width}px !important;
      font-family: 'DejaVu Sans', 'WenQuanYi Micro Hei', sans-serif; }
    div.sphinxsidebar, div.related, div.footer, .headerlink { display: none !important; }
    div.document, div.documentwrapper, div.bodywrapper, div.body {
      margin: 0 !important; padding: 0 !important; width: auto !important;
      max-width: none !important; min-width: 0 !important; float: none !important;
      background: ${c.bg} !important; }
    body * { font-size: ${size}px !important; line-height: ${LINE_HEIGHT} !important;
      color: ${c.fg} !important; border-color: ${c.line} !important; }
    div.body *, p, li, dd, dt, td, th, dl, ul, ol, table, tr { background: ${c.bg} !important; }
    pre, pre *, code, tt { font-family: 'DejaVu Sans Mono', 'WenQuanYi Micro Hei Mono', monospace
      !important; }
    pre, div.highlight, div.highlight * { background: ${c.code} !important; }
    a, a * { color: ${c.link} !important; }
    table { border-collapse: collapse; }
    td, th { padding: 2px 10px 2px 4px !important; border-bottom: 1px solid ${c.line}; }
    .man-grid { display: grid !important; grid-template-columns: minmax(8em, 16em) 1fr;
      column-gap: 14px; row-gap: 4px; }
    .man-grid > dt, .man-grid > dd { margin: 0 !important; }
    .shot { padding: 8px 10px !important; }`;
}

function sourceUrl(source, manFolder) {
  const [kind, path] = source.split(/:(.*)/s);
  if (kind === "cmake") {
    return "file://" + encodeURI(join(CMAKE_HTML, path));
  }
  if (kind === "doc") {
    return "file://" + encodeURI(join(PACKAGE_DOCS, path));
  }
  const html = execFileSync("man2html", ["-r"], {
    input: execFileSync("zcat", [join(MANUALS_ZH, path + ".gz")]),
  });
  const file = join(manFolder, path.replaceAll("/", "_") + ".html");
  // man2html starts with a CGI header and names no character set; the pages are UTF-8.
  const page = html.toString("utf8");
  writeFileSync(file, '<meta charset="utf-8">' + page.slice(page.indexOf("<!DOCTYPE")));
  return "file://" + file;
}

// The manual a picture was cut from, for the scores per manual: "cmake", "manpages-zh", or the
// package's folder under /usr/share/doc without its language ("debian-reference").
function manualOf(source) {
  const [kind, path] = source.split(/:(.*)/s);
  if (kind === "cmake") {
    return "cmake";
  }
  if (kind === "man") {
    return "manpages-zh";
  }
  return path.split("/")[0].replace(/-(en|zh-cn)$/, "");
}

// The element's text as a reader sees it: one line per line of the element, cells of a row
// apart by one space, blank lines dropped.
function knownText(innerText) {
  return innerText
    .split("\n")
    .map((line) => line.replaceAll("\t", " ").replace(/\s+/g, " ").trim())
    .filter((line) => line.length > 0)
    .join("\n") + "\n";
}

// The element's box in the viewport once it is scrolled to the top and the page has stopped
// moving: fonts that arrive late reflow the text above it.
function settledBox(element) {
  return document.fonts.ready.then(async () => {
    const frame = () => new Promise((done) => requestAnimationFrame(() => done()));
    let last = "";
    for (let tries = 0; tries < 50; ++tries) {
      element.scrollIntoView({ block: "start", behavior: "instant" });
      await frame();
      await frame();
      const box = element.getBoundingClientRect();
      const now = { x: box.x, y: box.y, width: box.width, height: box.height };
      if (JSON.stringify(now) === last) {
        return now;
      }
      last = JSON.stringify(now);
    }
    return null;
  });
}

// Shoots an element scrolled into the viewport, and shoots it again should it have moved while
// it was shot: the Node.js manual moved under the shot now and then, and a picture then held the
// text below the element and not its own.
async function shootInViewport(page, shot, path, name) {
  for (let tries = 0; tries < 5; ++tries) {
    const clip = await shot.evaluate(settledBox);
    if (clip) {
      await page.screenshot({ path, clip });
      const after = await shot.evaluate((element) => {
        const box = element.getBoundingClientRect();
        return { x: box.x, y: box.y, width: box.width, height: box.height };
      });
      if (JSON.stringify(after) === JSON.stringify(clip)) {
        return;
      }
    }
  }
  throw new Error(`${name}: the element does not stay in place to be shot`);
}

async function main() {
  const out = process.argv[2];
  if (!out) {
    console.error("usage: node make_real.mjs OUT_FOLDER");
    process.exit(2);
  }
  mkdirSync(out, { recursive: true });
  const manFolder = mkdtempSync(join(tmpdir(), "manuals-"));
  const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    args: ["--no-sandbox", "--disable-gpu", "--hide-scrollbars", "--font-render-hinting=none"],
  });
  const index = [];
  try {
    const only = process.argv[3]?.split(",");
    for (const [name, lang, source, selector, nth, size, theme, width] of PICKS) {
      if (only && !only.includes(name)) {
        continue;
      }
      const page = await browser.newPage({
        viewport: { width: width + 60, height: 900 },
        deviceScaleFactor: 1,
        locale: lang === "zh" ? "zh-CN" : "en-US",
      });
      // Nothing leaves the machine: a manual's web fonts and scripts fall back to local ones.
      await page.route(/^https?:/, (route) => route.abort());
      await page.goto(sourceUrl(source, manFolder));
      if (theme === "own-dark") {
        await page.evaluate(() => document.documentElement.classList.add("dark-mode"));
      }
      await page.addStyleTag({ content: style(size, theme, width) });
      const found = await page.evaluate(
        ({ selector, nth, lowest, most, least, twoColumns }) => {
          if (twoColumns) {
            document.querySelectorAll("dl").forEach((dl) => dl.classList.add("man-grid"));
          }
          const fitting = [...document.querySelectorAll(selector)].filter((element) => {
            const box = element.getBoundingClientRect();
            return box.height >= lowest && box.height <= most &&
              element.innerText.trim().length >= least;
          });
          const element = fitting[nth];
          if (!element) {
            return false;
          }
          element.classList.add("shot");
          return true;
        },
        { selector, nth, lowest: 3 * size * LINE_HEIGHT, most: MOST_HEIGHT, least: LEAST_CHARACTERS, twoColumns: lang === "zh" },
      );
      if (!found) {
        throw new Error(`${name}: no element ${nth} of ${selector} in ${source}`);
      }
      const shot = page.locator(".shot");
      if (theme.startsWith("own")) {
        // A manual that scrolls an inner column of its own is shot from the viewport, with the
        // element scrolled into it.
        await shootInViewport(page, shot, join(out, name + ".png"), name);
      } else {
        await shot.screenshot({ path: join(out, name + ".png") });
      }
      writeFileSync(join(out, name + ".txt"), knownText(await shot.innerText()));
      index.push(`${name}\t${lang}\t${manualOf(source)}\n`);
      await page.close();
    }
  } finally {
    await browser.close();
    rmSync(manFolder, { recursive: true, force: true });
  }
  writeFileSync(join(out, "real.tsv"), index.join(""));
  console.log(`${index.length} element screenshots of real documentation in ${out}`);
}

await main();
