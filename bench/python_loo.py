"""A leave-one-out cross_val_predict with geneclub's EPClassifier, timed in
the process: the table is read once, then the cross-validation runs RUNS
times. Prints the median wall time in ms and the number of samples right,
to compare with geneclub-batch --evaluate loo --classifier sum on the same
table.

    python bench/python_loo.py TABLE.csv RUNS
"""

import statistics
import sys
import time

from sklearn.model_selection import LeaveOneOut, cross_val_predict

import geneclub


def main(path, runs):
    X, y = geneclub.read_table(path)
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        predicted = cross_val_predict(geneclub.EPClassifier(), X, y, cv=LeaveOneOut())
        times.append((time.perf_counter() - start) * 1000)
    right = int((predicted == y.to_numpy()).sum())
    print(f"{statistics.median(times):.1f} ms, {right} of {len(y)} samples right")


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]))
