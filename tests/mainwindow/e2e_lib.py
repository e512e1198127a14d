"""What the end-to-end scripts share: the real tonsmith on the X display, driven through
AT-SPI and xdotool; `Session.expect` logs every value seen and fails on a mismatch."""
import array, atexit, collections, faulthandler, os, pathlib, shutil, signal, struct, subprocess, sys, tempfile, threading, time, traceback  # noqa: E401
STATUS_PARTS = ("Sample rate", "Sample width", "Channels", "Sample frames", "Seconds",
                "Playback status")
def workspace(extra_ini="", needs=(), home=False, first_start=False, folder="work"):
    # Five folders and a tk3.ini naming them; a missing service fails or skips (77).
    # first_start: an empty home and data folder, no settings; returns the home.
    needs = (("an X display", os.environ.get("DISPLAY")), ("the accessibility bus",
             os.path.exists("/usr/libexec/at-spi-bus-launcher")), *needs)
    missing = [what for what, there in needs if not there]
    if missing:
        print("missing: " + ", ".join(missing))
        sys.exit(1 if os.environ.get("TONSMITH_SERVICES") == "1" else 77)
    root = tempfile.mkdtemp(prefix="tonsmith-e2e.")
    atexit.register(shutil.rmtree, root, True)
    os.environ.update(XDG_CONFIG_HOME=root, XDG_DATA_HOME=os.path.join(root, "data"))
    if home or first_start:  # files on the home's file system go to the home trash
        os.environ["HOME"] = root
    if first_start:
        return root
    work = os.path.join(root, folder) + "/"
    for sub in ("orc", "sco", "src", "out", "ana", "../tonsmith"):
        os.makedirs(work + sub)
    with open(os.path.join(root, "tonsmith", "tk3.ini"), "w") as f:
        f.write("[DIRECTORIES]\n" + "".join(f"{key}={work}{sub}/\n" for key, sub in (
            ("orcdir", "orc"), ("scoredir", "sco"), ("ssdir", "src"), ("sfdir", "out"),
            ("sadir", "ana"))) + extra_ini.replace("{work}", work) +
            "[PREFERENCES]\ncsoundver=2\n[CSOUND]\ncsound path=/usr/bin/csound\n")
    return work
def write(path, text, mode=0o644):
    pathlib.Path(path).write_text(text)
    os.chmod(path, mode)
def null_sink():
    return "\ttest\t" in subprocess.run(["pactl", "list", "short", "sinks"],
                                         capture_output=True, text=True).stdout
def wait_for(probe, seconds, step=0.1):  # probe's first true value, or its last
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
    b, chunks, at = open(path, "rb").read(), {}, 12
    while at + 8 <= len(b):
        size = int.from_bytes(b[at + 4:at + 8], "little")
        chunks.setdefault(b[at:at + 4], b[at + 8:at + 8 + size])
        at += 8 + size + (size & 1)
    return chunks
def wav_complete(path):  # do the RIFF and data sizes account for the whole file?
    b = open(path, "rb").read()
    riff, at = int.from_bytes(b[4:8], "little"), b.find(b"data", 12)
    end = at + 8 + int.from_bytes(b[at + 4:at + 8], "little")
    return "complete" if at > 0 and riff + 8 == len(b) == end else \
        f"RIFF {riff + 8} and data end {end} of {len(b)} bytes"
def running(program):  # the pid of one with our settings folder, or None
    ours = ("XDG_CONFIG_HOME=" + os.environ["XDG_CONFIG_HOME"]).encode()
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/comm") as f, open(f"/proc/{pid}/environ", "rb") as e:
                if f.read().strip() == program[:15] and ours in e.read().split(b"\0"):
                    return int(pid)
        except OSError:
            pass
    return None
def parent(pid):  # the parent's pid and program file name, or (None, "")
    try:
        with open(f"/proc/{pid}/stat") as f:
            ppid = int(f.read().rsplit(")", 1)[1].split()[1])
        return ppid, os.path.basename(os.readlink(f"/proc/{ppid}/exe"))
    except (OSError, ValueError, IndexError):
        return None, ""
class Capture:  # the null sink's monitor in its own format: what was played, unchanged
    def __init__(self, path):
        self.path, self.out = path, open(path, "wb")
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
        return open(self.path, "rb").read()
def compare_left(want, got, loud=2000):
    # want against the left channel from the first loud sample: (frames, largest error)
    heard = [left for left, _ in struct.iter_unpack("<hh", got[:len(got) // 4 * 4])]
    first = next((i for i, v in enumerate(want) if abs(v) > loud), None)
    onset = next((i for i, v in enumerate(heard) if abs(v) > loud), None)
    if first is None or onset is None or onset < first:
        return None
    heard = heard[onset - first:onset - first + len(want)]
    return len(heard), max(abs(a - b) for a, b in zip(want, heard))
def end_leftovers():
    # A process still holding our output (a service some program had started, a console
    # left open) keeps the test runner waiting for the end of the test until its time
    # is up; it is named and ended instead. The session bus beside us is left to its owner.
    ours = {os.readlink(f"/proc/self/fd/{n}") for n in (1, 2)}
    keep = {os.getpid(), os.getppid()}
    for pid in map(int, filter(str.isdigit, os.listdir("/proc"))):
        try:
            held = {os.readlink(f"/proc/{pid}/fd/{n}") for n in (1, 2)} & ours
            if pid in keep or parent(pid)[0] == os.getppid() or not any(
                    h.startswith("pipe:") for h in held):
                continue
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                print("left running, ended:", pid, f.read().replace(b"\0", b" ").decode(
                    errors="replace")[:200], flush=True)
            os.kill(pid, signal.SIGKILL)
        except OSError:
            pass
class Session:
    def __init__(self, binary, cwd=None):
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        env.pop("QT_QPA_PLATFORM", None)  # the real display, not offscreen
        self.mismatches, self.root = [], None
        self.bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.3)
        self.app = subprocess.Popen([binary], env=env, cwd=cwd)
        sys.excepthook = self._fault
        # A run that hangs says where, before the test runner's own limit kills it unheard.
        watchdog = threading.Timer(float(os.environ.get("TONSMITH_E2E_DEADLINE", "200")),
                                   self._stuck)
        watchdog.daemon = True
        watchdog.start()
    def _stuck(self):
        print("STUCK: the script's threads, then the program's", flush=True)
        faulthandler.dump_traceback(all_threads=True)
        if shutil.which("gdb"):
            subprocess.run(["gdb", "-p", str(self.app.pid), "-batch", "-ex",
                            "thread apply all bt"], timeout=60, stdin=subprocess.DEVNULL)
        self.app.kill()
        self.bus.kill()
        end_leftovers()
        os._exit(1)
    def _fault(self, kind, value, tb):  # a script error still ends the program
        traceback.print_exception(kind, value, tb)
        self.require(False, f"{kind.__name__}: {value}")
    def expect(self, key, value, want):  # want: the value, or a test of it
        print(f"{key}={value}", flush=True)
        if not (want(value) if callable(want) else value == want):
            self.mismatches.append(f"{key}: saw {value!r}, expected {want!r}")
    def require(self, value, step):
        print("step: " + step + ("" if value else " FAILED"), flush=True)
        if not value:
            self.mismatches.append("stopped at: " + step)
            self.finish()
        return value
    def finish(self):
        # Ended as a user ends it, File > Exit, so it leaves the way it would: with
        # status 0 (under the sanitizers, also without a leak report).
        exit_item = self.root and self.find("Exit", "menu item")
        if not (exit_item and self.press(exit_item) and wait_for(
                lambda: self.app.poll() is not None, 20)):
            try:  # a box left open says most about why
                shown = [w.name for w in map(self.root.getChildAtIndex, range(self.root.childCount))
                         if w is not None]
            except Exception:
                shown = ["?"]
            self.mismatches.append("File > Exit did not end the program; open: " + ", ".join(shown))
            self.app.terminate()
        elif self.app.returncode != 0:
            self.mismatches.append(f"File > Exit ended with status {self.app.returncode}")
        try:
            self.app.wait(5)
        except subprocess.TimeoutExpired:
            self.app.kill()
        self.bus.terminate()
        self.bus.wait(5)
        end_leftovers()
        print("".join(f"MISMATCH {m}\n" for m in self.mismatches), end="", flush=True)
        sys.exit(1 if self.mismatches else 0)
    def find_window(self):
        try:
            self.wid = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                                       "^Tonsmith32 V3.3$"], capture_output=True, text=True,
                                      timeout=45).stdout.split()[0]
        except (subprocess.TimeoutExpired, IndexError):
            self.require(False, "the window")
        global pyatspi
        import pyatspi  # only once the bus runs
        desktop = pyatspi.Registry.getDesktop(0)
        self.root = self.require(wait_for(lambda: next(
            a for a in map(desktop.getChildAtIndex, range(desktop.childCount))
            if a is not None and a.name == "tonsmith"), 30), "the program on the accessibility bus")
        return self.wid
    def nodes(self, under=None):
        node = self.root if under is None else under
        try:
            return [node, *(n for c in map(node.getChildAtIndex, range(node.childCount))
                             if c is not None for n in self.nodes(c))]
        except Exception:  # a node vanished while we looked
            return [node]
    def find(self, name, role=None, under=None, showing=False):
        # showing: only on screen (a dialog's hidden pages keep their controls)
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
        return wait_for(lambda: next((w for w in map(self.root.getChildAtIndex, range(
            self.root.childCount)) if w is not None and w.name.strip() == caption.strip()), None), seconds)
    def children(self, list_name):
        lst = self.find(list_name, "list")
        return [lst.getChildAtIndex(i) for i in range(lst.childCount)] if lst else None
    def items(self, list_name):
        return [c.name for c in self.children(list_name) or []]
    def item(self, list_name, text):
        return next((c for c in self.children(list_name) or [] if c.name == text), None)
    def selected(self, list_name):
        return ",".join(c.name for c in self.children(list_name)
                        if c.getState().contains(pyatspi.STATE_SELECTED))
    def status(self):  # each part is named "what it is: what it shows"
        nodes = self.nodes()
        return "|".join(next((x.name[len(part) + 2:] for x in nodes if x.description == part),
                             "?") for part in STATUS_PARTS)
    def click(self, node, button=1, times=1):
        ext = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        subprocess.run(["xdotool", "mousemove", str(ext.x + ext.width // 2),
                        str(ext.y + ext.height // 2), "click", "--repeat", str(times),
                        "--delay", "60", str(button)])
    def play(self, list_name, name):  # a double-click on the entry; the status once playing
        # The lists are filled again when a run's end is noticed: a refill between the two
        # clicks takes the double-click away, as it would from a user, who clicks again.
        for _ in range(2):
            self.click(self.item(list_name, name), times=2)
            status = wait_for(lambda: (lambda t: t if t.endswith("Playing") else None)(
                self.status()), 5)
            if status:
                return status
            print("not playing after a double-click; status:", self.status(), flush=True)
        return None
    def press(self, node):  # no global key or pointer another program could take
        action = node.queryAction()
        i = next((i for i in range(action.nActions) if action.getName(i) in (
            "Press", "press", "click", "Click", "Trigger", "Toggle")), None)
        return i is not None and (action.doAction(i) or True)
    def press_named(self, caption, button, seconds=30):
        win = self.window_named(caption, seconds)
        node = win and self.wait_node(button, "push button", win, 5)
        return bool(node) and self.press(node)
    def type_into(self, node, text):
        node.queryEditableText().setTextContents(text)
        return node.queryText().getText(0, -1) == text
    def wait_status(self, test, seconds):  # once test accepts it, else as it is then
        return wait_for(lambda: (lambda t: t if test(t) else None)(self.status()),
                        seconds) or self.status()
    def wait_item(self, list_name, text, seconds=60):
        return wait_for(lambda: self.item(list_name, text), seconds, 0.2)
def screenshot(wid=None):  # the whole screen, or one window, as (width, height, rows of 0xRRGGBB)
    b = subprocess.run(["xwd", "-silent"] + (["-id", wid] if wid else ["-root"]),
                       capture_output=True, check=True).stdout
    head = struct.unpack(">25I", b[:100])
    width, height, msb, step, line = head[4], head[5], head[7], head[11] // 8, head[12]
    data, rows = b[head[0] + head[19] * 12:], []
    for y in range(height):
        row = data[y * line:y * line + width * step]
        lo, mid, hi = (row[2::step], row[1::step], row[0::step]) if msb else (
            row[0::step], row[1::step], row[2::step])
        rows.append([h << 16 | m << 8 | low for low, m, h in zip(lo, mid, hi)])
    return width, height, rows
def luminance(c):
    return sum(k * ((v / 255) / 12.92 if v <= 10 else ((v / 255 + 0.055) / 1.055) ** 2.4)
               for k, v in zip((0.2126, 0.7152, 0.0722), (c >> 16 & 255, c >> 8 & 255, c & 255)))
def contrast(a, b):
    hi, lo = sorted((luminance(a), luminance(b)), reverse=True)
    return (hi + 0.05) / (lo + 0.05)
def text_in(shot, box):
    # (contrast of the text against its ground, ink box) in box (x0, y0, x1, y1): the ground
    # is the commonest colour, the text the few strongest pixels against it
    x0, y0, x1, y1 = max(box[0], 0), max(box[1], 0), min(box[2], shot[0]), min(box[3], shot[1])
    counts = collections.Counter(c for y in range(y0, y1) for c in shot[2][y][x0:x1])
    if not counts:
        return 0, None
    ground = counts.most_common(1)[0][0]
    ratio = {c: contrast(c, ground) for c in counts}
    strong, seen = sorted(counts, key=ratio.get, reverse=True), 0
    for c in strong:  # the sixth strongest pixel: no lone stray dot decides
        seen += counts[c]
        if seen >= 6:
            break
    ink = [(x, y) for y in range(y0, y1) for x in range(x0, x1) if ratio[shot[2][y][x]] > 1.5]
    return ratio[c], ink and (min(x for x, _ in ink), min(y for _, y in ink),
                              max(x for x, _ in ink) + 1, max(y for _, y in ink) + 1)
def listen(*kinds):  # [(kind, name of its source)] of the accessibility events, as they come
    import pyatspi
    heard = []
    pyatspi.Registry.registerEventListener(lambda e: heard.append((e.type, e.source.name)), *kinds)
    return heard
def pump():  # deliver the events that came
    from gi.repository import GLib
    while GLib.MainContext.default().iteration(False):
        pass
def socket_path():  # where a running tonsmith of this user, display and settings listens
    import hashlib
    digest = hashlib.sha1((os.environ["XDG_CONFIG_HOME"] + "/tonsmith").encode()).hexdigest()
    return os.path.join(os.environ["XDG_RUNTIME_DIR"], "tonsmith-%d-%s-%s" % (
        os.getuid(), os.environ["DISPLAY"].replace(":", "_"), digest[:12]))
