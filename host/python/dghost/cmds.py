"""Every registered command as a function, as in the host's commands module.

    import dghost.cmds as cmds
    cmds.loadPlugin("Dendrine")
    cmds.XmlLoadFile(f="sample.xml", n="farm")
    cmds.select("queue1", r=True)
    cmds.XmlElement(q=True, ch=True)

Objects are positional; flags are keywords by short or long name. A flag
without argument is True (False leaves it out), several arguments are a
tuple, a list repeats a flag that may be given more than once. Unknown flags
and wrongly typed arguments raise TypeError before the command runs; a failed
command raises dghost.CommandError (a RuntimeError).

Commands of a plug-in appear once the plug-in is loaded; the functions are
made from the host's command table when first used.
"""

from . import _host
from ._outcome import finish

_TYPE_NAMES = {2: "bool", 3: "int", 4: "float", 5: "str", 6: "int", 7: "float", 8: "float", 9: "float", 10: "str"}


def _describe(syntax):
    if syntax is None or not syntax["flags"]:
        return ""
    lines = ["", "Flags:"]
    for short, long, types, multi in syntax["flags"]:
        arguments = ", ".join(_TYPE_NAMES.get(t, "str") for t in types) or "True/False"
        lines.append(f"  {short} / {long}: {arguments}{' (repeatable: list)' if multi else ''}")
    modes = [m for m in ("query", "edit") if syntax[m]]
    if modes:
        lines.append("Modes: " + ", ".join(modes))
    return "\n".join(lines)


def _make(name):
    def command(*objects, **flags):
        return finish(_host.run(name, objects, flags))

    command.__name__ = command.__qualname__ = name
    command.__module__ = __name__
    command.__doc__ = f"The host command {name}.{_describe(_host.command_syntax(name))}"
    return command


# Made on first use and kept; looked up anew each time, so that a command
# whose plug-in was unloaded is no longer an attribute.
_functions = {}


def __getattr__(name):
    if name.startswith("__") or not _host.has_command(name):
        raise AttributeError(f"module 'dghost.cmds' has no command {name!r} (is its plug-in loaded?)")
    function = _functions.get(name)
    if function is None:
        function = _functions[name] = _make(name)
    return function


def __dir__():
    return sorted(set(globals()) | set(_host.command_names()))
