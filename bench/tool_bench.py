#!/usr/bin/python3
"""Speed and peak memory of the gmd tool against libgmd's own read loop.

Usage: tool_bench.py BUILD_DIR [TRIANGLES]   (default 5,000,000)

Writes one file of TRIANGLES triangles with gmd_bench_loops, times the
library's read loop on it, then each command on the same file in the same run,
and prints throughput ratios (library time / command time) and peak resident
memory. Memory is measured again on a file a fifth the size: a streaming
command keeps the same peak on both.
"""
import os
import subprocess
import sys
import tempfile
import time


def run(argv):
    """Wall seconds, peak resident kilobytes and CPU seconds of one command."""
    start = time.perf_counter()
    proc = subprocess.Popen(argv, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(proc.pid, 0)
    seconds = time.perf_counter() - start
    err = proc.stderr.read().decode(errors="replace")
    proc.stderr.close()
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: %s\n%s" % (" ".join(argv), err))
    return seconds, usage.ru_maxrss, usage.ru_utime + usage.ru_stime


def best(argv, repeat=3):
    """The fastest of a few runs (the machine may be shared), peak memory of all."""
    runs = [run(argv) for _ in range(repeat)]
    return min(r[0] for r in runs), max(r[1] for r in runs), min(r[2] for r in runs)


def main():
    build = sys.argv[1]
    n = int(sys.argv[2]) if len(sys.argv) > 2 else 5_000_000
    loops = os.path.join(build, "bench", "gmd_bench_loops")
    gmd = os.path.join(build, "tools", "gmd")
    with tempfile.TemporaryDirectory(dir=build) as tmp:
        big, small = os.path.join(tmp, "big.gmd"), os.path.join(tmp, "small.gmd")
        subprocess.run([loops, "write", big, str(n)], check=True, stdout=subprocess.DEVNULL)
        subprocess.run([loops, "write", small, str(n // 5)], check=True, stdout=subprocess.DEVNULL)
        library, _, library_cpu = best([loops, "read", big, str(n)], 5)
        out = lambda name: os.path.join(tmp, name)
        commands = [
            ("check", ["check", "-q", "{f}"], 0.5),
            ("info", ["info", "{f}"], 0.5),
            ("diff", ["diff", "{f}", "{f}"], None),
            ("convert to VTU (binary)", ["convert", "{f}", out("o.vtu")], 0.25),
            ("convert to STL", ["convert", "{f}", out("o.stl")], 0.25),
            ("convert to JSONL", ["convert", "{f}", out("o.jsonl")], 0.1),
        ]
        size = os.path.getsize(big)
        print("%d triangles, %.1f MB; library read loop %.3f s (%.0f MB/s)" % (n, size / 1e6, library, size / 1e6 / library))
        print("library CPU time %.3f s; ratios are library time / command time, wall and CPU" % library_cpu)
        print("%-26s %9s %7s %7s %7s %10s %12s" % ("command", "seconds", "ratio", "CPU", "target", "peak MB", "peak MB n/5"))
        failed = False
        for name, args, target in commands:
            seconds, peak, cpu = best([gmd] + [a.format(f=big) for a in args], 1 if "JSONL" in name else 2)
            note = ""
            if "VTU" in name:
                note = "  (output %.1f MB)" % (os.path.getsize(out("o.vtu")) / 1e6)
            _, peak_small, _ = run([gmd] + [a.format(f=small) for a in args])
            ratio = library / seconds
            ok = target is None or ratio >= target
            failed |= not ok
            print("%-26s %9.3f %7.3f %7.3f %7s %10.1f %12.1f%s%s" % (
                name, seconds, ratio, library_cpu / cpu, "%.2f" % target if target else "-", peak / 1024,
                peak_small / 1024, note, "" if ok else "  BELOW"))
        return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
