#!/usr/bin/env python3
"""Checks that the plug-in's folders keep their layering.

Each plug-in folder may include only the host SDK's headers (<maya/...>),
the XML library's (<xercesc/...>), the XPath library's for the commands
(<pugixml.hpp>), the C++ and POSIX system headers, and its own headers from
its own folder or a folder below it; never the headless host's own API
(<dghost/...>) or anything of host/. A plug name is spelled as a string
literal only in nodes/, and no build file collects its sources by glob.

Usage: check_layers.py SOURCE_DIR. Prints every breach; exit 1 when any.
"""
import pathlib
import re
import sys

# Lower layers first; a folder may include from its own rank or below, but
# only folders of a lower rank or itself (siblings never include each other).
RANKS = {"log": 0, "nodes": 1, "xml": 2, "tree": 2, "import": 3, "export": 3, "commands": 3, "plugin": 4}
SYSTEM = re.compile(r"<(maya/[A-Za-z]+\.h|xercesc/[A-Za-z0-9/]+\.hpp|[a-z_]+|[a-z]+(/[a-z]+)?\.h)>")
INCLUDE = re.compile(r'^\s*#\s*include\s+([<"][^>"]+[>"])', re.M)
PLUG_NAMES = ["DocumentName", "DocName", "DocumenType", "DocType", "DocumentInfo", "DocInfo",
              "DocumentElements", "DocElements", "XmlName", "XName", "XmlValue", "XValue",
              "XmlAttributes", "XAttr", "ToParent", "2Parent", "FromChildren", "FromChild",
              "AttrName", "AttrValue", "AttrParent"]
PLUG_LITERAL = re.compile(r'"(%s)"' % "|".join(PLUG_NAMES))


def include_breaches(root, folder, path):
    breaches = []
    for target in INCLUDE.findall(path.read_text(encoding="utf-8")):
        name = target[1:-1]
        if target.startswith("<"):
            if name == "pugixml.hpp" and folder == "commands":
                continue
            if not SYSTEM.fullmatch(target) or name.startswith(("dghost/", "host/")):
                breaches.append(f"{path.relative_to(root)}: includes {target}")
            continue
        top = name.split("/")[0]
        allowed = top == folder or (top in RANKS and RANKS[top] < RANKS[folder])
        if not allowed:
            breaches.append(f"{path.relative_to(root)}: includes {target} from a layer above or beside it")
    return breaches


def main():
    root = pathlib.Path(sys.argv[1]).resolve()
    breaches = []
    for folder in RANKS:
        for path in sorted((root / folder).glob("*")):
            if path.suffix in (".h", ".cpp"):
                breaches += include_breaches(root, folder, path)
                if folder != "nodes":
                    for match in PLUG_LITERAL.finditer(path.read_text(encoding="utf-8")):
                        breaches.append(f"{path.relative_to(root)}: plug name literal {match.group(0)}")
    for build_file in sorted(root.glob("**/CMakeLists.txt")):
        if "build" in build_file.relative_to(root).parts[0]:
            continue
        if "file(GLOB" in build_file.read_text(encoding="utf-8"):
            breaches.append(f"{build_file.relative_to(root)}: collects sources with file(GLOB)")
    for breach in breaches:
        print(breach)
    print(f"layers: {len(breaches)} breaches")
    return 1 if breaches else 0


if __name__ == "__main__":
    sys.exit(main())
