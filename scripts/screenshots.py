#!/usr/bin/env python3
"""Takes a picture of every device page of vorlin in English, with the emulated devices.

    cmake --preset default && cmake --build --preset default --target vorlin
    python3 scripts/screenshots.py [--build build/default] [--out docs/images] [--scale 96]

The program runs with --demo, private temporary XDG folders (the user's profiles and a running
vorlin are never touched), English as the desktop language and, without a display, Qt's offscreen
platform. The script drives the window through the automation socket (docs/automation.md): it
shows each device's page, chooses each of the page's tabs and writes one PNG per page and tab,
named <page>-<tab>.png, to the output folder. It prints the files it wrote.
"""

import argparse
import json
import os
import socket
import subprocess
import sys
import tempfile
import time

# The device pages by their data names, and the tabs a page may have (the tab's control name ->
# the picture's name). A page shows the tabs of what its device offers; one without a tab row
# gives one picture, <page>.png.
PAGES = ["mouse", "keyboard", "MousePad", "HD"]
TABS = [("deng_Op_tab", "lighting"), ("key_Op_tab", "buttons"), ("macro_Op_tab", "macros"),
        ("shoot_Op_tab", "recoil"), ("system_Op_tab", "performance"),
        ("cursor_Op_tab", "pointer")]
# Time for the page switch and the lighting preview's next frames.
SETTLE_S = 0.5


class Automation:
    def __init__(self, path, timeout=20.0):
        deadline = time.monotonic() + timeout
        while True:
            try:
                self.sock = socket.socket(socket.AF_UNIX)
                self.sock.connect(path)
                break
            except OSError:
                self.sock.close()
                if time.monotonic() > deadline:
                    raise RuntimeError("the program's automation socket did not answer")
                time.sleep(0.1)
        self.file = self.sock.makefile("rw", encoding="utf-8")

    def ask(self, **request):
        self.file.write(json.dumps(request) + "\n")
        self.file.flush()
        line = self.file.readline()
        if not line:
            raise RuntimeError("the program closed the automation socket")
        return json.loads(line)

    def must(self, **request):
        reply = self.ask(**request)
        if not reply.get("ok"):
            raise RuntimeError(f"{request}: {reply.get('error')}")
        return reply


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(root, "build", "default"))
    parser.add_argument("--out", default=os.path.join(root, "docs", "images"))
    parser.add_argument("--scale", type=int, default=96, help="the window's DPI (96 = 100 %%)")
    args = parser.parse_args()

    binary = os.path.join(args.build, "src", "vorlin")
    if not os.access(binary, os.X_OK):
        sys.exit(f"{binary} is not built: cmake --build --preset default --target vorlin")
    os.makedirs(args.out, exist_ok=True)

    with tempfile.TemporaryDirectory(prefix="vorlin-shots-") as home:
        env = dict(os.environ)
        for name in ("XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"):
            folder = os.path.join(home, name.lower())
            os.makedirs(folder, mode=0o700)
            env[name] = folder
        env.update(LANG="en_US.UTF-8", LC_ALL="", LC_MESSAGES="")
        if not env.get("DISPLAY") and not env.get("WAYLAND_DISPLAY"):
            env["QT_QPA_PLATFORM"] = "offscreen"
        sock = os.path.join(home, "automation.sock")
        program = subprocess.Popen(
            [binary, "--demo", "--automation", sock, "--scale", str(args.scale)], env=env,
            stdin=subprocess.DEVNULL)
        try:
            auto = Automation(sock)
            deadline = time.monotonic() + 20
            while not auto.ask(op="state", control="root").get("visible"):
                if time.monotonic() > deadline:
                    raise RuntimeError("the window did not show")
                time.sleep(0.1)
            for page in PAGES:
                auto.must(op="select", page=page, control="device_select", selected=True)
                time.sleep(SETTLE_S)
                shown = [(tab, picture) for tab, picture in TABS
                         if auto.ask(op="state", page=page, control=tab).get("visible")]
                for tab, picture in shown or [(None, None)]:
                    if tab:
                        auto.must(op="select", page=page, control=tab, selected=True)
                        time.sleep(SETTLE_S)
                    name = f"{page}-{picture}.png" if picture else f"{page}.png"
                    path = os.path.join(os.path.abspath(args.out), name)
                    auto.must(op="screenshot", path=path)
                    print(path)
            auto.ask(op="quit")
            program.wait(timeout=20)
        finally:
            if program.poll() is None:
                program.kill()
                program.wait()


if __name__ == "__main__":
    main()
