#!/usr/bin/env python3
"""mpv's own seek latency, for comparison with bench_seek: through its JSON IPC.

    mpvseek.py FILE ROUNDS WORKDIR
From the seek command to time-pos reported at the target, and to time-pos past it (playing
again from the new position). Prints the medians in ms, as bench_seek does.
"""
import json
import os
import socket
import statistics
import subprocess
import sys
import time

TARGETS = [20, 5, 25, 10, 15]  # whole seconds, as GotoTime takes them


def main():
    media, rounds, work = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    path = os.path.join(work, "mpv-seek.sock")
    if os.path.exists(path):
        os.unlink(path)
    mpv = subprocess.Popen(["mpv", "--no-config", "--vo=x11", "--ao=null", "--geometry=584x328",
                            "--keep-open=yes", "--input-ipc-server=" + path, media],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        if os.path.exists(path):
            break
        time.sleep(0.05)
    ipc = socket.socket(socket.AF_UNIX)
    ipc.connect(path)
    stream = ipc.makefile("rwb", buffering=0)

    def send(*command):
        stream.write(json.dumps({"command": list(command)}).encode() + b"\n")

    def until(done, limit=5.0):
        t0 = time.monotonic()
        while time.monotonic() - t0 < limit:
            msg = json.loads(stream.readline())
            if msg.get("event") == "property-change" and msg.get("data") is not None:
                if done(msg["data"]):
                    return True
        return False

    send("observe_property", 1, "time-pos")
    until(lambda t: t > 1, 10)
    at, past = [], []
    for _ in range(rounds):
        for target in TARGETS:
            t0 = time.monotonic()
            send("seek", target, "absolute+exact")
            if until(lambda t: abs(t - target) < 0.5):
                at.append((time.monotonic() - t0) * 1000)
            if until(lambda t: t > target + 0.04):
                past.append((time.monotonic() - t0) * 1000)
            time.sleep(0.3)
    mpv.terminate()
    mpv.wait()
    print("median %.1f ms to the position reported, %.1f ms to playing past it (%d seeks)" % (
        statistics.median(at), statistics.median(past), len(at)))


if __name__ == "__main__":
    main()
