// dghost._host: the headless host for Python. The package around it
// (dghost.cmds, dghost.mel, dghost.graph...) is written in Python.
//
// Commands run with the interpreter lock held: the host is single-threaded,
// so Python threads that call commands take turns, a whole command each.

#include "CommandCall.h"
#include "NodeLinks.h"
#include "OutputCapture.h"

#include <dghost/CommandTable.h>
#include <dghost/Host.h>

#include <pybind11/stl.h>

namespace py = pybind11;

namespace {

// Messages shown while no command runs (plug-in loading, for instance) go
// to the Python function given to set_message_handler.
py::object& messageHandler()
{
    static auto* handler = new py::object();
    return *handler;
}

void forwardMessage(const char* kind, const std::string& text)
{
    if (!Py_IsInitialized()) return;
    py::gil_scoped_acquire gil;
    try {
        messageHandler()(kind, text);
    } catch (py::error_already_set& error) {
        error.discard_as_unraisable("dghost message handler");
    } catch (const std::exception&) {
        // The host called us; nothing may be thrown back into it.
    }
}

void setMessageHandler(py::object handler)
{
    messageHandler() = handler;
    dghost::setMessageSink(handler.is_none() ? nullptr : forwardMessage);
}

py::object commandSyntax(const std::string& name)
{
    dghost::CommandInfo info;
    if (!dghost::commandInfo(name, info)) return py::none();
    py::list flags;
    for (const dghost::FlagInfo& flag : info.flags) {
        py::list types;
        for (MSyntax::MArgType type : flag.arguments) types.append(static_cast<int>(type));
        flags.append(py::make_tuple(flag.shortName, flag.longName, types, flag.multiUse));
    }
    return py::dict(py::arg("name") = info.name, py::arg("plugin") = info.plugin,
                    py::arg("flags") = flags, py::arg("query") = info.query, py::arg("edit") = info.edit,
                    py::arg("min_objects") = info.minimumObjects,
                    py::arg("max_objects") = info.maximumObjects);
}

void loadPlugin(const std::string& name)
{
    std::string error;
    if (!dghost::loadPlugin(name, &error)) throw std::runtime_error(error);
}

}  // namespace

PYBIND11_MODULE(_host, m)
{
    m.doc() = "The headless host's command runner, output capture and node reader.";
    m.def("run", &dghost::python::runCommand, py::arg("name"), py::arg("objects"), py::arg("flags"),
          "Runs a command: (status name, status text, result, errors, warnings, infos).");
    m.def("mel", &dghost::python::runMel, py::arg("text"), "Runs MEL text; the outcome of its last command.");
    m.def("words", [](const std::string& name, const py::tuple& objects, const py::dict& flags) {
        dghost::python::CommandWords words = dghost::python::commandWords(name, objects, flags);
        return py::make_tuple(words.words, words.quoted);
    }, "The words a call would give the command, without running it.");
    m.def("command_names", &dghost::commandNames);
    m.def("has_command", &dghost::hasCommand);
    m.def("command_syntax", &commandSyntax, "None, or the command's flags and modes.");
    m.def("loaded_plugins", &dghost::loadedPlugins);
    m.def("load_plugin", &loadPlugin);
    m.def("unload_plugin", [](const std::string& name) {
        std::string error;
        if (!dghost::unloadPlugin(name, &error)) throw std::runtime_error(error);
    });
    m.def("new_scene", &dghost::newScene);
    m.def("begin_capture", &dghost::python::beginCapture);
    m.def("end_capture", &dghost::python::endCapture);
    m.def("describe_node", &dghost::python::describeNode);
    m.def("set_message_handler", &setMessageHandler);
}
