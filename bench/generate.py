#!/usr/bin/env python3
"""Writes a synthetic Watcom IDE project for the dependency-scan benchmark.

    generate.py SOURCES OUTPUT_FOLDER

OUTPUT_FOLDER/watcom/   a compiler folder (h/, h/nt/) with system headers
OUTPUT_FOLDER/proj/     bench.wpj, one target file per 1,000 sources (CR LF, the IDE's layout),
                        src/ sources and resource scripts, inc/ a layered header DAG,
                        res/ icons and data/ files named by resource lines and string literals

Every source includes system headers (found in the compiler folder and left out) and three headers
of the top layer; every header includes three headers of the layer below, so each source expands
into about 1,300 dependency nodes. Headers carry include guards; a quarter of the headers of the
last layer but one include one of a pair of headers that include each other (a guarded cycle). One include name in eight is written in a
different letter case than the file. The output is the same for the same SOURCES.
"""

import os
import random
import sys

LAYERS = 6
TOP_INCLUDES = 3
FANOUT = 3
SOURCES_PER_TARGET = 1000
SYSTEM_HEADERS = ["stdio.h", "stdlib.h", "string.h", "math.h"]
NT_HEADERS = ["windows.h", "winuser.h"]

FILLER = (
    "static int {name}_step{i}( int value )\r\n"
    "{{\r\n"
    "    /* keeps the value inside its range; the range never changes */\r\n"
    "    if( value > {i}000 ) {{\r\n"
    "        return( value - {i} );\r\n"
    "    }}\r\n"
    "    return( value + {i} * 3 );\r\n"
    "}}\r\n\r\n"
)


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", newline="") as out:
        out.write(text)


def crlf(lines):
    return "".join(line + "\r\n" for line in lines)


def spelled(name, rng):
    """The include name as a source writes it: one in eight in other letter case."""
    return name.upper() if rng.random() < 0.125 else name


def cycle_name(which, index):
    return "cyc/%s%05d.h" % (which, index)


def header_name(layer, index):
    return "l%d/h%05d.h" % (layer, index)


def generate(sources, root):
    rng = random.Random(sources)
    project = os.path.join(root, "proj")
    watcom = os.path.join(root, "watcom")
    for name in SYSTEM_HEADERS:
        write(os.path.join(watcom, "h", name), "/* system header */\r\n#include <stddef.h>\r\n")
    write(os.path.join(watcom, "h", "stddef.h"), "/* system header */\r\n")
    for name in NT_HEADERS:
        write(os.path.join(watcom, "h", "nt", name), "/* system header */\r\n#include <stdio.h>\r\n")

    per_layer = max(4, sources // 8 // LAYERS)
    for layer in range(LAYERS):
        for index in range(per_layer):
            guard = "L%d_H%05d_H" % (layer, index)
            lines = ["/* layer %d header %d */" % (layer, index), "#ifndef " + guard, "#define " + guard]
            if layer + 1 < LAYERS:
                for child in rng.sample(range(per_layer), FANOUT):
                    lines.append('#include "%s"' % spelled(header_name(layer + 1, child), rng))
            else:
                lines.append("#include <string.h>")
            if layer == LAYERS - 2 and index % 4 == 0:
                lines.append('#include "%s"' % cycle_name("a", index))
            lines.append("typedef struct { int field%d; } type_%d_%d;" % (index, layer, index))
            lines.append("#endif")
            write(os.path.join(project, "inc", *header_name(layer, index).split("/")), crlf(lines))
    # Guarded cycles: pairs of headers that include each other.
    for index in range(0, per_layer, 4):
        for me, other in (("a", "b"), ("b", "a")):
            guard = "CYCLE_%s%05d_H" % (me.upper(), index)
            lines = ["#ifndef " + guard, "#define " + guard,
                     '#include "%s"' % cycle_name(other, index), "#endif"]
            write(os.path.join(project, "inc", *cycle_name(me, index).split("/")), crlf(lines))

    for index in range(32):
        write(os.path.join(project, "res", "icon%02d.ico" % index), "\0\0\1\0" * 64)
        write(os.path.join(project, "data", "table%02d.txt" % index), "0 1 2 3\r\n" * 32)
    write(os.path.join(project, "src", "resource.h"), crlf(["#define IDI_MAIN 1"]))

    names = []
    for index in range(sources):
        if index % 50 == 49:
            name = "src/s%05d.rc" % index
            lines = ['#include <windows.h>', '#include "resource.h"', ""]
            for icon in range(4):
                lines.append('ICON%d ICON "res\\icon%02d.ico"' % (icon, (index + icon) % 32))
            lines.append('#include "%s"' % header_name(0, index % per_layer))
        else:
            name = "src/s%05d.c" % index
            lines = ["/* source %d */" % index, "#include <stdio.h>", "#include <windows.h>"]
            for top in rng.sample(range(per_layer), TOP_INCLUDES):
                lines.append('#include "%s"' % spelled(header_name(0, top), rng))
            lines.append("")
            lines.append('static const char *table = "data\\\\table%02d.txt";' % (index % 32))
            lines.append('static const char *pattern = "src/*.c";')
            body = "".join(FILLER.format(name="s%05d" % index, i=i) for i in range(1, 9))
            lines.append(body)
        write(os.path.join(project, *name.split("/")), crlf(lines))
        names.append(name.replace("/", "\\"))

    targets = []
    for first in range(0, sources, SOURCES_PER_TARGET):
        target = "t%02d.tgt" % (first // SOURCES_PER_TARGET)
        write(os.path.join(project, target), target_file(names[first:first + SOURCES_PER_TARGET]))
        targets.append(target)
    write(os.path.join(project, "bench.wpj"), project_file(targets))


def item(number, name, kind):
    return [str(number), "MItem", str(len(name)), name, str(number + 1), "WString",
            str(len(kind)), kind, str(number + 2), "WVList", "0", str(number + 3), "WVList", "0",
            "-1", "1", "1", "0"]


def target_file(sources):
    lines = ["40", "targetIdent", "0", "MProject", "1", "MComponent", "0", "2", "WString", "4",
             "NEXE", "3", "WString", "5", "nw2en", "1", "0", "1"]
    number = 4
    lines += item(number, "bench.exe", "NEXE")
    number += 4
    switch = "$(%watcom)\\h;$(%watcom)\\h\\nt;inc;src"
    lines += [str(number), "MVState", str(number + 1), "WString", "3", "WCC", str(number + 2),
              "WString", "25", "n????Include directories:", "0", str(number + 3), "WString",
              str(len(switch)), switch, "0"]
    number += 4
    for name in sources:
        lines += item(number, name, "COBJ")
        number += 4
    return crlf(lines)


def project_file(targets):
    lines = ["40", "projectIdent", "0", "VpeMain", "1", "WRect", "0", "0", "7680", "9216", "2",
             "MProject", "3", "MCommand", "0", "4", "MCommand", "0", str(len(targets))]
    for index, target in enumerate(targets):
        lines += ["5", "WFileName", str(len(target)), target, "6", "WVList", "0", str(7 + index),
                  "VComponent", "8", "WRect", "0", "0", "5700", "4240", "0", "0", "9",
                  "WFileName", str(len(target)), target, "0", "0"]
    return crlf(lines)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    generate(int(sys.argv[1]), sys.argv[2])
