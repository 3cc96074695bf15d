"""geneclub.analyse on a table already in memory, timed in the process: the
table is read once, then the analysis runs RUNS times with the batch
program's defaults, each time with its three DataFrames (genes, clubs,
patterns) made. Prints the median wall time in ms and the table sizes, to
compare with the whole-process time of geneclub-batch on the same table.

    python bench/python_analyse.py TABLE.csv RUNS
"""

import statistics
import sys
import time

import geneclub


def main(path, runs):
    X, y = geneclub.read_table(path)
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        analysis = geneclub.analyse(X, y)
        sizes = [len(table) for table in (analysis.genes, analysis.clubs, analysis.patterns)]
        times.append((time.perf_counter() - start) * 1000)
    print(f"{statistics.median(times):.1f} ms; {sizes[0]} genes, {sizes[1]} club rows, "
          f"{sizes[2]} patterns")


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]))
