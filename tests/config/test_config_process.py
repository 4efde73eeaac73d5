"""The real program beside a missing or malformed config.ini: it shows the
error box captioned 错误提示 without its main window, and ends with exit code
0 once the box is closed. A file that passes the four checks starts it.

    /usr/bin/python3 test_config_process.py path/to/qinghe-calculator
"""

import os
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "process"))
from qhproc import SMALL_CONFIG, App, XServer  # noqa: E402

BINARY = None

EXAMPLE = SMALL_CONFIG
GBK = EXAMPLE.encode("gbk")
END = ";//配置结束___".encode("gbk")

MALFORMED = {
    "a line break after the end marker": GBK + b"\r\n",
    "UTF-8": EXAMPLE.encode("utf-8"),
    "a byte-order mark": b"\xef\xbb\xbf" + GBK,
    "a zero byte before the end marker": GBK[:-len(END)] + b"\0" + END,
}


class ConfigAtStartUp(unittest.TestCase):
    def setUp(self):
        self.x = XServer(1024, 768).__enter__()
        self.addCleanup(self.x.__exit__, None, None, None)
        self.files = tempfile.TemporaryDirectory()
        self.addCleanup(self.files.cleanup)

    def config(self, data):
        path = os.path.join(self.files.name, "config.ini")
        with open(path, "wb") as f:
            f.write(data)
        return path

    def refuses(self, config):
        with App(BINARY, self.x, config=config) as app:
            box = app.wait_window("错误提示")
            self.assertIsNotNone(box)
            # The box stands alone: the main window is never shown.
            time.sleep(0.3)
            self.assertIsNone(app.find_window("青禾计算器"))
            app.press_ok("错误提示")
            self.assertEqual(app.wait_exit(), 0, app.stderr())
            self.assertIsNone(app.find_window("青禾计算器"))

    def test_missing_file(self):
        self.refuses(None)

    def test_malformed_files(self):
        for name, data in MALFORMED.items():
            with self.subTest(name):
                self.refuses(self.config(data))

    def test_bytes_after_a_zero_right_after_the_end_marker_do_not_count(self):
        with App(BINARY, self.x, config=self.config(GBK + b"\0\r\nanything")) as app:
            win = app.wait_window("青禾计算器")
            self.assertIsNone(app.find_window("错误提示"))
            app.close(win)
            self.assertEqual(app.wait_exit(), 0, app.stderr())


if __name__ == "__main__":
    BINARY = sys.argv.pop(1)
    unittest.main(verbosity=2)
