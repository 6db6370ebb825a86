#!/usr/bin/env python3
"""CPU time a program's process uses in 10 s of idle with its dialog open,
read from the kernel's per-thread run times (nanoseconds), median of runs.
Prints one Markdown table row per program.  Usage: idle_cpu.py BIN_DIR"""
import glob
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
WINE_RUN = os.path.join(HERE, '..', 'tools', 'wine-run')
IDLE_SECONDS = 10
RUNS = 3


def cpu_ns(pid, threads='*'):
    total = 0
    for path in glob.glob(f'/proc/{pid}/task/{threads}/schedstat'):
        try:
            with open(path) as f:
                total += int(f.read().split()[0])
        except (OSError, ValueError, IndexError):
            pass  # a thread that ended between the listing and the read
    return total


def wait_for_window(title, timeout=300):
    deadline = time.time() + timeout
    while time.time() < deadline:
        found = subprocess.run(['xdotool', 'search', '--onlyvisible', '--name', f'^{title}$'],
                               capture_output=True, text=True).stdout.split()
        if found:
            return found[0]
        time.sleep(0.2)
    return None


def idle_run(program):
    process = subprocess.Popen([WINE_RUN, program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        if not wait_for_window('Quarvel'):
            return None
        time.sleep(1)
        before = cpu_ns(process.pid), cpu_ns(process.pid, process.pid)
        time.sleep(IDLE_SECONDS)
        after = cpu_ns(process.pid), cpu_ns(process.pid, process.pid)
        return [(a - b) / 1e6 for a, b in zip(after, before)]
    finally:
        process.kill()
        process.wait()


def row(what, samples):
    print(f'| {what} | {statistics.median(samples):.3f} | {min(samples):.3f} | {max(samples):.3f} | ms |',
          flush=True)


def main(bin_dir):
    for name, label in (('Quarvel.exe', 'Quarvel'), ('minimal_dialog.exe', 'minimal dialog program')):
        runs = [r for r in (idle_run(os.path.join(bin_dir, name)) for _ in range(RUNS)) if r is not None]
        if not runs:
            print(f'| CPU time in {IDLE_SECONDS} s idle: {label} | no window | | | ms |')
            continue
        # The main thread runs the message loop; Wine's own service threads
        # make up the rest of the process.
        row(f'CPU time in {IDLE_SECONDS} s idle: {label}, whole process', [r[0] for r in runs])
        row(f'CPU time in {IDLE_SECONDS} s idle: {label}, main thread', [r[1] for r in runs])


if __name__ == '__main__':
    main(sys.argv[1])
