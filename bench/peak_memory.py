#!/usr/bin/env python3
"""Peak memory of one Get Contents against the size of the text it read, in
all and by stage.

Wine's own process counters do not follow the heap, so the kernel's figures
for the benchmark's process are read here. quarvel_bench.exe --memory N
goes through the stages of Get Contents and names each when it is done:
"ready" once the list is found, "read" once every item is gathered into
the text, "shown UTF8 UTF16" once the contents box holds it, with the text's
size in bytes in UTF-8 and in UTF-16 (as Quarvel holds it). Before each stage the peak resident size is
reset to the current one; after it the peak is read. Prints Markdown rows:
the whole growth over the text, Quarvel's own share (reading, its text
included), and the box's stage (the system's conversion and the
edit control's copies, with Quarvel's text still held).
Usage: peak_memory.py BIN_DIR [--quick]"""
import os
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
WINE_RUN = os.path.join(HERE, '..', 'tools', 'wine-run')
RUNS = 3
STAGES = ('read', 'shown')


def status_kb(pid, field):
    with open(f'/proc/{pid}/status') as f:
        for line in f:
            if line.startswith(field + ':'):
                return int(line.split()[1])
    raise RuntimeError(f'{field} missing for {pid}')


def reset_peak(pid):
    with open(f'/proc/{pid}/clear_refs', 'w') as f:
        f.write('5')  # the peak resident size starts again from here


def one_read(bench, items):
    """Peak growth over the starting size for each stage, and the text's
    sizes in UTF-8 and UTF-16."""
    process = subprocess.Popen([WINE_RUN, bench, '--memory', str(items)], stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        if process.stdout.readline().split()[:1] != ['ready']:
            return None
        baseline = status_kb(process.pid, 'VmRSS')
        peaks = {}
        sizes = None
        for stage in STAGES:
            reset_peak(process.pid)
            process.stdin.write('\n')
            process.stdin.flush()
            said = process.stdout.readline().split()
            if said[:1] != [stage]:
                return None
            peaks[stage] = (status_kb(process.pid, 'VmHWM') - baseline) * 1024
            sizes = (int(said[1]), int(said[2])) if len(said) > 2 else sizes
        process.stdin.write('\n')
        process.stdin.flush()
        return (peaks, sizes) if sizes and sizes[0] else None
    finally:
        try:
            process.wait(timeout=60)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def row(what, ratios):
    print(f'| {what} | {statistics.median(ratios):.2f} | {min(ratios):.2f} | {max(ratios):.2f} | ratio |',
          flush=True)


def main(bin_dir, quick):
    bench = os.path.join(bin_dir, 'quarvel_bench.exe')
    for items in (10000,) if quick else (10000, 100000):
        reads = [r for r in (one_read(bench, items) for _ in range(RUNS)) if r is not None]
        if not reads:
            print(f'| {items} items: peak memory growth / text | no reading | | | ratio |')
            continue
        for name, which in (('UTF-8', 0), ('UTF-16', 1)):
            row(f'{items} items: peak memory growth / text in {name}',
                [max(peaks.values()) / sizes[which] for peaks, sizes in reads])
        row(f'{items} items: Quarvel\'s own share (reading, its text) / text in UTF-8',
            [peaks['read'] / sizes[0] for peaks, sizes in reads])
        row(f'{items} items: setting the box (edit control, Quarvel\'s text) / text in UTF-8',
            [peaks['shown'] / sizes[0] for peaks, sizes in reads])


if __name__ == '__main__':
    main(sys.argv[1], '--quick' in sys.argv[2:])
