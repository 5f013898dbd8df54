"""The cost of one command call from Python beside the same command in dghost.

Not a test. Run after a build, from the repository's root:
    PYTHONPATH=build/python /usr/bin/python3 bench/python_call.py [--calls N]

For each command, the time per call of:
  python     dghost.cmds.NAME(...)            (flags checked and typed, result typed)
  mel.eval   dghost.mel.eval("NAME ...")      (MEL text parsed each call)
  dghost     N statements in one dghost script, minus the same script with one
             statement (process start and plug-in load taken out); the script
             is a file, as -c text of that size exceeds the argument limit,
             and runs through the same runner as -c
Every run imports examples/sample.xml first; the plug-in's lines go nowhere.
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DGHOST = os.path.join(ROOT, "build", "bin", "dghost")
SAMPLE = os.path.join(ROOT, "examples", "sample.xml")

# (label, function name, objects, flags, the same in MEL)
CASES = [
    ("objExists", "objExists", ("priority1",), {}, "objExists priority1"),
    ("getAttr", "getAttr", ("priority1.XmlValue",), {}, "getAttr priority1.XmlValue"),
    ("XmlElement -q -xv", "XmlElement", (), {"q": True, "xv": True}, "XmlElement -q -xv"),
    ("XmlFind -n", "XmlFind", (), {"n": "queue"}, 'XmlFind -n "queue"'),
]


def per_call(seconds, calls):
    return seconds / calls * 1e6


def time_python(dghost, cmds, case, calls):
    _, name, objects, flags, mel = case
    function = getattr(cmds, name)
    start = time.perf_counter()
    for _ in range(calls):
        function(*objects, **flags)
    python = time.perf_counter() - start
    start = time.perf_counter()
    for _ in range(calls):
        dghost.mel.eval(mel)
    return per_call(python, calls), per_call(time.perf_counter() - start, calls)


def time_dghost(case, calls):
    setup = f'loadPlugin Dendrine; XmlLoadFile -f "{SAMPLE}" -n "farm"; select -r priority1;\n'

    def run(count):
        with tempfile.NamedTemporaryFile("w", suffix=".mel", delete=False) as script:
            script.write(setup + (case[4] + ";\n") * count)
        try:
            start = time.perf_counter()
            subprocess.run([DGHOST, "--log", os.devnull, script.name], stdout=subprocess.DEVNULL, check=True)
            return time.perf_counter() - start
        finally:
            os.unlink(script.name)

    base = min(run(1) for _ in range(3))
    full = min(run(calls + 1) for _ in range(3))
    return per_call(full - base, calls)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--calls", type=int, default=20000)
    calls = parser.parse_args().calls

    import dghost
    import dghost.cmds as cmds

    cmds.loadPlugin("Dendrine")
    with dghost.captured_log():
        cmds.XmlLoadFile(f=SAMPLE, n="farm")
    cmds.select("priority1", r=True)

    print(f"{calls} calls each; microseconds per call")
    print(f"{'command':<20}{'python':>10}{'mel.eval':>10}{'dghost':>11}{'python/dghost':>15}")
    for case in CASES:
        with dghost.captured_log():
            python, mel = time_python(dghost, cmds, case, calls)
        script = time_dghost(case, calls)
        print(f"{case[0]:<20}{python:>10.2f}{mel:>10.2f}{script:>11.2f}{python / script:>14.2f}x")
    return 0


if __name__ == "__main__":
    sys.exit(main())
