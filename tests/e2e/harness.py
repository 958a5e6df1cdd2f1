"""What the end-to-end tests stand on: an X session of their own (Xvfb, openbox, trayer), the
demo site, a program folder laid out as a seller has it, the processes started from it, and
xdotool to drive the windows. Every wait is bounded and everything started is stopped again.
"""

import ctypes
import ctypes.util
import os
import re
import select
import signal
import subprocess
import sys
import tempfile
import time

SCREEN = (1280, 1024)
# The double-click time of the session's programs, in milliseconds.
DOUBLE_CLICK_MS = 1200
# Sanitizer builds run several times slower; every timeout is scaled by this.
SLOWNESS = float(os.environ.get("KESTO_E2E_SLOWNESS", "1"))


class Skip(Exception):
    """The tests cannot run here (no X server); not a failure of the platform."""


class Failure(AssertionError):
    pass


def wait_until(predicate, timeout, what, interval=0.1):
    """The first true value of predicate(), or Failure after timeout seconds."""
    deadline = time.monotonic() + timeout * SLOWNESS
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout * SLOWNESS:.0f} s waiting for {what}")
        time.sleep(interval)


def stop_process(process, grace=3.0):
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


# ---- processes ----

def process_state(pid):
    """The one-letter state of a process, None when it is gone."""
    try:
        with open(f"/proc/{pid}/stat", "rb") as f:
            return f.read().rsplit(b")", 1)[1].split()[0].decode()
    except (OSError, IndexError):
        return None


def is_alive(pid):
    return process_state(pid) not in (None, "Z", "X")


def parent_of(pid):
    try:
        with open(f"/proc/{pid}/stat", "rb") as f:
            return int(f.read().rsplit(b")", 1)[1].split()[1])
    except (OSError, IndexError, ValueError):
        return None


def command_line(pid):
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            return [arg.decode("utf-8", "replace") for arg in f.read().split(b"\0") if arg]
    except OSError:
        return []


def all_pids():
    return [int(name) for name in os.listdir("/proc") if name.isdigit()]


def programs_below(folder):
    """{pid: program path} of the live processes whose program file lies below folder."""
    folder = os.path.realpath(folder) + os.sep
    found = {}
    for pid in all_pids():
        try:
            exe = os.readlink(f"/proc/{pid}/exe")
        except OSError:
            continue
        if exe.startswith(folder) and is_alive(pid):
            found[pid] = exe
    return found


def descendants(pids):
    children = {}
    for pid in all_pids():
        children.setdefault(parent_of(pid), []).append(pid)
    found, queue = set(), list(pids)
    while queue:
        for child in children.get(queue.pop(), []):
            if child not in found:
                found.add(child)
                queue.append(child)
    return found


def kill_all(pids, grace=3.0):
    """Ends the processes and everything they started: TERM first, KILL what is left.

    Each is held by a process descriptor from the moment it is found, so that a number that
    ended meanwhile and came round to another program (other tests run beside these) is never
    signalled."""
    held = []
    for pid in set(pids) | descendants(pids):
        try:
            held.append(os.pidfd_open(pid))
        except OSError:
            pass  # gone already
    try:
        for sig in (signal.SIGTERM, signal.SIGKILL):
            for handle in held:
                try:
                    signal.pidfd_send_signal(handle, sig)
                except OSError:
                    pass
            deadline = time.monotonic() + grace
            while time.monotonic() < deadline and not all(map(has_ended, held)):
                time.sleep(0.05)
    finally:
        for handle in held:
            os.close(handle)


def has_ended(handle):
    """Whether the process held by a process descriptor has ended."""
    return bool(select.select([handle], [], [], 0)[0])


# ---- the X session ----

class XSession:
    """Xvfb on a display of its own, with openbox and trayer, and xdotool bound to it."""

    def __init__(self, work):
        self.work = work
        self.display = None
        self.processes = []
        home = os.path.join(work, "home")
        os.makedirs(home, exist_ok=True)
        self.env = {
            key: value for key, value in os.environ.items()
            if not key.lower().endswith("_proxy") and key not in ("DISPLAY", "WAYLAND_DISPLAY")
        }
        # No session bus, so no tray host of the desktop the tests run from, unless a case
        # starts one of its own (TrayHost).
        self.env["DBUS_SESSION_BUS_ADDRESS"] = f"unix:path={os.path.join(work, 'no-bus')}"
        # A home of its own: the browser engine's caches start empty and stay out of the user's.
        self.env.update(HOME=home, XDG_CACHE_HOME=os.path.join(home, ".cache"),
                        XDG_CONFIG_HOME=os.path.join(home, ".config"),
                        XDG_DATA_HOME=os.path.join(home, ".local/share"),
                        NO_AT_BRIDGE="1", GDK_BACKEND="x11", LANG="C.UTF-8")
        # xdotool's two presses of a double click can reach the server far apart under load.
        gtk_settings = os.path.join(home, ".config", "gtk-3.0")
        os.makedirs(gtk_settings, exist_ok=True)
        with open(os.path.join(gtk_settings, "settings.ini"), "w") as f:
            f.write(f"[Settings]\ngtk-double-click-time={DOUBLE_CLICK_MS}\n")

    def start(self):
        if not self.which("Xvfb"):
            raise Skip("Xvfb is not installed")
        if not self.start_server():
            raise Skip("no X server could be started")
        self.env["DISPLAY"] = self.display
        # At the first key xdotool presses, the server gives the keyboard the map of xdotool's
        # own device. The window manager takes that change by dropping its key bindings and
        # taking them again, and a key that comes meanwhile (the first Alt+F4) reaches the
        # window instead. So that first key is pressed before the window manager starts.
        self.xdotool("key", "shift")
        self.spawn(["openbox", "--sm-disable"], "openbox")
        wait_until(lambda: "window id #" in self.output("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                   20, "the window manager")
        for attempt in range(2):
            # trayer now and then gives up when it starts while the window manager settles.
            tray = self.spawn(["trayer", "--edge", "bottom", "--align", "right", "--widthtype",
                               "request", "--height", "32", "--SetDockType", "true",
                               "--transparent", "false"], "trayer")
            try:
                wait_until(lambda: self.windows_named("panel"), 10, "the tray host")
                break
            except Failure:
                stop_process(tray)
                if attempt:
                    raise

    def start_server(self):
        """The server picks a free display number itself and names it once it takes connections
        (-displayfd): a number looked for here first could be taken by another test's server in
        the meantime, and both tests would then drive one screen."""
        log = open(os.path.join(self.work, "xvfb.log"), "wb")
        numbers, server_end = os.pipe()
        process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(server_end), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24",
             "-nolisten", "tcp", "-noreset"], stdout=log, stderr=log, pass_fds=(server_end,),
            start_new_session=True)
        os.close(server_end)
        line = b""
        deadline = time.monotonic() + 10
        try:
            while not line.endswith(b"\n") and time.monotonic() < deadline:
                if not select.select([numbers], [], [], deadline - time.monotonic())[0]:
                    break
                piece = os.read(numbers, 16)
                if not piece:
                    break  # the server ended
                line += piece
        finally:
            os.close(numbers)
        if not line.strip().isdigit():
            stop_process(process)
            return False
        self.display = f":{line.strip().decode()}"
        self.processes.append(process)
        return True

    @staticmethod
    def which(program):
        return any(os.access(os.path.join(folder, program), os.X_OK)
                   for folder in os.environ.get("PATH", "").split(os.pathsep))

    def spawn(self, argv, name):
        log = open(os.path.join(self.work, f"{name}.log"), "ab")
        process = subprocess.Popen(argv, env=self.env, stdout=log, stderr=log,
                                   start_new_session=True)
        self.processes.append(process)
        return process

    def stop(self):
        for process in reversed(self.processes):
            stop_process(process)
        self.processes = []

    # ---- xdotool and friends ----

    def output(self, *argv, timeout=15):
        try:
            result = subprocess.run(argv, env=self.env, capture_output=True, timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"{argv[0]} did not answer within {timeout} s")
        return result.stdout.decode("utf-8", "replace")

    def xdotool(self, *args):
        return self.output("xdotool", *[str(a) for a in args])

    def windows_named(self, name, visible_only=True):
        args = ["search"] + (["--onlyvisible"] if visible_only else []) + ["--name", name]
        return [int(line) for line in self.xdotool(*args).split()]

    def windows_of(self, pids):
        """The visible windows the processes made, menus included, as a set."""
        found = set()
        for pid in pids:
            found.update(int(line) for line in
                         self.xdotool("search", "--onlyvisible", "--pid", pid).split())
        return found

    def is_viewable(self, window):
        return "IsViewable" in self.output("xwininfo", "-id", str(window))

    def geometry(self, window):
        """(x, y, width, height) of a window on the screen."""
        values = {}
        for line in self.xdotool("getwindowgeometry", "--shell", window).splitlines():
            key, _, value = line.partition("=")
            values[key] = int(value) if value.lstrip("-").isdigit() else 0
        if "WIDTH" not in values:
            raise Failure(f"window {window} has no geometry")
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    def active_window(self):
        text = self.xdotool("getactivewindow").strip()
        return int(text) if text.isdigit() else 0

    def describe_windows(self):
        """The window manager's view, for a failure's evidence: the active window and every
        managed window, bottom to top, with its name and process."""
        lines = [f"active: {self.active_window()}", "stacking, bottom to top:"]
        stacking = self.output("xprop", "-root", "_NET_CLIENT_LIST_STACKING")
        for window in re.findall(r"0x[0-9a-f]+", stacking):
            window = int(window, 16)
            name = self.xdotool("getwindowname", window).strip()
            pid = self.xdotool("getwindowpid", window).strip()
            shown = "viewable" if self.is_viewable(window) else "not viewable"
            lines.append(f"  {window} pid {pid} {name!r} {shown}")
        return "\n".join(lines) + "\n"

    def click(self, x, y, button=1, repeat=1):
        self.move(x, y)
        self.xdotool("click", "--repeat", repeat, "--delay", 120, button)

    def move(self, x, y):
        # Not "--sync": that waits for a motion, and there is none when the pointer is there.
        self.xdotool("mousemove", x, y)
        time.sleep(0.2)

    def key(self, name, window=None):
        if window:
            self.xdotool("windowactivate", "--sync", window)
        self.xdotool("key", name)

    def screenshot(self, path):
        subprocess.run(["import", "-display", self.display, "-window", "root", path], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)

    def find_colour(self, window, region, colour, tolerance=6, step=2):
        """Centre (window coordinates) of the pixels of a colour inside region = (left, top,
        right, bottom) of the window, or None when fewer than a few dozen match."""
        _, _, width, height = self.geometry(window)
        pixels = self.pixels(window)
        if len(pixels) != width * height * 3:
            return None
        left, top, right, bottom = region
        xs, ys = [], []
        for y in range(max(top, 0), min(bottom, height), step):
            row = y * width * 3
            for x in range(max(left, 0), min(right, width), step):
                at = row + x * 3
                if all(abs(pixels[at + i] - colour[i]) <= tolerance for i in range(3)):
                    xs.append(x)
                    ys.append(y)
        if len(xs) < 50:
            return None
        return sum(xs) // len(xs), sum(ys) // len(ys)

    def pixels(self, window):
        """The window's current pixels as raw RGB bytes (empty when it cannot be read)."""
        # Read with XGetImage in this process: import holds the X server while it reads, and
        # under load it came back too late to see a progress bar move. Where XGetImage refuses
        # the window (seen now and then with the update window), import is asked after all.
        rgb = x11_window_rgb(self.display, window)
        if rgb:
            return rgb
        try:
            result = subprocess.run(["import", "-display", self.display, "-window", str(window),
                                     "-depth", "8", "rgb:-"], env=self.env, capture_output=True,
                                    timeout=10)
        except subprocess.TimeoutExpired:
            return b""
        return result.stdout if result.returncode == 0 else b""


# ---- reading a window's pixels ----

def read_line(pipe, timeout, what):
    """The next line a child process writes to `pipe`, without its end of line."""
    line = b""
    deadline = time.monotonic() + timeout * SLOWNESS
    while not line.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([pipe], [], [], left)[0]:
            raise Failure(f"timed out waiting for {what}")
        piece = os.read(pipe.fileno(), 1)
        if not piece:
            raise Failure(f"ended while waiting for {what}")
        line += piece
    return line[:-1].decode("utf-8", "replace")


class TrayHost:
    """A session bus of its own (dbus-daemon) with a stand-in StatusNotifier tray host on it
    (tray_host.py, run by the system's Python for its GObject bindings); the session's
    programs started after it see the bus."""

    def __init__(self, session, processes):
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               start_new_session=True)
        processes.append(bus)
        session.env["DBUS_SESSION_BUS_ADDRESS"] = read_line(bus.stdout, 10, "the session bus")
        self.host = subprocess.Popen(
            ["/usr/bin/python3", os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                              "tray_host.py")],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, env=session.env,
            start_new_session=True)
        processes.append(self.host)
        self.expect("watching")

    def expect(self, start, timeout=15):
        line = read_line(self.host.stdout, timeout, f'the tray host to say "{start}"')
        if not line.startswith(start):
            raise Failure(f'the tray host said "{line}", not "{start}"')
        return line

    def command(self, line):
        self.host.stdin.write(line.encode() + b"\n")
        self.host.stdin.flush()
        self.expect("done")


class _XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


_xlib = None


def _x11():
    global _xlib
    if _xlib is None:
        _xlib = ctypes.CDLL(ctypes.util.find_library("X11"))
        _xlib.XOpenDisplay.restype = ctypes.c_void_p
        _xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        _xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        _xlib.XGetGeometry.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + \
            [ctypes.POINTER(ctypes.c_ulong)] + [ctypes.POINTER(ctypes.c_int)] * 2 + \
            [ctypes.POINTER(ctypes.c_uint)] * 4
        _xlib.XGetImage.restype = ctypes.POINTER(_XImage)
        _xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                    ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        _xlib.XFree.argtypes = [ctypes.c_void_p]
        _xlib.XSetErrorHandler.argtypes = [ctypes.c_void_p]
        _xlib.XSetErrorHandler(_IGNORE_X_ERRORS)
    return _xlib


# A window that went away is a missed look, not the end of the test program.
_IGNORE_X_ERRORS = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(
    lambda display, event: 0)


def x11_window_rgb(display_name, window):
    """RGB bytes of a 24- or 32-bit window, row by row; empty when it cannot be read."""
    xlib = _x11()
    display = xlib.XOpenDisplay(display_name.encode())
    if not display:
        return b""
    try:
        root = ctypes.c_ulong()
        x, y = ctypes.c_int(), ctypes.c_int()
        width, height, border, depth = (ctypes.c_uint() for _ in range(4))
        if not xlib.XGetGeometry(display, window, ctypes.byref(root), ctypes.byref(x),
                                 ctypes.byref(y), ctypes.byref(width), ctypes.byref(height),
                                 ctypes.byref(border), ctypes.byref(depth)):
            return b""
        image = xlib.XGetImage(display, window, 0, 0, width.value, height.value,
                               0xFFFFFFFF, 2)  # all planes, ZPixmap
        if not image:
            return b""
        info = image.contents
        rows, stride, row_bytes = info.height, info.bytes_per_line, info.width * 4
        raw = ctypes.string_at(info.data, stride * rows) if info.bits_per_pixel == 32 else b""
        xlib.XFree(info.data)
        xlib.XFree(image)
        pixels = b"".join(raw[row * stride:row * stride + row_bytes] for row in range(rows))
        # Little-endian pixels: blue, green, red, unused.
        rgb = bytearray(len(pixels) // 4 * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = pixels[2::4], pixels[1::4], pixels[0::4]
        return bytes(rgb)
    finally:
        xlib.XCloseDisplay(display)


# ---- the demo site ----

class Site:
    def __init__(self, server, port, packages, log, extra=()):
        self.argv = [sys.executable, server, "--port", str(port), "--packages", packages,
                     "--log", log, *extra]
        self.log = log
        self.process = None

    def start(self, env):
        self.process = subprocess.Popen(self.argv, env=env, stdout=subprocess.PIPE,
                                        stderr=subprocess.STDOUT, start_new_session=True)
        line = self.process.stdout.readline().decode()
        if not line.startswith("serving on"):
            rest = self.process.stdout.read().decode() if self.process.poll() is not None else ""
            raise Failure(f"the demo site did not start: {line}{rest}")

    def requests(self):
        try:
            with open(self.log, encoding="utf-8") as f:
                return f.read().splitlines()
        except OSError:
            return []

    def stop(self):
        stop_process(self.process)


# ---- the program folder ----

def read_ini(path):
    """{section: {key: value}} of a profile file, names lower-cased as Windows matches them."""
    sections, current = {}, None
    try:
        with open(path, "rb") as f:
            text = f.read().decode("gbk", "replace")
    except OSError:
        return sections
    for line in text.splitlines():
        stripped = line.strip()
        if stripped.startswith("[") and "]" in stripped:
            current = sections.setdefault(stripped[1:stripped.index("]")].strip().lower(), {})
        elif current is not None and "=" in line:
            key, value = line.split("=", 1)
            current.setdefault(key.strip().lower(), value.strip())
    return sections


def atoi(text):
    digits = ""
    for char in text.strip():
        if char.isdigit() or (not digits and char in "+-"):
            digits += char
        else:
            break
    try:
        return int(digits)
    except ValueError:
        return 0


class ProgramFolder:
    def __init__(self, path):
        self.path = path
        self.config = os.path.join(path, "qmztx.ini")

    def ini(self):
        return read_ini(self.config)

    def window_of(self, key):
        return atoi(self.ini().get("jb", {}).get(key, ""))

    def platforms(self):
        """{pid: argv} of the running platform programs of this folder."""
        return {pid: command_line(pid) for pid, exe in programs_below(self.path).items()
                if os.path.basename(exe) == "kesto"}

    def tools(self, key=None):
        """{pid: key} of the running applications below the app folder."""
        app = os.path.join(os.path.realpath(self.path), "app") + os.sep
        found = {}
        for pid, exe in programs_below(self.path).items():
            if exe.startswith(app) and exe.endswith(".qmz"):
                name = os.path.basename(exe).split(".")[0]
                if key is None or name == key:
                    found[pid] = name
        return found

    def leftovers(self):
        """Names of download folders the updater left in the program folder; its .up-stage,
        where it keeps the last feed it accepted and the releases waiting for a start, stays."""
        return [name for name in os.listdir(self.path)
                if name.startswith(".up-") and name != ".up-stage"]


def new_work_folder(prefix):
    folder = tempfile.mkdtemp(prefix=prefix)
    if "/app" in folder:
        raise Skip(f"temporary folder {folder} has /app in its path, which the platform's "
                   "qmztx.ini rule reads as a tool's folder; set TMPDIR elsewhere")
    return folder
