#!/usr/bin/env python3
"""Discovery figures of vorlin, measured from outside through its public interfaces.

1. Start-up: the time from starting `vorlin --demo` to its main window being shown with the
   options of the four emulated devices (mouse, keyboard, mouse pad, headset) in the device
   selector strip. The built-in emulated set plugs the mouse in both by cable and through its
   receiver.
2. Plug: the time from attaching the interfaces of one device through the emulator socket
   (docs/emulator-socket.md) to its option being shown in the strip, and from detaching them to
   the option being hidden again.

The window is watched through the automation socket (docs/automation.md): the "root" window's
`visible`, the "status_text" label (the number of connected devices, i.e. of shown options) and
the first "DeviceOption" control (the mouse's option, the first entry of the strip; the other
entries carry the same name and cannot be addressed one by one).

Each program runs with private, temporary XDG folders, so that neither the user's profiles nor a
running vorlin are touched, and without a display under QT_QPA_PLATFORM=offscreen (or on a
private Xvfb display with --platform xvfb). Only the Python standard library is used.

Exit status: 0 every figure asked for was measured, 1 the program could not be run, 2 some
figure could not be measured (the reason is printed).
"""

import argparse
import json
import os
import queue
import re
import shutil
import signal
import socket
import statistics
import struct
import subprocess
import sys
import tempfile
import threading
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# ---------------------------------------------------------------------------------------------
# Report descriptors, written as sim/report_descriptors.cpp writes them.


class DescriptorWriter:
    """Short items with the smallest data size that holds the value."""

    def __init__(self):
        self.data = bytearray()

    def _put(self, prefix, value, size):
        self.data.append(prefix | (3 if size == 4 else size))
        self.data += (value & 0xFFFFFFFF).to_bytes(4, "little")[:size]
        return self

    def _item(self, prefix, value):
        return self._put(prefix, value, 1 if value <= 0xFF else 2 if value <= 0xFFFF else 4)

    def _signed(self, prefix, value):
        size = 1 if -128 <= value <= 127 else 2 if -32768 <= value <= 32767 else 4
        return self._put(prefix, value, size)

    def input(self, flags):
        return self._item(0x80, flags)

    def output(self, flags):
        return self._item(0x90, flags)

    def collection(self, kind):
        return self._item(0xA0, kind)

    def end_collection(self):
        self.data.append(0xC0)
        return self

    def usage_page(self, page):
        return self._item(0x04, page)

    def logical_min(self, v):
        return self._signed(0x14, v)

    def logical_max(self, v):
        return self._signed(0x24, v)

    def report_size(self, bits):
        return self._item(0x74, bits)

    def report_id(self, rid):
        return self._item(0x84, rid)

    def report_count(self, n):
        return self._item(0x94, n)

    def usage(self, u):
        return self._item(0x08, u)

    def usage_min(self, u):
        return self._item(0x18, u)

    def usage_max(self, u):
        return self._item(0x28, u)


APPLICATION, PHYSICAL = 0x01, 0x00
DATA_ARRAY, CONSTANT, DATA_VAR, DATA_VAR_REL = 0x00, 0x01, 0x02, 0x06


def _keyboard_body(w):
    w.usage_page(0x07).usage_min(0xE0).usage_max(0xE7).logical_min(0).logical_max(1)
    w.report_size(1).report_count(8).input(DATA_VAR)
    w.report_size(8).report_count(1).input(CONSTANT)
    w.usage_page(0x07).usage_min(0x00).usage_max(0xFF).logical_min(0).logical_max(0xFF)
    w.report_size(8).report_count(6).input(DATA_ARRAY)
    w.usage_page(0x08).usage_min(0x01).usage_max(0x05).logical_min(0).logical_max(1)
    w.report_size(1).report_count(5).output(DATA_VAR)
    w.report_size(3).report_count(1).output(CONSTANT)


def vendor_interface_descriptor():
    """Interface 1: keyboard, system control, consumer events, vendor commands."""
    w = DescriptorWriter()
    w.usage_page(0x01).usage(0x06).collection(APPLICATION).report_id(1)
    _keyboard_body(w)
    w.end_collection()
    w.usage_page(0x01).usage(0x80).collection(APPLICATION).report_id(2)
    w.usage_min(0x81).usage_max(0x83).logical_min(0).logical_max(1)
    w.report_size(1).report_count(3).input(DATA_VAR)
    w.report_size(5).report_count(1).input(CONSTANT)
    w.end_collection()
    w.usage_page(0x0C).usage(0x01).collection(APPLICATION).report_id(3)
    w.usage_min(0x0000).usage_max(0x1FFF).logical_min(0).logical_max(0x1FFF)
    w.report_size(16).report_count(1).input(DATA_ARRAY)
    w.end_collection()
    w.usage_page(0xFF1C).usage(0x92).collection(APPLICATION).report_id(4)
    w.usage(0x01).logical_min(0).logical_max(0xFF).report_size(8).report_count(63)
    w.input(DATA_VAR)
    w.usage(0x02).report_count(63).output(DATA_VAR)
    w.end_collection()
    return bytes(w.data)


def boot_mouse_descriptor():
    w = DescriptorWriter()
    w.usage_page(0x01).usage(0x02).collection(APPLICATION)
    w.usage(0x01).collection(PHYSICAL)
    w.usage_page(0x09).usage_min(1).usage_max(5).logical_min(0).logical_max(1)
    w.report_size(1).report_count(5).input(DATA_VAR)
    w.report_size(3).report_count(1).input(CONSTANT)
    w.usage_page(0x01).usage(0x30).usage(0x31).usage(0x38).logical_min(-127).logical_max(127)
    w.report_size(8).report_count(3).input(DATA_VAR_REL)
    w.end_collection()
    w.end_collection()
    return bytes(w.data)


def boot_keyboard_descriptor():
    w = DescriptorWriter()
    w.usage_page(0x01).usage(0x06).collection(APPLICATION)
    _keyboard_body(w)
    w.end_collection()
    return bytes(w.data)


def headset_descriptor():
    w = DescriptorWriter()
    w.usage_page(0x0C).usage(0x01).collection(APPLICATION)
    w.report_id(4).usage_page(0xFF00).logical_min(0).logical_max(0xFF).report_size(8)
    w.usage(0x01).report_count(63).input(DATA_VAR)
    w.usage(0x02).report_count(63).output(DATA_VAR)
    w.report_id(0xFF).usage(0x03).report_count(16).output(DATA_VAR)
    w.end_collection()
    return bytes(w.data)


# ---------------------------------------------------------------------------------------------
# The devices as the emulator (sim/device_emulator.cpp) plugs them in.

FIRMWARE_VERSION = 0x0108


def _info(kind_code, leds, keys, macro_units=0, sensor=0, dpi_step=0, dpi_base=0):
    info = bytearray(34)
    info[0] = kind_code
    info[1:3] = FIRMWARE_VERSION.to_bytes(2, "little")
    info[3] = 5  # profiles
    info[4] = leds
    info[5] = keys
    info[6] = macro_units
    info[9:11] = sensor.to_bytes(2, "little")
    info[11] = dpi_step
    info[14:16] = dpi_base.to_bytes(2, "little")
    return bytes(info)


# name: (caption, vendor, product, [(interface, usage page, usage, descriptor)], device info)
DEVICES = {
    "mouse": ("mouse by cable", 0x320F, 0x225E,
              [(0, 0x01, 0x02, boot_mouse_descriptor()),
               (1, 0x01, 0x06, vendor_interface_descriptor())],
              _info(2, 11, 15, 16, 0x3325, 50, 50)),
    "mouse-receiver": ("mouse through its receiver", 0x320F, 0x225F,
                       [(1, 0x01, 0x06, vendor_interface_descriptor())],
                       _info(2, 11, 15, 16, 0x3325, 50, 50)),
    "keyboard": ("keyboard by cable", 0x0000, 0x0000,
                 [(0, 0x01, 0x06, boot_keyboard_descriptor()),
                  (1, 0x01, 0x06, vendor_interface_descriptor())],
                 _info(1, 132, 132, 64)),
    "pad": ("mouse pad", 0x320F, 0x1004,
            [(1, 0x01, 0x06, vendor_interface_descriptor())], _info(3, 15, 0)),
    "headset": ("headset", 0x0C76, 0x1630,
                [(3, 0x0C, 0x01, headset_descriptor())], _info(7, 13, 0)),
}
# The strip's first entry is the mouse's option: only it can be addressed by name.
FIRST_OPTION_DEVICES = {"mouse", "mouse-receiver"}

COMMAND_REPORT_ID = 4
CMD_READ_DEVICE_INFO = 0x03
CMD_PROBE_WIRELESS = 0xAA


def command_reply(request, device_info):
    """The firmware's answer: header echoed, status 0, read data from byte 8, checksum fixed."""
    reply = bytearray(64)
    reply[0] = COMMAND_REPORT_ID
    reply[1:7] = bytes(request[1:7]).ljust(6, b"\0")
    code = reply[3]
    length = min(reply[4], 56)
    offset = reply[5] | reply[6] << 8
    if code == CMD_PROBE_WIRELESS:
        reply[8] = 0xFF  # the mouse behind the receiver is switched on
    elif code == CMD_READ_DEVICE_INFO:
        part = device_info[offset:offset + length]
        reply[8:8 + len(part)] = part
    checksum = sum(reply[3:64]) & 0xFFFF
    reply[1], reply[2] = checksum & 0xFF, checksum >> 8
    return bytes(reply)


# ---------------------------------------------------------------------------------------------
# Clients of the program's two sockets.


class Automation:
    """The JSON-lines automation socket: one request, one reply."""

    def __init__(self, path):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(path)
        self.sock.settimeout(30)
        self.file = self.sock.makefile("rwb")

    def ask(self, **request):
        self.file.write(json.dumps(request).encode() + b"\n")
        self.file.flush()
        line = self.file.readline()
        if not line:
            raise ConnectionError("the automation socket was closed")
        return json.loads(line)

    def state(self, control):
        return self.ask(op="state", control=control)

    def close(self):
        try:
            self.file.close()
            self.sock.close()
        except OSError:
            pass


def connected_count(status_reply):
    """The number in the status line ("2 devices connected", "已连接 2 个设备"); 0 when none."""
    if not status_reply.get("ok"):
        return None
    match = re.search(r"\d+", status_reply.get("text", ""))
    return int(match.group()) if match else 0


class SimClient:
    """An emulator-socket client that attaches devices and answers their command reports."""

    def __init__(self, path):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_SEQPACKET)
        self.sock.connect(path)
        self.sock.send(struct.pack("<BH", 0x01, 1))
        welcome = self.sock.recv(8192)
        if not welcome or welcome[0] != 0x81:
            raise ConnectionError("no WELCOME from the emulator socket: %r" % welcome)
        self.info_of_tag = {}
        self.attached = queue.Queue()
        self.errors = []
        self.outputs = 0
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        while True:
            try:
                msg = self.sock.recv(8192)
            except OSError:
                return
            if not msg:
                return
            kind = msg[0]
            if kind == 0x82:  # ATTACHED
                tag, status = struct.unpack_from("<IB", msg, 1)
                self.attached.put((tag, status, msg[6:].decode("ascii", "replace")))
            elif kind == 0x83:  # OUTPUT
                self.outputs += 1
                tag = struct.unpack_from("<I", msg, 1)[0]
                report = msg[5:]
                info = self.info_of_tag.get(tag)
                if info is not None and report and report[0] == COMMAND_REPORT_ID:
                    try:
                        self.sock.send(struct.pack("<BI", 0x04, tag) +
                                       command_reply(report, info))
                    except OSError:
                        return
            elif kind == 0x84:  # ERROR
                self.errors.append((msg[1], msg[2:].decode("utf-8", "replace")))

    def plug(self, device, first_tag):
        """Sends the ATTACH of every interface of `device`; returns their tags."""
        _, vid, pid, interfaces, info = DEVICES[device]
        tags = []
        for n, (number, page, usage, descriptor) in enumerate(interfaces):
            tag = first_tag + n
            self.info_of_tag[tag] = info
            self.sock.send(struct.pack("<BIHHHHHHH", 0x02, tag, vid, pid, number, 0xFFFF, page,
                                       usage, FIRMWARE_VERSION) + descriptor)
            tags.append(tag)
        return tags

    def confirm(self, tags, timeout=5.0):
        """Waits for the ATTACHED of each tag; raises when one failed."""
        for _ in tags:
            tag, status, node = self.attached.get(timeout=timeout)
            if status != 0:
                raise RuntimeError("ATTACH of tag %d refused with status %d" % (tag, status))

    def unplug(self, tags):
        for tag in tags:
            self.sock.send(struct.pack("<BI", 0x03, tag))
            self.info_of_tag.pop(tag, None)

    def close(self):
        try:
            self.sock.close()
        except OSError:
            pass


# ---------------------------------------------------------------------------------------------
# Running the program.


class Display:
    """Where the program's window goes: the user's display, offscreen, or a private Xvfb."""

    def __init__(self, choice):
        self.xvfb = None
        self.env = {}
        if choice == "auto":
            has_display = os.environ.get("DISPLAY") or os.environ.get("WAYLAND_DISPLAY")
            choice = "native" if has_display or os.environ.get("QT_QPA_PLATFORM") else "offscreen"
        self.choice = choice
        if choice == "offscreen":
            self.env["QT_QPA_PLATFORM"] = "offscreen"
        elif choice == "xvfb":
            self._start_xvfb()

    def _start_xvfb(self):
        xvfb = shutil.which("Xvfb")
        if not xvfb:
            raise RuntimeError("--platform xvfb: Xvfb is not installed")
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            [xvfb, "-displayfd", str(write_end), "-nolisten", "tcp", "-screen", "0",
             "1920x1080x24"], pass_fds=(write_end,), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            self.close()
            raise RuntimeError("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number
        self.env["QT_QPA_PLATFORM"] = "xcb"
        self.choice = "xvfb (private display :%s, started before the timing)" % number

    def close(self):
        if self.xvfb and self.xvfb.poll() is None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(5)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait()


class Folders:
    """Private XDG folders for the program, removed afterwards."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="vorlin-fig-")
        self.paths = {}
        for key in ("XDG_RUNTIME_DIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"):
            path = os.path.join(self.root, key.split("_")[1].lower())
            os.mkdir(path, 0o700)
            self.paths[key] = path
        # Socket paths must stay below 108 bytes: they live in the short runtime folder.
        self.automation = os.path.join(self.paths["XDG_RUNTIME_DIR"], "auto.sock")
        self.sim = os.path.join(self.paths["XDG_RUNTIME_DIR"], "sim.sock")
        self.log = os.path.join(self.root, "vorlin.log")

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)


class Program:
    """One run of vorlin with the automation socket; t0 is taken just before it is started."""

    def __init__(self, binary, folders, display, extra_args):
        env = dict(os.environ)
        for key in ("VORLIN_SIM_SOCKET", "VORLIN_AUTOMATION", "DBUS_SESSION_BUS_ADDRESS"):
            env.pop(key, None)  # no user bus: the program's session-bus name stays the user's
        env.update(folders.paths)
        env.update(display.env)
        self.folders = folders
        self.log = open(folders.log, "ab")
        args = [binary, "--automation", folders.automation] + extra_args
        self.t0 = time.monotonic()
        self.process = subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL,
                                        stdout=self.log, stderr=subprocess.STDOUT)
        self.auto = None

    def connect(self, poll, timeout):
        """Connects to the automation socket as soon as it answers; returns the time it did."""
        deadline = self.t0 + timeout
        while True:
            if self.process.poll() is not None:
                raise RuntimeError("vorlin ended with %d before its automation socket was up\n%s"
                                   % (self.process.returncode, self.log_tail()))
            try:
                self.auto = Automation(self.folders.automation)
                return time.monotonic()
            except OSError:
                pass
            if time.monotonic() > deadline:
                raise RuntimeError("no automation socket after %.0f s\n%s"
                                   % (timeout, self.log_tail()))
            time.sleep(poll)

    def log_tail(self, lines=15):
        self.log.flush()
        try:
            with open(self.folders.log, "rb") as f:
                text = f.read().decode("utf-8", "replace").splitlines()
        except OSError:
            return ""
        return "\n".join("  | " + line for line in text[-lines:])

    def stop(self):
        if self.auto:
            try:
                self.auto.ask(op="quit")
            except (OSError, ValueError):
                pass
            self.auto.close()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.log.close()


def wait_for(auto, condition, poll, timeout, round_trips):
    """Polls until condition(auto) is true; returns the time the deciding reply arrived."""
    deadline = time.monotonic() + timeout
    while True:
        sent = time.monotonic()
        done = condition(auto)
        now = time.monotonic()
        round_trips.append(now - sent)
        if done:
            return now
        if now > deadline:
            return None
        time.sleep(poll)


# ---------------------------------------------------------------------------------------------
# The figures.


def ms(seconds):
    return "%.1f" % (seconds * 1000.0)


def summary(values):
    if not values:
        return "no value"
    return "median %s ms, min %s ms, max %s ms (%d runs)" % (
        ms(statistics.median(values)), ms(min(values)), ms(max(values)), len(values))


def startup_run(binary, display, args, expected):
    """One start-up: returns (automation up, window shown, options shown) from t0, in s."""
    folders = Folders() if args.fresh_profile else args.shared_folders
    program = Program(binary, folders, display, ["--demo"])
    try:
        t_socket = program.connect(args.poll, args.timeout)
        marks = {}

        def ready(auto):
            root = auto.state("root")
            if not root.get("visible"):
                return False
            if "window" not in marks:
                marks["window"] = time.monotonic()
            marks["count"] = connected_count(auto.state("status_text"))
            marks.setdefault("first_count", marks["count"])
            return marks["count"] == expected

        t_ready = wait_for(program.auto, ready, args.poll, args.timeout, args.round_trips)
        if t_ready is None:
            raise RuntimeError("after %.0f s: window shown %s, devices connected %s\n%s" % (
                args.timeout, "window" in marks, marks.get("count"), program.log_tail()))
        return (t_socket - program.t0, marks["window"] - program.t0, t_ready - program.t0,
                marks["first_count"])
    finally:
        program.stop()
        if args.fresh_profile:
            folders.remove()


def print_round_trips(args):
    """The time one poll took (its requests and replies), waits for a busy window included."""
    if args.round_trips:
        print("  one poll took: median %s ms, max %s ms (%d polls)" % (
            ms(statistics.median(args.round_trips)), ms(max(args.round_trips)),
            len(args.round_trips)))


def figure_startup(binary, display, args):
    print("Figure 1: start-up of `vorlin --demo` to the window shown with its devices' options")
    print("  (mouse by cable and receiver, keyboard, mouse pad, headset; done when \"root\" is")
    print("  visible and \"status_text\" counts 4 connected devices, i.e. every option is shown)")
    expected = 4
    for n in range(args.warmup):
        s, w, r, _ = startup_run(binary, display, args, expected)
        print("  warm-up %d (not counted): automation %s ms, window %s ms, options %s ms"
              % (n + 1, ms(s), ms(w), ms(r)))
    args.round_trips = []
    sockets, windows, readies = [], [], []
    for n in range(args.runs):
        s, w, r, first_count = startup_run(binary, display, args, expected)
        sockets.append(s)
        windows.append(w)
        readies.append(r)
        note = "" if first_count == expected else \
            "  (window first seen with %s options)" % first_count
        print("  run %2d: automation socket up %7s ms, window shown %7s ms, "
              "4 options shown %7s ms%s" % (n + 1, ms(s), ms(w), ms(r), note))
    print("  automation socket up:   " + summary(sockets))
    print("  window shown:           " + summary(windows))
    print("  window with 4 options:  " + summary(readies))
    print_round_trips(args)
    return True


def figure_plug(binary, display, args):
    print("Figure 2: emulated plug of one device (emulator socket) to its option shown, and")
    print("  unplug to the option hidden (`vorlin --sim-socket PATH`, no --demo)")
    folders = args.shared_folders
    program = Program(binary, folders, display, ["--sim-socket", folders.sim])
    sim = None
    measured = True
    try:
        program.connect(args.poll, args.timeout)
        auto = program.auto
        counts = {}

        def window_up(a):
            status = a.state("status_text")
            counts["now"] = connected_count(status)
            return bool(status.get("visible"))

        if wait_for(auto, window_up, args.poll, args.timeout, args.round_trips) is None:
            raise RuntimeError("the window did not show within %.0f s\n%s"
                               % (args.timeout, program.log_tail()))
        if counts["now"] != 0:
            first = auto.state("DeviceOption")
            print("  NOT MEASURED: before anything is attached through the socket, the window")
            print("  already shows %s connected device(s) (status line \"%s\", mouse option "
                  "visible: %s)." % (counts["now"], auto.state("status_text").get("text"),
                                     first.get("visible")))
            print("  Without a supported real device the program adds its built-in emulated")
            print("  set even with --sim-socket, so every option row is taken and a device")
            print("  attached through the socket finds no free slot: its option cannot appear.")
            print("  Needed: a start with the emulator socket but without the built-in set, or")
            print("  automation ops that unplug and plug the built-in emulated devices.")
            return False
        sim = SimClient(folders.sim)
        args.round_trips = []
        tag = 1
        for device in args.devices:
            caption = DEVICES[device][0]
            addressed = device in FIRST_OPTION_DEVICES

            def shown(a, want, addressed=addressed):
                count = connected_count(a.state("status_text"))
                if addressed:
                    visible = bool(a.state("DeviceOption").get("visible"))
                    return count == (1 if want else 0) and visible == want
                return count == (1 if want else 0)

            plugs, unplugs = [], []
            for n in range(args.runs):
                t_plug = time.monotonic()
                tags = sim.plug(device, tag)
                tag += len(tags)
                t_shown = wait_for(auto, lambda a: shown(a, True), args.plug_poll,
                                   args.timeout, args.round_trips)
                sim.confirm(tags)
                if t_shown is None:
                    print("  %s: option not shown within %.0f s" % (caption, args.timeout))
                    sim.unplug(tags)
                    measured = False
                    break
                # Let the device's start-up exchange finish before pulling it out again.
                time.sleep(args.settle)
                t_unplug = time.monotonic()
                sim.unplug(tags)
                t_hidden = wait_for(auto, lambda a: shown(a, False), args.plug_poll,
                                    args.timeout, args.round_trips)
                if t_hidden is None:
                    print("  %s: option not hidden within %.0f s" % (caption, args.timeout))
                    measured = False
                    break
                plugs.append(t_shown - t_plug)
                unplugs.append(t_hidden - t_unplug)
                time.sleep(args.settle)
            how = "first \"DeviceOption\" visible" if addressed else "status count 0 -> 1"
            print("  %s (%s):" % (caption, how))
            print("    plug to option shown:    " + " ".join(ms(v) for v in plugs) + " ms")
            print("      " + summary(plugs))
            print("    unplug to option hidden: " + " ".join(ms(v) for v in unplugs) + " ms")
            print("      " + summary(unplugs))
        if sim.errors:
            print("  emulator socket errors: %s" % sim.errors)
            measured = False
        print("  command reports answered by this client: %d" % sim.outputs)
        print_round_trips(args)
        return measured
    finally:
        if sim:
            sim.close()
        program.stop()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build/default",
                        help="build folder (relative to the repository or absolute); the "
                             "program is BUILD/src/vorlin (default build/default)")
    parser.add_argument("--runs", type=int, default=10, help="runs per figure (default 10)")
    parser.add_argument("--warmup", type=int, default=1,
                        help="uncounted start-ups before figure 1 (default 1)")
    parser.add_argument("--poll-ms", type=float, default=5.0,
                        help="pause between two polls of the window during start-up "
                             "(default 5 ms)")
    parser.add_argument("--plug-poll-ms", type=float, default=0.5,
                        help="pause between two polls after a plug or unplug, whose figure is "
                             "a few ms (default 0.5 ms)")
    parser.add_argument("--timeout", type=float, default=30.0, help="seconds to give up after")
    parser.add_argument("--platform", choices=("auto", "offscreen", "xvfb", "native"),
                        default="auto", help="auto: the user's display if there is one, else "
                                             "QT_QPA_PLATFORM=offscreen")
    parser.add_argument("--figure", choices=("all", "startup", "plug"), default="all")
    parser.add_argument("--devices", default="mouse,mouse-receiver,keyboard,pad,headset",
                        help="devices plugged for figure 2, comma-separated, from: "
                             + ", ".join(DEVICES))
    parser.add_argument("--fresh-profile", action="store_true",
                        help="new, empty data folders for every start-up (a first start)")
    args = parser.parse_args()
    args.poll = args.poll_ms / 1000.0
    args.plug_poll = args.plug_poll_ms / 1000.0
    args.settle = 0.1
    args.round_trips = []
    args.devices = [d.strip() for d in args.devices.split(",") if d.strip()]
    for device in args.devices:
        if device not in DEVICES:
            parser.error("unknown device %r" % device)
    if args.runs < 1:
        parser.error("--runs must be 1 or more")

    build = args.build if os.path.isabs(args.build) else os.path.join(REPO, args.build)
    binary = os.path.join(build, "src", "vorlin")
    if not os.access(binary, os.X_OK):
        print("no program at %s: build it first (cmake --build ... --target vorlin)" % binary,
              file=sys.stderr)
        return 1

    display = Display(args.platform)
    args.shared_folders = Folders()
    print("Program: %s" % binary)
    print("Display: %s; private XDG folders under %s" % (display.choice, args.shared_folders.root))
    print("Clock: time.monotonic(). The window is polled through the automation socket with a")
    print("pause of %.1f ms between polls during start-up and %.1f ms after a plug or unplug;"
          % (args.poll_ms, args.plug_poll_ms))
    print("a figure is the arrival of the first reply that shows the state, so it is late by")
    print("at most one pause plus one poll (a poll waits while the window's thread is busy).")
    print()
    status = 0
    try:
        if args.figure in ("all", "startup"):
            figure_startup(binary, display, args)
            print()
        if args.figure in ("all", "plug"):
            if not figure_plug(binary, display, args):
                status = 2
            print()
    except (RuntimeError, OSError, ConnectionError, queue.Empty) as error:
        print("error: %s" % error, file=sys.stderr)
        status = 1
    finally:
        args.shared_folders.remove()
        display.close()
    return status


if __name__ == "__main__":
    sys.exit(main())
