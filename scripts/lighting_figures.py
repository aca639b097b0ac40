#!/usr/bin/env python3
"""Lighting figures of vorlin, measured from outside through its public interfaces.

1. CPU use of the whole program, as a share of one core, over --seconds with `vorlin --demo`
   (the four emulated devices connected):
   (a) a steady effect on every device, the window in the tray;
   (b) an animated effect (spectrum, or --effect wave) on every device, the window in the tray;
   (c) the same with the window shown on the mouse's page.
   The share comes from /proc/PID/stat (utime + stime, every thread of the program) read before
   and after. The kernel charges those in whole clock ticks to the thread that runs when the tick
   comes, which can be far off for threads that wake often for a short time; the scheduler's exact
   run time (/proc/PID/task/TID/schedstat) is printed beside it. The table under each figure splits
   the exact time by thread, with the thread's wakeups (its context switches,
   /proc/PID/task/TID/status) per second, which is where to look when a figure is high.
2. Frames actually painted on the device picture of the shown page, and the longest stretch
   without a paint, over --frame-seconds with the animated effect, for each device page.

Everything is driven through the automation socket (docs/automation.md): the effect list
"light_combo_modeSelect" and the option "device_select" of a page (field "page"), the "window" op
(the tray icon's hide and show) and the "frames" op (paints of the shown page's picture). The
effect numbers come from data/DefaultData/default_light.json: the position of the effect's name in
the list of the page's light index.

Each program runs with private, temporary XDG folders, so that neither the user's profiles nor a
running vorlin are touched. Without a display it runs on a private Xvfb display (started before
any measurement; its own CPU use is shown beside the program's), or under QT_QPA_PLATFORM=offscreen
when Xvfb is missing: an offscreen window is not activated again when it comes back from the tray,
and the pages repaint their pictures only in the active window. Only the Python standard library
is used.

Exit status: 0 every figure was measured, 1 the program could not be run, 2 some figure could not
be measured (the reason is printed).
"""

import argparse
import json
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from discovery_figures import (REPO, Display, Folders, Program,  # noqa: E402
                               connected_count)

# The device pages of the emulated set: data name, caption, light index (the list of effect names
# the page shows, src/devices/device_rows.cpp).
PAGES = [
    ("mouse", "mouse", 1),
    ("keyboard", "keyboard", 0),
    ("MousePad", "mouse pad", 2),
    ("HD", "headset", 3),
]
EFFECT_NAMES = {
    "steady": "light_mode_steady",
    "spectrum": "light_mode_spectrum",
    "wave": "light_mode_wave",
}
MODE_LIST = "light_combo_modeSelect"
TARGETS = {"a": 0.3, "b": 3.0, "c": 10.0}
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


class Failed(Exception):
    """A figure cannot be measured; the message says why."""


def effect_numbers():
    """{(light index, effect key): effect number} from the default effect names."""
    path = os.path.join(REPO, "data", "DefaultData", "default_light.json")
    with open(path, encoding="utf-8") as f:
        lists = json.load(f)["DefaultLightName"]
    numbers = {}
    for index, entries in enumerate(lists):
        names = [entry["LightName"] for entry in entries]
        for key, name in EFFECT_NAMES.items():
            if name in names:
                numbers[(index, key)] = names.index(name)
    return numbers


# ---------------------------------------------------------------------------------------------
# /proc


def process_ticks(pid):
    """utime + stime of the whole process, in clock ticks."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def thread_sample(pid):
    """{tid: (name, ticks, context switches, run time in ns)} of every thread of the process."""
    threads = {}
    task = "/proc/%d/task" % pid
    for tid in os.listdir(task):
        try:
            with open(os.path.join(task, tid, "stat")) as f:
                stat = f.read()
            with open(os.path.join(task, tid, "status")) as f:
                status = f.read()
            with open(os.path.join(task, tid, "schedstat")) as f:
                run_ns = int(f.read().split()[0])
        except OSError:
            continue  # the thread ended meanwhile
        name = stat[stat.index("(") + 1:stat.rindex(")")]
        fields = stat.rsplit(")", 1)[1].split()
        switches = 0
        for line in status.splitlines():
            if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                switches += int(line.split()[1])
        threads[int(tid)] = (name, int(fields[11]) + int(fields[12]), switches, run_ns)
    return threads


class CpuWindow:
    """CPU use of one process between start() and stop()."""

    def __init__(self, pid):
        self.pid = pid

    def start(self):
        self.t0 = time.monotonic()
        self.ticks0 = process_ticks(self.pid)
        self.threads0 = thread_sample(self.pid)

    def stop(self):
        self.seconds = time.monotonic() - self.t0
        self.ticks = process_ticks(self.pid) - self.ticks0
        self.threads1 = thread_sample(self.pid)

    def share(self):
        """Per cent of one core, from utime + stime."""
        return 100.0 * self.ticks / CLOCK_TICKS / self.seconds

    def thread_rows(self):
        """(name, tid, per cent of one core, wakeups a second) of the threads seen at the end,
        the share from the scheduler's exact run time."""
        rows = []
        for tid, (name, _, switches, run_ns) in self.threads1.items():
            _, _, switches0, run_ns0 = self.threads0.get(tid, (name, 0, 0, 0))
            rows.append((name, tid, 100.0 * (run_ns - run_ns0) / 1e9 / self.seconds,
                         (switches - switches0) / self.seconds))
        rows.sort(key=lambda row: (-row[2], -row[3]))
        return rows

    def exact_share(self):
        """Per cent of one core from the scheduler's run time of the threads that lived
        throughout (a thread that ended meanwhile is missing)."""
        return sum(row[2] for row in self.thread_rows())


# ---------------------------------------------------------------------------------------------
# Driving the window.


def ask_ok(auto, **request):
    reply = auto.ask(**request)
    if not reply.get("ok"):
        raise Failed("%s -> %s" % (json.dumps(request), reply.get("error")))
    return reply


def wait_until(condition, timeout, poll=0.02):
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            return False
        time.sleep(poll)
    return True


def show_page(auto, page, timeout):
    """Selects the page's option in the strip and waits for its effect list to be on screen."""
    ask_ok(auto, op="select", page=page, control="device_select", selected=True)
    if not wait_until(lambda: auto.ask(op="state", page=page, control=MODE_LIST).get("visible"),
                      timeout):
        raise Failed("the page \"%s\" did not show after its option was selected" % page)


def set_effects(auto, numbers, key, last_page, timeout):
    """Chooses effect `key` on every page (which must be shown for that), then shows last_page."""
    chosen = []
    for page, caption, light_index in PAGES:
        number = numbers.get((light_index, key))
        if number is None:
            raise Failed("no effect \"%s\" in the list of the %s" % (EFFECT_NAMES[key], caption))
        show_page(auto, page, timeout)
        ask_ok(auto, op="select", page=page, control=MODE_LIST, index=number)
        state = ask_ok(auto, op="state", page=page, control=MODE_LIST)
        if state.get("value") != number:
            raise Failed("the %s's effect list shows %s after choosing %d"
                         % (caption, state.get("value"), number))
        chosen.append("%s %d \"%s\"" % (caption, number, state.get("text")))
    show_page(auto, last_page, timeout)
    return chosen


def set_window(auto, shown):
    reply = ask_ok(auto, op="window", shown=shown)
    if reply.get("shown") != shown:
        raise Failed("the window is %s after asking for it to be %s"
                     % ("shown" if reply.get("shown") else "hidden",
                        "shown" if shown else "hidden"))


# ---------------------------------------------------------------------------------------------
# The figures.


def print_cpu(label, window, target, xvfb_window, top):
    share = window.share()
    verdict = "within" if share <= target else "ABOVE"
    print("  %s %.2f %% of one core over %.1f s (%d ticks of 1/%d s; %s the aim of <= %g %%)"
          % (label, share, window.seconds, window.ticks, CLOCK_TICKS, verdict, target))
    print("      exact run time (schedstat): %.2f %% of one core" % window.exact_share())
    if xvfb_window:
        print("      Xvfb beside it: %.2f %% of one core" % xvfb_window.share())
    print("      %-18s %7s %9s %12s" % ("thread", "tid", "% core", "wakeups/s"))
    for name, tid, thread_share, wakeups in window.thread_rows()[:top]:
        if tid == window.pid:
            name += " (UI)"
        print("      %-18s %7d %9.2f %12.1f" % (name, tid, thread_share, wakeups))
    return share, window.exact_share()


def measure_cpu(program, display, seconds):
    window = CpuWindow(program.process.pid)
    xvfb_window = CpuWindow(display.xvfb.pid) if display.xvfb else None
    window.start()
    if xvfb_window:
        xvfb_window.start()
    time.sleep(seconds)
    window.stop()
    if xvfb_window:
        xvfb_window.stop()
    return window, xvfb_window


def figure_cpu(program, display, numbers, args):
    auto = program.auto
    print("Figure 1: CPU use of the whole program, share of one core over %g s" % args.seconds)
    print("  (measurement starts %g s after the change; the window in the tray is hidden through"
          % args.settle)
    print("  the automation op \"window\", as the tray icon hides it)")
    results = {}
    first = PAGES[0][0]

    chosen = set_effects(auto, numbers, "steady", first, args.timeout)
    print("  steady effects: " + ", ".join(chosen))
    set_window(auto, False)
    time.sleep(args.settle)
    window, xvfb = measure_cpu(program, display, args.seconds)
    results["a"] = print_cpu("(a) steady, window in the tray:          ", window, TARGETS["a"],
                             xvfb, args.top)

    set_window(auto, True)
    chosen = set_effects(auto, numbers, args.effect, first, args.timeout)
    print("  animated effects: " + ", ".join(chosen))
    set_window(auto, False)
    time.sleep(args.settle)
    window, xvfb = measure_cpu(program, display, args.seconds)
    results["b"] = print_cpu("(b) %-8s window in the tray:          " % (args.effect + ","),
                             window, TARGETS["b"], xvfb, args.top)

    set_window(auto, True)
    show_page(auto, first, args.timeout)
    time.sleep(args.settle)
    ask_ok(auto, op="frames")
    window, xvfb = measure_cpu(program, display, args.seconds)
    frames = ask_ok(auto, op="frames")
    results["c"] = print_cpu("(c) %-8s window shown on the %-9s" % (args.effect + ",", first + ":"),
                             window, TARGETS["c"], xvfb, args.top)
    print("      meanwhile the %s's picture was painted %d times (%.1f a second), longest gap "
          "%.1f ms" % (frames["page"], frames["frames"],
                       1000.0 * frames["frames"] / frames["elapsed_ms"], frames["max_gap_ms"]))
    print("  summary, %% of one core (utime + stime / exact run time): (a) %.2f / %.2f  "
          "(b) %.2f / %.2f  (c) %.2f / %.2f"
          % (results["a"] + results["b"] + results["c"]))
    return results


def figure_frames(program, numbers, args):
    auto = program.auto
    print("Figure 2: frames painted on the shown page's device picture with the %s effect, "
          "over %g s each" % (args.effect, args.frame_seconds))
    for page, caption, _ in PAGES:
        show_page(auto, page, args.timeout)
        time.sleep(args.settle)
        ask_ok(auto, op="frames")
        time.sleep(args.frame_seconds)
        reply = ask_ok(auto, op="frames")
        if reply["page"] != page:
            raise Failed("the frames of \"%s\" were counted instead of \"%s\""
                         % (reply["page"], page))
        fps = 1000.0 * reply["frames"] / reply["elapsed_ms"]
        print("  %-10s %6d frames in %6.0f ms: %6.1f frames a second, longest gap %7.1f ms"
              % (caption + ":", reply["frames"], reply["elapsed_ms"], fps, reply["max_gap_ms"]))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build/default",
                        help="build folder (relative to the repository or absolute); the "
                             "program is BUILD/src/vorlin (default build/default)")
    parser.add_argument("--seconds", type=float, default=30.0,
                        help="length of each CPU measurement (default 30)")
    parser.add_argument("--frame-seconds", type=float, default=10.0,
                        help="length of each frame count (default 10)")
    parser.add_argument("--settle", type=float, default=3.0,
                        help="pause after a change before measuring (default 3 s)")
    parser.add_argument("--effect", choices=("spectrum", "wave"), default="spectrum",
                        help="the animated effect (default spectrum)")
    parser.add_argument("--top", type=int, default=8, help="threads listed per figure")
    parser.add_argument("--timeout", type=float, default=30.0, help="seconds to give up after")
    parser.add_argument("--platform", choices=("auto", "offscreen", "xvfb", "native"),
                        default="auto", help="auto: the user's display if there is one, else a "
                                             "private Xvfb, else QT_QPA_PLATFORM=offscreen")
    parser.add_argument("--figure", choices=("all", "cpu", "frames"), default="all")
    args = parser.parse_args()
    if args.seconds <= 0 or args.frame_seconds <= 0:
        parser.error("--seconds and --frame-seconds must be positive")

    build = args.build if os.path.isabs(args.build) else os.path.join(REPO, args.build)
    binary = os.path.join(build, "src", "vorlin")
    if not os.access(binary, os.X_OK):
        print("no program at %s: build it first (cmake --build ... --target vorlin)" % binary,
              file=sys.stderr)
        return 1
    numbers = effect_numbers()

    platform = args.platform
    if platform == "auto" and not (os.environ.get("DISPLAY") or os.environ.get("WAYLAND_DISPLAY")
                                   or os.environ.get("QT_QPA_PLATFORM")):
        # Offscreen windows are not activated again after the tray brings them back, and the
        # pages repaint their pictures only in the active window: figure 1 (c) and figure 2 need
        # a display.
        platform = "xvfb" if shutil.which("Xvfb") else "offscreen"
        if platform == "offscreen":
            print("warning: no Xvfb; under offscreen the pictures are not repainted after the "
                  "window comes back from the tray, so (c) and figure 2 are too low",
                  file=sys.stderr)
    display = Display(platform)
    folders = Folders()
    print("Program: %s --demo" % binary)
    print("Display: %s; private XDG folders under %s" % (display.choice, folders.root))
    print("CPU: /proc/PID/stat utime + stime of every thread, %d ticks a second; machine: %d "
          "cores, load average %s" % (CLOCK_TICKS, os.cpu_count(),
                                      " ".join("%.2f" % v for v in os.getloadavg())))
    print()
    program = None
    status = 0
    try:
        program = Program(binary, folders, display, ["--demo"])
        program.connect(0.05, args.timeout)
        auto = program.auto

        def ready():
            return (auto.state("root").get("visible")
                    and connected_count(auto.state("status_text")) == len(PAGES))

        if not wait_until(ready, args.timeout, 0.05):
            raise RuntimeError("the window did not show the %d devices within %.0f s\n%s"
                               % (len(PAGES), args.timeout, program.log_tail()))
        try:
            if args.figure in ("all", "cpu"):
                figure_cpu(program, display, numbers, args)
                print()
            if args.figure in ("all", "frames"):
                if args.figure == "frames":
                    set_effects(auto, numbers, args.effect, PAGES[0][0], args.timeout)
                set_window(auto, True)
                figure_frames(program, numbers, args)
                print()
        except Failed as failure:
            print("NOT MEASURED: %s" % failure)
            status = 2
    except (RuntimeError, OSError, ConnectionError, ValueError) as error:
        print("error: %s" % error, file=sys.stderr)
        if program:
            print(program.log_tail(), file=sys.stderr)
        status = 1
    finally:
        if program:
            program.stop()
        folders.remove()
        display.close()
    return status


if __name__ == "__main__":
    sys.exit(main())
