"""analyse: the batch program's analysis in-process. Its DataFrames hold
what the batch program's tables hold, write() gives its files byte for
byte, and every input layout, dtype and thread count gives the same
results; bad input is refused with a message that names the sample and
gene."""

import json
import math

import numpy as np
import pandas as pd
import pytest

import geneclub
from conftest import SHARED_DATA, public_table, run_batch, signal_table, write_csv

# The files whose bytes must equal the batch program's; run.json differs
# only in its times.
EXACT_FILES = ("topGenes.data", "EP.data", "diseaseEP.data", "normalEP.data", "genes.tsv",
               "clubs.tsv", "patterns.tsv")

# Columns that hold numbers in the tables; the rest hold text.
NUMBER_COLUMNS = {"rank", "column", "split", "gain", "p_fwer", "fold_frequency", "club",
                  "position", "support", "class_size"}


def assert_frame_equals_table(frame, path):
    """Every field of the TSV file equals the frame's: numbers exactly (an
    empty field is NaN), text as written, samples as the tuple of the
    comma-separated names."""
    table = pd.read_csv(path, sep="\t", dtype=str, keep_default_na=False)
    assert list(frame.columns) == list(table.columns), path.name
    assert len(frame) == len(table), path.name
    for name in table.columns:
        expected, got = table[name].tolist(), frame[name].tolist()
        if name in NUMBER_COLUMNS:
            for field, value in zip(expected, got):
                if field == "":
                    assert math.isnan(value), (path.name, name)
                else:
                    assert float(field) == value, (path.name, name, field, value)
        elif name == "samples":
            assert [",".join(samples) for samples in got] == expected, path.name
        else:
            assert got == expected, (path.name, name)


def assert_written_like_batch(analysis, batch_folder, folder, report=False):
    analysis.write(folder, report=report)
    for name in EXACT_FILES:
        assert (folder / name).read_bytes() == (batch_folder / name).read_bytes(), name
    written, batch = (json.loads((f / "run.json").read_text()) for f in (folder, batch_folder))
    written.pop("seconds")
    batch.pop("seconds")
    assert written == batch
    assert sorted(p.name for p in folder.iterdir()) == sorted(p.name
                                                              for p in batch_folder.iterdir())


def compare_with_batch(batch_program, path, tmp_path, batch_options=(), **options):
    batch_folder = tmp_path / "batch"
    run_batch(batch_program, *batch_options, "-o", batch_folder, path)
    analysis = geneclub.analyse(*geneclub.read_table(path), **options)
    for table in ("genes", "clubs", "patterns"):
        assert_frame_equals_table(getattr(analysis, table), batch_folder / f"{table}.tsv")
    assert_written_like_batch(analysis, batch_folder, tmp_path / "python")
    return analysis


def test_generated_table_equals_the_batch_program(batch_program, tmp_path):
    X, y = signal_table()
    path = write_csv(tmp_path / "generated.csv", X, y)
    analysis = compare_with_batch(
        batch_program, path, tmp_path,
        ("--top", "8", "--pool", "30", "--methods", "division-iterative,1",
         "--permutations", "40", "--seed", "7"),
        top=8, pool=30, methods=("division-iterative", 1), permutations=40, seed=7)
    assert analysis.settings["methods"] == ("independent", "division-iterative")
    assert analysis.genes["p_fwer"].notna().all()
    assert analysis.counts["samples"] == 40 and analysis.counts["genes"] == 60
    assert analysis.classes["disease"] == "T" and analysis.classes["normal"] == "N"


@pytest.mark.parametrize("name", ["leukemia-golub.csv", "prostate-singh.csv"])
def test_public_tables_equal_the_batch_program(batch_program, tmp_path, name):
    analysis = compare_with_batch(batch_program, public_table(name), tmp_path)
    assert set(analysis.patterns["analysis"]) == {"global", *geneclub._analysis.METHODS}


def test_native_records_and_report_equal_the_batch_program(batch_program, tmp_path):
    path = SHARED_DATA / "colonTumor.data"
    if not path.is_file():
        pytest.skip(f"{path} is absent")
    batch_folder = tmp_path / "batch"
    run_batch(batch_program, "--report", "-o", batch_folder, path)
    analysis = geneclub.analyse(*geneclub.read_table(path))
    assert_written_like_batch(analysis, batch_folder, tmp_path / "python", report=True)
    page = analysis.report_html()
    assert page.startswith("<!DOCTYPE html>") and "negative" in page


def test_inputs_of_every_layout_give_the_same_analysis():
    X, y = signal_table()
    reference = geneclub.analyse(X, y, top=6)
    values = X.to_numpy()
    numbered = geneclub.analyse(values, y.to_numpy(), top=6)
    # An array's genes and samples are numbered from 1.
    assert numbered.genes["gene"].tolist() == [
        str(int(g[1:])) for g in reference.genes["gene"]]
    for name, array in {"Fortran order": np.asfortranarray(values),
                        "a strided view": np.repeat(values, 2, axis=1)[:, ::2],
                        "int64": values.astype(np.int64),
                        "float32 of integers": values.astype(np.float32),
                        "nested lists": values.tolist()}.items():
        other = geneclub.analyse(array, list(y), top=6)
        for table in ("genes", "clubs", "patterns"):
            pd.testing.assert_frame_equal(getattr(other, table), getattr(numbered, table),
                                          obj=f"{name}: {table}")
    # The labels as a column of X: the genes keep their columns in X.
    with_labels = pd.concat([X.iloc[:, :3], y, X.iloc[:, 3:]], axis=1)
    by_name = geneclub.analyse(with_labels, "labels", top=6)
    expected = reference.genes.assign(column=reference.genes["column"].where(
        reference.genes["column"] <= 3, reference.genes["column"] + 1))
    pd.testing.assert_frame_equal(by_name.genes, expected)
    pd.testing.assert_frame_equal(by_name.patterns, reference.patterns)


def test_thread_count_does_not_change_results():
    X, y = signal_table(samples=60, genes=400, seed=9)
    one = geneclub.analyse(X, y, threads=1, permutations=20)
    four = geneclub.analyse(X, y, threads=4, permutations=20)
    for table in ("genes", "clubs", "patterns"):
        pd.testing.assert_frame_equal(getattr(one, table), getattr(four, table))


def test_write_keeps_a_folder_whole(tmp_path):
    X, y = signal_table()
    analysis = geneclub.analyse(X, y, top=4, methods=())
    folder = tmp_path / "results"
    analysis.write(folder)
    before = (folder / "genes.tsv").read_bytes()
    with pytest.raises(FileExistsError, match="use force=True"):
        analysis.write(folder)
    geneclub.analyse(X.iloc[:, ::-1], y, top=4, methods=()).write(folder, force=True)
    assert (folder / "genes.tsv").read_bytes() != before
    assert not (folder / "report.html").exists()
    # A folder holding other files is never used, even with force.
    (tmp_path / "mine").mkdir()
    (tmp_path / "mine" / "notes.txt").write_text("keep")
    with pytest.raises(OSError, match="notes.txt is not a result file"):
        analysis.write(tmp_path / "mine", force=True)
    assert [p.name for p in (tmp_path / "mine").iterdir()] == ["notes.txt"]
    assert sorted(p.name for p in tmp_path.iterdir()) == ["mine", "results"]


def test_summaries_for_notebooks():
    X, y = signal_table()
    analysis = geneclub.analyse(X, y, top=5)
    text = analysis._repr_html_()
    assert "40 samples &times; 60 genes" in text and "<table" in text
    assert repr(analysis).startswith("<geneclub.Analysis: 40 samples x 60 genes; class 1 'T'")
    assert analysis.counts["patterns"]["global"]["clubs"] == 0


def small_frame():
    return pd.DataFrame({"g1": [1.0, 2.0, 3.0, 4.0], "g2": [5.0, 6.0, 7.0, 8.0]},
                        index=["s1", "s2", "s3", "s4"])


def test_bad_input_is_refused_with_its_place(capfd):
    y = ["a", "b", "a", "b"]
    frame = small_frame()
    frame.iloc[2, 1] = np.nan
    cases = [
        ((frame, y), 'X: sample "s3" (row 3), gene "g2" (column 2): the value is missing (NaN)'),
        ((np.array([[1.0, 2.0], [3.0, np.inf], [5.0, 6.0], [7.0, 8.0]]), y),
         "X: sample 2, gene 2: the value is infinite (inf)"),
        (([[1, 2], [3, 4], [5], [7, 8]], y), "X: sample 3 holds 1 values, but sample 1 holds 2"),
        ((small_frame().astype(object).replace(2.0, "high"), y),
         'X: sample "s2" (row 2), gene "g1" (column 1): "high" is not a number'),
        ((small_frame(), ["a"] * 4), "the samples carry one class, 'a'; the analysis needs two"),
        ((small_frame(), ["a", None, "b", "a"]), 'y: sample "s2" (row 2): the label is missing'),
        ((small_frame(), ["a", "b"]), "y holds 2 labels, but X holds 4 samples"),
        ((small_frame(), "labels"), "y names the column 'labels', which X does not have"),
    ]
    for arguments, message in cases:
        with pytest.raises(ValueError) as error:
            geneclub.analyse(*arguments)
        assert str(error.value) == message
    with pytest.raises(ValueError, match='the disease label "c" is none of the labels'):
        geneclub.analyse(small_frame(), y, disease="c")
    with pytest.raises(ValueError, match="name the class-1 label with disease="):
        geneclub.analyse(small_frame(), ["a", "b", "c", "a"])
    for options, message in (({"top": 33}, "top must be an integer from 1 to 32"),
                             ({"pool": -1}, "pool must be a non-negative integer"),
                             ({"methods": ("clubs",)}, "unknown method 'clubs'"),
                             ({"seed": -1}, "seed must be an integer from 0"),
                             ({"threads": 0}, "threads must be a positive integer")):
        with pytest.raises(ValueError, match=message):
            geneclub.analyse(small_frame(), y, **options)
    assert capfd.readouterr() == ("", "")
