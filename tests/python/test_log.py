"""The plug-ins' standard-output lines: left alone, or captured as lines."""

import os
import subprocess
import sys
import unittest

import dghost
import dghost.cmds as cmds
from support import ECHO_PLUGIN, SAMPLE, SceneTest


class CaptureTest(SceneTest):
    def test_lines_are_collected_while_the_block_runs(self):
        with dghost.captured_log() as lines:
            cmds.pyEcho(o="first")
            self.assertEqual(lines, ["first"])
            cmds.pyEcho(o="second\nthird")
        cmds.pyEcho(o="after the block")
        self.assertEqual(lines, ["first", "second", "third"])

    def test_an_unfinished_last_line_is_kept(self):
        with dghost.captured_log() as lines:
            cmds.print("no line end")
        self.assertEqual(lines, ["no line end"])

    def test_captures_nest(self):
        with dghost.captured_log() as outer:
            cmds.pyEcho(o="outer 1")
            with dghost.captured_log() as inner:
                cmds.pyEcho(o="inner")
            cmds.pyEcho(o="outer 2")
        self.assertEqual((outer, inner), (["outer 1", "outer 2"], ["inner"]))

    def test_an_exception_in_the_block_ends_the_capture(self):
        with self.assertRaises(KeyError):
            with dghost.captured_log() as lines:
                cmds.pyEcho(o="kept")
                raise KeyError("stop")
        with dghost.captured_log() as later:
            cmds.pyEcho(o="later")
        self.assertEqual((lines, later), (["kept"], ["later"]))

    def test_the_import_progress_lines_are_captured(self):
        with dghost.captured_log() as lines:
            cmds.XmlLoadFile(f=SAMPLE, n="farm")
        self.assertIn("Creating XML DocNode Name", lines)
        self.assertGreater(len(lines), 50)
        self.assertTrue(all("\n" not in line for line in lines))


class DefaultOutputTest(unittest.TestCase):
    def test_without_capture_the_lines_go_to_standard_output(self):
        script = (
            "import dghost, dghost.cmds as cmds, sys\n"
            f"cmds.loadPlugin({ECHO_PLUGIN!r})\n"
            "cmds.pyEcho(o='from the plug-in')\n"
            "with dghost.captured_log():\n"
            "    cmds.pyEcho(o='captured')\n"
            "cmds.pyEcho(o='again')\n"
        )
        done = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True,
                              env=dict(os.environ), check=True)
        self.assertEqual(done.stdout.splitlines(), ["from the plug-in", "again"])


class LoggerTest(SceneTest):
    def test_failed_commands_log_their_errors_before_raising(self):
        with self.assertLogs("dghost", "INFO") as logged, self.assertRaises(dghost.CommandError):
            cmds.pyEcho(er="no good", w="heads up", f=True)
        self.assertEqual(sorted(logged.output), ["ERROR:dghost:no good", "WARNING:dghost:heads up"])

    def test_messages_outside_any_command_reach_the_logger(self):
        with self.assertLogs("dghost", "ERROR") as logged, self.assertRaises(RuntimeError):
            dghost._host.load_plugin("/nowhere/Missing.so")
        self.assertEqual(len(logged.output), 1)
        self.assertIn("Missing", logged.output[0])


if __name__ == "__main__":
    unittest.main()
