#!/usr/bin/python3
"""Glyphsnap installed and registered as a browser's native-messaging host.

Installs the native build into a fresh prefix, starts the installed program the way browsers
start a host, checks the manifests that tools/native_host.py writes and removes, and, when
Chromium is there, lets a small extension in headless Chromium call the registered host.

Environment: GLYPHSNAP_BUILD_DIR (the native build), GLYPHSNAP_SOURCE_DIR, CMAKE_COMMAND, and
CHROMIUM_PROGRAM for the Chromium test.
"""
import base64
import json
import os
import shutil
import signal
import struct
import subprocess
import tempfile
import time
import unittest

SOURCE = os.environ["GLYPHSNAP_SOURCE_DIR"]
TOOL = os.path.join(SOURCE, "tools", "native_host.py")
HERE = os.path.dirname(os.path.abspath(__file__))

# The extension's ID follows from the public key in its manifest.
EXTENSION_ORIGIN = "chrome-extension://ndblfhdflgdelgbdefckpnoophockhll/"
FIREFOX_ID = "glyphsnap-caller@example.org"
DESCRIPTION = "Glyphsnap: recognises the text of an image, or opens the image in a paint program"

LINES = ["Glyphsnap reads text", "from pictures quickly"]
RECOGNITION_REPLY = ('{"data":"Glyphsnap reads text\\r\\nfrom pictures quickly\\r\\n",'
                     '"status":"success"}')
EDIT_REPLY = '{"data":"画图程序启动成功","status":"success"}'
CACHE_FILE = "vorlin_ocr_edit_cache.png"

prefix = ""
image_png = b""
scratch_root = ""


def setUpModule():
    global prefix, image_png, scratch_root
    scratch_root = tempfile.mkdtemp(prefix="glyphsnap-native-host-")
    # A prefix with a space: the manifests and the program's own lookup must both cope.
    prefix = os.path.join(scratch_root, "installed glyphsnap")
    subprocess.run([os.environ["CMAKE_COMMAND"], "--install", os.environ["GLYPHSNAP_BUILD_DIR"],
                    "--prefix", prefix], check=True, stdout=subprocess.DEVNULL)
    picture = os.path.join(scratch_root, "text.png")
    subprocess.run(["/usr/bin/python3", os.path.join(SOURCE, "tools", "render_text.py"), picture,
                    *LINES], check=True)
    with open(picture, "rb") as file:
        image_png = file.read()


def tearDownModule():
    shutil.rmtree(scratch_root, ignore_errors=True)


def installed_program():
    return os.path.join(prefix, "bin", "glyphsnap")


def frame(payload: bytes) -> bytes:
    return struct.pack("<I", len(payload)) + payload


def read_frame(stream) -> bytes:
    header = stream.read(4)
    if len(header) < 4:
        return b""
    return stream.read(struct.unpack("<I", header)[0])


def wait_for_file(path, seconds):
    deadline = time.monotonic() + seconds
    while not os.path.exists(path) and time.monotonic() < deadline:
        time.sleep(0.1)
    return os.path.exists(path)


class Scratch(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.mkdtemp(dir=scratch_root)
        self.home = os.path.join(self.scratch, "home")
        self.temp = os.path.join(self.scratch, "tmp")
        # Without a runtime folder, Glyphsnap keeps its edit files in a folder of the user's own.
        self.edit_folder = os.path.join(self.temp, f"glyphsnap-{os.geteuid()}")
        os.makedirs(self.home)
        os.makedirs(self.temp)
        self.paint_log = os.path.join(self.scratch, "paint.log")
        self.paint = os.path.join(self.scratch, "paint")
        with open(self.paint, "w") as script:
            script.write(f"#!/bin/sh\nprintf '%s\\n' \"$*\" >> '{self.paint_log}'\n")
        os.chmod(self.paint, 0o755)

    def tool(self, *arguments, config_home=None):
        environment = {"PATH": "/usr/bin:/bin", "HOME": self.home}
        if config_home:
            environment["XDG_CONFIG_HOME"] = config_home
        return subprocess.run(["/usr/bin/python3", TOOL, *arguments], env=environment,
                              capture_output=True, text=True)

    def read_json(self, path):
        with open(path, encoding="utf-8") as file:
            return json.load(file)

    def all_files(self, folder):
        return sorted(os.path.relpath(os.path.join(root, name), folder)
                      for root, _, names in os.walk(folder) for name in names)


class Install(unittest.TestCase):
    def test_installs_the_program_and_its_module_and_nothing_else(self):
        files = sorted(os.path.relpath(os.path.join(root, name), prefix)
                       for root, _, names in os.walk(prefix) for name in names)
        self.assertEqual(files, ["bin/glyphsnap", "lib/glyphsnap/glyphsnap-tesseract.so"])
        self.assertTrue(os.access(installed_program(), os.X_OK))


class StartedLikeABrowserHost(Scratch):
    """Browsers start the host with their own arguments, from a folder of their choosing, with
    pipes on both streams. Glyphsnap ignores the arguments and finds its module from itself."""

    def serve_two_requests(self, argv, cwd):
        environment = {"PATH": "/usr/bin:/bin", "TMPDIR": self.temp, "GLYPHSNAP_PAINT": self.paint}
        image = base64.b64encode(image_png)
        process = subprocess.Popen(argv, cwd=cwd, env=environment, stdin=subprocess.PIPE,
                                   stdout=subprocess.PIPE)
        try:
            process.stdin.write(frame(b'{"image":"' + image + b'"}'))
            process.stdin.write(frame(b'{"action":"edit_image","image":"' + image + b'"}'))
            process.stdin.close()
            replies = [read_frame(process.stdout).decode("utf-8") for _ in range(2)]
            self.assertEqual(process.wait(timeout=120), 0)
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()
            process.stdout.close()
        return replies

    def test_answers_recognition_and_edit_whatever_the_arguments_and_folder(self):
        link = os.path.join(self.scratch, "linked-glyphsnap")
        os.symlink(installed_program(), link)
        manifest = os.path.join(self.home, ".mozilla", "native-messaging-hosts", "x.json")
        launches = [
            ("Chromium: the caller's origin, from /", [installed_program(), EXTENSION_ORIGIN], "/"),
            ("Firefox: manifest path and extension ID",
             [installed_program(), manifest, FIREFOX_ID], "/"),
            ("through a symbolic link elsewhere", [link, EXTENSION_ORIGIN], self.temp),
        ]
        for label, argv, cwd in launches:
            with self.subTest(label):
                if os.path.exists(self.paint_log):
                    os.remove(self.paint_log)
                self.assertEqual(self.serve_two_requests(argv, cwd),
                                 [RECOGNITION_REPLY, EDIT_REPLY])
                cache = os.path.join(self.edit_folder, CACHE_FILE)
                with open(cache, "rb") as file:
                    self.assertEqual(file.read(), image_png)
                self.assertTrue(wait_for_file(self.paint_log, 10))
                with open(self.paint_log) as log:
                    self.assertEqual(log.read(), cache + "\n")


class Manifests(Scratch):
    def expected(self, allowed):
        return {"name": "vorlin.glyphsnap", "description": DESCRIPTION,
                "path": installed_program(), "type": "stdio", **allowed}

    def test_register_writes_each_browsers_manifest_and_unregister_removes_them(self):
        manifest = "vorlin.glyphsnap.json"
        chromium = os.path.join(self.home, ".config/chromium/NativeMessagingHosts", manifest)
        chrome = os.path.join(self.home, ".config/google-chrome/NativeMessagingHosts", manifest)
        firefox = os.path.join(self.home, ".mozilla/native-messaging-hosts", manifest)
        neighbour = os.path.join(os.path.dirname(chromium), "other.host.json")
        os.makedirs(os.path.dirname(chromium))
        with open(neighbour, "w") as file:
            file.write("{}")

        done = self.tool("register", "--program", installed_program(), "--allow", EXTENSION_ORIGIN,
                         "--allow", FIREFOX_ID)
        self.assertEqual(done.returncode, 0, done.stderr)
        chromium_form = {"allowed_origins": [EXTENSION_ORIGIN]}
        self.assertEqual(self.read_json(chromium), self.expected(chromium_form))
        self.assertEqual(self.read_json(chrome), self.expected(chromium_form))
        self.assertEqual(self.read_json(firefox),
                         self.expected({"allowed_extensions": [FIREFOX_ID]}))
        self.assertEqual(os.stat(chromium).st_mode & 0o777, 0o644)

        done = self.tool("unregister")
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(self.all_files(self.home),
                         [".config/chromium/NativeMessagingHosts/other.host.json"])
        self.assertEqual(self.tool("unregister").returncode, 0)

    def test_chromium_and_chrome_follow_xdg_config_home_and_firefox_stays_in_home(self):
        config = os.path.join(self.scratch, "config")
        done = self.tool("register", "--program", installed_program(), "--allow", EXTENSION_ORIGIN,
                         "--allow", FIREFOX_ID, config_home=config)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(self.all_files(self.scratch + "/config") + self.all_files(self.home), [
            "chromium/NativeMessagingHosts/vorlin.glyphsnap.json",
            "google-chrome/NativeMessagingHosts/vorlin.glyphsnap.json",
            ".mozilla/native-messaging-hosts/vorlin.glyphsnap.json",
        ])

    def test_only_the_browsers_with_allowed_extensions_are_registered(self):
        done = self.tool("register", "--program", installed_program(), "--allow", FIREFOX_ID)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(self.all_files(self.home),
                         [".mozilla/native-messaging-hosts/vorlin.glyphsnap.json"])

    def test_refusals_name_the_fault_and_write_nothing(self):
        not_executable = os.path.join(self.scratch, "plain-file")
        with open(not_executable, "w") as file:
            file.write("")
        program = installed_program()
        cases = [
            ("missing program", ["--program", self.scratch + "/no-such-glyphsnap",
                                 "--allow", EXTENSION_ORIGIN], "no program at"),
            ("program not executable", ["--program", not_executable, "--allow", EXTENSION_ORIGIN],
             "is not an executable file"),
            ("origin without its final slash",
             ["--program", program, "--allow", EXTENSION_ORIGIN.rstrip("/")],
             "bad extension origin"),
            ("ID with letters past p",
             ["--program", program, "--allow", "chrome-extension://" + "z" * 32 + "/"],
             "bad extension origin"),
            ("a web origin", ["--program", program, "--allow", "https://example.org/"],
             "bad extension 'https://example.org/'"),
            ("no extension at all", ["--program", program], "nothing to register"),
            ("browser without its kind of extension",
             ["--program", program, "--allow", EXTENSION_ORIGIN, "--browser", "firefox"],
             "--browser firefox needs a Firefox extension ID"),
        ]
        for label, arguments, message in cases:
            with self.subTest(label):
                done = self.tool("register", *arguments)
                self.assertEqual(done.returncode, 2)
                self.assertIn(message, done.stderr)
                self.assertEqual(self.all_files(self.home), [])


@unittest.skipUnless(os.environ.get("CHROMIUM_PROGRAM"), "Chromium is not installed")
class ChromiumExtension(Scratch):
    """A small unpacked extension in headless Chromium calls the registered host through
    chrome.runtime.connectNative; a second host reports what the extension got back."""

    def test_extension_gets_glyphsnaps_replies(self):
        config = os.path.join(self.scratch, "config")
        extension = os.path.join(self.scratch, "extension")
        shutil.copytree(os.path.join(HERE, "extension"), extension)
        with open(os.path.join(extension, "request.json"), "w") as file:
            json.dump({"image": base64.b64encode(image_png).decode("ascii")}, file)
        reporter = os.path.join(self.scratch, "report_host.py")
        shutil.copy(os.path.join(HERE, "report_host.py"), reporter)
        for name, program in [("vorlin.glyphsnap", installed_program()),
                              ("vorlin.glyphsnap.test_report", reporter)]:
            done = self.tool("register", "--program", program, "--allow", EXTENSION_ORIGIN,
                             "--browser", "chromium", "--name", name, config_home=config)
            self.assertEqual(done.returncode, 0, done.stderr)

        # The profile folder is the one Chromium uses by default under this XDG_CONFIG_HOME.
        environment = {"PATH": "/usr/bin:/bin", "HOME": self.home, "XDG_CONFIG_HOME": config,
                       "TMPDIR": self.temp, "GLYPHSNAP_PAINT": self.paint}
        browser = subprocess.Popen([
            os.environ["CHROMIUM_PROGRAM"], "--headless", "--no-sandbox", "--disable-gpu",
            "--user-data-dir=" + os.path.join(config, "chromium"),
            "--load-extension=" + extension, "--disable-extensions-except=" + extension,
            "--disable-background-networking", "--disable-component-update", "--no-first-run",
            "--no-default-browser-check", "about:blank",
        ], env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        try:
            report = os.path.join(self.scratch, "report.json")
            self.assertTrue(wait_for_file(report, 45), "the extension reported nothing")
        finally:
            os.killpg(browser.pid, signal.SIGTERM)
            try:
                browser.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(browser.pid, signal.SIGKILL)
                browser.wait()
        self.assertEqual(self.read_json(report), {"replies": [json.loads(RECOGNITION_REPLY),
                                                             json.loads(EDIT_REPLY)]})
        with open(os.path.join(self.edit_folder, CACHE_FILE), "rb") as file:
            self.assertEqual(file.read(), image_png)


if __name__ == "__main__":
    unittest.main()
