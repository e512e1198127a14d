#!/usr/bin/python3
"""Preferences and analysis in the real tonsmith, driven from outside.

Configure > Preferences: Long Int output on the Sound page, OK. Compile the
workspace's tone; the rendered file's header is read here, independently of
the program. It is selected (status bar) and played into the null sink, whose
capture is compared with the file's 32-bit samples; so is a float WAV that
csound rendered into the Source folder. Then the Analysis button on
it: each page's utility is run with its own output name, and after Exit the
three results are in the Analysis Files list.
Usage: e2e_prefs.py TONSMITH_BINARY WORKSPACE
"""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_lib import Capture, Session, compare_left, riff_chunks, running, wait_for  # noqa: E402

binary, work = sys.argv[1:3]
s = Session(binary)
s.find_window()
s.require(s.find_app(), "accessibility")

# Preferences: the Sound page's Long Int Output, then OK.
s.require(s.press(s.require(s.find("Preferences", "menu item"), "the Preferences item")),
          "Preferences")
prefs = s.require(s.window_named("Tonsmith32 Preferences"), "the Preferences dialog")
s.require(s.press(s.require(s.find("Sound", "page tab", prefs), "the Sound tab")), "Sound")
long_output = s.require(s.wait_node("Long Int Output", "radio button", prefs, 5, True),
                        "Long Int Output")
s.press(long_output)
s.record("long_checked", wait_for(lambda: s.checked(long_output), 5))
s.record("wave_checked", s.checked(s.find("Wave Output", "radio button", prefs)))
s.press(s.find("OK", "push button", prefs))
s.require(wait_for(lambda: s.window_named("Tonsmith32 Preferences", 0) is None, 10),
          "Preferences closing on OK")

# Compile with the new format.
s.click(s.find("Compile", "push button"))
s.require(s.press_named("CMDLINE", "OK"), "the command line box")
s.require(s.wait_item("Output", "test", 90), "the output listed")
wait_for(lambda: not running("csound"), 30)
rendered = os.path.join(work, "out", "test")
chunks = riff_chunks(rendered)
fmt = chunks.get(b"fmt ", b"")
if len(fmt) >= 16:
    tag, channels, rate, _, _, bits = struct.unpack("<HHIIHH", fmt[:16])
    s.record("file_format", f"tag {tag}, {channels} ch, {rate} Hz, {bits} bit")
s.click(s.item("Output", "test"))
s.record("status_selected", s.wait_status(lambda t: t.startswith("44100"), 10))



def play_and_compare(list_name, name, want, key):
    """Plays a listed file whole and compares the sink's capture with want."""
    capture = Capture(os.path.join(work, "capture.raw"))
    s.click(s.item(list_name, name), times=2)
    s.require(wait_for(lambda: s.status().endswith("Playing"), 5), "playing " + name)
    wait_for(lambda: s.status().endswith("Stopped"), 20)
    heard = compare_left(want, capture.stop())
    s.record(key, f"{heard[0]} of {len(want)} frames, largest error {heard[1]}"
             if heard else "not heard")


# The 32-bit samples reach the 16-bit sink cut to their top 16 bits.
data = chunks.get(b"data", b"")
play_and_compare("Output", "test", [v >> 16 for (v,) in struct.iter_unpack("<i", data)],
                 "long_played")

# A float WAV that csound rendered (with its fact and PEAK chunks) plays too:
# the sink rounds each sample to 16 bits.
floats = riff_chunks(os.path.join(work, "src", "float.wav")).get(b"data", b"")
s.click(s.item("Source", "float.wav"))
s.record("status_float", s.wait_status(lambda t: t.startswith("44100"), 10))
play_and_compare("Source", "float.wav",
                 [max(-32768, min(32767, round(v * 32768))) for (v,) in
                  struct.iter_unpack("<f", floats)], "float_played")

# Analysis on the rendered file: each page's utility with its own output.
s.click(s.item("Output", "test"))
s.require(wait_for(lambda: s.selected("Output") == "test", 5), "test selected again")
s.click(s.find("Analysis", "push button"))
dlg = s.require(s.window_named("Tonsmith32 Analysis"), "the Analysis dialog")
s.record("analysis_input", ",".join(n.name for n in s.nodes(dlg) if n.name.endswith("/test")))
for page, output in (("LPANAL", "tone.lpc"), ("HETRO", "tone.htr"), ("PVANAL", "tone.pvc")):
    s.require(s.press(s.find(page, "page tab", dlg)), page)
    box = s.require(s.wait_node("Output File Name", "text", dlg, 5, True), page + " output box")
    s.require(s.type_into(box, output), "typing " + output)
    s.press(s.find("OK", "push button", dlg))
    path = os.path.join(work, "ana", output)
    made = wait_for(lambda: os.path.exists(path) and os.path.getsize(path) > 0, 60, 0.2)
    wait_for(lambda: not running("csound"), 60)
    s.record("made_" + output, bool(made))
s.press(s.find("Exit", "push button", dlg))
s.require(wait_for(lambda: len(s.items("Analysis Files") or []) == 3, 10), "the three results")
s.record("analysis_files", ",".join(s.items("Analysis Files")))
s.finish(0)
