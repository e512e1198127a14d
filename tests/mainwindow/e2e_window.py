#!/usr/bin/python3
"""Starts the real tonsmith on the X display and reports what a user sees.

Run inside dbus-run-session: starts the accessibility bus, the program, finds
its window with xdotool/xwininfo, reads the lists and the status bar through
AT-SPI, clicks the first Source entry and reads the status bar again, then
compiles and waits for the rendered file in the Output list. Prints
key=value lines; exits non-zero when the window never appears.
Usage: e2e_window.py TONSMITH_BINARY
"""
import os
import subprocess
import sys
import time

binary = sys.argv[1]
env = dict(os.environ)
env.pop("QT_QPA_PLATFORM", None)  # the real display, not offscreen
env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"

bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
time.sleep(0.3)
start = time.monotonic()
app = subprocess.Popen([binary], env=env)
results = {}


def report():
    for k, v in results.items():
        print(f"{k}={v}")
    sys.stdout.flush()


def finish(code):
    report()
    app.terminate()
    try:
        app.wait(5)
    except subprocess.TimeoutExpired:
        app.kill()
        app.wait()
    bus.terminate()
    bus.wait()
    sys.exit(code)


try:
    wid = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                          "^Tonsmith32 V3.3$"], capture_output=True, text=True,
                         timeout=45).stdout.split()[0]
except (subprocess.TimeoutExpired, IndexError):
    finish(1)
results["seconds_to_window"] = round(time.monotonic() - start, 3)
info = subprocess.run(["xwininfo", "-id", wid], capture_output=True, text=True).stdout
for line in info.splitlines():
    line = line.strip()
    for key, name in (("Absolute upper-left X:", "x"), ("Absolute upper-left Y:", "y"),
                      ("Width:", "width"), ("Height:", "height")):
        if line.startswith(key):
            results[name] = line.split(":")[1].strip()
for line in subprocess.run(["xdpyinfo"], capture_output=True, text=True).stdout.splitlines():
    if line.strip().startswith("dimensions:"):
        results["screen"] = line.split()[1]
results["title"] = subprocess.run(["xdotool", "getwindowname", wid], capture_output=True,
                                  text=True).stdout.strip()

import pyatspi  # noqa: E402  (only once the bus runs)


def find_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for _ in range(300):  # a loaded machine may take a while to register the program
        for i in range(desktop.childCount):
            a = desktop.getChildAtIndex(i)
            if a is not None and a.name == "tonsmith":
                return a
        time.sleep(0.1)
    return None


def walk(node, found):
    try:
        found.append(node)
        for i in range(node.childCount):
            walk(node.getChildAtIndex(i), found)
    except Exception:
        pass
    return found


def named(nodes, name, role=None):
    for n in nodes:
        if n.name == name and (role is None or n.getRoleName() == role):
            return n
    return None


def selected_items(lst):
    out = []
    for i in range(lst.childCount):
        c = lst.getChildAtIndex(i)
        if c.getState().contains(pyatspi.STATE_SELECTED):
            out.append(c.name)
    return out


def status(nodes):
    texts = []
    for part in ("Sample rate", "Sample width", "Channels", "Sample frames", "Seconds",
                 "Playback status"):
        n = next((x for x in nodes if x.description == part), None)
        texts.append(n.name if n is not None else "?")
    return "|".join(texts)


accessible = find_app()
if accessible is None:
    results["accessibility"] = "none"
    finish(0)
nodes = walk(accessible, [])
for title in ("Orchestras", "Scores", "Source"):
    lst = named(nodes, title, "list")
    results["selected_" + title] = ",".join(selected_items(lst)) if lst else "?"
results["status_before"] = status(nodes)

# Click the first Source entry, at the top of the list.
source = named(nodes, "Source", "list")
ext = source.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
results["source_at"] = f"{ext.x},{ext.y},{ext.width},{ext.height}"
subprocess.run(["xdotool", "mousemove", str(ext.x + 20), str(ext.y + 10), "click", "1"])
for _ in range(150):
    time.sleep(0.1)
    nodes = walk(accessible, [])
    if status(nodes).split("|")[0] not in ("", "?"):
        break
results["selected_Source_after"] = ",".join(selected_items(named(nodes, "Source", "list")))
results["status_after"] = status(nodes)

# Compile: confirm the command line with Return; Csound renders "test" in a
# terminal, the run watch sees it end and the Output list is refilled.
compile_button = named(nodes, "Compile", "push button")
ext = compile_button.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
subprocess.run(["xdotool", "mousemove", str(ext.x + 17), str(ext.y + 17), "click", "1"])
# Press OK through accessibility, so a window of another program that
# happens to hold the keyboard focus cannot swallow the key.
confirmed = False
for _ in range(300):
    time.sleep(0.1)
    box = next((n for n in walk(accessible, []) if n.name == "CMDLINE"), None)
    ok = named(walk(box, []), "OK", "push button") if box is not None else None
    if ok is not None:
        action = ok.queryAction()
        for i in range(action.nActions):
            if action.getName(i) in ("Press", "press", "click", "Click"):
                action.doAction(i)
                confirmed = True
                break
        if not confirmed:
            subprocess.run(["xdotool", "key", "Return"])
            confirmed = True
        break
results["confirmation"] = "pressed" if confirmed else "none"
output = []
for _ in range(250):
    time.sleep(0.2)
    out = named(walk(accessible, []), "Output", "list")
    output = [out.getChildAtIndex(i).name for i in range(out.childCount)]
    if output:
        break
results["output_after_compile"] = ",".join(output)
finish(0)
