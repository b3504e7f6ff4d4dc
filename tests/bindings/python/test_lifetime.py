"""Readers and writers give their file back however they end: with, end of
iteration, break, collection, interpreter exit."""
import os
import subprocess
import sys
import textwrap

import gmd

LOOPS = textwrap.dedent("""
    import os, resource, sys
    import gmd
    resource.setrlimit(resource.RLIMIT_NOFILE, (256, 256))
    before = len(os.listdir("/proc/self/fd"))
    for i in range(5000):
        for n, record in enumerate(gmd.open(sys.argv[1])):
            if i % 2 and n == 1:
                break
    print(len(os.listdir("/proc/self/fd")) - before)
""")

UNCLOSED = textwrap.dedent("""
    import sys
    import gmd
    dropped = gmd.create(sys.argv[1])
    kept = gmd.create(sys.argv[2])
    for i in range(100):
        dropped.write(gmd.Sphere([i, 0, 0], 1))
        kept.write(gmd.Sphere([i, 0, 0], 1))
    del dropped
    print(len(gmd.open(sys.argv[1])))
""")  # `kept` is still open when the interpreter exits


def run(script, *args):
    done = subprocess.run([sys.executable, "-c", script, *map(str, args)], capture_output=True, text=True,
                          env=os.environ)
    assert done.returncode == 0, done.stderr
    return done.stdout.split()


def test_5000_reading_loops_with_and_without_break_leak_no_descriptor(tmp_path):
    path = tmp_path / "three.gmd"
    with gmd.create(path) as out:
        for i in range(3):
            out.write(gmd.Tolerance(i))
    assert len(gmd.open(path)) == 3 and gmd.open(path).damage is None
    assert run(LOOPS, path) == ["0"]


def test_writers_nobody_closed_still_write_every_record(tmp_path):
    dropped, kept = tmp_path / "dropped.gmd", tmp_path / "kept.gmd"
    assert run(UNCLOSED, dropped, kept) == ["100"]
    assert [r.center[0] for r in gmd.open(kept)] == list(range(100))
