"""geneclub: information gains, gene clubs and minimal jumping emerging patterns
of two-class gene-expression tables, for pandas and scikit-learn.

The computations are those of the command-line program geneclub-batch, done
by the same C++ engine, so they give the same numbers to the last bit.

read_table(path, **options) -> (X, y)
    Reads a data file as geneclub-batch does: X a DataFrame of samples x
    genes (float64), y a Series of the samples' labels.

analyse(X, y, *, top=20, pool=None, methods=..., disease=None,
        permutations=0, seed=1, threads=None) -> Analysis
    The analysis of geneclub-batch: the ranked genes, the gene clubs and
    every minimal emerging pattern, as DataFrames equal to its tables, and
    its result files with Analysis.write.

EPClassifier(top=20, rule="sum", pool=None, threads=None, seed=1)
    A scikit-learn classifier of two classes by emerging patterns, trained
    as one fold of geneclub-batch --evaluate.

Importing geneclub is quick: numpy, pandas and scikit-learn are imported
when a function or class that needs them is first used.
"""

from geneclub._engine import version as __version__
from geneclub._table import read_table

__all__ = ["Analysis", "EPClassifier", "analyse", "read_table"]

# The names whose modules import numpy or scikit-learn, each loaded on first
# use to keep the import quick.
_LAZY = {"Analysis": "geneclub._analysis", "analyse": "geneclub._analysis",
         "EPClassifier": "geneclub._classifier"}


def __getattr__(name):
    if name in _LAZY:
        import importlib

        return getattr(importlib.import_module(_LAZY[name]), name)
    raise AttributeError(f"module 'geneclub' has no attribute {name!r}")


def __dir__():
    return sorted(set(globals()) | set(__all__))
