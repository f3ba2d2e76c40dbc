#!/usr/bin/env node
// Renders the pages the recognizer once read badly, from text written for them: a table with
// 1-pixel grey cell borders, a tall two-column table of commands with wrapped descriptions, and a
// Chinese heading above a paragraph whose last line is short. Each is shot by Chromium as one
// element, with its DOM text as the known text.
//
//   node make_cases.mjs OUT_FOLDER
//   score.py --program GLYPHSNAP --set OUT_FOLDER
//
// Writes OUT_FOLDER/NAME.png, OUT_FOLDER/NAME.txt and OUT_FOLDER/index.tsv in score.py's form
// (name, language, "work": pages tuned on, "made": written on the project).
import { mkdirSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { chromium } from "playwright-core";

const PACKAGES = [
  ["coreutils", "V:880, I:999", "18307", "basic file, shell and text manipulation tools"],
  ["findutils", "V:702, I:998", "1993", "utilities for finding files by name and attributes"],
  ["grep", "V:821, I:999", "1264", "searches files for lines that match patterns"],
  ["sed", "V:790, I:999", "883", "the stream editor that rewrites text as it passes"],
  ["gawk", "V:311, I:402", "2660", "pattern scanning and processing language"],
  ["tar", "V:606, I:999", "3144", "archiving program for tape and disk archives"],
  ["gzip", "V:512, I:998", "244", "compression tool using the deflate algorithm"],
  ["xz-utils", "V:480, I:912", "1172", "command line tools for xz and lzma files"],
  ["rsync", "V:210, I:388", "776", "fast and versatile remote file copying tool"],
  ["openssh-client", "V:575, I:996", "5340", "secure shell client for remote logins"],
  ["less", "V:343, I:912", "394", "pager that shows text one screen at a time"],
  ["procps", "V:702, I:992", "2136", "small utilities that report on running processes"],
  ["util-linux", "V:899, I:999", "4879", "miscellaneous system utilities for disks and clocks"],
];

const COMMANDS = [
  ["ls -la", "List every entry of the folder, hidden ones included, with sizes and owners."],
  ["cd -", "Return to the folder you were in before the last change of folder."],
  ["pwd", "Print the full path of the folder you are in."],
  ["mkdir -p a/b", "Make a folder and any missing parents above it without complaint."],
  ["rmdir empty", "Remove a folder that holds nothing."],
  ["cp -r src dst", "Copy a folder with everything inside it to a new place on the disk."],
  ["mv old new", "Rename a file, or move it to another folder on the same disk."],
  ["rm -i *.tmp", "Delete the temporary files, asking once for each before it goes."],
  ["touch stamp", "Create an empty file, or give an existing one the current time."],
  ["ln -s target link", "Make a symbolic link that points at the target by its name."],
  ["cat notes.txt", "Write the whole file to the terminal at once."],
  ["head -n 5 log", "Show only the first five lines of the log."],
  ["tail -f log", "Keep showing the end of the log as new lines are written to it by a running service."],
  ["wc -l *.c", "Count the lines of each C source file and print a total at the bottom."],
  ["sort -u names", "Sort the lines and leave out every line that repeats one before it."],
  ["uniq -c", "Collapse runs of equal lines into one, with the number of times each appeared."],
  ["cut -d: -f1", "Print the first field of each line, taking the colon as the separator."],
  ["tr a-z A-Z", "Turn every lower-case letter of the input into its capital."],
  ["diff -u a b", "Show how two files differ, with three lines of context around each change."],
  ["chmod +x run.sh", "Allow the script to be run as a program by its owner, its group and everyone else."],
  ["chown me:me f", "Give the file to another owner and group."],
  ["df -h", "Show the free space of every mounted disk in sizes people read easily."],
  ["du -sh dir", "Sum up the space the folder takes on the disk."],
  ["ps aux", "List every running process with its owner, its memory and the command that started it."],
  ["kill -TERM 42", "Ask the process with that number to finish its work and stop."],
];

const CASES = [
  {
    // A table as the HTML attribute border="1" draws it: each cell in its own 1-pixel grey
    // frame, two pixels from its neighbours' frames, inside the table's frame.
    name: "bordered_packages_en", lang: "en", width: 1070,
    css: `table { border: 1px solid #888888; font: 15px 'DejaVu Sans'; width: 1070px; }
      td { border: 1px solid #888888; padding: 2px 6px; }
      td.name a { font-family: 'DejaVu Sans Mono'; color: #1a4fb0; }`,
    html: '<table border="1">' + PACKAGES.map(([n, c, s, d]) =>
      `<tr><td class="name"><a href="#">${n}</a></td><td>${c}</td><td>${s}</td><td>${d}</td></tr>`)
      .join("") + "</table>",
  },
  {
    name: "commands_table_en", lang: "en", width: 640,
    css: `table { border-collapse: collapse; font: 14px 'DejaVu Sans'; }
      td { padding: 3px 12px 3px 4px; vertical-align: top; }
      td:first-child { font-family: 'DejaVu Sans Mono'; white-space: nowrap; }`,
    html: "<table>" + COMMANDS.map(([c, d]) => `<tr><td>${c}</td><td>${d}</td></tr>`).join("") +
      "</table>",
  },
  {
    name: "heading_para_zh", lang: "zh", width: 760,
    css: `div { font: 14px 'WenQuanYi Micro Hei', sans-serif; line-height: 1.5; }
      h3 { font-size: 18px; margin: 0 0 8px 0; }
      p { margin: 0; }`,
    html: "<div><h3>2.4. 用户的登录口令</h3><p>系统中每个用户的口令由 shadow（影子口令套件，" +
      "即 Shadow Password Suite）中的 passwd(1) 命令修改，修改后的散列值写入 /etc/shadow 文件。" +
      "下面的两个文件与它一起使用，其中的字段以“:”分开。</p></div>",
  },
];

async function main() {
  const out = process.argv[2];
  if (!out) {
    console.error("usage: node make_cases.mjs OUT_FOLDER");
    process.exit(2);
  }
  mkdirSync(out, { recursive: true });
  const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    args: ["--no-sandbox", "--disable-gpu", "--hide-scrollbars", "--font-render-hinting=none"],
  });
  const index = [];
  try {
    for (const c of CASES) {
      const page = await browser.newPage({
        viewport: { width: c.width + 40, height: 1200 }, deviceScaleFactor: 1,
        locale: c.lang === "zh" ? "zh-CN" : "en-US",
      });
      await page.setContent(`<!DOCTYPE html><meta charset="utf-8"><style>
        body { margin: 0; background: #fff; color: #1f1f1f; }
        .shot { display: inline-block; padding: 8px 10px; max-width: ${c.width}px; }
        ${c.css}</style><div class="shot">${c.html}</div>`);
      const shot = page.locator(".shot");
      await shot.screenshot({ path: join(out, c.name + ".png") });
      const text = (await shot.innerText()).split("\n")
        .map((l) => l.replaceAll("\t", " ").replace(/\s+/g, " ").trim())
        .filter((l) => l.length > 0).join("\n") + "\n";
      writeFileSync(join(out, c.name + ".txt"), text);
      index.push(`${c.name}\t${c.lang}\twork\tmade\n`);
      await page.close();
    }
  } finally {
    await browser.close();
  }
  writeFileSync(join(out, "index.tsv"), index.join(""));
}

await main();
