#!/usr/bin/env python3
# Measures the bytes the terminal front end writes for each key: the game runs
# on a pseudo-terminal of 80 x 25 cells of 8 x 18 pixels that answers the
# device-attributes question as a sixel (or kitty, or plain) terminal would.
#
#   tty_step_bytes.py KESTRUN GAME-FOLDER sixel|kitty|cells KEYS [KEYS-FIRST]
#
# KEYS-FIRST are typed before counting (e.g. "1\r70n" to stand in the maze of
# the sample with a party in town); each key of KEYS then gets its byte count.
import os, pty, sys, time, select, fcntl, termios, struct
kestrun, folder, mode, keys = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4]
start = sys.argv[5] if len(sys.argv) > 5 else ""
pid, fd = pty.fork()
if pid == 0:
    os.environ["LANG"] = "C.UTF-8"
    os.execv(kestrun, [kestrun, "--frontend", "tty", "--dir", folder, "--seed", "2", "--tty-graphics", "auto"])
fcntl.ioctl(fd, termios.TIOCSWINSZ, struct.pack("HHHH", 25, 80, 640, 450))
answers = {"sixel": b"\x1b[?62;4c", "kitty": b"\x1b_Gi=31;OK\x1b\\\x1b[?62c", "cells": b"\x1b[?62c"}[mode]
def drain(wait):
    got = b""
    end = time.time() + wait
    while True:
        r, _, _ = select.select([fd], [], [], max(0, end - time.time()))
        if not r:
            return got
        try:
            chunk = os.read(fd, 65536)
        except OSError:
            return got
        if b"\x1b[c" in chunk:
            os.write(fd, answers)
        got += chunk
        end = time.time() + 0.4
first = drain(2.0)
for k in start:
    os.write(fd, k.encode()); drain(0.6)
print("start screen: %d bytes" % len(first))
sizes = []
for k in keys:
    os.write(fd, k.encode())
    sizes.append(len(drain(0.6)))
print(mode, "bytes per key:", sizes, "mean %.0f" % (sum(sizes) / len(sizes)))
os.kill(pid, 15)
