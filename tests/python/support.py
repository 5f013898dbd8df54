"""What every Python test shares: a fresh scene, the plug-ins, a work folder."""

import os
import shutil
import tempfile
import unittest

import dghost
import dghost.cmds as cmds

EXAMPLES = os.environ.get("DENDRINE_EXAMPLES", os.path.join(os.path.dirname(__file__), "..", "..", "examples"))
SAMPLE = os.path.join(EXAMPLES, "sample.xml")
ECHO_PLUGIN = os.environ.get("DGHOST_ECHO_PLUGIN", "")


class SceneTest(unittest.TestCase):
    """Each test starts in an empty scene with Dendrine and pyEcho loaded,
    no armed faults, inside a temporary folder of its own."""

    def setUp(self):
        dghost.standalone.initialize()
        cmds.dgFault(clear=True)
        cmds.loadPlugin("Dendrine")
        cmds.loadPlugin(ECHO_PLUGIN)
        self.folder = tempfile.mkdtemp(prefix="dghost-python-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        previous = os.getcwd()
        os.chdir(self.folder)
        self.addCleanup(os.chdir, previous)

    def load_sample(self, name="farm"):
        """Imports a copy of examples/sample.xml in the work folder, keeping
        its progress lines out of the output."""
        shutil.copy(SAMPLE, "sample.xml")
        with dghost.captured_log():
            return cmds.XmlLoadFile(f="sample.xml", n=name)
