"""What the end-to-end scripts share: the real tonsmith on the X display, seen
and driven from outside the process, the way a user (or a screen reader) would.

CTest runs each script inside dbus-run-session. `workspace` gives it five
working folders and a settings file in a fresh home; `Session` starts the
accessibility bus and the program, finds its window, and then reads and
presses controls through AT-SPI and clicks with xdotool. `Session.expect`
checks what was seen; any mismatch fails the run, and every value seen is
printed for the log.
"""
import atexit
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import traceback

TITLE = "Tonsmith32 V3.3"
STATUS_PARTS = ("Sample rate", "Sample width", "Channels", "Sample frames", "Seconds",
                "Playback status")
PRESS_ACTIONS = ("Press", "press", "click", "Click", "Trigger", "Toggle")


def workspace(extra_ini="", needs=(), home=False):
    """Checks the services (a missing one fails under scripts/with-services.sh,
    else skips), then makes five folders and a tk3.ini naming them and
    Debian's csound; extra_ini follows the folders, with {work} standing for
    the folder. Returns the folder, ending in "/"."""
    needs = (("an X display", os.environ.get("DISPLAY")),
             ("the accessibility bus", os.path.exists("/usr/libexec/at-spi-bus-launcher")),
             *needs)
    missing = [what for what, there in needs if not there]
    if missing:
        print("missing: " + ", ".join(missing))
        sys.exit(1 if os.environ.get("TONSMITH_SERVICES") == "1" else 77)
    root = tempfile.mkdtemp(prefix="tonsmith-e2e.")
    atexit.register(shutil.rmtree, root, True)
    os.environ.update(XDG_CONFIG_HOME=root, XDG_DATA_HOME=os.path.join(root, "data"))
    if home:  # files on the home's file system go to the home trash: the test's own
        os.environ["HOME"] = root
    work = os.path.join(root, "work") + "/"
    for sub in ("orc", "sco", "src", "out", "ana"):
        os.makedirs(work + sub)
    os.makedirs(os.path.join(root, "tonsmith"))
    with open(os.path.join(root, "tonsmith", "tk3.ini"), "w") as f:
        f.write("[DIRECTORIES]\n" + "".join(f"{key}={work}{sub}/\n" for key, sub in (
            ("orcdir", "orc"), ("scoredir", "sco"), ("ssdir", "src"), ("sfdir", "out"),
            ("sadir", "ana"))) + extra_ini.replace("{work}", work) +
            "[PREFERENCES]\ncsoundver=2\n[CSOUND]\ncsound path=/usr/bin/csound\n")
    return work


def null_sink():
    """True when the PulseAudio null sink "test" is there: the only output
    device, number 0."""
    return "\ttest\t" in subprocess.run(["pactl", "list", "short", "sinks"],
                                         capture_output=True, text=True).stdout


def wait_for(probe, seconds, step=0.1):
    """Polls probe until it returns something true, or the time runs out."""
    end = time.monotonic() + seconds
    while True:
        try:
            value = probe()
        except Exception:  # a node vanished while we looked; look again
            value = None
        if value or time.monotonic() > end:
            return value
        time.sleep(step)


def riff_chunks(path):
    """The top-level chunks of a RIFF file: {b"fmt ": bytes, b"data": bytes, ...}."""
    with open(path, "rb") as f:
        b = f.read()
    chunks, at = {}, 12
    while at + 8 <= len(b):
        size = int.from_bytes(b[at + 4:at + 8], "little")
        chunks.setdefault(b[at:at + 4], b[at + 8:at + 8 + size])
        at += 8 + size + (size & 1)
    return chunks


def running(program):
    """The pid of a process of that name, or None."""
    for pid in os.listdir("/proc"):
        try:
            with open(f"/proc/{pid}/comm") as f:
                if f.read().strip() == program[:15]:
                    return int(pid)
        except (OSError, ValueError):
            pass
    return None


def parent(pid):
    """The parent's pid and program file name of a running process, or (None, "")."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            ppid = int(f.read().rsplit(")", 1)[1].split()[1])
        return ppid, os.path.basename(os.readlink(f"/proc/{ppid}/exe"))
    except (OSError, ValueError, IndexError):
        return None, ""


def wav_complete(path):
    """"complete" when the RIFF and data sizes of a WAV header account for the
    whole file as it is now, else what they account for."""
    with open(path, "rb") as f:
        b = f.read()
    riff, at = int.from_bytes(b[4:8], "little"), 12
    while at + 8 <= len(b):
        size = int.from_bytes(b[at + 4:at + 8], "little")
        if b[at:at + 4] == b"data":
            if riff + 8 == len(b) and at + 8 + size == len(b):
                return "complete"
            return f"RIFF {riff + 8} and data end {at + 8 + size} of {len(b)} bytes"
        at += 8 + size + (size & 1)
    return f"no data chunk in {len(b)} bytes"


class Capture:
    """Records the null sink's monitor as 16-bit stereo at 44.1 kHz, the
    sink's own format, so what was played arrives unchanged."""

    def __init__(self, path):
        self.path = path
        self.out = open(path, "wb")
        self.parec = subprocess.Popen(["parec", "-d", "test.monitor", "--latency-msec=20",
                                       "--raw", "--format=s16le", "--rate=44100",
                                       "--channels=2"], stdout=self.out)
        wait_for(lambda: subprocess.run(["pactl", "list", "short", "source-outputs"],
                                        capture_output=True, text=True).stdout.strip(), 5)

    def stop(self):
        time.sleep(0.3)  # the tail still on its way through the server
        self.parec.terminate()
        self.parec.wait()
        self.out.close()
        with open(self.path, "rb") as f:
            return f.read()


def compare_left(want, got, loud=2000):
    """Lines the expected 16-bit values up with the left channel of a capture
    at the first loud sample; returns (frames heard, largest difference),
    or None when the sound is not in the capture."""
    heard = [left for left, _ in struct.iter_unpack("<hh", got[:len(got) // 4 * 4])]
    first = next((i for i, v in enumerate(want) if abs(v) > loud), None)
    onset = next((i for i, v in enumerate(heard) if abs(v) > loud), None)
    if first is None or onset is None or onset < first:
        return None
    heard = heard[onset - first:onset - first + len(want)]
    return len(heard), max(abs(a - b) for a, b in zip(want, heard))


class Session:
    def __init__(self, binary):
        env = dict(os.environ)
        env.pop("QT_QPA_PLATFORM", None)  # the real display, not offscreen
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self.results = {}
        self.mismatches = []
        self.bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher",
                                     "--launch-immediately"],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.3)
        self.started = time.monotonic()
        self.app = subprocess.Popen([binary], env=env)
        self.wid = None
        self.root = None
        sys.excepthook = self._fault

    def _fault(self, kind, value, tb):
        """A script error still ends the program and reports what was seen."""
        traceback.print_exception(kind, value, tb)
        self.record("failed_at", f"{kind.__name__}: {value}")
        self.finish(1)

    # -- reporting ---------------------------------------------------------
    def record(self, key, value):
        self.results[key] = value

    def expect(self, key, value, want):
        """Records value and checks it: equal to want, or accepted by it when
        want is a function."""
        self.record(key, value)
        if not (want(value) if callable(want) else value == want):
            self.mismatches.append(f"{key}: saw {value!r}, expected {want!r}")

    def finish(self, code=0):
        for k, v in self.results.items():
            print(f"{k}={v}")
        for m in self.mismatches:
            print("MISMATCH " + m)
        sys.stdout.flush()
        self.app.terminate()
        try:
            self.app.wait(5)
        except subprocess.TimeoutExpired:
            self.app.kill()
            self.app.wait()
        self.bus.terminate()
        self.bus.wait()
        sys.exit(code or (1 if self.mismatches else 0))

    def require(self, value, step):
        """Ends the run, naming the step, when value is false."""
        if not value:
            self.record("failed_at", step)
            self.finish(1)
        return value

    # -- the window --------------------------------------------------------
    def find_window(self):
        try:
            out = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                                  f"^{TITLE}$"], capture_output=True, text=True,
                                 timeout=45).stdout.split()
        except subprocess.TimeoutExpired:
            out = []
        if not out:
            self.finish(1)
        self.wid = out[0]
        self.record("seconds_to_window", round(time.monotonic() - self.started, 3))
        return self.wid

    def find_app(self):
        global pyatspi
        import pyatspi  # only once the bus runs

        def look():
            desktop = pyatspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                a = desktop.getChildAtIndex(i)
                if a is not None and a.name == "tonsmith":
                    return a
            return None
        self.root = wait_for(look, 30)  # a loaded machine may take a while
        return self.root

    def nodes(self, under=None):
        found = []

        def walk(node):
            try:
                found.append(node)
                for i in range(node.childCount):
                    walk(node.getChildAtIndex(i))
            except Exception:
                pass
        walk(under if under is not None else self.root)
        return found

    def find(self, name, role=None, under=None, showing=False):
        """The first node of that name (and role); with showing, only one on
        screen (a dialog's hidden pages keep their controls)."""
        for n in self.nodes(under):
            try:
                if n.name == name and (role is None or n.getRoleName() == role) and (
                        not showing or n.getState().contains(pyatspi.STATE_SHOWING)):
                    return n
            except Exception:
                pass
        return None

    def checked(self, node):
        return node.getState().contains(pyatspi.STATE_CHECKED)

    def wait_node(self, name, role=None, under=None, seconds=30, showing=False):
        return wait_for(lambda: self.find(name, role, under, showing), seconds)

    def window_named(self, caption, seconds=30):
        """A top-level window (dialog, message box) of the program."""
        def look():
            for i in range(self.root.childCount):
                w = self.root.getChildAtIndex(i)
                if w is not None and w.name == caption:
                    return w
            return None
        return wait_for(look, seconds)

    # -- reading -------------------------------------------------------------
    def items(self, list_name):
        lst = self.find(list_name, "list")
        return [lst.getChildAtIndex(i).name for i in range(lst.childCount)] if lst else None

    def item(self, list_name, text):
        lst = self.find(list_name, "list")
        if lst is None:
            return None
        for i in range(lst.childCount):
            c = lst.getChildAtIndex(i)
            if c.name == text:
                return c
        return None

    def selected(self, list_name):
        lst = self.find(list_name, "list")
        out = []
        for i in range(lst.childCount):
            c = lst.getChildAtIndex(i)
            if c.getState().contains(pyatspi.STATE_SELECTED):
                out.append(c.name)
        return ",".join(out)

    def status(self):
        nodes = self.nodes()
        texts = []
        for part in STATUS_PARTS:
            # Each part is named "what it is: what it shows".
            n = next((x for x in nodes if x.description == part), None)
            texts.append(n.name[len(part) + 2:] if n is not None else "?")
        return "|".join(texts)

    # -- acting --------------------------------------------------------------
    def centre(self, node):
        ext = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return ext.x + ext.width // 2, ext.y + ext.height // 2

    def click(self, node, button=1, times=1):
        x, y = self.centre(node)
        self.click_at(x, y, button, times)

    def click_at(self, x, y, button=1, times=1):
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "--repeat", str(times),
                        "--delay", "60", str(button)])

    def geometry(self):
        """The window's x, y, width and height as the X server has them."""
        info = subprocess.run(["xwininfo", "-id", self.wid], capture_output=True,
                              text=True).stdout
        keys = {"Absolute upper-left X:": "x", "Absolute upper-left Y:": "y",
                "Width:": "width", "Height:": "height"}
        return {keys[k]: int(line.split(":")[1]) for line in map(str.strip, info.splitlines())
                for k in keys if line.startswith(k)}

    def press(self, node):
        """Presses a button through accessibility: no global key or pointer
        that a window of another program could take."""
        action = node.queryAction()
        for i in range(action.nActions):
            if action.getName(i) in PRESS_ACTIONS:
                action.doAction(i)
                return True
        return False

    def press_named(self, caption, button, seconds=30):
        """Waits for the window captioned caption and presses its button."""
        win = self.window_named(caption, seconds)
        if win is None:
            return False
        node = self.wait_node(button, "push button", win, 5)
        return node is not None and self.press(node)

    def type_into(self, node, text):
        node.queryEditableText().setTextContents(text)
        return node.queryText().getText(0, -1) == text

    def wait_status(self, test, seconds):
        """The status bar's text once test accepts it, else as it is then."""
        return wait_for(lambda: (lambda t: t if test(t) else None)(self.status()),
                        seconds) or self.status()

    def wait_item(self, list_name, text, seconds=60):
        return wait_for(lambda: self.item(list_name, text), seconds, 0.2)
