"""read_table: the batch program's reader as pandas objects, in every form it
reads, and its errors as Python exceptions."""

import gzip
import subprocess
import sys

import numpy as np
import pandas as pd
import pytest

import geneclub
from conftest import public_table

TABLE = """id;Diagnosis;g1;"gene; two";g3
a;tumour;1.5;-2;1E+03
b;normal;.5;7;0
c;tumour;3;"8";2.25
"""


def expected_table():
    X = pd.DataFrame({"g1": [1.5, 0.5, 3.0], "gene; two": [-2.0, 7.0, 8.0],
                      "g3": [1000.0, 0.0, 2.25]}, index=pd.Index(["a", "b", "c"], dtype=object))
    return X, pd.Series(["tumour", "normal", "tumour"], index=X.index, name="Diagnosis",
                        dtype=object)


def assert_read(read, expected):
    X, y = read
    expected_X, expected_y = expected
    pd.testing.assert_frame_equal(X, expected_X, check_exact=True, check_column_type=True)
    pd.testing.assert_series_equal(y, expected_y)
    assert X.dtypes.unique().tolist() == [np.float64]


@pytest.mark.parametrize("name", ["leukemia-golub.csv", "prostate-singh.csv"])
def test_public_table_equals_pandas(name):
    path = public_table(name)
    X, y = geneclub.read_table(path)
    # Pandas' exact parser, as strtod converts.
    frame = pd.read_csv(path, float_precision="round_trip")
    expected_y = frame.pop("labels")
    assert list(X.columns) == list(frame.columns)
    assert np.array_equal(X.to_numpy(), frame.to_numpy(dtype=np.float64))
    assert list(X.index) == [str(s) for s in range(1, len(frame) + 1)]
    assert y.name == "labels"
    assert y.tolist() == expected_y.tolist()
    assert y.index.equals(X.index)


def test_table_with_sample_column_quotes_and_semicolons(tmp_path):
    path = tmp_path / "study.csv"
    path.write_text(TABLE)
    assert_read(geneclub.read_table(path), expected_table())
    assert_read(geneclub.read_table(str(path), label_column="Diagnosis", sample_column="id"),
                expected_table())
    # Columns by their 1-based numbers.
    assert_read(geneclub.read_table(path, label_column=2, sample_column=1), expected_table())


def test_gzip_file(tmp_path):
    path = tmp_path / "study.csv.gz"
    path.write_bytes(gzip.compress(TABLE.encode()))
    assert_read(geneclub.read_table(path), expected_table())


def test_genes_in_rows(tmp_path):
    path = tmp_path / "rows.tsv"
    path.write_text("gene\ta\tb\tc\nDiagnosis\ttumour\tnormal\ttumour\ng1\t1.5\t.5\t3\n"
                    "gene; two\t-2\t7\t8\ng3\t1E+03\t0\t2.25\n")
    assert_read(geneclub.read_table(path, genes_in_rows=True), expected_table())


def test_labels_file(tmp_path):
    path = tmp_path / "values.csv"
    path.write_text("id,g1,gene; two,g3\na,1.5,-2,1E+03\nb,.5,7,0\nc,3,8,2.25\n")
    labels = tmp_path / "labels.txt"
    labels.write_text("tumour\nnormal\ntumour\n")
    X, y = geneclub.read_table(path, labels=labels)
    expected_X, expected_y = expected_table()
    assert_read((X, y), (expected_X, expected_y.rename(str(labels))))


def test_series_matrix_and_gct(tmp_path):
    matrix = tmp_path / "GSE1_series_matrix.txt.gz"
    matrix.write_bytes(gzip.compress((
        '!Series_title\t"A study"\n'
        '!Sample_title\t"a"\t"b"\t"c"\n'
        '!Sample_characteristics_ch1\t"tissue: tumour"\t"tissue: normal"\t"tissue: tumour"\n'
        '!series_matrix_table_begin\n'
        '"ID_REF"\t"GSM1"\t"GSM2"\t"GSM3"\n'
        '"g1"\t1.5\t.5\t3\n"gene; two"\t-2\t7\t8\n"g3"\t1E+03\t0\t2.25\n'
        '!series_matrix_table_end\n').encode()))
    expected_X, expected_y = expected_table()
    assert_read(geneclub.read_table(matrix, label_field="Tissue"),
                (expected_X, expected_y.rename("Tissue")))
    gct = tmp_path / "study.gct"
    gct.write_text("#1.2\n3\t3\nName\tDescription\ta\tb\tc\ng1\tna\t1.5\t.5\t3\n"
                   "gene; two\tna\t-2\t7\t8\ng3\tna\t1E+03\t0\t2.25\n")
    (tmp_path / "study.cls").write_text("3 2 1\n# tumour normal\n0 1 0\n")
    assert_read(geneclub.read_table(gct),
                (expected_X, expected_y.rename(str(tmp_path / "study.cls"))))


def test_symbols_and_descriptions_in_attrs(tmp_path):
    gct = tmp_path / "study.gct"
    gct.write_text("#1.2\n3\t3\nName\tDescription\ta\tb\tc\ng1\tfirst\t1.5\t.5\t3\n"
                   "gene; two\tna\t-2\t7\t8\ng3\t\t1E+03\t0\t2.25\n")
    (tmp_path / "study.cls").write_text("3 2 1\n# tumour normal\n0 1 0\n")
    annotation = tmp_path / "platform.tsv"
    annotation.write_text("ID\tGene Symbol\tGene Title\ng1\tONE\t\ng3\t\tthird\nother\tX\tx\n")
    X, _ = geneclub.read_table(gct, annotation=annotation)
    # The annotation's title before the file's description, as in genes.tsv.
    expected = pd.DataFrame({"symbol": ["ONE", "", ""], "description": ["first", "na", "third"]},
                            index=X.columns, dtype=object)
    pd.testing.assert_frame_equal(X.attrs["genes"], expected)
    X, _ = geneclub.read_table(gct)
    assert X.attrs["genes"]["symbol"].tolist() == ["", "", ""]
    assert X.attrs["genes"]["description"].tolist() == ["first", "na", ""]
    # A table without either carries nothing.
    path = tmp_path / "study.csv"
    path.write_text(TABLE)
    assert "genes" not in geneclub.read_table(path)[0].attrs
    X, _ = geneclub.read_table(path, annotation=annotation)
    assert X.attrs["genes"].loc["g1"].tolist() == ["ONE", ""]
    with pytest.raises(OSError, match="absent.tsv"):
        geneclub.read_table(path, annotation=tmp_path / "absent.tsv")


def test_native_records(tmp_path):
    path = tmp_path / "colonTumor.data"
    path.write_text("1.5,-2,1E+03,negative\n.5,7,0,positive\n3,8,2.25,negative\n")
    X, y = geneclub.read_table(path)
    assert list(X.columns) == ["1", "2", "3"]
    assert list(X.index) == ["1", "2", "3"]
    assert np.array_equal(X.to_numpy(), expected_table()[0].to_numpy())
    assert y.name == "class"
    assert y.tolist() == ["negative", "positive", "negative"]


def test_missing_values_are_an_error_or_drop_their_genes(tmp_path, capfd):
    path = tmp_path / "gaps.csv"
    path.write_text("labels,g1,g2,g3\nx,1,NA,3\ny,4,5,\nx,7,8,9\n")
    with pytest.raises(ValueError) as error:
        geneclub.read_table(path)
    assert str(error.value) == (f'{path}: line 2, column 3 (gene "g2"): the value is missing '
                                '("NA"); genes with missing values can be left out instead')
    X, y = geneclub.read_table(path, missing="drop-genes")
    assert list(X.columns) == ["g1"]
    assert X["g1"].tolist() == [1.0, 4.0, 7.0]
    assert capfd.readouterr() == ("", "")


def test_errors(tmp_path, capfd):
    missing = tmp_path / "absent.csv"
    with pytest.raises(OSError, match="absent.csv"):
        geneclub.read_table(missing)
    bad = tmp_path / "bad.csv"
    bad.write_text("labels,g1,g2\nx,1,2\ny,3,high\n")
    with pytest.raises(ValueError, match=r'line 3, column 3 \(gene "g2"\): "high" is not a '
                                         r"number"):
        geneclub.read_table(bad)
    ragged = tmp_path / "ragged.csv"
    ragged.write_text("labels,g1,g2\nx,1,2\ny,3\n")
    with pytest.raises(ValueError, match="line 3 holds 2 fields, but the header holds 3"):
        geneclub.read_table(ragged)
    with pytest.raises(ValueError, match="the label column \"diagnosis\" names no column"):
        geneclub.read_table(bad, label_column="diagnosis")
    with pytest.raises(ValueError, match="missing must be one of error, drop-genes"):
        geneclub.read_table(bad, missing="drop")
    with pytest.raises(TypeError, match="label_column"):
        geneclub.read_table(bad, label_column=1.5)
    assert capfd.readouterr() == ("", "")


def test_memory_running_out_is_a_memory_error(tmp_path):
    # A table of 400 x 20000 values needs 64 MB of doubles; the reader runs
    # in a process whose address space has 32 MB left.
    path = tmp_path / "large.csv"
    genes = 20000
    with open(path, "w") as out:
        out.write("labels," + ",".join(f"g{j}" for j in range(genes)) + "\n")
        row = ",1" * genes + "\n"
        for sample in range(400):
            out.write(("x" if sample % 2 else "y") + row)
    # pandas is imported first: its import needs more room than that.
    script = f"""
import resource, traceback, pandas, geneclub
with open("/proc/self/statm") as statm:
    used = int(statm.read().split()[0]) * resource.getpagesize()
resource.setrlimit(resource.RLIMIT_AS, (used + (32 << 20), resource.RLIM_INFINITY))
try:
    geneclub.read_table({str(path)!r})
except MemoryError as error:
    print(traceback.extract_tb(error.__traceback__)[-1].line)
"""
    result = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True)
    # Raised where the engine reads, not by Python's allocations around it.
    assert (result.stdout, result.stderr, result.returncode) == ("read = _engine.read_table(\n",
                                                                 "", 0)
