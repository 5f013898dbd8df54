"""Calling commands from Python: flags, values, objects, modes, refusals."""

import unittest

import dghost
import dghost.cmds as cmds
from dghost import _host
from support import SceneTest


class FlagTest(SceneTest):
    def test_short_and_long_flag_names_reach_the_same_flag(self):
        self.assertEqual(cmds.pyEcho(s="x", i=3), "c -i=3 -s=x")
        self.assertEqual(cmds.pyEcho(string="x", integer=3), "c -i=3 -s=x")

    def test_switches_are_given_by_true_and_left_out_by_false(self):
        self.assertEqual(cmds.pyEcho(sw=True), "c -sw")
        self.assertEqual(cmds.pyEcho(switch=False), "c")
        self.assertEqual(cmds.pyEcho(sw=1), "c -sw")

    def test_boolean_arguments_take_true_false_and_numbers(self):
        self.assertEqual(cmds.pyEcho(b=True), "c -b=1")
        self.assertEqual(cmds.pyEcho(b=False), "c -b=0")
        self.assertEqual(cmds.pyEcho(boolean=0), "c -b=0")

    def test_numbers_and_a_tuple_for_several_arguments(self):
        self.assertEqual(cmds.pyEcho(i=-5, u=7, d=2.5), "c -i=-5 -u=7 -d=2.5")
        self.assertEqual(cmds.pyEcho(d=3), "c -d=3")
        self.assertEqual(cmds.pyEcho(p=("left", 2)), "c -p=left,2")

    def test_text_that_looks_like_a_flag_stays_a_value(self):
        self.assertEqual(cmds.pyEcho("-x", s="-s"), "c -s=-s [-x]")
        self.assertEqual(cmds.pyEcho(s='say "hi"; \\ ok'), 'c -s=say "hi"; \\ ok')

    def test_objects_are_positional_and_lists_are_flattened(self):
        self.assertEqual(cmds.pyEcho("a", ["b", "c"], ("d",), s="x"), "c -s=x [a] [b] [c] [d]")

    def test_query_and_edit_by_short_and_long_name(self):
        self.assertEqual(cmds.pyEcho(q=True, s=True), "q -s")
        self.assertEqual(cmds.pyEcho(query=True, string=True, i=True), "q -i -s")
        self.assertEqual(cmds.pyEcho(e=True, s="v"), "e -s=v")
        self.assertEqual(cmds.pyEcho(edit=True, s="v"), "e -s=v")
        self.assertEqual(cmds.pyEcho(q=False, s="v"), "c -s=v")

    def test_a_list_repeats_a_flag_that_may_be_given_several_times(self):
        words, quoted = _host.words("pyEcho", (), {"m": ["x", "y"]})
        self.assertEqual(words, ["-m", "x", "-m", "y"])
        self.assertEqual(quoted, [False, True, False, True])
        self.assertEqual(cmds.pyEcho(m=["x", "y", "z"]), "c -m*3")

    def test_dendrine_commands_with_flags_objects_and_modes(self):
        self.assertEqual(self.load_sample(), "Read Succesfull")
        self.assertEqual(cmds.XmlFind(n="queue"), ["queue", "queue1"])
        self.assertEqual(cmds.XmlFind(value="10"), ["priority1"])
        cmds.select("priority1", r=True)
        cmds.XmlElement(e=True, xv="20")
        self.assertEqual(cmds.XmlElement(q=True, xv=True), "20")
        cmds.select("queue1", replace=True)
        self.assertEqual(cmds.XmlElement(query=True, child=True), ["priority1", "maxJobs1"])


class RefusalTest(SceneTest):
    def assertTypeError(self, text, call, *objects, **flags):
        with self.assertRaises(TypeError) as caught:
            call(*objects, **flags)
        self.assertIn(text, str(caught.exception))

    def test_unknown_flags_raise_type_error(self):
        self.assertTypeError("Invalid flag 'zz'", cmds.pyEcho, zz=1)
        self.assertTypeError("Invalid flag 'zz'", cmds.XmlFind, n="queue", zz=True)
        # XmlFind has no query mode.
        self.assertTypeError("Invalid flag 'q'", cmds.XmlFind, q=True, n=True)

    def test_wrongly_typed_arguments_raise_type_error(self):
        self.assertTypeError("flag 's'", cmds.pyEcho, s=5)
        self.assertTypeError("flag 'i'", cmds.pyEcho, i="5")
        self.assertTypeError("flag 'i'", cmds.pyEcho, i=True)
        self.assertTypeError("flag 'i'", cmds.pyEcho, i=2.5)
        self.assertTypeError("flag 'u'", cmds.pyEcho, u=-1)
        self.assertTypeError("flag 'd'", cmds.pyEcho, d=float("nan"))
        self.assertTypeError("flag 'b'", cmds.pyEcho, b="yes")
        self.assertTypeError("Flag 'sw'", cmds.pyEcho, sw="on")
        self.assertTypeError("Flag 'p' takes 2", cmds.pyEcho, p="left")
        self.assertTypeError("Flag 'p' takes 2", cmds.pyEcho, p=("left", 2, 3))
        self.assertTypeError("once only", cmds.pyEcho, s=["a", "b"])
        self.assertTypeError("Invalid object 5", cmds.pyEcho, 5)
        self.assertTypeError("Invalid object b'raw'", cmds.pyEcho, b"raw")
        self.assertTypeError("flag 'f'", cmds.XmlLoadFile, f=7)

    def test_a_refused_call_runs_nothing(self):
        with dghost.captured_log() as lines:
            with self.assertRaises(TypeError):
                cmds.pyEcho(o="ran", i="x")
        self.assertEqual(lines, [])

    def test_a_failed_command_raises_command_error_with_its_text(self):
        with self.assertLogs("dghost", "ERROR"):
            with self.assertRaises(RuntimeError) as caught:
                cmds.pyEcho(er="it broke", f=True)
        error = caught.exception
        self.assertIsInstance(error, dghost.CommandError)
        self.assertEqual((error.command, error.status, error.errors), ("pyEcho", "kInvalidParameter", ["it broke"]))
        self.assertEqual(str(error), "it broke")

    def test_a_failure_without_message_names_the_command_and_status(self):
        with self.assertRaises(dghost.CommandError) as caught:
            cmds.pyEcho(f=True)
        self.assertIn("pyEcho", str(caught.exception))
        self.assertIn("kInvalidParameter", str(caught.exception))

    def test_a_dendrine_failure_carries_the_plugin_message(self):
        with self.assertLogs("dghost", "ERROR"), self.assertRaises(RuntimeError) as caught:
            cmds.XmlLoadFile(f="missing.xml", n="doc")
        self.assertIn("missing.xml", str(caught.exception))
        self.assertFalse(cmds.objExists("doc"))

    def test_host_argument_checks_raise_command_error(self):
        with self.assertLogs("dghost", "ERROR"), self.assertRaises(dghost.CommandError) as caught:
            cmds.rename("only_one")
        self.assertIn("Too few arguments", str(caught.exception))

    def test_errors_shown_by_a_succeeding_command_are_logged_not_raised(self):
        with self.assertLogs("dghost", "WARNING") as logged:
            self.assertEqual(cmds.pyEcho(er="careful", w="mind", r="int"), 42)
        self.assertEqual(sorted(logged.output), ["ERROR:dghost:careful", "WARNING:dghost:mind"])

    def test_unknown_commands(self):
        with self.assertRaises(AttributeError):
            cmds.noSuchCommand
        with self.assertLogs("dghost", "ERROR"), self.assertRaises(dghost.CommandError) as caught:
            dghost.mel.eval("noSuchCommand -x")
        self.assertIn('Cannot find procedure "noSuchCommand"', str(caught.exception))

    def test_a_command_whose_plugin_was_unloaded_fails_cleanly(self):
        echo = cmds.pyEcho
        cmds.unloadPlugin("EchoPlugin")
        self.assertNotIn("pyEcho", dir(cmds))
        with self.assertLogs("dghost", "ERROR"), self.assertRaises(dghost.CommandError):
            echo(s="x")


class MelTest(SceneTest):
    def test_mel_text_gives_the_typed_result_of_its_last_statement(self):
        self.load_sample()
        self.assertEqual(dghost.mel.eval('select -r queue1; XmlElement -q -ch'), ["priority1", "maxJobs1"])
        self.assertIs(dghost.mel.eval('objExists "farm"'), True)

    def test_mel_stops_at_the_first_failed_statement(self):
        with self.assertLogs("dghost", "ERROR"), self.assertRaises(dghost.CommandError) as caught:
            dghost.mel.eval('createNode network -n "a"; pyEcho -f -er "stop"; createNode network -n "b"')
        self.assertEqual(caught.exception.command, "pyEcho")
        self.assertTrue(cmds.objExists("a"))
        self.assertFalse(cmds.objExists("b"))

    def test_bad_mel_text_raises(self):
        with self.assertLogs("dghost", "ERROR"), self.assertRaises(dghost.CommandError):
            dghost.mel.eval('print "unterminated')


if __name__ == "__main__":
    unittest.main()
