"""Results come back typed; the command table is readable."""

import os
import unittest

import dghost.cmds as cmds
from dghost import _host
from support import SceneTest


def unload_if_loaded(plugin):
    if plugin in _host.loaded_plugins():
        _host.unload_plugin(plugin)


class ResultTest(SceneTest):
    def test_every_result_type(self):
        cases = [("none", None), ("bool", True), ("int", 42), ("float", 2.5), ("strings", ["a", "b c"]),
                 ("ints", [-1, 7]), ("report", "c")]
        for kind, expected in cases:
            with self.subTest(kind=kind):
                result = cmds.pyEcho(r=kind)
                self.assertEqual(result, expected)
                self.assertIs(type(result), type(expected))

    def test_results_of_host_and_dendrine_commands(self):
        self.assertIsInstance(self.load_sample(), str)
        self.assertIs(cmds.XmlFind(n="nothing"), False)
        self.assertIs(cmds.objExists("farm"), True)
        self.assertEqual(cmds.getAttr("farm.DocumentElements", size=True), 1)
        self.assertEqual(cmds.ls(type="XmlDocument"), ["farm"])
        self.assertIsNone(cmds.select("farm", r=True))


class CommandTableTest(SceneTest):
    def test_commands_appear_and_disappear_with_their_plugin(self):
        self.assertIn("XmlLoadFile", dir(cmds))
        self.assertIn("createNode", _host.command_names())
        syntax = _host.command_syntax("XmlElement")
        self.assertEqual(syntax["plugin"], "Dendrine")
        self.assertTrue(syntax["query"] and syntax["edit"])
        self.assertIn(("xn", "xname", [5], False), [tuple(f) for f in syntax["flags"]])
        cmds.file(new=True, force=True)
        cmds.unloadPlugin("Dendrine")
        self.assertIsNone(_host.command_syntax("XmlElement"))
        self.assertNotIn("XmlElement", dir(cmds))

    def test_a_plugin_reloaded_changed_is_checked_against_its_new_syntax(self):
        with self.assertRaises(TypeError):
            cmds.pyEcho(x=1)
        cmds.unloadPlugin("EchoPlugin")
        cmds.loadPlugin(os.environ["DGHOST_ECHO_PLUGIN_CHANGED"])
        self.addCleanup(unload_if_loaded, "EchoPluginChanged")
        self.assertEqual(cmds.pyEcho(x=1, s="y"), "c -s=y")
        cmds.unloadPlugin("EchoPluginChanged")
        cmds.loadPlugin(os.environ["DGHOST_ECHO_PLUGIN"])
        with self.assertRaises(TypeError):
            cmds.pyEcho(x=1)

    def test_help_of_a_generated_function_lists_its_flags(self):
        self.assertIn("f / file: str", cmds.XmlLoadFile.__doc__)
        self.assertEqual(cmds.XmlLoadFile.__name__, "XmlLoadFile")


if __name__ == "__main__":
    unittest.main()
