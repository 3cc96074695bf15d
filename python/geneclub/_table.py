"""read_table: the batch program's reader of expression tables, for pandas."""

import numbers
import os

from geneclub import _engine

# The values of read_table's `missing`, as geneclub-batch --missing takes them.
_MISSING_POLICIES = ("error", "drop-genes")


def _column_option(name, value):
    """The reader's text for a column given by name or 1-based number."""
    if value is None:
        return ""
    if isinstance(value, str):
        return value
    if isinstance(value, numbers.Integral) and not isinstance(value, bool):
        if value < 1:
            raise ValueError(f"{name} must be a name or a column number from 1, not {value}")
        return str(value)
    raise TypeError(
        f"{name} must be a column name (str) or number (int), not {type(value).__name__}")


def read_table(path, *, label_column=None, sample_column=None, genes_in_rows=False, labels=None,
               label_field=None, missing="error", annotation=None):
    """Read an expression table as geneclub-batch reads it.

    Every form that geneclub-batch reads is read, with the same rules:

    - a table: a header of column names, then one sample per line; tab,
      comma or semicolon delimited (chosen by the header), quoted fields
      (RFC 4180), CRLF line ends and a UTF-8 byte order mark allowed. The
      label column is `label_column`, else the first column named (in any
      case) labels, label, class, y, target or diagnosis, else the only
      column holding text. Sample names come from `sample_column` or a
      column named sample, id or sample_id; else samples are numbered
      "1", "2", ... Every other column is a gene.
    - genes in rows (`genes_in_rows=True`): the first column names the genes,
      the header the samples; the labels come from a row named like a label
      column, or from a labels file.
    - native records, the format of colonTumor.data (values each followed by
      a separator, then a class word), recognised when the file starts with
      a number. Genes are named "1", "2", ...
    - a GEO series matrix (recognised by its "!Series_" lines), its labels
      from `label_field` or a labels file, its samples named by their titles.
    - a GCT file ("#1.2" or "#1.3" first), its labels from a labels file
      (one label per line, or a CLS file), from NAME.cls beside it, or (1.3)
      from the column-metadata row `label_field`.
    - a path ending in ".gz" is decompressed; "-" reads standard input.

    Values are decimal numbers converted exactly as strtod does.

    Parameters
    ----------
    path : str or os.PathLike
        The data file.
    label_column : str or int, optional
        The label column (with genes in rows, the label row): its exact
        name, else its 1-based number.
    sample_column : str or int, optional
        The column of sample names: its exact name, else its 1-based number.
    genes_in_rows : bool, default False
        One gene per row, the header holding the sample names.
    labels : str or os.PathLike, optional
        A file of the samples' labels, in order, read instead of a label
        column or row: one label per line (the whole line), or a CLS file.
    label_field : str, optional
        The sample field that gives the labels: a series matrix's sample
        characteristic ("disease state") or sample line ("source_name_ch1"),
        a GCT 1.3 file's column-metadata row; in any case.
    missing : {"error", "drop-genes"}, default "error"
        Missing values (empty, NA, NaN, N/A, ?, null) are an error, or their
        genes are left out.
    annotation : str or os.PathLike, optional
        A file of the genes' symbols and titles, as geneclub-batch's
        --annotation: a platform table, a platform SOFT file, or a CSV/TSV
        with identifier and symbol columns. Genes are matched by their names
        in the data file.

    Returns
    -------
    X : pandas.DataFrame
        Samples x genes, float64, the sample names as index and the gene
        names as columns, in the file's order.
    y : pandas.Series
        The samples' labels as text, indexed like X, named after where the
        labels came from: the label column's or row's name, the labels
        file's name, or "class" for native records.

    ``X.attrs["source"]`` records where X came from (path, form, the
    genes' columns in the file, ...), so that ``analyse(X, y)`` and its
    ``write`` give geneclub-batch's files of the same file byte for byte;
    it is used only while X keeps the genes read, in their order.
    With an annotation, or a GCT file's descriptions, ``X.attrs["genes"]``
    is a DataFrame indexed like X's columns with the columns "symbol" and
    "description" of genes.tsv ("" where unknown; the annotation's title
    before the file's description).

    Raises
    ------
    OSError
        The file (or the labels file) cannot be opened or read, or its
        compressed data are corrupt.
    ValueError
        The data are invalid or do not fit the options; the message names
        the file, line, column and gene, as geneclub-batch's does.
    """
    import pandas as pd

    if missing not in _MISSING_POLICIES:
        raise ValueError(f"missing must be one of {', '.join(_MISSING_POLICIES)}, not {missing!r}")
    read = _engine.read_table(
        os.fsdecode(path),
        label_column=_column_option("label_column", label_column),
        sample_column=_column_option("sample_column", sample_column),
        genes_in_rows=bool(genes_in_rows),
        labels_file="" if labels is None else os.fsdecode(labels),
        drop_genes_with_missing=missing == "drop-genes",
        label_field="" if label_field is None else label_field,
        annotation_file="" if annotation is None else os.fsdecode(annotation),
    )
    samples = pd.Index(read["samples"], dtype=object)
    # The engine's gene rows, transposed without a copy: a column-major
    # samples x genes array, which pandas keeps as its one block.
    X = pd.DataFrame(read["values"].T, index=samples, columns=pd.Index(read["genes"], dtype=object),
                     copy=False)
    y = pd.Series(read["labels"], index=samples, name=read["label_name"], dtype=object)
    try:
        size = None if os.fsdecode(path) == "-" else os.path.getsize(path)
    except OSError:
        size = None
    X.attrs["source"] = {
        "path": os.fsdecode(path), "size": size, "form": read["form"],
        "label_source": read["label_source"], "genes": X.columns, "columns": read["columns"],
        "total_genes": len(X.columns) + read["dropped_genes"],
        "dropped_genes": read["dropped_genes"], "renamed_genes": read["renamed_genes"],
        "missing": missing,
        "annotation": None if annotation is None else {
            "path": os.fsdecode(annotation), "matched": read["annotated_genes"],
            "unmatched": read["unannotated_genes"]}}
    symbols, descriptions = read["symbols"], read["descriptions"]
    if symbols or descriptions:
        unknown = [""] * len(X.columns)
        X.attrs["genes"] = pd.DataFrame(
            {"symbol": symbols or unknown, "description": descriptions or unknown},
            index=X.columns, dtype=object)
    return X, y
