#!/usr/bin/python3
"""A first session: New Orc and New Sco, Compile in TERMINAL as x-terminal-emulator, the
output played into the null sink (heard sample for sample in e2e_prefs), stopped by Escape and
the right button. A terminal that hands over to a running instance gets one ("holder") first;
"quick" stops once the output is listed; "csd" renders csound-doc's -odac pieces, no score,
as csound by hand; a terminal not installed skips (77); "broken" fails with a usage error:
the user is told, csound.log gets the run. Usage: e2e_commands.py BINARY TERMINAL [quick|csd]"""
import os, shutil, subprocess, sys, time  # noqa: E401
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_lib import (Session, null_sink, parent, running, wait_for, wav_complete,  # noqa: E402
                     workspace, write)
binary, terminal = sys.argv[1:3]
quick, csd = sys.argv[3:] == ["quick"], sys.argv[3:] == ["csd"]
broken = os.path.basename(terminal) == "broken"
if not broken and not os.path.exists(terminal):
    print("missing: " + terminal)
    sys.exit(77)
EXAMPLES = "/usr/share/doc/csound-doc/html/examples/"
PIECES = ("oscil.csd", "pluck.csd", "adsr.csd") if csd else ()  # each says -odac
# The folder's name holds what a terminal could take for a variable: it must arrive as it is.
work = workspace("texteditor={work}editor\n[WAVE]\nWaveOutDev=0\n", (
    ("csound", shutil.which("csound")), ("the PulseAudio null sink", null_sink()),
    ("csound-doc", not csd or os.path.isdir(EXAMPLES))), folder="work$HOME")
editor, editor_log = work + "editor", work + "editor.log"
write(editor, f'#!/bin/sh\necho "$@" >> "$0.log"\n', 0o755)  # logs what it opens
ORC = ("sr = 44100\nksmps = 10\nnchnls = 2\n0dbfs = 1\n"
       "instr 1\nseed 7\na1 rand 0.4\nouts a1, a1 * 0.5\nendin\n"
       "instr 2\ni0 system_i 1, \"sleep 1.5\"\nendin\n")
# Instrument 2 holds csound after opening the output: an early refresh lists it unfinished.
SCO = "i2 0 0.01\ni1 0 3\ne\n"
os.makedirs(work + "bin")
if broken:  # named xterm, so that nothing but the log is left to fall back to
    terminal = work + "bin/xterm"
    write(terminal, "#!/bin/sh\necho 'xterm: bad command line option \"-T\"' >&2\nexit 2\n", 0o755)
os.symlink(terminal, work + "bin/x-terminal-emulator")
os.environ["PATH"] = work + "bin" + os.pathsep + os.environ["PATH"]
HOLDERS = {"xfce4-terminal": ["--title", "holder", "-x", "sleep", "600"],
           "lxterminal": ["-t", "holder", "-e", "sleep", "600"]}
name = os.path.basename(terminal).split(".")[0]
holder = subprocess.Popen([name] + HOLDERS[name]) if name in HOLDERS else None
if holder and not wait_for(lambda: subprocess.run(["xdotool", "search", "--name", "^holder$"],
                                                  capture_output=True).returncode == 0, 20):
    print("failed_at=the holder terminal")
    sys.exit(1)
for piece in PIECES:
    shutil.copy(EXAMPLES + piece, work + "orc")
os.chdir(work)  # a folder of our own, which csound must not run in
s = Session(binary)
s.find_window()
for piece in PIECES:  # Compile with no score; the same by hand must give the same bytes
    out, line = work + "out/test", f"/usr/bin/csound -Wsg -o test {work}orc/{piece}"
    s.click(s.require(s.item("Orchestras", piece), piece + " listed"))
    s.click(s.find("Compile", "push button"))
    box = s.require(s.window_named("CMDLINE", 10), "CMDLINE of " + piece)
    s.expect("cmdline_" + piece, any(n.name == line for n in s.nodes(box)), True)
    s.press(s.wait_node("OK", "push button", box, 5))
    s.expect("cwd_" + piece, wait_for(lambda: os.readlink(f"/proc/{running('csound')}/cwd"),
                                       10, 0.002), work + "orc")
    s.require(wait_for(lambda: running("csound") is None, 60), piece + " rendered")
    os.rename(out, out + ".tonsmith")
    subprocess.run(line.split(), cwd=work + "orc", capture_output=True, env=dict(
        os.environ, SSDIR=work + "src", SFDIR=work + "out", SADIR=work + "ana"))
    same = open(out + ".tonsmith", "rb").read() == open(out, "rb").read()
    s.expect("same_" + piece, (same, os.path.getsize(out) > 44), (True, True))  # not bare header
if csd:
    s.finish()
TEMPLATES = {".orc": b"sr=\r\nkr=\r\nksmps=\r\nnchnls=\r\n\r\ninstr 1\r\n\r\nendin\r\n",
             ".sco": b"f1 0 8192 10 1"}
def new_file(button, caption, edit_name, list_name, ext):
    s.click(s.require(s.find(button, "push button"), button))
    dlg = s.require(s.window_named(caption), "the " + caption + " dialog")
    edit = s.require(s.wait_node(edit_name, "text", dlg), edit_name + " box")
    s.require(s.type_into(edit, "tone"), "typing the name")
    s.require(s.press(s.find("OK", "push button", dlg)), "OK of " + caption)
    s.require(s.wait_item(list_name, "tone" + ext), "tone" + ext + " listed")
    s.expect("template" + ext, open(work + ext[1:] + "/tone" + ext, "rb").read(), TEMPLATES[ext])
new_file("New Orc", "New Orchestra", "Orchestra Name", "Orchestras", ".orc")
new_file("New Sco", "New Score", "Score Name", "Scores", ".sco")
wait_for(lambda: os.path.exists(editor_log) and open(editor_log).read().count("\n") >= 2, 10)
s.expect("editor_log", open(editor_log).read().strip().replace("\n", "|"),
         work + "orc/tone.orc|" + work + "sco/tone.sco")
for path, text in (("orc/tone.orc", ORC), ("sco/tone.sco", SCO), ("sco/zz.sco", SCO)):
    write(work + path, text)  # zz.sco: listed from the next refresh
s.click(s.find("Compile", "push button"))
ok = s.require(s.wait_node("OK", "push button", s.window_named("CMDLINE"), 5), "CMDLINE OK")
s.press(ok)
if broken:
    box = s.require(s.window_named("Tonsmith 3.3", 15), "the box of the broken terminal")
    s.expect("notice", next((n.name for n in s.nodes(box) if n.name.startswith("The ")), ""),
             "The terminal xterm ended with exit code 2 before the console started: \"xterm: "
             "bad command line option \"-T\"\".\ncsound runs without a console and its output "
             "goes to " + os.environ["XDG_CONFIG_HOME"] + "/tonsmith/csound.log.")
    s.press(s.wait_node("OK", "push button", box, 5))
csound = wait_for(lambda: running("csound"), 20, 0.002)
helper, helper_name = parent(s.require(csound, "csound started"))
console, console_name = parent(helper)
titled = subprocess.run(["xdotool", "search", "--name", "Tonsmith running Csound"],
                        capture_output=True).returncode == 0
if holder:  # the lists wait for csound, not for a terminal that handed over
    s.expect("console_is_holder", console == holder.pid, True)
else:  # qterminal takes no title; tilix puts it on the terminal, not on the window
    s.expect("console", helper_name, "tonsmith" if broken else "tonsmith-console")
    s.expect("titled", titled, not (broken or "qterminal" in terminal or "tilix" in terminal))
    s.expect("terminal", console_name, "xterm" if terminal.endswith("xterm") and not broken
             else console_name)
# Listed only once csound has finished writing it.
s.require(s.wait_item("Output", "test", 90), "the output listed")
s.expect("output_when_listed", wav_complete(os.path.join(work, "out", "test")), "complete")
s.expect("output", ",".join(s.items("Output")), "test")
s.expect("console_closed", holder is not None or wait_for(lambda: subprocess.run(  # after a success
    ["xdotool", "search", "--name", "Tonsmith running Csound"]).returncode, 10), True)
if broken:
    log = open(os.environ["XDG_CONFIG_HOME"] + "/tonsmith/csound.log", errors="replace").read()
    s.expect("log", "SECTION 1:" in log and os.path.basename(work[:-1]) in log, True)
if holder:
    holder.terminate()
    holder.wait()
if quick:
    s.finish()
s.expect("status_playing", s.play("Output", "test"),
         "44100|16 bit|Stereo|Sample Frames - 132300|Seconds - 3|Status - Playing")
s.expect("played_to_the_end", bool(wait_for(lambda: s.status().endswith("Stopped"), 20)), True)
# From the keyboard: Enter on the entry plays it, Escape stops it.
subprocess.run(["xdotool", "key", "Return"])  # the list has the focus since the clicks
s.require(wait_for(lambda: s.status().endswith("Playing"), 5), "Enter playing")
playing = time.monotonic()
subprocess.run(["xdotool", "key", "Escape"])
s.expect("status_escape", s.wait_status(lambda t: t.endswith("Stopped"), 5),
         lambda t: t.endswith("Status - Stopped"))
# The file lasts 3 s: stopped this soon, it was the key, not the end.
s.expect("stopped_early", time.monotonic() - playing < 2.0, True)
# The right button on an entry stops playback and selects nothing.
s.require(s.play("Output", "test"), "the third play")
s.click(s.item("Scores", "zz.sco"), button=3)
s.expect("status_right_click", s.wait_status(lambda t: t.endswith("Stopped"), 5),
         lambda t: t.endswith("Status - Stopped"))
s.expect("selected_after_right_click", s.selected("Orchestras") + "|" + s.selected("Scores") +
         "|" + s.selected("Output"), "tone.orc|tone.sco|test")
s.finish()
