#!/usr/bin/python3
"""Every text of the main window and its dialogs readable (4.5:1 against its ground, measured
on the screen) and whole (its ink clear of its box's edges), whatever the desktop's scheme,
font and scale. Usage: e2e_look.py BINARY light|gtk-dark|qt6ct-dark [POINTS [SCALE]]"""
import atexit, os, subprocess, sys, wave  # noqa: E401
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_lib import Session, screenshot, text_in, wait_for, workspace, write  # noqa: E402
scheme, points, scale = (sys.argv[2:] + ["", ""])[:3]
work = workspace("[PREFERENCES]\nshowanalysis=2\n")
for name in ("orc/a.orc", "orc/b.orc", "sco/one.sco", "ana/x.lpc"):
    write(work + name, "x")
with wave.open(work + "src/tone.wav", "wb") as w:
    w.setparams((2, 2, 44100, 44100, "NONE", ""))
    w.writeframes(bytes(176400))
conf = os.environ["XDG_CONFIG_HOME"]
if scheme == "gtk-dark":  # GNOME's dark look through Qt's GTK platform theme
    # GTK's own accessibility bridge stays out: Qt's speaks for the window.
    os.environ.update(QT_QPA_PLATFORMTHEME="gtk3", GTK_THEME="Adwaita:dark", NO_AT_BRIDGE="1")
    os.makedirs(conf + "/gtk-3.0")
    write(conf + "/gtk-3.0/settings.ini", f"[Settings]\ngtk-font-name=DejaVu Sans {points or 10}\n")
elif scheme == "qt6ct-dark":
    os.environ["QT_QPA_PLATFORMTHEME"] = "qt6ct"
    os.makedirs(conf + "/qt6ct")
    write(conf + "/qt6ct/qt6ct.conf", "[Appearance]\ncustom_palette=true\nstyle=Fusion\n"
          "color_scheme_path=/usr/share/qt6ct/colors/darker.conf\n[Fonts]\n" + "".join(
              f'{k}="DejaVu Sans,{points or 10},-1,5,400,0,0,0,0,0,0,0,0,0,0,1"\n'
              for k in ("general", "fixed")))
if scale:
    os.environ["QT_SCALE_FACTOR"] = scale
    # A screen the doubled window fits on, of our own.
    read, wr = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(wr), "-screen", "0", "2400x1800x24",
                             "-nolisten", "tcp"], pass_fds=(wr,), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    atexit.register(xvfb.terminate)
    os.close(wr)
    os.environ["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
s = Session(sys.argv[1])
s.find_window()
frame = s.require(s.find("Tonsmith32 V3.3", "frame"), "the window's frame")
x = subprocess.run(["xdotool", "getwindowgeometry", "--shell", s.wid], capture_output=True,
                   text=True).stdout
g = dict(line.split("=") for line in x.split())
ext = frame.queryComponent().getExtents(0)
ratio = int(g["WIDTH"]) / ext.width  # accessibility reports logical pixels or the screen's
def box(node, inset=0):  # a node's box on the screen, less inset (logical) pixels each side
    e = node.queryComponent().getExtents(0)
    return tuple(round(int(g[k]) + (v - o + d) * ratio) for k, v, o, d in (
        ("X", e.x, ext.x, inset), ("Y", e.y, ext.y, inset),
        ("X", e.x + e.width, ext.x, -inset), ("Y", e.y + e.height, ext.y, -inset)))
def logical(x0, y0, x1, y1):  # a box given in the window's own pixels
    return tuple(round(int(g[k]) + v * ratio) for k, v in (("X", x0), ("Y", y0), ("X", x1),
                                                          ("Y", y1)))
worst = {}
def click(node):  # xdotool speaks the screen's pixels
    b = box(node)
    subprocess.run(["xdotool", "mousemove", str((b[0] + b[2]) // 2), str((b[1] + b[3]) // 2),
                    "click", "1"])
def check(what, area, whole=True, shot=None):
    ratio_seen, ink = text_in(shot or check.shot, area)
    worst[what] = round(ratio_seen, 2)
    s.expect("contrast " + what, round(ratio_seen, 2), lambda r: r >= 4.5)
    if whole:  # ink touching the box's edge was cut there
        s.expect("whole " + what, ink and (ink[0] > area[0] and ink[1] > area[1] and
                                           ink[2] < area[2] and ink[3] < area[3]), True)
def showing_texts(win):  # every named, enabled text a user reads in win, with the box to read
    import pyatspi
    for n in s.nodes(win):
        role, st = n.getRoleName(), n.getState()
        if not (st.contains(pyatspi.STATE_SHOWING) and st.contains(pyatspi.STATE_ENABLED)):
            continue
        if role == "text" and n.queryText().getText(0, -1):
            yield "edit " + n.name, box(n, 3)
        elif role in ("push button", "page tab") and n.name:
            yield role + " " + n.name, box(n, 4)
        elif role in ("check box", "radio button") and n.name:
            b = box(n)
            yield role + " " + n.name, (b[0] + round(18 * ratio), b[1], b[2] - round(
                18 * ratio), b[3]) if b[2] - b[0] > 60 * ratio else b
        elif role == "label" and n.name and n.queryComponent().getExtents(0).width > 0:
            yield "label " + n.name, box(n)
click(s.require(s.wait_item("Source", "tone.wav"), "the sound file"))
s.wait_status(lambda t: t.startswith("44100"), 15)
check.shot, edge = screenshot(), logical(0, 0, 548, 0)[2]  # the window's right edge
for part in s.nodes(s.require(s.find("Status bar", "status bar"), "the status bar")):  # the last part ends at the window's
    if part.getRoleName() == "label":
        b = box(part, 2)
        check("status " + part.description, (b[0], b[1], min(b[2], edge), b[3]))
band = s.require(s.find("Compile", "push button"), "Compile").queryComponent().getExtents(0)
band = band.y - ext.y + 39  # under the tool band's outline
lists = {t: s.find(t, "list").queryComponent().getExtents(0) for t in (
    "Orchestras", "Scores", "Source", "Output", "Analysis Files")}
for title, e in lists.items():  # a title stands over its list, clear of the column beside
    x0, y0 = e.x - ext.x, e.y - ext.y
    top = lists["Orchestras"].y + lists["Orchestras"].height - ext.y if title[0] == "A" else band
    check("title " + title, logical(x0 - 2, top, min(x0 + 129, 548), y0))
for t in lists:
    for item in s.children(t):
        check(f"entry {t} {item.name}", box(item), whole=False)
check("Analysis button", box(s.find("Analysis", "push button"), 3))
for menu in ("File", "Configure", "Help"):
    check("menu " + menu, box(s.find(menu, "menu item"), 1))
def grab(wid):  # the screen with the window's own pixels laid where it lies: xwd's read of the
    # whole screen leaves a small dialog black under Xvfb, though Xvfb's frame buffer shows it
    shot, own = screenshot(), screenshot(wid)
    at = dict(line.split("=") for line in subprocess.run(["xdotool", "getwindowgeometry",
              "--shell", wid], capture_output=True, text=True).stdout.split())
    x, y = int(at["X"]), int(at["Y"])
    for i, row in enumerate(own[2][:max(0, shot[1] - y)]):
        shot[2][y + i][x:x + len(row)] = row[:max(0, shot[0] - x)]
    return shot
def window_id(caption):
    ids = subprocess.run(["xdotool", "search", "--name", caption], capture_output=True,
                         text=True).stdout.split()
    return next((i for i in ids if subprocess.run(["xdotool", "getwindowname", i], text=True,
                 capture_output=True).stdout.strip() == caption), None)
def dialog(item, caption, close=None, menu="Configure"):  # menu None: item is a tool button
    if menu:
        click(s.find(menu, "menu item"))
    click(s.require(s.wait_node(item, "menu item" if menu else "push button", showing=True,
                                seconds=5), item))
    win = s.require(s.window_named(caption, 15), caption)
    names = [(n.getRoleName(), n.name) for n in s.nodes(win)]  # a screen reader names each part
    s.expect("unnamed in " + caption, [r for r, n in names if not n], [])
    s.expect("picture in " + caption, [r for r, n in names if n == "Tonsmith, Version 3.3"],
             ["image"] if menu == "Help" else [])
    wid = s.require(wait_for(lambda: window_id(caption), 10), caption + " on the screen")
    def drawn():  # a window is black until it has painted
        shot, b = grab(wid), box(win, 2)
        return shot if shot[2][(b[1] + b[3]) // 2][(b[0] + b[2]) // 2] else None
    shot = s.require(wait_for(drawn, 10, 0.5), caption + " drawn")
    for what, area in showing_texts(win):
        check(caption + ": " + what, area, whole=False, shot=shot)
    if close:
        s.require(s.press_named(caption, close), "closing " + caption)
    else:  # Esc ends every small dialog
        subprocess.run(["xdotool", "windowfocus", "--sync", wid, "key", "Escape"])
    s.require(wait_for(lambda: s.window_named(caption, 0) is None, 10), caption + " closed")
    print(caption, "lowest %.2f" % min(v for k, v in worst.items() if k.startswith(caption)))
dialog("Preferences", "Tonsmith32 Preferences", "Cancel")
dialog("Analysis", "Tonsmith32 Analysis", "Exit", "File")
dialog("New Orc", "New Orchestra", menu=None)
dialog("Wave Devices", "Wave Devices")
dialog("Select Csound", "Select CSound Executable")
dialog("About", "Tonsmith32 V3.3 - Csound front end", "OK" if scheme == "light" else None, "Help")
print("lowest contrast: %s %.2f" % min(worst.items(), key=lambda kv: kv[1]))
s.finish()
