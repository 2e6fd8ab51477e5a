#!/usr/bin/env python3
"""Time and peak memory of tamsk-cli on hostile inputs of scale (the figures of docs/reliability.md).

    bench/hostile.py [CASE...]      (default: every case)

Cases: line (a 100 MB source of one line and a 100 MB last line in a target file), records (a
target file of a million items), chain (an include chain 10,000 deep), clique (20 headers that all
include each other behind guards: the load stops at its default work limit). Each runs
`tamsk-cli tree` (the clique `copy`) once in a fresh folder under ${TAMSK_BENCH_DIR:-/tmp/tamsk-bench}
and prints its exit code, wall time and peak resident memory. TAMSK_CLI picks the binary (default
build/default/cli/tamsk-cli).
"""
import os
import shutil
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CLI = os.environ.get("TAMSK_CLI", os.path.join(ROOT, "build/default/cli/tamsk-cli"))


def lines(*values):
    return "".join(value + "\r\n" for value in values)


def counted(name):
    return lines(str(len(name)), name)


def project_file(targets):
    text = lines("40", "projectIdent")
    for target in targets:
        text += lines("VComponent", "1", "WRect", "0", "0", "5700", "4280", "0", "0", "2",
                      "WFileName") + counted(target) + lines("0", "1")
    return text


def item(name):
    return lines("MItem") + counted(name) + lines("7", "WString", "4", "COBJ")


def target_file(items):
    head = lines("40", "targetIdent", "MComponent", "0", "2", "WString", "4", "NEXE", "3",
                 "WString", "5", "nw2en")
    return head + item("app.exe") + "".join(item(name) for name in items)


def write(folder, name, text):
    with open(os.path.join(folder, name), "w", newline="", encoding="latin-1") as out:
        out.write(text)


def line_case(folder):
    block = "abcdefgh/*x*/'q'" * 65536
    with open(os.path.join(folder, "big.c"), "w") as out:
        for _ in range(100):
            out.write(block)
        out.write('#include "tail.h"')
    write(folder, "tail.h", "")
    write(folder, "t.tgt", target_file(["big.c"]))
    write(folder, "big.tgt", target_file(["big.c"]) + "MItem.." * ((100 << 20) // 7))
    write(folder, "p.wpj", project_file(["t.tgt", "big.tgt"]))
    return ["tree"]


def records_case(folder):
    write(folder, "t.tgt", target_file("f%d.c" % i for i in range(1_000_000)))
    write(folder, "p.wpj", project_file(["t.tgt"]))
    return ["tree"]


def chain_case(folder):
    for i in range(10_000):
        write(folder, "h%d.h" % i, '#include "h%d.h"\n' % (i + 1) if i + 1 < 10_000 else "")
    write(folder, "main.c", '#include "h0.h"\n')
    write(folder, "t.tgt", target_file(["main.c"]))
    write(folder, "p.wpj", project_file(["t.tgt"]))
    return ["tree"]


def clique_case(folder):
    includes = "".join('#include "h%d.h"\n' % i for i in range(20))
    for i in range(20):
        write(folder, "h%d.h" % i, "#ifndef H%d\n#define H%d\n%s#endif\n" % (i, i, includes))
    write(folder, "main.c", '#include "h0.h"\n')
    write(folder, "t.tgt", target_file(["main.c"]))
    write(folder, "p.wpj", project_file(["t.tgt"]))
    return ["copy", "DEST"]


CASES = {"line": line_case, "records": records_case, "chain": chain_case, "clique": clique_case}


def run(name):
    work = os.path.join(os.environ.get("TAMSK_BENCH_DIR", "/tmp/tamsk-bench"), "hostile", name)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    command = CASES[name](work)
    args = [CLI, command[0], os.path.join(work, "p.wpj")]
    args += [os.path.join(work, "dest")] if len(command) > 1 else []
    env = {k: v for k, v in os.environ.items() if k != "WATCOM"}
    start = time.monotonic()
    with open(os.devnull, "w") as sink:
        # Each case in a child of its own, so that its peak is not another case's.
        pid = os.fork()
        if pid == 0:
            os.dup2(sink.fileno(), 1)
            os.dup2(sink.fileno(), 2)
            os.execve(CLI, args, env)
        _, status, usage = os.wait4(pid, 0)
    seconds = time.monotonic() - start
    print("%-8s exit %d  %7.2f s  %7.1f MB" % (name, os.waitstatus_to_exitcode(status), seconds,
                                                usage.ru_maxrss / 1024))
    shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    for case in sys.argv[1:] or list(CASES):
        run(case)
