"""Fixtures of the geneclub package's tests: the project's folders, the real
data sets beside the project (tests that need them skip when they are
absent), the batch program to compare with, and small generated tables."""

import os
import pathlib
import subprocess

import numpy as np
import pandas as pd
import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
SHARED_DATA = ROOT.parent / "shared" / "data"


def public_table(name):
    """The path of a public data set, skipping the test when it is absent."""
    path = SHARED_DATA / "public" / name
    if not path.is_file():
        pytest.skip(f"{path} is absent")
    return path


@pytest.fixture(scope="session")
def batch_program():
    """geneclub-batch: GENECLUB_BATCH, else the newest one built under
    build/, else built now in the package's build folder."""
    named = os.environ.get("GENECLUB_BATCH")
    if named:
        path = pathlib.Path(named)
        if not path.is_file():
            pytest.fail(f"GENECLUB_BATCH names {named}, which does not exist")
        return path
    built = sorted(ROOT.glob("build/*/app/geneclub-batch"), key=lambda p: p.stat().st_mtime)
    if built:
        return built[-1]
    build = ROOT / "build" / "python"
    subprocess.run(["cmake", "-S", ROOT, "-B", build, "-DCMAKE_BUILD_TYPE=Release",
                    "-DGENECLUB_BUILD_TESTS=OFF"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build, "--target", "geneclub-batch", "-j",
                    str(os.cpu_count() or 1)], check=True, stdout=subprocess.DEVNULL)
    return build / "app" / "geneclub-batch"


def run_batch(program, *arguments):
    """Runs geneclub-batch quietly; fails the test when it fails."""
    result = subprocess.run([str(program), "--quiet", *map(str, arguments)], capture_output=True,
                            text=True)
    assert result.returncode == 0, result.stderr
    return result


def read_evaluation(folder):
    """evaluation.tsv of a batch run, its scores as exact doubles."""
    return pd.read_csv(folder / "evaluation.tsv", sep="\t", dtype={"sample": str},
                       float_precision="round_trip", keep_default_na=False)


def signal_table(samples=40, genes=60, seed=5):
    """A samples x genes DataFrame of integer-valued expression values with
    a few informative genes, and labels "T" and "N" (the first sample "T",
    which sorts last)."""
    rng = np.random.default_rng(seed)
    labels = np.where(np.arange(samples) % 3 == 0, "N", "T")
    labels[0] = "T"
    values = rng.integers(0, 1000, size=(samples, genes)).astype(np.float64)
    informative = labels == "T"
    for gene in range(0, genes, 7):
        shift = rng.integers(200, 600)
        values[informative, gene] += shift
    frame = pd.DataFrame(values, index=[f"s{i + 1}" for i in range(samples)],
                         columns=[f"g{j + 1}" for j in range(genes)])
    return frame, pd.Series(labels, index=frame.index, name="labels")


def write_csv(path, X, y):
    """X and y as a table that geneclub-batch reads: labels first."""
    pd.concat([y, X], axis=1).to_csv(path, index=False)
    return path
