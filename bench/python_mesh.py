#!/usr/bin/python3
"""Throughput of gmd.read_mesh and gmd.write_mesh against the plain C loops.

Usage: python_mesh.py LOOPS SCRATCH [--count N] [--rounds R]

LOOPS is gmd_bench_loops (`write|read FILE N`, prints seconds). Each round
writes N triangles with the C loop and with write_mesh (the same triangles,
each corner its own point, as the C loop writes them), then reads the C
loop's file with the C loop and with read_mesh. Rounds alternate the four,
the table shows medians, and the ratios are throughput ratios (C seconds /
Python seconds) taken from the medians. Exits 1 when a ratio is below the
target. The Python package and its libraries are found as usual (set
PYTHONPATH, GMD_LIBRARY and GMDKIT_LIBRARY to use a build tree).
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

import numpy as np

import gmd

TARGET = 0.3


def triangles(count):
    """The C loop's triangles: corner j of triangle i is base + (3j, 3j+1, 3j+2),
    base = (i mod 1000003) / 4."""
    base = (np.arange(count, dtype=np.int64) % 1000003).astype(np.float32) * np.float32(0.25)
    points = (base[:, None] + np.arange(9, dtype=np.float32)[None, :]).reshape(-1, 3)
    return points, np.arange(3 * count, dtype=np.int64).reshape(count, 3)


def fresh(path):
    if os.path.exists(path):
        os.remove(path)
    os.sync()  # no write pays for writing back what an earlier one left


def c_loop(loops, mode, path, count):
    if mode == "write":
        fresh(path)
    done = subprocess.run([loops, mode, path, str(count)], capture_output=True, text=True, check=True)
    return float(done.stdout)


def timed(function, *args, **keywords):
    start = time.perf_counter()
    result = function(*args, **keywords)
    return time.perf_counter() - start, result


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("loops")
    parser.add_argument("scratch")
    parser.add_argument("--count", type=int, default=5_000_000)
    parser.add_argument("--rounds", type=int, default=5)
    args = parser.parse_args()
    os.makedirs(args.scratch, exist_ok=True)
    from_c, from_python = (os.path.join(args.scratch, name) for name in ("c.gmd", "python.gmd"))
    points, corners = triangles(args.count)
    times = {"c_write": [], "write_mesh": [], "c_read": [], "read_mesh": []}
    for _ in range(args.rounds):
        times["c_write"].append(c_loop(args.loops, "write", from_c, args.count))
        fresh(from_python)
        seconds, _ = timed(gmd.write_mesh, from_python, points, {"triangle": corners})
        times["write_mesh"].append(seconds)
        times["c_read"].append(c_loop(args.loops, "read", from_c, args.count))
        seconds, mesh = timed(gmd.read_mesh, from_c)
        times["read_mesh"].append(seconds)
        if len(mesh.triangles) != args.count or not np.array_equal(mesh.points, points):
            sys.exit("read_mesh did not give back the triangles the C loop wrote")
        del mesh
    if os.path.getsize(from_c) != os.path.getsize(from_python):
        sys.exit("write_mesh wrote %d bytes, the C loop %d" % (os.path.getsize(from_python), os.path.getsize(from_c)))
    median = {name: statistics.median(values) for name, values in times.items()}
    print("%d triangles, %d rounds, medians\n" % (args.count, args.rounds))
    print("| loop | median s | triangles/s |\n|---|---:|---:|")
    for name, seconds in median.items():
        print("| %s | %.3f | %.3g |" % (name, seconds, args.count / seconds))
    failed = False
    print("\n| target | measured | |\n|---|---:|---|")
    for python, c in (("read_mesh", "c_read"), ("write_mesh", "c_write")):
        ratio = median[c] / median[python]
        failed |= ratio < TARGET
        print("| %s throughput / C loop >= %.1f | %.2f | %s |" % (python, TARGET, ratio,
                                                              "met" if ratio >= TARGET else "NOT met"))
    for path in (from_c, from_python):
        os.remove(path)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
