#!/usr/bin/env python3
"""Runs one player under the benchmark's X server and measures it from outside.

    probe.py RESULT_FILE MODE WINDOW_S PAUSE_KEY -- COMMAND...

MODE "play": CPU over WINDOW_S seconds of playback from the first frame on.
MODE "pause": the same window, after the play key has paused the player.
Writes one line: first-frame ms, CPU s, peak RSS MiB, X server CPU s, window size.
The player runs in a session of its own: CPU and memory are those of every process in it
(a front end and the mpv it starts count together).
"""
import ctypes as C
import os
import signal
import subprocess
import sys
import time

TICK = os.sysconf("SC_CLK_TCK")
X = C.CDLL("libX11.so.6")
X.XOpenDisplay.restype = C.c_void_p
X.XDefaultRootWindow.argtypes = [C.c_void_p]
X.XDefaultRootWindow.restype = C.c_ulong
X.XGetImage.argtypes = [C.c_void_p, C.c_ulong, C.c_int, C.c_int, C.c_uint, C.c_uint,
                        C.c_ulong, C.c_int]
X.XGetImage.restype = C.POINTER(C.c_void_p)  # XImage*; field 2 is the data pointer
X.XFree.argtypes = [C.c_void_p]
DISPLAY = X.XOpenDisplay(None)
ROOT = X.XDefaultRootWindow(DISPLAY)
W, H, STEP = 1280, 1024, 16


def colourful():
    """testsrc2 is strongly coloured; the empty root, the players' frames and bars are grey."""
    hits = 0
    for y in range(0, H, STEP):
        im = X.XGetImage(DISPLAY, ROOT, 0, y, W, 1, 0xFFFFFFFF, 2)  # ZPixmap, BGRX
        row = C.string_at(im[2], W * 4)
        X.XFree(im[2])
        X.XFree(im)
        for x in range(0, W * 4, STEP * 4):
            p = row[x:x + 3]
            hits += max(p) - min(p) > 150
    return hits >= 40


def stat_fields(pid):
    with open(f"/proc/{pid}/stat") as f:
        text = f.read()
    return text[text.rindex(")") + 2:].split()  # fields from the state on


def session_pids(sid):
    pids = []
    for name in os.listdir("/proc"):
        if name.isdigit():
            try:
                if int(stat_fields(name)[3]) == sid:
                    pids.append(int(name))
            except (OSError, ValueError, IndexError):
                pass
    return pids


def cpu_seconds(pids, children=True):
    """utime + stime (+ those of reaped children) of the processes, in seconds."""
    total = 0
    for pid in pids:
        try:
            f = stat_fields(pid)
        except OSError:
            continue
        total += int(f[11]) + int(f[12]) + (int(f[13]) + int(f[14]) if children else 0)
    return total / TICK


def peak_rss_mib(pids):
    total = 0
    for pid in pids:
        try:
            with open(f"/proc/{pid}/status") as f:
                for line in f:
                    if line.startswith("VmHWM:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total / 1024


def xdotool(*args):
    r = subprocess.run(["xdotool", *args], capture_output=True, text=True)
    return r.stdout.split()


def player_window(sid):
    """The largest visible top-level window of the session's processes."""
    best = None
    for pid in session_pids(sid):
        for wid in xdotool("search", "--onlyvisible", "--pid", str(pid)):
            out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", wid],
                                 capture_output=True, text=True).stdout
            g = dict(line.split("=", 1) for line in out.split() if "=" in line)
            w, h = int(g.get("WIDTH", 0)), int(g.get("HEIGHT", 0))
            if best is None or w * h > best[1] * best[2]:
                best = (wid, w, h)
    return best


def press(sid, key):
    found = player_window(sid)
    if found:
        xdotool("windowfocus", "--sync", found[0])
    xdotool("key", key)


def main():
    out, mode, window, key = sys.argv[1], sys.argv[2], float(sys.argv[3]), sys.argv[4]
    cmd = sys.argv[sys.argv.index("--") + 1:]
    xserver = [int(os.environ["BENCH_XVFB_PID"])]
    t0 = time.monotonic()
    child = subprocess.Popen(cmd, start_new_session=True, stdin=subprocess.DEVNULL)
    first = None
    while child.poll() is None and time.monotonic() - t0 < 15:
        if colourful():
            first = (time.monotonic() - t0) * 1000
            break
        time.sleep(0.02)
    result = ["NA", "NA", "NA", "NA", "?"]
    if first is not None:
        result[0] = "%.0f" % first
        if mode == "pause":
            time.sleep(2)
            press(child.pid, key)
            time.sleep(1)
        found = player_window(child.pid)
        if found:
            result[4] = "%dx%d" % found[1:]
        pids = session_pids(child.pid)
        c0, x0 = cpu_seconds(pids), cpu_seconds(xserver, False)
        time.sleep(window)
        pids = session_pids(child.pid)
        alive = child.poll() is None
        c1, x1 = cpu_seconds(pids), cpu_seconds(xserver, False)
        if alive:
            result[1:4] = ["%.2f" % (c1 - c0), "%.1f" % peak_rss_mib(pids), "%.2f" % (x1 - x0)]
    for sig, wait in ((signal.SIGTERM, 3), (signal.SIGKILL, 3)):
        try:
            os.killpg(child.pid, sig)
        except ProcessLookupError:
            break
        try:
            child.wait(wait)
            # Helpers of the session may outlive the leader for a moment.
            if not session_pids(child.pid):
                break
        except subprocess.TimeoutExpired:
            pass
    with open(out, "w") as f:
        f.write(" ".join(result) + "\n")


if __name__ == "__main__":
    main()
