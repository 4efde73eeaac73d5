"""The real program: it starts, shows MainWindow centred, and ends with exit
code 0 when the window is closed the way a user closes it.

    /usr/bin/python3 test_frame.py path/to/qinghe-calculator path/to/end_program_probe
"""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from qhproc import App, XServer  # noqa: E402

BINARY = None
PROBE = None


class Frame(unittest.TestCase):
    def setUp(self):
        self.x = XServer(1024, 768).__enter__()
        self.addCleanup(self.x.__exit__, None, None, None)

    def test_window_opens_centred_and_closing_it_ends_with_zero(self):
        with App(BINARY, self.x) as app:
            win = app.wait_window("青禾计算器")
            x, y, width, height = app.geometry(win)
            self.assertEqual((width, height), (248, 272))
            self.assertEqual((x, y), ((1024 - 248) // 2, (768 - 272) // 2))
            app.close(win)
            self.assertEqual(app.wait_exit(), 0, app.stderr())

    def test_a_second_close_request_changes_nothing(self):
        with App(BINARY, self.x) as app:
            win = app.wait_window("青禾计算器")
            app.close(win)
            app.close(win)
            self.assertEqual(app.wait_exit(), 0, app.stderr())

    def test_error_box_then_end_program_runs_the_exit_routine(self):
        # The probe shows an error box captioned 错误, then calls EndProgram(3).
        with App(PROBE, self.x, config=None) as app:
            app.press_ok("错误")
            self.assertEqual(app.wait_exit(), 3, app.stderr())
            self.assertEqual(app.stdout().splitlines(), ["box dismissed", "exit routine ran"])


if __name__ == "__main__":
    BINARY = sys.argv.pop(1)
    PROBE = sys.argv.pop(1)
    unittest.main(verbosity=2)
