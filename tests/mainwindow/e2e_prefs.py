#!/usr/bin/python3
"""Long Int output, its 32-bit samples (and a float WAV's) heard on the null sink, and
the three analysis utilities, in the real tonsmith. Usage: e2e_prefs.py BINARY"""
import os, shutil, struct, subprocess, sys, wave  # noqa: E401
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_lib import (Capture, Session, compare_left, null_sink, riff_chunks,  # noqa: E402
                     running, wait_for, workspace, write)
work = workspace("[WAVE]\nWaveOutDev=0\n", (("csound", shutil.which("csound")),
                                              ("the PulseAudio null sink", null_sink())))
write(work + "orc/tone.orc",
      "sr = 44100\nksmps = 10\nnchnls = 1\n0dbfs = 1\ninstr 1\nout oscili(0.5, 220)\nendin\n")
write(work + "sco/tone.sco", "i1 0 1\ne\n")
# Float, AIFF and WAV renders, and six channels of the WAV at 1/6 to 6/6.
for flag, name in (("-Wf", "float.wav"), ("-As", "soundin.1"), ("-Ws", "same.wav")):
    subprocess.run(["csound", flag, "-o", work + "src/" + name, work + "orc/tone.orc",
                    work + "sco/tone.sco"], check=True, capture_output=True)
tone = [v for (v,) in struct.iter_unpack("<h", riff_chunks(work + "src/same.wav")[b"data"])]
with wave.open(work + "src/six.wav", "wb") as w:
    w.setnchannels(6), w.setsampwidth(2), w.setframerate(44100)
    w.writeframes(b"".join(struct.pack("<6h", *(v * (c + 1) // 6 for c in range(6))) for v in tone))
STATUS = "44100|32 bit|Mono|Sample Frames - 44100|Seconds - 1|Status - Stopped"
s = Session(sys.argv[1])
s.find_window()
PAGE_KEYS = (("Sound", "Sound"), ("ctrl+Tab", "Orc/Sco"), ("ctrl+Next", "MIDI"),
             ("ctrl+shift+Tab", "Orc/Sco"), ("ctrl+Prior", "Sound"), ("ctrl+Prior", "Directories"),
             ("ctrl+shift+Tab", "Display"), ("ctrl+Tab", "Directories"), ("ctrl+Next", "Sound"))
# Long Int chosen on the Sound page with Wave, the pages walked round by their keys, then Compile.
s.require(s.press(s.require(s.find("Preferences", "menu item"), "Preferences")), "Preferences")
prefs = s.require(s.window_named("Tonsmith32 Preferences"), "the Preferences dialog")
s.click(s.require(s.find("Sound", "page tab", prefs), "the Sound tab"))
def shown():  # the page on screen
    import pyatspi
    return next((n.name for n in s.nodes(prefs) if n.getRoleName() != "page tab" and n.name in (
        "Directories", "Sound", "Orc/Sco", "MIDI", "Display") and n.getState().contains(
        pyatspi.STATE_SHOWING)), "?")
for key, page in PAGE_KEYS:  # the page keys go round the tabs both ways
    if key != page:
        subprocess.run(["xdotool", "key", key])
    s.expect("page after " + key, wait_for(
        lambda: (lambda p: p if p == page else None)(shown()), 5) or shown(), page)
button = s.wait_node("Long Int Output", "radio button", prefs, 5, True)
s.require(button and s.press(button), "Long Int Output")
s.expect("Long Int Output", wait_for(lambda: s.checked(button), 5), True)
s.press(s.find("OK", "push button", prefs))
s.require(wait_for(lambda: s.window_named(prefs.name, 0) is None, 10), "Preferences closing")
s.click(s.find("Compile", "push button"))
s.require(s.press_named("CMDLINE", "OK"), "the command line box")
s.require(wait_for(lambda: os.path.exists(work + "out/test") and not running("csound"), 90),
          "the render")
s.require(s.wait_item("Output", "test", 10), "the output listed")
chunks = riff_chunks(work + "out/test")
tag, channels, rate, _, _, bits = struct.unpack("<HHIIHH", chunks.get(b"fmt ", b"").ljust(16)[:16])
s.expect("file_format", f"tag {tag}, {channels} ch, {rate} Hz, {bits} bit",
         "tag 1, 1 ch, 44100 Hz, 32 bit")
s.click(s.item("Output", "test"))
s.expect("status_selected", s.wait_status(lambda t: t.startswith("44100"), 10), STATUS)
def play_and_compare(list_name, name, want, key, errors):
    capture = Capture(os.path.join(work, "capture.raw"))
    if not s.play(list_name, name):
        capture.stop()
        s.require(False, "playing " + name)
    wait_for(lambda: s.status().endswith("Stopped"), 20)
    heard = compare_left(want, capture.stop())
    s.expect(key, f"{heard[0]} of {len(want)} frames, largest error {heard[1]}"
             if heard else "not heard",
             lambda t: t in [f"44100 of 44100 frames, largest error {e}" for e in errors])
# The 32-bit samples reach the 16-bit sink cut to their top 16 bits.
data = chunks.get(b"data", b"")
play_and_compare("Output", "test", [v >> 16 for (v,) in struct.iter_unpack("<i", data)],
                 "long_played", (0,))
# A float WAV that csound rendered (with its fact and PEAK chunks) plays too:
# the sink rounds each sample to 16 bits.
floats = riff_chunks(os.path.join(work, "src", "float.wav")).get(b"data", b"")
s.click(s.item("Source", "float.wav"))
s.expect("status_float", s.wait_status(lambda t: t.startswith("44100"), 10), STATUS)
# Rounding to the sink's 16 bits may differ by one step from ours.
play_and_compare("Source", "float.wav",
                 [max(-32768, min(32767, round(v * 32768))) for (v,) in
                  struct.iter_unpack("<f", floats)], "float_played", (0, 1))
# The AIFF file shows and plays as the WAV of the same render; six channels play mixed down
# to the stereo sink (even ones left, each a third), and the status keeps their count.
for name, status, want in (
        ("soundin.1", STATUS.replace("32 bit", "16 bit"), tone),
        ("six.wav", STATUS.replace("32 bit|Mono", "16 bit|6 ch"),
         [round(sum(v * (c + 1) // 6 for c in (0, 2, 4)) / 3) for v in tone])):
    s.click(s.item("Source", name))
    s.expect("status_" + name, s.wait_status(lambda t: t.startswith("44100"), 10), status)
    play_and_compare("Source", name, want, "played_" + name, (0, 1))
# Analysis on the rendered file: each page's utility with its own output.
s.click(s.item("Output", "test"))
s.require(wait_for(lambda: s.selected("Output") == "test", 5), "test selected again")
s.click(s.find("Analysis", "push button"))
dlg = s.require(s.window_named("Tonsmith32 Analysis"), "the Analysis dialog")
for page, output in (("LPANAL", "tone.lpc"), ("HETRO", "tone.htr"), ("PVANAL", "tone.pvc")):
    s.require(s.press(s.find(page, "page tab", dlg)), page)
    box = s.require(s.wait_node("Output File Name", "text", dlg, 5, True), page + " output box")
    s.require(s.type_into(box, output), "typing " + output)
    s.press(s.find("OK", "push button", dlg))  # the utility runs in the orchestra's folder
    s.expect("cwd_" + output, wait_for(lambda: os.readlink(f"/proc/{running('csound')}/cwd"),
                                       10, 0.002), work + "orc")
    path = os.path.join(work, "ana", output)
    made = wait_for(lambda: os.path.exists(path) and os.path.getsize(path) > 0, 60, 0.2)
    wait_for(lambda: not running("csound"), 60)
    s.expect("made_" + output, bool(made), True)
s.press(s.find("Exit", "push button", dlg))
s.require(wait_for(lambda: len(s.items("Analysis Files") or []) == 3, 10), "the three results")
s.expect("analysis_files", ",".join(s.items("Analysis Files")), "tone.htr,tone.lpc,tone.pvc")
s.finish()
