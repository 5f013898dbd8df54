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
Times are processor time (user and system), so that other work on a shared
machine disturbs them less than it would wall time.
"""

import argparse
import os
import resource
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


def best_of(repeats, run):
    """The fastest of several runs: the one least disturbed by other work."""
    return min(run() for _ in range(repeats))


def time_python(dghost, cmds, case, calls, repeats):
    _, name, objects, flags, mel = case
    function = getattr(cmds, name)

    def python():
        start = time.process_time()
        for _ in range(calls):
            function(*objects, **flags)
        return per_call(time.process_time() - start, calls)

    def mel_eval():
        start = time.process_time()
        for _ in range(calls):
            dghost.mel.eval(mel)
        return per_call(time.process_time() - start, calls)

    return best_of(repeats, python), best_of(repeats, mel_eval)


def time_dghost(case, calls, repeats):
    setup = f'loadPlugin Dendrine; XmlLoadFile -f "{SAMPLE}" -n "farm"; select -r priority1;\n'

    def run(count):
        with tempfile.NamedTemporaryFile("w", suffix=".mel", delete=False) as script:
            script.write(setup + (case[4] + ";\n") * count)
        try:
            before = resource.getrusage(resource.RUSAGE_CHILDREN)
            subprocess.run([DGHOST, "--log", os.devnull, script.name], stdout=subprocess.DEVNULL, check=True)
            after = resource.getrusage(resource.RUSAGE_CHILDREN)
            return after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime
        finally:
            os.unlink(script.name)

    return per_call(best_of(repeats, lambda: run(calls + 1)) - best_of(repeats, lambda: run(1)), calls)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--calls", type=int, default=20000)
    parser.add_argument("--repeats", type=int, default=5, help="runs of each measurement; the fastest counts")
    options = parser.parse_args()
    calls, repeats = options.calls, options.repeats

    import dghost
    import dghost.cmds as cmds

    cmds.loadPlugin("Dendrine")
    with dghost.captured_log():
        cmds.XmlLoadFile(f=SAMPLE, n="farm")
    cmds.select("priority1", r=True)

    print(f"{calls} calls each, fastest of {repeats} runs; microseconds per call")
    print(f"{'command':<20}{'python':>10}{'mel.eval':>10}{'dghost':>11}{'python/dghost':>15}")
    for case in CASES:
        with dghost.captured_log():
            python, mel = time_python(dghost, cmds, case, calls, repeats)
        script = time_dghost(case, calls, repeats)
        print(f"{case[0]:<20}{python:>10.2f}{mel:>10.2f}{script:>11.2f}{python / script:>14.2f}x")
    return 0


if __name__ == "__main__":
    sys.exit(main())
