"""Pictures of node trees: DOT text, cuts, and rendering through Graphviz."""

import os
import re
import shutil
import unittest

import dghost
import dghost.cmds as cmds
from support import SceneTest

HERE = os.path.dirname(os.path.abspath(__file__))


def node_lines(text):
    return [line for line in text.splitlines() if re.match(r'\s+"[^"]+" \[label=', line)]


class DotTest(SceneTest):
    def test_the_sample_document_as_dot_text(self):
        self.load_sample()
        with open(os.path.join(HERE, "sample.dot"), encoding="utf-8") as expected:
            self.assertEqual(dghost.graph.dot("farm"), expected.read())

    def test_links_follow_child_order_after_edits(self):
        self.load_sample()
        cmds.select("dispatcher", r=True)
        with dghost.captured_log():
            cmds.XmlElement(rc="server")
            cmds.XmlElement(n="notes", xn="notes", p="dispatcher")
        text = dghost.graph.dot("dispatcher", max_depth=1)
        children = re.findall(r'"dispatcher" -> "(\w+)" \[label="FromChildren\[(\d+)\]"\]', text)
        self.assertEqual([name for name, _ in children], ["queue", "queue1", "logging", "notes"])
        self.assertNotIn('"server"', text)

    def test_a_tree_cut_at_a_depth_shows_the_cut(self):
        self.load_sample()
        text = dghost.graph.dot("farm", max_depth=1)
        self.assertEqual(len(node_lines(text)), 3)  # farm, dispatcher, the cut
        self.assertIn('"cut 1" [label="\u2026 5 more links not drawn", shape=box, style=dashed];', text)
        self.assertIn('"dispatcher" -> "cut 1" [style=dashed];', text)
        alone = dghost.graph.dot("farm", max_depth=0)
        self.assertIn("\u2026 1 more link not drawn", alone)

    def test_a_tree_cut_at_a_node_count_shows_the_cut(self):
        self.load_sample()
        text = dghost.graph.dot("farm", max_nodes=4)
        drawn = [line for line in node_lines(text) if '"cut ' not in line]
        self.assertEqual(len(drawn), 4)
        # farm, dispatcher, version and server are drawn; the cuts count the
        # links leaving them: queue, queue1, logging, and server's four.
        cut = [int(n) for n in re.findall(r"\u2026 (\d+) more link", text)]
        self.assertEqual(cut, [3, 4])

    def test_names_and_values_are_escaped(self):
        cmds.createNode("XmlElement", n="odd")
        cmds.setAttr("odd.XmlName", 'say "hi"\\', type="string")
        cmds.setAttr("odd.XmlValue", "line one\nline two", type="string")
        text = dghost.graph.dot("odd")
        self.assertIn('[label="say \\"hi\\"\\\\  (odd)\\nline one line two", shape=box]', text)

    def test_bad_requests(self):
        with self.assertRaises(ValueError):
            dghost.graph.dot("nowhere")
        cmds.createNode("network", n="net")
        for cut in ({"max_depth": -1}, {"max_nodes": 0}):
            with self.subTest(cut=cut), self.assertRaises(ValueError):
                dghost.graph.dot("net", **cut)


class RenderTest(SceneTest):
    @unittest.skipUnless(shutil.which("dot"), "Graphviz's dot is not installed")
    def test_svg_and_png_through_dot(self):
        self.load_sample()
        svg = dghost.graph.render("farm", os.path.join(self.folder, "farm.svg"))
        with open(svg, encoding="utf-8") as picture:
            text = picture.read()
        self.assertIn("<svg", text)
        self.assertIn("priority1", text)
        png = dghost.graph.render("farm", os.path.join(self.folder, "farm.png"), max_depth=2)
        with open(png, "rb") as picture:
            self.assertEqual(picture.read(8), b"\x89PNG\r\n\x1a\n")
        self.assertEqual(sorted(os.listdir(self.folder)), ["farm.png", "farm.svg", "sample.xml"])

    def test_a_missing_dot_is_said_clearly_and_nothing_is_written(self):
        self.load_sample()
        target = os.path.join(self.folder, "farm.svg")
        with self.assertRaises(dghost.graph.GraphvizMissing) as caught:
            dghost.graph.render("farm", target, dot_program="no-such-dot-program")
        self.assertIn("not installed", str(caught.exception))
        self.assertFalse(os.path.exists(target))

    def test_an_unknown_picture_format_is_refused(self):
        self.load_sample()
        with self.assertRaises(ValueError):
            dghost.graph.render("farm", os.path.join(self.folder, "farm.gif"))

    @unittest.skipUnless(shutil.which("dot"), "Graphviz's dot is not installed")
    def test_a_failed_render_leaves_the_previous_picture(self):
        self.load_sample()
        target = os.path.join(self.folder, "farm.svg")
        with open(target, "w", encoding="utf-8") as old:
            old.write("previous")
        fake = os.path.join(self.folder, "fake-dot")
        with open(fake, "w", encoding="utf-8") as script:
            script.write("#!/bin/sh\necho broken >&2\nexit 3\n")
        os.chmod(fake, 0o755)
        with self.assertRaises(RuntimeError) as caught:
            dghost.graph.render("farm", target, dot_program=fake)
        self.assertIn("broken", str(caught.exception))
        with open(target, encoding="utf-8") as kept:
            self.assertEqual(kept.read(), "previous")
        self.assertEqual(sorted(os.listdir(self.folder)), ["fake-dot", "farm.svg", "sample.xml"])


if __name__ == "__main__":
    unittest.main()
