"""A first session with Dendrine from Python: the session of demo.mel.

Import a dispatcher configuration, look things up in it, change it, keep it
in a scene, write it out again, and draw it. Run it from this folder with
the build's package on the path:
    PYTHONPATH=../build/python /usr/bin/python3 demo.py
"""

import dghost
import dghost.cmds as cmds


def show(what, result):
    print(f"{what}: {result!r}")


def session():
    cmds.loadPlugin("Dendrine")

    # The document node is called "farm"; every element becomes an
    # XmlElement node named after its tag, every XML attribute an
    # XmlElementAttribute node named after the attribute.
    show("import", cmds.XmlLoadFile(f="sample.xml", n="farm"))

    # Which elements are queues, and which one holds the value 10?
    show("queues", cmds.XmlFind(n="queue"))
    show("holding 10", cmds.XmlFind(v="10"))

    # That is the nightly queue's priority (node priority1): raise it to 20.
    cmds.select("priority1", r=True)
    cmds.XmlElement(e=True, xv="20")
    show("new priority", cmds.XmlElement(q=True, xv=True))

    # Give the nightly queue (node queue1) a description with an owner.
    cmds.createNode("XmlElementAttribute", n="owner")
    cmds.setAttr("owner.Name", "owner", type="string")
    cmds.setAttr("owner.Value", "lighting", type="string")
    show("added", cmds.XmlElement(n="description", xn="description", xv="Overnight renders", p="queue1",
                                  at="owner"))

    # Logging is not wanted any more: remove it with its path and its level.
    cmds.select("dispatcher", r=True)
    cmds.XmlElement(rc="logging")
    show("dispatcher's children", cmds.XmlElement(q=True, ch=True))
    show("logging still there", cmds.objExists("logging"))

    # Keep the work in a scene file, start afresh and open the scene again.
    cmds.file(rename="farm.ma")
    cmds.file(save=True)
    cmds.file(new=True, force=True)
    cmds.file("farm.ma", open=True)

    # Write the document out.
    show("export", cmds.XmlSaveFile(n="farm", f="exported.xml"))


def main():
    dghost.standalone.initialize()
    # The plug-in's own progress lines go to a log file, so the results stand out.
    with dghost.captured_log() as lines:
        session()
    with open("plugin-python.log", "w", encoding="utf-8") as log:
        log.writelines(line + "\n" for line in lines)
    try:
        print("picture:", dghost.graph.render("farm", "farm.svg"))
    except dghost.graph.GraphvizMissing as missing:
        with open("farm.dot", "w", encoding="utf-8") as text:
            text.write(dghost.graph.dot("farm"))
        print(f"{missing}; wrote farm.dot instead")


if __name__ == "__main__":
    main()
