"""Checks of the data given to the engine from Python, with messages in the
manner of geneclub-batch's: which sample, which gene, what is wrong.

Samples are named by a DataFrame's index, genes by its columns; in a plain
array they are numbered from 1, as geneclub-batch numbers unnamed samples
and the genes of native records.
"""

import numpy as np

from geneclub import _engine

# The longest name, in characters, that a message shows in full (as
# geneclub-batch cuts names in its messages).
_MAX_QUOTED = 40


def _quoted(name):
    text = str(name).replace("\n", "\\n").replace("\t", "\\t")
    return f'"{text[:_MAX_QUOTED]}"' + ("..." if len(text) > _MAX_QUOTED else "")


def _sample_place(row, sample_names):
    if sample_names is None:
        return f"sample {row + 1}"
    return f"sample {_quoted(sample_names[row])} (row {row + 1})"


def _cell_place(row, column, sample_names, gene_names):
    gene = (f"gene {column + 1}" if gene_names is None else
            f"gene {_quoted(gene_names[column])} (column {column + 1})")
    return f"X: {_sample_place(row, sample_names)}, {gene}"


def sample_names_of(X):
    """The sample names of X (a DataFrame's index), or None for an array."""
    index = getattr(X, "index", None)
    return None if index is None or not hasattr(X, "columns") else index


def gene_names_of(X):
    """The gene names of X (a DataFrame's columns), or None for an array."""
    return getattr(X, "columns", None)


def frame_values(X):
    """The array of a DataFrame in the common type of its columns (a view of
    a DataFrame of float64 columns that pandas holds as one block); any
    other X as it is. Asking pandas for the array at once is much quicker
    than scikit-learn's check of each column's dtype on thousands of genes."""
    if hasattr(X, "columns") and hasattr(X, "to_numpy"):
        return X.to_numpy()
    return X


def check_labels_present(y, sample_names):
    """Raises ValueError for the first sample whose label is missing."""
    import pandas as pd

    missing = np.flatnonzero(pd.isna(np.asarray(y, dtype=object).ravel()))
    if missing.size:
        row = missing[0]
        raise ValueError(f"y: {_sample_place(row, sample_names)}: the label is missing")


def _row_lengths(X):
    """The number of values of each row of a nested sequence, or None."""
    if not isinstance(X, (list, tuple)):
        return None
    try:
        return [len(row) for row in X]
    except TypeError:
        return None


def explain_unconvertible(X, sample_names, gene_names):
    """The message for data that do not make a numeric samples x genes
    array: ragged rows, or the first cell (in row order) that is not a
    number. None when neither is the cause."""
    lengths = _row_lengths(X)
    if lengths and len(set(lengths)) > 1:
        row = next(r for r, length in enumerate(lengths) if length != lengths[0])
        return (f"X: {_sample_place(row, sample_names)} holds {lengths[row]} values, but "
                f"{_sample_place(0, sample_names)} holds {lengths[0]}")
    try:
        cells = np.asarray(X, dtype=object)
    except ValueError:
        return None
    if cells.ndim != 2:
        return None
    is_text = np.frompyfunc(lambda cell: isinstance(cell, (str, bytes)), 1, 1)(cells)
    for row, column in zip(*np.nonzero(is_text.astype(bool))):
        try:
            float(cells[row, column])
        except ValueError:
            return (f"{_cell_place(row, column, sample_names, gene_names)}: "
                    f"{_quoted(cells[row, column])} is not a number")
    return None


def check_finite(values, sample_names, gene_names):
    """Raises ValueError for the first NaN or infinite value of a float64
    samples x genes array."""
    first = _engine.first_non_finite(values)
    if first is None:
        return
    row, column = first
    value = values[row, column]
    what = "the value is missing (NaN)" if np.isnan(value) else f"the value is infinite ({value})"
    raise ValueError(f"{_cell_place(row, column, sample_names, gene_names)}: {what}")


def two_classes(y):
    """The sorted classes of the labels y and each label's class index.
    Raises ValueError unless y holds exactly two classes; the message lists
    the labels with their counts in order of first appearance."""
    classes, first_rows, encoded, counts = np.unique(y, return_index=True, return_inverse=True,
                                                     return_counts=True)
    if len(classes) == 2:
        return classes, encoded
    listed = ", ".join(f"{_quoted(classes[c])} ({counts[c]})" for c in np.argsort(first_rows))
    if len(classes) == 1:
        raise ValueError(f"the samples carry one class, {listed}; the classifier needs two")
    raise ValueError(f"the samples carry {len(classes)} labels, more than two: {listed}; the "
                     "classifier separates two classes: give it one label against the rest")
