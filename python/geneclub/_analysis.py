"""analyse: geneclub-batch's analysis of a table in memory, its results as
DataFrames and its files."""

import html
import numbers
import os
import tempfile

import numpy as np

from geneclub import _engine, _inputs

# The club methods in the order they run, as geneclub-batch names them.
METHODS = ("independent", "division", "independent-iterative", "division-iterative")

# Most genes a mining run takes: the bits of the engine's gene masks.
_MAX_TOP = 32

# Rows of the top genes that the notebook summary shows.
_SUMMARY_GENES = 10


def _is_integer(value):
    return isinstance(value, numbers.Integral) and not isinstance(value, bool)


def _method_numbers(methods):
    """The methods' numbers (1 to 4) in the order they run; names or
    numbers are accepted, as geneclub-batch --methods takes them."""
    if isinstance(methods, str):
        methods = (methods,)
    chosen = set()
    for method in methods:
        if _is_integer(method) and 1 <= method <= len(METHODS):
            chosen.add(int(method))
        elif method in METHODS:
            chosen.add(METHODS.index(method) + 1)
        else:
            raise ValueError(f"unknown method {method!r}: methods are {', '.join(METHODS)} "
                             "(or 1 to 4)")
    return sorted(chosen)


def _source_of(X):
    """What read_table recorded of X's file, if X still has the genes it
    read (then the genes keep their columns in the file)."""
    source = getattr(X, "attrs", {}).get("source")
    if source is None or len(source["genes"]) != X.shape[1]:
        return None
    if not X.columns.equals(source["genes"]):
        return None
    return source


def _labels_and_values(X, y):
    """X without a label column, y as an array, and the genes' 1-based
    columns among X's columns."""
    columns = None
    if isinstance(y, str) and hasattr(X, "columns"):
        if y not in X.columns:
            raise ValueError(f"y names the column {y!r}, which X does not have")
        position = X.columns.get_loc(y)
        if not isinstance(position, numbers.Integral):
            raise ValueError(f"y names the column {y!r}, which X has more than once")
        labels = X[y]
        X = X.drop(columns=y)
        columns = [c + 1 if c < position else c + 2 for c in range(X.shape[1])]
        y = labels
    return X, np.asarray(y, dtype=object).ravel(), columns


def _origin(X, source, label_source, gene_count):
    if source is not None:
        annotation = source["annotation"]
        return _engine.Origin(
            path=source["path"], size=source["size"], form=source["form"],
            label_source=source["label_source"], total_genes=source["total_genes"],
            dropped_genes=source["dropped_genes"], renamed_genes=source["renamed_genes"],
            missing=source["missing"],
            annotation_path=None if annotation is None else annotation["path"],
            annotation_matched=0 if annotation is None else annotation["matched"],
            annotation_unmatched=0 if annotation is None else annotation["unmatched"])
    form = "dataframe" if hasattr(X, "columns") else "array"
    return _engine.Origin(path="", size=None, form=form, label_source=label_source,
                          total_genes=gene_count, dropped_genes=0, renamed_genes=0,
                          missing="error", annotation_path=None, annotation_matched=0,
                          annotation_unmatched=0)


def analyse(X, y, *, top=20, pool=None, methods=METHODS, disease=None, permutations=0, seed=1,
            threads=None):
    """Analyse a two-class expression table as geneclub-batch does.

    Every gene gets the cut of its values with the least class entropy and
    an information gain; the genes are ranked, genes whose cut separates
    nothing and genes that repeat a better one are taken out of play, every
    minimal jumping emerging pattern (EP) of each class is mined over the
    ``top`` best genes, and each club method builds a club of further genes
    around each top gene and mines its EPs. The numbers are those of
    geneclub-batch with the same settings, to the last bit.

    Parameters
    ----------
    X : DataFrame or 2-D array of shape (n_samples, n_genes)
        The values. A DataFrame gives the gene names (its columns) and the
        sample names (its index); an array's genes and samples are numbered
        from 1. A float64 array in C or Fortran order is read without a
        copy; other dtypes are converted.
    y : Series, array of shape (n_samples,), or str
        The samples' labels, or the name of X's column that holds them.
        Exactly two labels, or more with ``disease``.
    top : int, default 20
        K, the number of top genes mined and built clubs around (1 to 32);
        at most the number of genes is used.
    pool : int, optional
        P, the base of the clubs' candidate pool (default: four fifths of
        the genes), as geneclub-batch's --pool.
    methods : sequence of str or int, default all four
        The club methods: "independent", "division",
        "independent-iterative", "division-iterative" (or 1 to 4). They run
        in that order whatever the order given; () runs none.
    disease : str, optional
        The label of class 1 ("Disease"); the other labels are class 0.
        By default: "negative" when the labels are "negative" and
        "positive", else the first sample's label.
    permutations : int, default 0
        With M > 0, the labels are permuted M times and every gene gets a
        family-wise p-value (genes' ``p_fwer``).
    seed : int, default 1
        Seeds the permutations (0 to 2**64 - 1).
    threads : int, optional
        At most this many threads (default: one per core). The results
        never depend on it.

    Returns
    -------
    Analysis

    Raises
    ------
    ValueError
        NaN or infinite values, ragged or non-numeric data, a missing label,
        a single class, more than two labels without ``disease``, or a
        ``disease`` that no sample carries; the message names the sample
        and gene.
    MemoryError
        Memory ran out.
    """
    import pandas as pd

    if not _is_integer(top) or not 1 <= top <= _MAX_TOP:
        raise ValueError(f"top must be an integer from 1 to {_MAX_TOP}, not {top!r}")
    if pool is not None and (not _is_integer(pool) or pool < 0):
        raise ValueError(f"pool must be a non-negative integer or None, not {pool!r}")
    if not _is_integer(permutations) or permutations < 0:
        raise ValueError(f"permutations must be a non-negative integer, not {permutations!r}")
    if not _is_integer(seed) or not 0 <= seed < 2**64:
        raise ValueError(f"seed must be an integer from 0 to 2**64 - 1, not {seed!r}")
    if threads is not None and (not _is_integer(threads) or threads < 1):
        raise ValueError(f"threads must be a positive integer or None, not {threads!r}")
    if disease is not None and not isinstance(disease, str):
        raise ValueError(f"disease must be a label (str) or None, not {disease!r}")
    method_numbers = _method_numbers(methods)

    label_source = f"column {y!r}" if isinstance(y, str) else "y"
    if isinstance(y, pd.Series) and y.name is not None:
        label_source = f"series {str(y.name)!r}"
    X, labels, columns = _labels_and_values(X, y)
    source = _source_of(X) if columns is None else None
    samples, genes = _inputs.sample_names_of(X), _inputs.gene_names_of(X)
    try:
        values = np.asarray(_inputs.frame_values(X), dtype=np.float64)
    except (ValueError, TypeError) as error:
        message = _inputs.explain_unconvertible(X, samples, genes)
        if message is None:
            raise ValueError(f"X: {error}") from error
        raise ValueError(message) from error
    if values.ndim != 2 or values.shape[0] == 0 or values.shape[1] == 0:
        raise ValueError(f"X must be a samples x genes table with at least one of each, not of "
                         f"shape {values.shape}")
    if len(labels) != values.shape[0]:
        raise ValueError(f"y holds {len(labels)} labels, but X holds {values.shape[0]} samples")
    _inputs.check_labels_present(labels, samples)
    _inputs.check_finite(values, samples, genes)
    label_texts = [str(label) for label in labels]
    if disease is None and len(set(label_texts)) < 2:
        raise ValueError(f"the samples carry one class, {label_texts[0]!r}; the analysis needs two")

    sample_names = samples if samples is not None else range(1, values.shape[0] + 1)
    gene_names = genes if genes is not None else range(1, values.shape[1] + 1)
    if source is not None:
        columns = source["columns"].tolist()
    elif columns is None:
        columns = list(range(1, values.shape[1] + 1))
    attributes = getattr(X, "attrs", {}).get("genes")
    symbols = descriptions = ()
    if attributes is not None and attributes.index.equals(X.columns):
        symbols = attributes["symbol"].tolist()
        descriptions = attributes["description"].tolist()
        if not any(symbols):
            symbols = ()
    try:
        engine = _engine.analyse(
            values, label_texts, gene_names, sample_names, columns, symbols, descriptions,
            _origin(X, source, label_source, values.shape[1]), min(top, values.shape[1]), pool,
            method_numbers, "" if disease is None else disease, permutations, seed, threads)
    except ValueError as error:
        raise ValueError(str(error).replace("with --disease", "with disease=")) from None
    return Analysis(engine)


class Analysis:
    """The results of ``analyse``: what geneclub-batch writes, as data.

    Attributes
    ----------
    genes : DataFrame
        genes.tsv: one row per ranking place, columns rank, gene, column,
        split, gain, status, duplicate_of, p_fwer, fold_frequency, symbol,
        description. Empty fields of the file are "" in text columns and
        NaN in number columns.
    clubs : DataFrame
        clubs.tsv: one row per club member, columns method, club, top_gene,
        position, gene, rank, mined.
    patterns : DataFrame
        patterns.tsv: one row per minimal EP of every mining run, columns
        analysis, club, class, support, class_size, samples (a tuple of
        sample names), pattern, ranks, symbols.
    settings : dict
        top, pool, methods, permutations, seed and the strong patterns'
        supports.
    classes : dict
        The labels of class 1 ("disease") and class 0 ("normal"), and their
        sizes.
    counts : dict
        Samples, genes, genes taken out of play (incomplete, duplicate) and
        the patterns each analysis found.
    """

    def __init__(self, engine):
        self._engine = engine
        self._tables = {}
        self.settings = engine.settings()
        self.classes = engine.classes()
        self.counts = engine.counts()

    def _table(self, name, columns):
        import pandas as pd

        if name not in self._tables:
            self._tables[name] = pd.DataFrame(columns(), copy=False)
        return self._tables[name]

    @property
    def genes(self):
        return self._table("genes", self._engine.genes)

    @property
    def clubs(self):
        return self._table("clubs", self._engine.clubs)

    @property
    def patterns(self):
        return self._table("patterns", self._engine.patterns)

    def write(self, folder, *, report=False, force=False):
        """Write geneclub-batch's result files into `folder`.

        topGenes.data, EP.data, diseaseEP.data, normalEP.data, genes.tsv,
        clubs.tsv, patterns.tsv and run.json, with report.html when
        ``report`` is true: byte for byte those of geneclub-batch with the
        same data and settings (run.json's input describes the table as
        analysed, and its times are empty). The folder appears whole or not
        at all: the files go to a hidden folder beside it, moved into place
        when complete. An existing folder is used only when it is empty or
        holds nothing but result files, which are replaced only with
        ``force``.

        Raises FileExistsError when results exist and ``force`` is false,
        OSError when the folder cannot be used or a file not written (the
        folder is then as it was).
        """
        self._engine.write(os.fsdecode(folder), bool(report), bool(force))

    def report_html(self):
        """The report page of geneclub-batch --report, as text."""
        with tempfile.TemporaryDirectory(prefix="geneclub-") as scratch:
            folder = os.path.join(scratch, "results")
            self.write(folder, report=True)
            with open(os.path.join(folder, "report.html"), encoding="utf-8",
                      errors="surrogateescape") as page:
                return page.read()

    def __repr__(self):
        counts, classes = self.counts, self.classes
        found = ", ".join(f"{name} {count['disease'] + count['normal']}"
                          for name, count in counts["patterns"].items())
        return (f"<geneclub.Analysis: {counts['samples']} samples x {counts['genes']} genes; "
                f"class 1 {classes['disease']!r} ({classes['disease_size']}), class 0 "
                f"{classes['normal']!r} ({classes['normal_size']}); top {self.settings['top']}; "
                f"patterns: {found}>")

    def _repr_html_(self):
        counts, classes = self.counts, self.classes
        escape = html.escape
        rows = "".join(
            f"<tr><td>{escape(name)}</td><td>{count['clubs']}</td><td>{count['disease']}</td>"
            f"<td>{count['normal']}</td></tr>" for name, count in counts["patterns"].items())
        top = self.genes.head(_SUMMARY_GENES)[["rank", "gene", "split", "gain", "status"]]
        return (
            f"<div><p><b>geneclub analysis</b>: {counts['samples']} samples &times; "
            f"{counts['genes']} genes; class 1 <b>{escape(str(classes['disease']))}</b> "
            f"({classes['disease_size']}), class 0 <b>{escape(str(classes['normal']))}</b> "
            f"({classes['normal_size']}); K = {self.settings['top']}; "
            f"{counts['incomplete']} incomplete and {counts['duplicate']} duplicate genes out "
            f"of play.</p>"
            f"<table><tr><th>analysis</th><th>clubs</th><th>EPs of class 1</th>"
            f"<th>EPs of class 0</th></tr>{rows}</table>"
            f"<p>The top genes:</p>{top.to_html(index=False)}</div>")
