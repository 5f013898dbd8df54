"""Scene files from Python, and the headless start and stop."""

import os
import pathlib
import unittest

import dghost
import dghost.cmds as cmds
from dghost import _host
from support import EXAMPLES, SceneTest


class SceneFileTest(SceneTest):
    def test_save_new_and_open_keep_the_tree(self):
        self.load_sample()
        cmds.select("priority1", r=True)
        cmds.XmlElement(e=True, xv="20")
        path = os.path.join(self.folder, "farm.ma")
        self.assertEqual(cmds.file(rename=path), path)
        self.assertEqual(cmds.file(save=True), path)
        self.assertEqual(cmds.file(q=True, sceneName=True), path)

        cmds.file(new=True, force=True)
        self.assertEqual(cmds.ls(type="XmlDocument"), [])
        self.assertEqual(cmds.file(q=True, sn=True), "")

        self.assertEqual(cmds.file(pathlib.Path(path), open=True, force=True), path)
        self.assertEqual(cmds.getAttr("priority1.XmlValue"), "20")
        with dghost.captured_log():
            cmds.XmlSaveFile(n="farm", f=pathlib.Path("exported.xml"))
        with open("exported.xml", encoding="utf-8") as exported, \
                open(os.path.join(EXAMPLES, "sample.xml"), encoding="utf-8") as sample:
            self.assertIn("<priority>20</priority>", exported.read())
            self.assertIn("<priority>10</priority>", sample.read())

    def test_opening_over_unsaved_changes_is_refused_without_force(self):
        path = os.path.join(self.folder, "empty.ma")
        cmds.file(rename=path)
        cmds.file(save=True)
        cmds.createNode("network", n="unsaved")
        with self.assertLogs("dghost", "ERROR"), self.assertRaises(dghost.CommandError) as caught:
            cmds.file(path, open=True)
        self.assertIn("unsaved changes", str(caught.exception))
        self.assertTrue(cmds.objExists("unsaved"))

    def test_a_cut_scene_file_is_refused_and_the_scene_stays(self):
        path = os.path.join(self.folder, "cut.ma")
        with open(path, "w", encoding="utf-8") as cut:
            cut.write('createNode network -n "half";\n')
        cmds.createNode("network", n="kept")
        with self.assertLogs("dghost", "ERROR"), self.assertRaises(dghost.CommandError):
            cmds.file(path, open=True, force=True)
        self.assertTrue(cmds.objExists("kept"))
        self.assertFalse(cmds.objExists("half"))


class StandaloneTest(unittest.TestCase):
    def test_initialize_empties_the_scene_and_uninitialize_unloads_plugins(self):
        dghost.standalone.initialize()
        cmds.loadPlugin("Dendrine")
        cmds.createNode("XmlElement", n="leftover")
        dghost.standalone.initialize()
        self.assertFalse(cmds.objExists("leftover"))
        cmds.createNode("XmlElement", n="leftover")
        dghost.standalone.uninitialize()
        self.assertEqual(_host.loaded_plugins(), [])
        self.assertFalse(hasattr(cmds, "XmlElement"))
        self.assertEqual(cmds.ls(), [])


if __name__ == "__main__":
    unittest.main()
