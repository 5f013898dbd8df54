"""Headless start and stop, as scripts for the host application expect them.

    import dghost
    dghost.standalone.initialize()
    ...
    dghost.standalone.uninitialize()

Commands work without initialize() too; it gives a script an empty scene.
"""

from . import _host


def initialize(name="python"):
    """Starts with an empty scene. `name` is accepted for compatibility."""
    del name
    _host.new_scene()


def uninitialize():
    """Empties the scene and unloads every plug-in, the last loaded first.

    Raises RuntimeError naming the plug-ins that refused to unload.
    """
    _host.new_scene()
    refused = []
    for plugin in reversed(_host.loaded_plugins()):
        try:
            _host.unload_plugin(plugin)
        except RuntimeError as error:
            refused.append(f"{plugin}: {error}")
    if refused:
        raise RuntimeError("plug-ins not unloaded: " + "; ".join(refused))
