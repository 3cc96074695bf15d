"""geneclub: information gains, gene clubs and minimal jumping emerging patterns
of two-class gene-expression tables, for pandas and scikit-learn.

The computations are those of the command-line program geneclub-batch, done
by the same C++ engine, so they give the same numbers to the last bit.

read_table(path, **options) -> (X, y)
    Reads a data file as geneclub-batch does: X a DataFrame of samples x
    genes (float64), y a Series of the samples' labels.

EPClassifier(top=20, rule="sum", pool=None, threads=None)
    A scikit-learn classifier of two classes by emerging patterns, trained
    as one fold of geneclub-batch --evaluate.

Importing geneclub is quick: pandas and scikit-learn are imported when
read_table or EPClassifier is first used.
"""

from geneclub._engine import version as __version__
from geneclub._table import read_table

__all__ = ["EPClassifier", "read_table"]


def __getattr__(name):
    # EPClassifier is a scikit-learn estimator, so its module imports
    # scikit-learn; it is loaded on first use to keep the import quick.
    if name == "EPClassifier":
        from geneclub._classifier import EPClassifier

        return EPClassifier
    raise AttributeError(f"module 'geneclub' has no attribute {name!r}")


def __dir__():
    return sorted(set(globals()) | set(__all__))
