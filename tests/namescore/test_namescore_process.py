"""The real program under Xvfb: a name is typed on the 人品测试 page, 开始测试 is
clicked, and the window is closed while the score counts up. The program
must end with exit code 0 within a second of the close request.

    /usr/bin/python3 test_namescore_process.py path/to/qinghe-calculator
"""

import os
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "process"))
from qhproc import SMALL_CONFIG, App, XServer  # noqa: E402
from Xlib import X  # noqa: E402

BINARY = None

# Places on MainWindow's client area.
TAB_NAMESCORE = (140, 13)      # the third tab, 人品测试
NAME_BOX = (96, 120)           # 姓名编辑框 at 16,104 size 160x32
TEST_BUTTON = (208, 120)       # 测试按钮 at 176,104 size 64x32
COUNT_AREA = (16, 152, 224, 112)  # 测试进度条 down to 得分标签 and 等级标签


class NameScoreProcess(unittest.TestCase):
    def setUp(self):
        self.x = XServer(1024, 768).__enter__()
        self.addCleanup(self.x.__exit__, None, None, None)
        fd, self.config = tempfile.mkstemp(suffix=".ini")
        with os.fdopen(fd, "wb") as f:
            f.write(SMALL_CONFIG.encode("gbk"))
        self.addCleanup(os.remove, self.config)

    def xdotool(self, app, *args):
        subprocess.run(["xdotool", *args], env=app.env, check=True, timeout=10)

    def click(self, app, win, at):
        self.xdotool(app, "mousemove", "--window", str(win.id), str(at[0]), str(at[1]))
        self.xdotool(app, "click", "1")

    def grab(self, win, area):
        x, y, w, h = area
        image = win.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF)
        return bytes(image.data)

    def start_count(self, app, name):
        """Types `name` on the name score page and clicks 开始测试; answers
        the window once the count is seen running."""
        win = app.wait_window("青禾计算器")
        keypad = self.grab(win, COUNT_AREA)
        self.click(app, win, TAB_NAMESCORE)
        deadline = time.monotonic() + 5
        while self.grab(win, COUNT_AREA) == keypad:
            self.assertLess(time.monotonic(), deadline, "the name score page did not show")
            time.sleep(0.05)
        self.click(app, win, NAME_BOX)
        self.xdotool(app, "windowfocus", "--sync", str(win.id))
        self.xdotool(app, "type", "--delay", "20", name)
        time.sleep(0.2)
        before = self.grab(win, COUNT_AREA)
        self.click(app, win, TEST_BUTTON)
        # The bar and the score move on every 100 ms.
        seen = {before}
        deadline = time.monotonic() + 5
        while len(seen) < 3:
            self.assertLess(time.monotonic(), deadline, "the count-up did not start")
            time.sleep(0.15)
            seen.add(self.grab(win, COUNT_AREA))
        return win

    def close_during_count(self, name, counting):
        with App(BINARY, self.x, config=self.config) as app:
            win = self.start_count(app, name)
            time.sleep(counting)
            self.assertIsNone(app.proc.poll(), "the program ended before the close")
            # Still counting: the page keeps changing.
            first = self.grab(win, COUNT_AREA)
            time.sleep(0.25)
            self.assertNotEqual(self.grab(win, COUNT_AREA), first, "the count had stopped")
            closed = time.monotonic()
            app.close(win)
            code = app.wait_exit(timeout=10)
            took = time.monotonic() - closed
            self.assertEqual(code, 0, app.stderr())
            self.assertLess(took, 1.0, f"ended {took:.2f} s after the close request")
            # Nothing complained on the way out (a handler writing to a
            # destroyed control, a sanitizer report); Qt's note about the
            # test machine's missing XDG_RUNTIME_DIR aside.
            complaints = [line for line in app.stderr().splitlines()
                          if line.strip() and not line.startswith("QStandardPaths:")]
            self.assertEqual(complaints, [])

    def test_closed_early_in_the_count(self):
        self.close_during_count("cj", 0.0)  # scores 99: 9.9 s of counting

    def test_closed_late_in_the_count(self):
        self.close_during_count("Tom", 1.5)  # scores 98


if __name__ == "__main__":
    BINARY = sys.argv.pop(1)
    unittest.main(verbosity=2)
