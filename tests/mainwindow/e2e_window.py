#!/usr/bin/python3
"""Starts the real tonsmith on the X display and reports what a user sees.

Finds its window with xdotool/xwininfo, reads the lists and the status bar
through AT-SPI, clicks the first Source entry and reads the status bar again.
Usage: e2e_window.py TONSMITH_BINARY
"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_lib import Session  # noqa: E402

s = Session(sys.argv[1])
wid = s.find_window()
for key, value in s.geometry().items():
    s.record(key, value)
for line in subprocess.run(["xdpyinfo"], capture_output=True, text=True).stdout.splitlines():
    if line.strip().startswith("dimensions:"):
        s.record("screen", line.split()[1])
s.record("title", subprocess.run(["xdotool", "getwindowname", wid], capture_output=True,
                                 text=True).stdout.strip())

if s.find_app() is None:
    s.record("accessibility", "none")
    s.finish(0)
for title in ("Orchestras", "Scores", "Source"):
    s.record("selected_" + title, s.selected(title))
s.record("status_before", s.status())

# Click the first Source entry.
source = s.find("Source", "list")
s.click(source.getChildAtIndex(0))
s.record("status_after", s.wait_status(lambda t: t.split("|")[0] not in ("", "?"), 15))
s.record("selected_Source_after", s.selected("Source"))
s.finish(0)
