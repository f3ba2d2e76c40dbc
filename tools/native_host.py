#!/usr/bin/env python3
"""Registers an installed Glyphsnap as the current user's native-messaging host for Chromium,
Chrome and Firefox, or removes that registration again.

  native_host.py register --program PREFIX/bin/glyphsnap --allow ORIGIN_OR_ID [--allow ...]
  native_host.py unregister

--allow takes a Chromium or Chrome extension origin, chrome-extension://<32 letters a-p>/, which
goes into the Chromium and Chrome manifests, or a Firefox extension ID, name@domain or {GUID},
which goes into the Firefox manifest. A manifest is written for each browser that has an
extension to allow (narrow the choice with --browser). The manifests lie in the user's folders:

  Chromium  $XDG_CONFIG_HOME/chromium/NativeMessagingHosts/NAME.json   (default ~/.config)
  Chrome    $XDG_CONFIG_HOME/google-chrome/NativeMessagingHosts/NAME.json
  Firefox   ~/.mozilla/native-messaging-hosts/NAME.json
"""
import argparse
import json
import os
import re
import sys
import tempfile

DEFAULT_NAME = "vorlin.glyphsnap"
DESCRIPTION = "Glyphsnap: recognises the text of an image, or opens the image in a paint program"
BROWSERS = ("chromium", "chrome", "firefox")

# Chromium's rule for host names; Firefox accepts every name that passes it.
HOST_NAME = re.compile(r"[a-z0-9_]+(\.[a-z0-9_]+)*")
CHROMIUM_ORIGIN = re.compile(r"chrome-extension://[a-p]{32}/")
FIREFOX_ID = re.compile(
    r"[A-Za-z0-9._-]*@[A-Za-z0-9._-]+|\{[0-9A-Fa-f]{8}(-[0-9A-Fa-f]{4}){3}-[0-9A-Fa-f]{12}\}")


class UsageError(Exception):
    pass


def config_home() -> str:
    # The XDG rule: only an absolute XDG_CONFIG_HOME counts.
    configured = os.environ.get("XDG_CONFIG_HOME", "")
    if os.path.isabs(configured):
        return configured
    return os.path.join(home(), ".config")


def home() -> str:
    folder = os.path.expanduser("~")
    if not os.path.isabs(folder):
        raise UsageError("the home folder is unknown: set HOME")
    return folder


def manifest_path(browser: str, name: str) -> str:
    if browser == "chromium":
        folder = os.path.join(config_home(), "chromium", "NativeMessagingHosts")
    elif browser == "chrome":
        folder = os.path.join(config_home(), "google-chrome", "NativeMessagingHosts")
    else:
        folder = os.path.join(home(), ".mozilla", "native-messaging-hosts")
    return os.path.join(folder, name + ".json")


def split_allowed(values):
    """The Chromium origins and the Firefox IDs among the --allow values, in the order given."""
    origins, ids = [], []
    for value in values:
        if CHROMIUM_ORIGIN.fullmatch(value):
            origins.append(value)
        elif FIREFOX_ID.fullmatch(value):
            ids.append(value)
        elif value.startswith("chrome-extension://"):
            raise UsageError(
                f"bad extension origin {value!r}: Chromium and Chrome want chrome-extension://"
                "<the 32 letters a-p of the extension's ID>/ with the final slash")
        else:
            raise UsageError(
                f"bad extension {value!r}: give a Chromium or Chrome origin "
                "(chrome-extension://<32 letters a-p>/) or a Firefox extension ID "
                "(name@domain or {GUID})")
    return list(dict.fromkeys(origins)), list(dict.fromkeys(ids))


def checked_program(path: str) -> str:
    program = os.path.abspath(os.path.expanduser(path))
    if not os.path.exists(program):
        raise UsageError(f"no program at {program}: install Glyphsnap first "
                         "(cmake --install build/native --prefix PREFIX)")
    if not os.path.isfile(program) or not os.access(program, os.X_OK):
        raise UsageError(f"{program} is not an executable file")
    return program


def manifests(name, program, browsers, origins, ids):
    """The manifest of each browser that has an extension to allow, keyed by browser."""
    chosen = {}
    for browser in browsers:
        field, allowed = (("allowed_extensions", ids) if browser == "firefox"
                          else ("allowed_origins", origins))
        if allowed:
            chosen[browser] = {"name": name, "description": DESCRIPTION, "path": program,
                               "type": "stdio", field: allowed}
    return chosen


def write_file(path: str, text: str) -> None:
    folder = os.path.dirname(path)
    os.makedirs(folder, exist_ok=True)
    # Written beside and renamed, so that a browser never reads half a manifest.
    descriptor, temporary = tempfile.mkstemp(prefix=".glyphsnap-", dir=folder)
    try:
        with os.fdopen(descriptor, "w", encoding="utf-8") as out:
            out.write(text)
        os.chmod(temporary, 0o644)
        os.replace(temporary, path)
    except BaseException:
        os.unlink(temporary)
        raise


def register(args) -> int:
    program = checked_program(args.program)
    origins, ids = split_allowed(args.allow)
    if not origins and not ids:
        raise UsageError("nothing to register: name the allowed extensions with --allow")
    browsers = args.browser or BROWSERS
    chosen = manifests(args.name, program, browsers, origins, ids)
    for browser in args.browser or []:
        if browser not in chosen:
            wanted = ("a Firefox extension ID" if browser == "firefox"
                      else "a chrome-extension:// origin")
            raise UsageError(f"--browser {browser} needs {wanted} in --allow")
    for browser, manifest in chosen.items():
        path = manifest_path(browser, args.name)
        write_file(path, json.dumps(manifest, indent=2, ensure_ascii=False) + "\n")
        print(f"{browser}: {path}")
    return 0


def unregister(args) -> int:
    for browser in args.browser or BROWSERS:
        path = manifest_path(browser, args.name)
        try:
            os.remove(path)
            print(f"{browser}: removed {path}")
        except FileNotFoundError:
            pass
    return 0


def host_name(text: str) -> str:
    if not HOST_NAME.fullmatch(text):
        raise argparse.ArgumentTypeError(
            "a host name is lower-case letters, digits and _ in parts joined by single dots")
    return text


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)
    for command in ("register", "unregister"):
        sub = commands.add_parser(command)
        sub.add_argument("--name", type=host_name, default=DEFAULT_NAME,
                         help=f"host name the extension connects to (default {DEFAULT_NAME})")
        sub.add_argument("--browser", action="append", choices=BROWSERS,
                         help="only this browser (repeatable; default: all)")
        if command == "register":
            sub.add_argument("--program", required=True, help="the installed glyphsnap")
            sub.add_argument("--allow", action="append", default=[], metavar="ORIGIN_OR_ID",
                             help="an extension allowed to start Glyphsnap (repeatable)")
    args = parser.parse_args()
    try:
        return register(args) if args.command == "register" else unregister(args)
    except UsageError as error:
        print(f"native_host.py: error: {error}", file=sys.stderr)
        return 2
    except OSError as error:
        print(f"native_host.py: error: {error}", file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main())
