#!/usr/bin/env python3
"""Judges exported files with Python's own XML parser (expat through
xml.etree's TreeBuilder), independent of the plug-in and its XML library.

Equal element trees: the same elements in the same order, with the same tags,
attributes and values, and the same text in every element without child
elements. Comments, processing instructions, the document type and text beside
child elements do not count. Names count as written (no namespace processing).

  element_trees.py pairs LIST     LIST lines "ORIGINAL<TAB>EXPORTED"; prints
                                  each unequal pair, exit 1 when there is one
  element_trees.py suite XMLCONF  the conformance suite's valid standalone
                                  XML 1.0 cases, one path per line
"""

import os
import re
import sys
import xml.etree.ElementTree as ET
from xml.parsers import expat


def read_tree(path):
    builder = ET.TreeBuilder()
    parser = expat.ParserCreate()
    parser.buffer_text = True
    parser.StartElementHandler, parser.EndElementHandler = builder.start, builder.end
    parser.CharacterDataHandler = builder.data
    # External DTDs are read, as the plug-in's parser does, for their defaults.
    parser.SetParamEntityParsing(expat.XML_PARAM_ENTITY_PARSING_UNLESS_STANDALONE)

    def load_external(context, base, system_id, public_id):
        with open(os.path.join(os.path.dirname(path), system_id), 'rb') as entity:
            parser.ExternalEntityParserCreate(context).ParseFile(entity)
        return 1

    parser.ExternalEntityRefHandler = load_external
    with open(path, 'rb') as source:
        parser.ParseFile(source)
    return builder.close()


def flatten(path):
    """Pre-order (depth, tag, attributes, leaf text), without recursion."""
    entries, stack = [], [(read_tree(path), 1)]
    while stack:
        element, depth = stack.pop()
        children = list(element)
        text = None if children else (element.text or '')
        entries.append((depth, element.tag, sorted(element.attrib.items()), text))
        stack.extend((child, depth + 1) for child in reversed(children))
    return entries


def difference(original, exported):
    """None when the element trees are equal, else what differs."""
    try:
        want, got = flatten(original), flatten(exported)
    except (expat.ExpatError, OSError) as error:
        return 'unreadable: %s' % error
    for index, (a, b) in enumerate(zip(want, got)):
        if a != b:
            return 'element %d differs: expected %r, got %r' % (index + 1, a, b)
    return None if len(want) == len(got) else 'expected %d elements, got %d' % (len(want), len(got))


def suite_cases(xmlconf):
    """Valid cases needing no external entity, for XML 1.0 editions 1 to 4
    (those the plug-in's parser implements)."""
    with open(os.path.join(xmlconf, 'xmlconf.xml'), encoding='utf-8') as top:
        catalogs = re.findall(r'<!ENTITY\s+\S+\s+SYSTEM\s+"([^"]+)"', top.read())
    for catalog in catalogs:
        path = os.path.join(xmlconf, catalog)
        with open(path, encoding='utf-8', errors='replace') as source:
            for match in re.finditer(r'<TEST\b([^>]*)>', source.read()):
                test = dict(re.findall(r'([\w:]+)\s*=\s*"([^"]*)"', match.group(1)))
                if (test.get('TYPE') == 'valid' and test.get('ENTITIES', 'none') == 'none'
                        and '1.0' in test.get('VERSION', '1.0').split()
                        and set(test.get('EDITION', '1').split()) & {'1', '2', '3', '4'}):
                    yield os.path.normpath(os.path.join(os.path.dirname(path), test['URI']))


def main(argv):
    if len(argv) == 3 and argv[1] == 'pairs':
        with open(argv[2], encoding='utf-8') as pairs:
            problems = [(line.split('\t')[0], difference(*line.rstrip('\n').split('\t'))) for line in pairs]
        for original, problem in problems:
            if problem:
                print('%s: %s' % (original, problem))
        return 1 if any(problem for _, problem in problems) else 0
    if len(argv) == 3 and argv[1] == 'suite':
        print('\n'.join(suite_cases(argv[2])))
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == '__main__':
    sys.exit(main(sys.argv))
