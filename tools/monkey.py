#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Random input for a running program on an X display (started by tools/monkey.sh).

Clicks on the tool bar and the windows, drags, wheel turns, keys, text, and Escape for the
modal dialogs, until the time is up or the program ends. A hang is a program that leaves a
window-manager ping unanswered for longer than --hang seconds; the ping is answered by the
program's own event loop, modal dialogs included.
"""
import argparse
import ctypes
import random
import subprocess
import sys
import time

KEYS = ["Tab", "shift+Tab", "Return", "Escape", "space", "Up", "Down", "Left", "Right",
        "Home", "End", "Page_Up", "Page_Down", "Delete", "BackSpace", "ctrl+a", "ctrl+c",
        "ctrl+v", "ctrl+z", "alt+k", "alt+m", "alt+b", "alt+t", "alt+a", "alt+o", "F1", "F2",
        "F5", "F10", "ctrl+Tab", "ctrl+F4", "1", "0", "a", "z"]
TEXTS = ["Kis", "Ödön", "12", "1970.05.17", "x" * 40, "-1", "999999", "őű áé", " ", "B"]


class Pinger:
    """Sends _NET_WM_PING to a window and waits for the answer on the root window."""

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("type", ctypes.c_int), ("pad", ctypes.c_long * 24)]

    def __init__(self):
        x = ctypes.cdll.LoadLibrary("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XInternAtom.restype = ctypes.c_ulong
        x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                 ctypes.c_void_p]
        x.XPending.argtypes = [ctypes.c_void_p]
        x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        x.XFlush.argtypes = [ctypes.c_void_p]
        # A window may go between the look and the ping: its error is no fault.
        handler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
        self.ignore = handler(lambda dpy, error: 0)
        x.XSetErrorHandler(self.ignore)
        self.x = x
        self.dpy = x.XOpenDisplay(None)
        if not self.dpy:
            sys.exit("monkey: cannot open the display")
        self.root = x.XDefaultRootWindow(self.dpy)
        self.protocols = x.XInternAtom(self.dpy, b"WM_PROTOCOLS", 0)
        self.ping_atom = x.XInternAtom(self.dpy, b"_NET_WM_PING", 0)
        x.XSelectInput(self.dpy, self.root, 1 << 17)  # StructureNotifyMask, as Qt answers
        self.stamp = 1

    def ping(self, window, timeout, alive):
        self.stamp += 1
        message = Pinger.ClientMessage(type=33, window=window, message_type=self.protocols,
                                       format=32)
        message.data[0] = self.ping_atom
        message.data[1] = self.stamp
        message.data[2] = window
        self.x.XSendEvent(self.dpy, window, 0, 0, ctypes.byref(message))
        self.x.XFlush(self.dpy)
        end = time.monotonic() + timeout
        event = Pinger.Event()
        while time.monotonic() < end and alive():
            while self.x.XPending(self.dpy):
                self.x.XNextEvent(self.dpy, ctypes.byref(event))
                answer = ctypes.cast(ctypes.byref(event),
                                     ctypes.POINTER(Pinger.ClientMessage)).contents
                if (answer.type == 33 and answer.data[0] == self.ping_atom
                        and answer.data[1] == self.stamp):
                    return True
            time.sleep(0.02)
        return not alive()


def xdotool(*args):
    result = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True,
                            timeout=30)
    return result.stdout.split()


def windows(pid):
    return [int(w) for w in xdotool("search", "--onlyvisible", "--pid", pid)]


def geometry(window):
    out = xdotool("getwindowgeometry", "--shell", window)
    values = dict(item.split("=") for item in out if "=" in item)
    return (int(values.get("X", 0)), int(values.get("Y", 0)), int(values.get("WIDTH", 1)),
            int(values.get("HEIGHT", 1)))


def largest(shown):
    def area(window):
        _, _, w, h = geometry(window)
        return w * h
    return max(shown, key=area)


def act(rng, pid, shown):
    if not shown:
        return "nothing shown"
    main = largest(shown)
    # The tool bar is the first row of the main window; its last button ends the program.
    window = rng.choice(shown)
    x, y, w, h = geometry(window)
    if window == main:
        y, h = y + 50, max(h - 50, 1)
    px, py = x + rng.randrange(max(w, 1)), y + rng.randrange(max(h, 1))
    roll = rng.random()
    if roll < 0.15:
        mx, my, mw, mh = geometry(main)
        bx = mx + rng.randrange(0, min(mw, 420))
        xdotool("mousemove", bx, my + 24, "click", "1")
        return f"tool bar {bx}"
    if roll < 0.40:
        button = rng.choice([1, 1, 1, 3])
        xdotool("mousemove", px, py, "click", "--repeat", rng.choice([1, 1, 2]), button)
        return f"click {button} at {px},{py}"
    if roll < 0.52:
        qx, qy = x + rng.randrange(max(w, 1)), y + rng.randrange(max(h, 1))
        xdotool("mousemove", px, py, "mousedown", "1", "mousemove", (px + qx) // 2,
                (py + qy) // 2, "mousemove", qx, qy, "mouseup", "1")
        return f"drag {px},{py} to {qx},{qy}"
    if roll < 0.58:
        xdotool("mousemove", px, py, "click", "--repeat", rng.randint(1, 4),
                rng.choice([4, 5]))
        return "wheel"
    if roll < 0.80:
        key = rng.choice(KEYS)
        xdotool("key", "--clearmodifiers", key)
        return f"key {key}"
    if roll < 0.92:
        text = rng.choice(TEXTS)
        xdotool("type", "--delay", 5, text)
        return f"text {text!r}"
    # A modal dialog (any second window) is closed as a user would who has had enough.
    if len(shown) > 1:
        xdotool("key", "Escape")
        return "Escape"
    return "rest"


def answers(pinger, args, alive):
    # A window closed by the step cannot answer: the next one is asked.
    for _ in range(3):
        shown = windows(args.pid)
        if not shown or pinger.ping(shown[0], args.hang, alive):
            return True
        if shown[0] not in windows(args.pid):
            continue
        return False
    return False


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--pid", type=int, required=True)
    parser.add_argument("--seconds", type=float, default=60)
    parser.add_argument("--seed", type=int, default=int(time.time()))
    parser.add_argument("--hang", type=float, default=5)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    print(f"monkey: seed {args.seed}", flush=True)

    def alive():
        return subprocess.run(["kill", "-0", str(args.pid)], capture_output=True).returncode == 0

    pinger = Pinger()
    deadline = time.monotonic() + args.seconds
    while alive() and not windows(args.pid):
        if time.monotonic() > deadline:
            sys.exit("monkey: no window")
        time.sleep(0.2)
    steps = 0
    recent = []
    while time.monotonic() < deadline and alive():
        shown = windows(args.pid)
        what = act(rng, args.pid, shown)
        recent = (recent + [what])[-12:]
        steps += 1
        if not answers(pinger, args, alive):
            print(f"monkey: HANG after step {steps} ({what}): no answer for {args.hang} s",
                  flush=True)
            return 2
        if steps % 50 == 0:
            print(f"monkey: {steps} steps", flush=True)
    print(f"monkey: {steps} steps", flush=True)
    if alive():
        return 0
    print("monkey: the program ended after: " + "; ".join(recent), flush=True)
    return 1


if __name__ == "__main__":
    sys.exit(main())
