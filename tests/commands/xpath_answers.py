#!/usr/bin/env python3
"""Answers XPath 1.0 expressions with lxml (libxml2), an engine independent
of the plug-in's, so that XmlQuery's answers can be compared with it.

  xpath_answers.py XMLFILE EXPRESSIONS [--wrapped] [--context PATH]

EXPRESSIONS holds one expression per line. One answer line per expression:
  nodes<TAB>PATH...   the selected elements and attributes, in document order
  number<TAB>VALUE    (repr of the float; nan for NaN)
  string<TAB>HEX      the UTF-8 bytes of the string, in hex
  boolean<TAB>true|false
A PATH names an element by the positions among element siblings from the top
("/1/3/2": the second element child of the third element child of the first
top element), an attribute by its element's path and "/@" and its name.
--wrapped: the file's root element stands for the document root, so its
children are the top elements (documents with several top elements).
--context PATH: evaluate from that element instead of the document.
Prefixed names use the prefixes declared on the root element.
"""

import sys
from lxml import etree


def element_children(element):
    return [child for child in element if isinstance(child.tag, str)]


def element_path(element, top):
    """`top` is the wrapper element, or None: then the root is the top element."""
    steps = []
    while element is not top and element.getparent() is not None:
        parent = element.getparent()
        steps.append(str(element_children(parent).index(element) + 1))
        element = parent
    if top is None:
        steps.append('1')
    return '/' + '/'.join(reversed(steps))


def qualified(attribute):
    """The attribute's name as written: lxml gives {uri}local."""
    name = attribute.attrname
    if not name.startswith('{'):
        return name
    uri, local = name[1:].split('}')
    prefixes = {u: p for p, u in attribute.getparent().nsmap.items() if p}
    return prefixes[uri] + ':' + local


def node_path(node, top):
    if isinstance(node, etree._Element):
        return element_path(node, top)
    if getattr(node, 'is_attribute', False):
        return element_path(node.getparent(), top) + '/@' + qualified(node)
    raise SystemExit('unexpected node in a result: %r' % (node,))


def answer(context, expression, namespaces, top):
    value = context.xpath(expression, namespaces=namespaces)
    if isinstance(value, list):
        return '\t'.join(['nodes'] + [node_path(node, top) for node in value])
    if isinstance(value, bool):
        return 'boolean\t' + ('true' if value else 'false')
    if isinstance(value, float):
        return 'number\t' + repr(value)
    return 'string\t' + str(value).encode('utf-8').hex()


def main(arguments):
    xml_file, expressions_file = arguments[0], arguments[1]
    wrapped = '--wrapped' in arguments
    document = etree.parse(xml_file)
    root = document.getroot()
    top = root if wrapped else None
    context = document
    if '--context' in arguments:
        steps = arguments[arguments.index('--context') + 1].strip('/').split('/')
        context = root
        for step in steps if wrapped else steps[1:]:
            context = element_children(context)[int(step) - 1]
    namespaces = {prefix: uri for prefix, uri in root.nsmap.items() if prefix}
    with open(expressions_file, encoding='utf-8') as lines:
        for expression in lines.read().splitlines():
            print(answer(context, expression, namespaces, top))


if __name__ == '__main__':
    main(sys.argv[1:])
