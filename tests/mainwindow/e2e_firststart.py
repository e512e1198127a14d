#!/usr/bin/python3
"""A first start from "/" with an empty home renders the demo's first orchestra and score;
a csound that fails is told in the window. Usage: e2e_firststart.py BINARY"""
import os, shutil, sys  # noqa: E401
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_lib import Session, running, wait_for, wav_complete, workspace, write  # noqa: E402
workspace(needs=(("csound", shutil.which("csound")),), first_start=True)
demo = os.path.join(os.environ["XDG_DATA_HOME"], "tonsmith", "demo") + "/"
s = Session(sys.argv[1], cwd="/")
s.find_window()
s.expect("selected", s.selected("Orchestras") + "|" + s.selected("Scores"), "pluck.orc|chord.sco")
def compile_from_menu():
    s.click(s.require(s.find("File", "menu item"), "the File menu"))  # as a user does
    s.click(s.require(s.wait_node("Compile", "menu item", showing=True, seconds=5), "Compile"))
    s.require(s.press_named("CMDLINE", "OK"), "the command line box")
compile_from_menu()
s.require(s.wait_item("Output", "test", 90), "the output listed")
s.expect("output", wav_complete(demo + "output/test"), "complete")
# A typo in the orchestra: csound ends with 1, and the window says so once the lists are back.
write(demo + "orchestras/pluck.orc", open(demo + "orchestras/pluck.orc").read().replace(
    "pluck p4", "plock p4"))
compile_from_menu()
box = s.window_named("Tonsmith 3.3", 60)
said = wait_for(lambda: [n.name for n in s.nodes(box) if "ended" in (n.name or "")], 10)
s.expect("failure_box", said, ["csound ended with exit code 1."])
s.require(box and s.press_named("Tonsmith 3.3", "OK"), "OK of the failure box")
console = wait_for(lambda: running("tonsmith-console"), 5)
if console:  # it waits for a key so the user can read csound's words: not ours to wait for
    os.kill(console, 15)
s.finish()
