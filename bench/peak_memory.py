#!/usr/bin/env python3
"""Peak memory of one Get Contents against the size of the text it read.

Wine's own process counters do not follow the heap, so the kernel's figures
for the benchmark's process are read here: quarvel_bench.exe --memory N says
"ready" once the list is picked, the resident size is noted and its peak
reset, and when it says "done BYTES" the peak is read.  Prints Markdown rows.
Usage: peak_memory.py BIN_DIR [--quick]"""
import os
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
WINE_RUN = os.path.join(HERE, '..', 'tools', 'wine-run')
RUNS = 3


def status_kb(pid, field):
    with open(f'/proc/{pid}/status') as f:
        for line in f:
            if line.startswith(field + ':'):
                return int(line.split()[1])
    raise RuntimeError(f'{field} missing for {pid}')


def one_read(bench, items):
    process = subprocess.Popen([WINE_RUN, bench, '--memory', str(items)], stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        if process.stdout.readline().strip() != 'ready':
            return None
        baseline = status_kb(process.pid, 'VmRSS')
        with open(f'/proc/{process.pid}/clear_refs', 'w') as f:
            f.write('5')  # the peak resident size starts again from here
        process.stdin.write('\n')
        process.stdin.flush()
        done = process.stdout.readline().split()
        peak = status_kb(process.pid, 'VmHWM')
        process.stdin.write('\n')
        process.stdin.flush()
        text_bytes = int(done[1])
        return (peak - baseline) * 1024 / text_bytes if text_bytes else None
    finally:
        try:
            process.wait(timeout=60)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def main(bin_dir, quick):
    bench = os.path.join(bin_dir, 'quarvel_bench.exe')
    for items in (10000,) if quick else (10000, 100000):
        ratios = [r for r in (one_read(bench, items) for _ in range(RUNS)) if r is not None]
        if not ratios:
            print(f'| {items} items: peak memory growth / text | no reading | | | ratio |')
            continue
        print(f'| {items} items: peak memory growth / text | {statistics.median(ratios):.2f} | '
              f'{min(ratios):.2f} | {max(ratios):.2f} | ratio |', flush=True)


if __name__ == '__main__':
    main(sys.argv[1], '--quick' in sys.argv[2:])
