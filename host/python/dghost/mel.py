"""MEL text from Python: `dghost.mel.eval('XmlFind -n "queue"')`."""

from . import _host
from ._outcome import finish


def eval(text):  # noqa: A001 - the host's own name for it
    """Runs one or more MEL statements; returns the last one's result.

    Stops at the first failed statement and raises dghost.CommandError.
    """
    return finish(_host.mel(text))
