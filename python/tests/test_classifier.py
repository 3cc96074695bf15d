"""EPClassifier: a scikit-learn classifier that gives the batch program's
cross-validated predictions and scores, whatever the input's layout or the
thread count, and refuses bad input with the batch program's kind of
message."""

import pickle

import numpy as np
import pandas as pd
import pytest
from sklearn.base import clone
from sklearn.model_selection import LeaveOneOut, cross_val_predict
from sklearn.utils.estimator_checks import check_estimator

import geneclub
from conftest import public_table, read_evaluation, run_batch, signal_table, write_csv


def assert_same_fit(a, b, X):
    assert np.array_equal(a.genes_, b.genes_)
    assert np.array_equal(a.split_values_, b.split_values_)
    assert np.array_equal(a.class_scores(X), b.class_scores(X))
    assert np.array_equal(a.predict(X), b.predict(X))


# The scoring rules with a fixed K, whose leave-one-out predictions equal
# the batch program's.
FIXED_RULES = ("sum", "normalised", "top")


@pytest.mark.parametrize("rule", [*FIXED_RULES, "auto"])
def test_passes_scikit_learn_estimator_checks(rule):
    check_estimator(geneclub.EPClassifier(rule=rule))


def leave_one_out_equals_batch(batch_program, path, X, y, tmp_path, rule="sum", top=20):
    out = tmp_path / f"batch-{rule}-{top}"
    run_batch(batch_program, "--evaluate", "loo", "--classifier", rule, "--top", top,
              "--methods", "none", "-o", out, path)
    evaluation = read_evaluation(out)
    classifier = geneclub.EPClassifier(rule=rule, top=top)
    predicted = cross_val_predict(classifier, X, y, cv=LeaveOneOut())
    assert predicted.tolist() == evaluation["predicted"].tolist()
    scores = cross_val_predict(classifier, X, y, cv=LeaveOneOut(), method="class_scores")
    # The classes in sorted order; class 1 (score_disease) is the first
    # sample's label in these tables.
    classes = sorted(set(y))
    disease = classes.index(y.iloc[0])
    assert np.array_equal(scores[:, disease], evaluation["score_disease"].to_numpy())
    assert np.array_equal(scores[:, 1 - disease], evaluation["score_normal"].to_numpy())


def test_leave_one_out_equals_batch_program_on_generated_table(batch_program, tmp_path):
    X, y = signal_table()
    path = write_csv(tmp_path / "generated.csv", X, y)
    for rule in FIXED_RULES:
        for top in (5, 20):
            leave_one_out_equals_batch(batch_program, path, *geneclub.read_table(path), tmp_path,
                                       rule, top)


def test_leave_one_out_equals_batch_program_on_leukemia(batch_program, tmp_path):
    path = public_table("leukemia-golub.csv")
    leave_one_out_equals_batch(batch_program, path, *geneclub.read_table(path), tmp_path)


@pytest.mark.parametrize("rule", [*FIXED_RULES, "auto"])
def test_pickle_round_trip_keeps_the_classifier_without_its_data(rule):
    X, y = signal_table()
    classifier = geneclub.EPClassifier(top=8, rule=rule).fit(X, y)
    saved = pickle.dumps(classifier)
    restored = pickle.loads(saved)
    assert_same_fit(restored, classifier, X)
    assert list(restored.feature_names_in_) == list(X.columns)
    assert restored.get_params() == classifier.get_params()
    assert (restored.rule_, restored.top_) == (classifier.rule_, classifier.top_)
    # Genes, cuts and patterns, not the 40 x 60 training values.
    assert len(saved) < X.to_numpy().nbytes


def test_automatic_choice_is_one_of_the_candidates_and_repeatable():
    X, y = signal_table(samples=60, genes=200, seed=3)
    chosen = geneclub.EPClassifier(rule="auto").fit(X, y)
    assert chosen.rule_ in FIXED_RULES and chosen.top_ in (5, 10, 20, 32)
    # The chosen classifier is the fixed one of the same rule and K.
    fixed = geneclub.EPClassifier(rule=chosen.rule_, top=chosen.top_).fit(X, y)
    assert_same_fit(chosen, fixed, X)
    again = geneclub.EPClassifier(rule="auto", threads=1).fit(X, y)
    assert (again.rule_, again.top_) == (chosen.rule_, chosen.top_)


def test_numpy_layouts_and_dtypes_give_the_same_classifier():
    X, y = signal_table()
    values = X.to_numpy()
    reference = geneclub.EPClassifier().fit(np.ascontiguousarray(values), y.to_numpy())
    inputs = {
        "Fortran order": np.asfortranarray(values),
        "a strided view": np.repeat(values, 2, axis=1)[:, ::2],
        "int64": values.astype(np.int64),
        "float32": values.astype(np.float32),
        "nested lists": values.tolist(),
    }
    for name, array in inputs.items():
        fitted = geneclub.EPClassifier().fit(array, y.to_numpy())
        assert np.array_equal(fitted.genes_, reference.genes_), name
        assert np.array_equal(fitted.split_values_, reference.split_values_), name
        assert np.array_equal(fitted.class_scores(array), reference.class_scores(values)), name
        assert not hasattr(fitted, "feature_names_in_")


def test_thread_count_does_not_change_results():
    X, y = signal_table(samples=60, genes=400, seed=9)
    one = geneclub.EPClassifier(threads=1).fit(X, y)
    four = geneclub.EPClassifier(threads=4).fit(X, y)
    assert_same_fit(one, four, X)


def test_public_table_thread_count_does_not_change_results():
    X, y = geneclub.read_table(public_table("prostate-singh.csv"))
    one = geneclub.EPClassifier(threads=1).fit(X, y)
    assert_same_fit(one, clone(one).set_params(threads=4).fit(X, y), X)


def test_class_one_is_the_batch_programs_and_decides_ties():
    X, y = signal_table()
    classifier = geneclub.EPClassifier(top=2).fit(X, y)
    # The first sample's label, which sorts last.
    assert list(classifier.classes_) == ["N", "T"]
    assert classifier.disease_label_ == "T"
    scores = classifier.class_scores(X)
    sizes = {label: int((y == label).sum()) for label in ("N", "T")}
    assert sizes["T"] > sizes["N"]
    proba = classifier.predict_proba(X)
    decision = classifier.decision_function(X)
    predicted = classifier.predict(X)
    for s in range(len(X)):
        if scores[s, 0] == scores[s, 1]:
            assert predicted[s] == "T"
            assert decision[s] == 0.0 and proba[s, 0] == proba[s, 1] == 0.5
        else:
            assert predicted[s] == classifier.classes_[int(scores[s, 1] > scores[s, 0])]
            assert predicted[s] == classifier.classes_[int(decision[s] > 0)]
    assert (scores[:, 0] == scores[:, 1]).any(), "the data should give a tie"

    # Equal class sizes: a tie goes to class 1. The same two groups of
    # samples under other names: class 1 is the first sample's label, and
    # with labels negative and positive always negative.
    rng = np.random.default_rng(0)
    values = rng.integers(0, 100, size=(12, 6)).astype(np.float64)
    # Values far beyond the training range give tuples that many patterns
    # miss, so that some samples tie.
    tested = rng.integers(-1000, 1000, size=(300, 6)).astype(np.float64)
    for first, second, class_one in (("b", "a", "b"), ("a", "b", "a"),
                                     ("positive", "negative", "negative")):
        fitted = geneclub.EPClassifier().fit(values, [first] * 6 + [second] * 6)
        assert fitted.disease_label_ == class_one
        scores = fitted.class_scores(tested)
        ties = scores[:, 0] == scores[:, 1]
        assert ties.sum() > 10
        assert set(fitted.predict(tested[ties])) == {class_one}


def test_parameters_are_checked_when_fitting():
    X, y = signal_table()
    for parameters, message in (({"rule": "max"}, "rule must be one of 'sum', 'normalised', "
                                 "'top', 'auto', not 'max'"),
                                ({"seed": -1}, "seed must be an integer from 0 to 2\\*\\*64 - 1"),
                                ({"top": 0}, "top must be an integer from 1 to 32, not 0"),
                                ({"top": 33}, "top must be an integer from 1 to 32, not 33"),
                                ({"pool": 1.5}, "pool must be an integer or None, not 1.5"),
                                ({"threads": 0}, "threads must be a positive integer or None")):
        with pytest.raises(ValueError, match=message):
            geneclub.EPClassifier(**parameters).fit(X, y)
    # More genes asked for than there are: all of them.
    assert len(geneclub.EPClassifier(top=32).fit(X.iloc[:, :5], y).genes_) == 5


def small_frame():
    return pd.DataFrame({"g1": [1.0, 2.0, 3.0, 4.0], "g2": [5.0, 6.0, 7.0, 8.0]},
                        index=["s1", "s2", "s3", "s4"])


@pytest.mark.parametrize("value, what", [(np.nan, "the value is missing (NaN)"),
                                         (np.inf, "the value is infinite (inf)"),
                                         (-np.inf, "the value is infinite (-inf)")])
def test_non_finite_values_name_their_sample_and_gene(value, what, capfd):
    y = ["a", "b", "a", "b"]
    frame = small_frame()
    frame.iloc[2, 1] = value
    with pytest.raises(ValueError) as error:
        geneclub.EPClassifier().fit(frame, y)
    assert str(error.value) == f'X: sample "s3" (row 3), gene "g2" (column 2): {what}'
    # In Fortran order the value of gene 1 comes first in memory, that of
    # sample 2 first in row order.
    array = np.asfortranarray(small_frame().to_numpy())
    array[3, 0] = value
    array[1, 1] = value
    for layout in (array, np.ascontiguousarray(array)):
        with pytest.raises(ValueError) as error:
            geneclub.EPClassifier().fit(layout, y)
        assert str(error.value) == f"X: sample 2, gene 2: {what}"
    fitted = geneclub.EPClassifier().fit(small_frame(), y)
    with pytest.raises(ValueError) as error:
        fitted.predict(frame)
    assert str(error.value) == f'X: sample "s3" (row 3), gene "g2" (column 2): {what}'
    assert capfd.readouterr() == ("", "")


def test_data_that_are_not_a_numeric_table(capfd):
    y = ["a", "b", "a", "b"]
    with pytest.raises(ValueError) as error:
        geneclub.EPClassifier().fit([[1, 2], [3, 4], [5], [7, 8]], y)
    assert str(error.value) == "X: sample 3 holds 1 values, but sample 1 holds 2"
    frame = small_frame().astype(object)
    frame.iloc[1, 0] = "high"
    with pytest.raises(ValueError) as error:
        geneclub.EPClassifier().fit(frame, y)
    assert str(error.value) == ('X: sample "s2" (row 2), gene "g1" (column 1): "high" is not a '
                                "number")
    assert capfd.readouterr() == ("", "")


def test_labels_that_are_not_two_classes(capfd):
    frame = small_frame()
    with pytest.raises(ValueError) as error:
        geneclub.EPClassifier().fit(frame, ["a", "a", "a", "a"])
    assert str(error.value) == 'the samples carry one class, "a" (4); the classifier needs two'
    with pytest.raises(ValueError) as error:
        geneclub.EPClassifier().fit(frame, ["c", "a", "b", "a"])
    assert str(error.value) == ('the samples carry 3 labels, more than two: "c" (1), "a" (2), '
                                '"b" (1); the classifier separates two classes: give it one '
                                "label against the rest")
    with pytest.raises(ValueError) as error:
        geneclub.EPClassifier().fit(frame, ["a", None, "b", "a"])
    assert str(error.value) == 'y: sample "s2" (row 2): the label is missing'
    with pytest.raises(ValueError, match="Unknown label type"):
        geneclub.EPClassifier().fit(frame, [0.5, 1.5, 2.25, 3.125])
    assert capfd.readouterr() == ("", "")
