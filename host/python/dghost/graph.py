"""A picture of a node tree, as the host's node editor shows it.

    text = dghost.graph.dot("farm")                  # Graphviz DOT text
    dghost.graph.render("farm", "farm.svg")           # through Graphviz's dot

Element nodes show their XML name and a short value, attribute nodes
`name=value`; each link is labelled with the plug and index it enters, and
children come in child order. Big trees are cut at `max_depth` levels below
the node or after `max_nodes` nodes; a dashed box says how many links were
not followed at each cut.
"""

import collections
import os
import shutil
import subprocess
import tempfile

from . import _host

VALUE_WIDTH = 24


class GraphvizMissing(RuntimeError):
    """Graphviz's dot program is not installed."""


def _short(text, width=VALUE_WIDTH):
    text = " ".join(text.split())
    return text if len(text) <= width else text[: width - 1] + "\u2026"


def _quote(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n") + '"'


def _label(name, kind, values):
    if kind == "XmlElement":
        value = _short(values.get("XmlValue", ""))
        tag = values.get("XmlName", "")
        head = tag if tag == name else f"{tag}  ({name})"
        return head + (f"\n{value}" if value else ""), "box"
    if kind == "XmlElementAttribute":
        return f"{values.get('Name', '')}={_short(values.get('Value', ''))}", "ellipse"
    if kind == "XmlDocument":
        return f"{name}\n{_short(values.get('DocumentName', ''), 40)}", "folder"
    return f"{name}\n({kind})", "box"


def _describe(name):
    node = _host.describe_node(name)
    if node is None:
        raise ValueError(f"no node named {name!r}")
    return node


def dot(node, max_depth=None, max_nodes=None):
    """DOT text of the tree below `node` (a document, an element, any node).

    `max_depth` counts levels below `node` (0 draws `node` alone);
    `max_nodes` caps the nodes drawn. Raises ValueError for an unknown node.
    """
    if (max_depth is not None and max_depth < 0) or (max_nodes is not None and max_nodes < 1):
        raise ValueError("max_depth must be 0 or more and max_nodes 1 or more")
    lines = [f"digraph {_quote(node)} {{", "  graph [rankdir=TB, ordering=out];",
             '  node [fontname="Helvetica", fontsize=10];', '  edge [fontname="Helvetica", fontsize=8];']
    drawn = {node}
    queue = collections.deque([(node, 0)])
    cuts = 0
    while queue:
        name, depth = queue.popleft()
        kind, values, links = _describe(name)
        label, shape = _label(name, kind, values)
        lines.append(f"  {_quote(name)} [label={_quote(label)}, shape={shape}];")
        cut = 0
        for plug, index, source, source_plug in links:
            if source in drawn:
                lines.append(f"  {_quote(name)} -> {_quote(source)} [label={_quote(f'{plug}[{index}]')}];")
                continue
            if (max_depth is not None and depth >= max_depth) or (max_nodes is not None and len(drawn) >= max_nodes):
                cut += 1
                continue
            drawn.add(source)
            queue.append((source, depth + 1))
            lines.append(f"  {_quote(name)} -> {_quote(source)} [label={_quote(f'{plug}[{index}]')}];")
        if cut:
            cuts += 1
            marker = _quote(f"cut {cuts}")
            more = f"\u2026 {cut} more link{'s' if cut > 1 else ''} not drawn"
            lines.append(f"  {marker} [label={_quote(more)}, shape=box, style=dashed];")
            lines.append(f"  {_quote(name)} -> {marker} [style=dashed];")
    lines.append("}")
    return "\n".join(lines) + "\n"


RENDER_MAX_NODES = 2000


def render(node, path, max_depth=None, max_nodes=RENDER_MAX_NODES, dot_program="dot"):
    """Writes the picture of `dot(node, ...)` to `path` as SVG or PNG.

    The format follows the file's suffix (.svg or .png). The file is
    written beside its target and moved over it only when complete. Raises
    GraphvizMissing when the `dot` program is not installed.

    Graphviz takes minutes over tens of thousands of nodes, so pictures stop
    at RENDER_MAX_NODES nodes unless the caller says otherwise (None: all).
    """
    suffix = os.path.splitext(path)[1].lower()
    if suffix not in (".svg", ".png"):
        raise ValueError(f"cannot render {path!r}: give a .svg or .png file name")
    program = shutil.which(dot_program)
    if program is None:
        raise GraphvizMissing(
            f"cannot render {path!r}: Graphviz's {dot_program!r} program is not installed "
            "(Debian package graphviz); dghost.graph.dot() gives the text without it"
        )
    text = dot(node, max_depth=max_depth, max_nodes=max_nodes)
    folder = os.path.dirname(os.path.abspath(path))
    handle, partial = tempfile.mkstemp(prefix=".render-", suffix=suffix, dir=folder)
    os.close(handle)
    try:
        done = subprocess.run([program, "-T" + suffix[1:], "-o", partial], input=text.encode("utf-8"),
                              capture_output=True, check=False)
        if done.returncode != 0:
            raise RuntimeError(f"dot could not render {path!r}: {done.stderr.decode(errors='replace').strip()}")
        os.replace(partial, path)
    finally:
        if os.path.exists(partial):
            os.unlink(partial)
    return path
