#!/usr/bin/python3
"""The real tonsmith without a sound server: window, lists, status bar, the questions
that could destroy a file, the trash, the real open dialog. Usage: e2e_window.py BINARY"""
import os, subprocess, sys, time, wave  # noqa: E401
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_lib import Session, listen, pump, socket_path, wait_for, workspace, write  # noqa: E402
import socket  # noqa: E402
work = workspace(home=True)
# b\xe9.orc (Latin-1) and its neighbour b\xef\xbf\xbd.orc show alike; the first is selected.
for name in ("orc/b\udce9.orc", "orc/b\ufffd.orc", "orc/a.orc", "sco/two.sco", "sco/one.sco"):
    write(work + name, "x")
with wave.open(work + "src/tone.wav", "wb") as w:  # one second of stereo silence
    w.setparams((2, 2, 44100, 44100, "NONE", ""))
    w.writeframes(bytes(176400))
os.mkfifo(work + "src/x.wav")  # nobody writes to it: reading it must not wait
ini = os.path.join(os.environ["XDG_CONFIG_HOME"], "tonsmith", "tk3.ini")
os.environ["PULSE_SERVER"] = "unix:/nonexistent/pulse/native"  # no sound server
stale = socket.socket(socket.AF_UNIX)  # what a crashed tonsmith leaves: no one listens on it
stale.bind(socket_path())
stale.close()
s = Session(sys.argv[1])
wid = s.find_window()
heard = listen("object:state-changed:focused", "object:property-change:accessible-name")
xdo = lambda *a: subprocess.run(["xdotool", *a], capture_output=True, text=True).stdout  # noqa
width, height = map(int, xdo("getdisplaygeometry").split())
g = dict(line.split("=") for line in xdo("getwindowgeometry", "--shell", wid).split())
s.expect("geometry", [int(g[k]) for k in ("X", "Y", "WIDTH", "HEIGHT")],  # centred
         [width // 2 - 275, height // 2 - 200, 550, 400])
for title, first in (("Orchestras", "a.orc"), ("Scores", "one.sco"), ("Source", "")):
    s.expect("selected_" + title, s.selected(title), first)
s.expect("status_before", s.status(), "|||||")
source = s.find("Source", "list")
s.click(source.getChildAtIndex(0))
s.expect("status_after", s.wait_status(lambda t: t.split("|")[0] not in ("", "?"), 15),
         "44100|16 bit|Stereo|Sample Frames - 44100|Seconds - 1|Status - Stopped")
s.click(source.getChildAtIndex(1))  # the pipe: refused at once, the window still answers
s.expect("status_pipe", s.wait_status(lambda t: "Invalid Wave!" in t, 5), lambda t: "Invalid" in t)
s.click(source.getChildAtIndex(0))
s.require(s.wait_status(lambda t: t.startswith("44100"), 5), "tone.wav again after the pipe")
# A screen reader hears a new playback status, and the chosen entry on coming into a list.
xdo("key", "shift+Tab")
s.expect("said", wait_for(lambda: pump() or (lambda n: n if "one.sco" in n and any(
    x.startswith("Playback status: Status - ") for x in n) else None)(
    [name for _, name in heard]), 5) and "status and entry", "status and entry")
# A second start brings this window forward and ends; the first took over a stale socket.
second = subprocess.run([sys.argv[1]], timeout=20, capture_output=True)
s.expect("second_start", (second.returncode, len(xdo("search", "--onlyvisible", "--name",
                                                      "^Tonsmith32 V3.3$").split())), (0, 1))
# No sound output device: a double-click tells so, once.
s.click(source.getChildAtIndex(0), times=2)
s.require(s.window_named("Cannot Play", 10), "the no-device box")
xdo("key", "Return")
s.require(wait_for(lambda: s.window_named("Cannot Play", 0) is None, 5), "the box closed")
time.sleep(0.5)
s.expect("boxes_after_no_device", ",".join(
    w.name for w in (s.root.getChildAtIndex(i) for i in range(s.root.childCount))
    if w is not None and w.name != "Tonsmith32 V3.3"), "")
# Enter in the questions that could destroy a file answers No.
s.click(s.find("Delete Orc", "push button"))
box = s.require(s.window_named("Are you sure you want to DELETE this ORCHESTRA?"), "delete box")
xdo("key", "Return")
s.require(wait_for(lambda: s.window_named(box.name, 0) is None, 5), "the delete box closed")
s.click(s.find("New Orc", "push button"))
dlg = s.require(s.window_named("New Orchestra"), "the New Orchestra dialog")
s.require(s.type_into(s.wait_node("Orchestra Name", "text", dlg), "a"), "typing a")
s.press(s.find("OK", "push button", dlg))
def question(caption, words):  # the dialog before it had the same caption
    win = s.window_named(caption, 0)
    return win if win and any(words in n.name for n in s.nodes(win)) else None
s.require(wait_for(lambda: question("New Orchestra", "already exists"), 10), "the question")
xdo("key", "Return")
s.require(wait_for(lambda: s.window_named("New Orchestra", 0) is None, 5), "the question closed")
s.expect("a_orc_after_enter", open(work + "orc/a.orc").read(), "x")
# Yes moves the file to the trash (its record: the trash tests).
s.click(s.require(s.item("Orchestras", "b\ufffd.orc"), "the entry b\\xe9.orc"))
s.click(s.find("Delete Orc", "push button"))
s.require(s.press_named("Are you sure you want to DELETE this ORCHESTRA?", "Yes"), "Yes")
s.expect("orchestras_after_yes", ",".join(wait_for(
    lambda: (lambda i: i if len(i or []) == 2 else None)(s.items("Orchestras")), 10) or ["?"]),
    "a.orc,b\ufffd.orc")
trash = os.path.join(os.environ["XDG_DATA_HOME"], "Trash", "files")
s.expect("trash_files", os.listdir(os.fsencode(trash)) + [os.path.exists(
    work + "orc/b\ufffd.orc")], [b"b\xe9.orc", True])
# The real open dialog, from the Configure menu.
def open_dialog(item):
    s.click(s.find("Configure", "menu item"))
    s.click(s.require(s.wait_node(item, "menu item", showing=True, seconds=5), item))
    return s.require(s.window_named("Open", 10), "the Open dialog of " + item)
def look_in(dlg):
    return next((n.name for n in s.nodes(dlg) if n.getRoleName() == "combo box" and
                 n.name.startswith("/")), "?")
def listed(dlg, names):
    table = s.find("Files", "tree", dlg).queryTable()
    have = {table.getAccessibleAt(r, 0).name for r in range(table.nRows)}
    return ",".join(n for n in names if n in have)
def choose(dlg, text):
    s.require(s.type_into(s.find("File name:", "text", dlg), text), "typing " + text)
    s.press(s.find("Open", "push button", dlg))
os.makedirs(os.path.join(tools := work + "tools", "sub"))
write(os.path.join(tools, "myeditor"), "#!/bin/sh\n", 0o755)
write(os.path.join(tools, "notes.txt"), "not a program\n")
dlg = open_dialog("Select Text Editor")
s.expect("first_look_in", look_in(dlg), "/usr/bin")
s.expect("first_listed", wait_for(lambda: listed(dlg, ("csound", "X11")), 10), "csound,X11")
types = next(n for n in s.nodes(dlg) if n.getRoleName() == "combo box" and "Files" in n.name)
s.expect("filters", "|".join(types.getChildAtIndex(0).getChildAtIndex(i).name
                             for i in range(types.getChildAtIndex(0).childCount)),
         "Executable Files (*.EXE)|All Files (*.*)")
choose(dlg, tools)
s.require(wait_for(lambda: look_in(dlg) == tools, 10), "walking to the tools folder")
s.expect("programs_listed", wait_for(lambda: listed(dlg, ("myeditor", "notes.txt", "sub")), 10),
         "myeditor,sub")
choose(dlg, "myeditor")
s.require(wait_for(lambda: s.window_named("Open", 0) is None, 10), "the dialog closed")
dlg = open_dialog("Select Wave Editor")
s.expect("second_look_in", look_in(dlg), tools)
choose(dlg, "myeditor")
s.require(wait_for(lambda: s.window_named("Open", 0) is None, 10), "the second dialog closed")
s.expect("ini_editors", "|".join(line.strip() for line in open(ini)
                                 if line.startswith(("texteditor=", "editor="))),
         "texteditor=" + tools + "/myeditor|editor=" + tools + "/myeditor")
s.finish()
