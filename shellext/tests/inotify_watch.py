#!/usr/bin/env python3
"""Prints "OPEN name" / "ACCESS name" for every open and read in a folder until it gets SIGTERM.

usage: inotify_watch.py FOLDER READY_FILE   (READY_FILE is created once the watch is set)
"""
import ctypes
import os
import select
import signal
import struct
import sys

IN_ACCESS, IN_OPEN = 0x1, 0x20
libc = ctypes.CDLL(None, use_errno=True)
fd = libc.inotify_init1(0)
if fd < 0 or libc.inotify_add_watch(fd, sys.argv[1].encode(), IN_ACCESS | IN_OPEN) < 0:
    sys.exit("cannot watch " + sys.argv[1])
running = True


def stop(*_):
    global running
    running = False


signal.signal(signal.SIGTERM, stop)
open(sys.argv[2], "w").close()
while running:
    ready, _, _ = select.select([fd], [], [], 0.1)
    if not ready:
        continue
    data = os.read(fd, 65536)
    at = 0
    while at < len(data):
        _, mask, _, length = struct.unpack_from("iIII", data, at)
        name = data[at + 16:at + 16 + length].rstrip(b"\0").decode(errors="replace")
        at += 16 + length
        kind = "OPEN" if mask & IN_OPEN else "ACCESS"
        print(kind, name, flush=True)
