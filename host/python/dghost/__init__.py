"""The Dendrine headless host for Python.

    import dghost
    import dghost.cmds as cmds
    dghost.standalone.initialize()
    cmds.loadPlugin("Dendrine")

`dghost.cmds` holds every registered command as a function, `dghost.mel`
runs MEL text, `dghost.graph` draws node trees, `captured_log()` collects
the plug-ins' standard-output lines.
"""

import contextlib

from . import _host
from ._outcome import CommandError, log_message, logger

_host.set_message_handler(log_message)

from . import cmds, graph, mel, standalone  # noqa: E402 - after the handler is set


@contextlib.contextmanager
def captured_log():
    """Collects the lines plug-ins write to standard output in the block.

        with dghost.captured_log() as lines:
            cmds.XmlLoadFile(f="sample.xml", n="farm")
        print(len(lines))

    The list fills while the block runs. Captures nest.
    """
    lines = []
    _host.begin_capture(lines)
    try:
        yield lines
    finally:
        _host.end_capture()


__all__ = ["CommandError", "captured_log", "cmds", "graph", "logger", "mel", "standalone"]
