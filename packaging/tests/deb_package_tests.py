#!/usr/bin/env python3
"""The Debian package of Glyphsnap, made by CPack from this build: its fields and contents, and,
in CI as root (CI=true), its life on the machine: installed with apt it answers a recognition
request, removed it leaves nothing behind.

  deb_package_tests.py --build BUILD_DIR --version VERSION --sample IMAGE.png
"""
import argparse
import base64
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

ARGS = None
INSTALLED_FILES = ["/usr/bin/glyphsnap", "/usr/lib/glyphsnap/glyphsnap-tesseract.so"]


def make_package(scratch):
    subprocess.run(["cpack", "--config", os.path.join(ARGS.build, "CPackConfig.cmake"),
                    "-B", scratch], check=True, stdout=subprocess.DEVNULL)
    return os.path.join(scratch, f"glyphsnap_{ARGS.version}_amd64.deb")


def field(package, name):
    return subprocess.run(["dpkg-deb", "-f", package, name], check=True, capture_output=True,
                          text=True).stdout.strip()


def dependency_names(package):
    names = []
    for alternative in field(package, "Depends").split(","):
        names.append(alternative.split("(")[0].strip())
    return names


def ask(program, request):
    payload = json.dumps(request).encode()
    frames = struct.pack("<I", len(payload)) + payload + struct.pack("<I", 0)
    done = subprocess.run([program], input=frames, capture_output=True, cwd="/", timeout=300,
                          env={"PATH": "/usr/bin:/bin", "LANG": "C.UTF-8"})
    (length,) = struct.unpack("<I", done.stdout[:4])
    return json.loads(done.stdout[4:4 + length])


class PackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="glyphsnap-deb-")
        cls.package = make_package(cls.scratch)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch)

    def test_fields_name_the_package_its_version_and_architecture(self):
        self.assertEqual(field(self.package, "Package"), "glyphsnap")
        self.assertEqual(field(self.package, "Version"), ARGS.version)
        self.assertEqual(field(self.package, "Architecture"), "amd64")

    def test_depends_on_the_recognizer_and_its_language_data(self):
        names = dependency_names(self.package)
        for needed in ("libtesseract5", "liblept5", "libjpeg62-turbo", "libgomp1", "libc6",
                       "tesseract-ocr-eng", "tesseract-ocr-chi-sim"):
            self.assertIn(needed, names)

    def test_holds_the_program_and_its_module_only(self):
        listing = subprocess.run(["dpkg-deb", "-c", self.package], check=True,
                                 capture_output=True, text=True).stdout
        files = sorted(line.split()[-1].lstrip(".") for line in listing.splitlines()
                       if not line.startswith("d"))
        self.assertEqual(files, INSTALLED_FILES)

    @unittest.skipUnless(os.environ.get("CI") == "true" and os.geteuid() == 0,
                         "installs with apt only in CI as root")
    def test_installed_with_apt_answers_and_removed_leaves_nothing(self):
        if subprocess.run(["dpkg", "-s", "glyphsnap"], capture_output=True).returncode == 0:
            self.skipTest("a glyphsnap package is installed already")
        environment = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
        subprocess.run(["apt-get", "install", "-y", "--no-install-recommends", self.package],
                       check=True, env=environment, stdout=subprocess.DEVNULL)
        try:
            with open(ARGS.sample, "rb") as image:
                reply = ask("/usr/bin/glyphsnap", {"image": base64.b64encode(image.read()).decode()})
            self.assertEqual(reply["status"], "success")
            self.assertIn("Glyphsnap reads the text", reply["data"])
        finally:
            subprocess.run(["apt-get", "purge", "-y", "glyphsnap"], check=True, env=environment,
                           stdout=subprocess.DEVNULL)
        for path in INSTALLED_FILES + ["/usr/lib/glyphsnap"]:
            self.assertFalse(os.path.exists(path), path)
        self.assertNotEqual(
            subprocess.run(["dpkg", "-s", "glyphsnap"], capture_output=True).returncode, 0)


def main():
    global ARGS
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--sample", required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0], "-v"] + rest)


if __name__ == "__main__":
    main()
