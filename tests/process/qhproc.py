"""Runs the real qinghe-calculator on a private Xvfb display for process tests.

    from qhproc import XServer, App

    with XServer() as x:
        with App(binary, x) as app:              # copies config.ini from beside binary
            win = app.wait_window("青禾计算器")
            app.close(win)                          # as a user closes it: WM_DELETE_WINDOW
            assert app.wait_exit() == 0

App(binary, x, config=path) copies that file as config.ini beside a private copy
of the program (config=None: no config.ini at all); App.press_ok(caption) presses
Enter in the message box with that caption.  Exit codes are as the shell sees
them: -1 is 255.

Run with /usr/bin/python3 (python3-xlib).
"""

import os
import shutil
import subprocess
import tempfile
import time

from Xlib import X, Xatom, display, error, protocol

BESIDE_BINARY = object()


# A small well-formed config.ini, as text: the program reads it as GBK with
# CR LF line ends and nothing after the end marker.
SMALL_CONFIG = "\r\n".join([
    ";//配置开始___",
    "【高级配置】",
    "约等到的位置为2",
    "π取值11位小数",
    "【单位配置】",
    "    类型=长度",
    "        名称=千米‖倍率=1000",
    "        名称=米‖倍率=1",
    ";//配置结束___",
])


class XServer:
    """A private Xvfb server; its display number comes from Xvfb itself, so
    parallel test runs never race for one."""

    def __init__(self, width=1024, height=768):
        self.width, self.height = width, height
        self.proc = None
        self.name = None
        self.conn = None

    def __enter__(self):
        read_fd, write_fd = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
             f"{self.width}x{self.height}x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        with os.fdopen(read_fd, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    raise RuntimeError("Xvfb did not start")
                number += chunk
        self.name = ":" + number.decode().strip()
        self.conn = display.Display(self.name)
        return self

    def __exit__(self, *exc):
        if self.conn is not None:
            self.conn.close()
        if self.proc is not None:
            self.proc.terminate()
            self.proc.wait(timeout=10)
        return False


class App:
    def __init__(self, binary, xserver, config=BESIDE_BINARY, env=None):
        self.x = xserver
        self.dir = tempfile.mkdtemp(prefix="qinghe-")
        # A copy, not a link: the program looks for config.ini beside its own
        # file, and the system resolves links to find that file.
        self.exe = os.path.join(self.dir, os.path.basename(binary))
        shutil.copy2(binary, self.exe)
        if config is BESIDE_BINARY:
            config = os.path.join(os.path.dirname(os.path.abspath(binary)), "config.ini")
            if not os.path.exists(config):
                config = None
        if config is not None:
            shutil.copyfile(config, self.config_path)
        self.env = dict(os.environ)
        self.env.update({"DISPLAY": self.x.name, "QT_QPA_PLATFORM": "xcb"})
        if env:
            self.env.update(env)
        self.proc = None

    @property
    def config_path(self):
        return os.path.join(self.dir, "config.ini")

    def __enter__(self):
        # Output goes to files: a pipe nobody reads could stall the program.
        self._out = open(os.path.join(self.dir, "stdout.txt"), "wb")
        self._err = open(os.path.join(self.dir, "stderr.txt"), "wb")
        self.proc = subprocess.Popen([self.exe], cwd=self.dir, env=self.env,
                                     stdout=self._out, stderr=self._err)
        return self

    def __exit__(self, *exc):
        if self.proc is not None and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        if self.proc is not None:
            self._out.close()
            self._err.close()
        shutil.rmtree(self.dir, ignore_errors=True)
        return False

    # ----- windows -----------------------------------------------------------

    def _windows(self):
        conn = self.x.conn
        root = conn.screen().root
        stack = [root]
        while stack:
            w = stack.pop()
            try:
                stack.extend(w.query_tree().children)
            except error.XError:
                continue
            yield w

    def _caption(self, w):
        conn = self.x.conn
        try:
            prop = w.get_full_property(conn.intern_atom("_NET_WM_NAME"),
                                       conn.intern_atom("UTF8_STRING"))
            if prop is None:
                prop = w.get_full_property(Xatom.WM_NAME, X.AnyPropertyType)
        except error.XError:
            return None
        if prop is None:
            return None
        value = prop.value
        return value.decode("utf-8", "replace") if isinstance(value, bytes) else str(value)

    def _pid(self, w):
        conn = self.x.conn
        try:
            prop = w.get_full_property(conn.intern_atom("_NET_WM_PID"), Xatom.CARDINAL)
        except error.XError:
            return None
        return prop.value[0] if prop is not None and len(prop.value) else None

    def _mapped(self, w):
        try:
            return w.get_attributes().map_state == X.IsViewable
        except error.XError:
            return False

    def find_window(self, caption):
        """The program's shown top-level window with that caption, or None."""
        for w in self._windows():
            if (self._caption(w) == caption and self._pid(w) == self.proc.pid
                    and self._mapped(w)):
                return w
        return None

    def wait_window(self, caption, timeout=15):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            w = self.find_window(caption)
            if w is not None:
                return w
            if self.proc.poll() is not None:
                raise AssertionError(
                    f"the program ended with {self.proc.returncode} before showing "
                    f"{caption!r}; stderr: {self.stderr()}")
            time.sleep(0.05)
        raise AssertionError(f"no window {caption!r} within {timeout} s")

    def geometry(self, w):
        """(x, y, width, height) of the window's client area on the screen."""
        g = w.get_geometry()
        pos = w.translate_coords(self.x.conn.screen().root, 0, 0)
        return (-pos.x, -pos.y, g.width, g.height)

    def close(self, w):
        """Asks the window to close, as the close box of a title bar does."""
        conn = self.x.conn
        protocols = conn.intern_atom("WM_PROTOCOLS")
        delete = conn.intern_atom("WM_DELETE_WINDOW")
        event = protocol.event.ClientMessage(
            window=w, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        w.send_event(event, event_mask=X.NoEventMask)
        conn.flush()

    def press_ok(self, caption, timeout=15):
        """Presses Enter in the message box with that caption (its OK button)."""
        w = self.wait_window(caption, timeout)
        subprocess.run(["xdotool", "windowfocus", "--sync", str(w.id)],
                       env=self.env, check=True, timeout=10)
        subprocess.run(["xdotool", "key", "Return"], env=self.env, check=True, timeout=10)

    # ----- the process ---------------------------------------------------------

    def wait_exit(self, timeout=15):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the program did not end within {timeout} s")

    def stdout(self):
        with open(os.path.join(self.dir, "stdout.txt"), "rb") as f:
            return f.read().decode("utf-8", "replace")

    def stderr(self):
        with open(os.path.join(self.dir, "stderr.txt"), "rb") as f:
            return f.read().decode("utf-8", "replace")
