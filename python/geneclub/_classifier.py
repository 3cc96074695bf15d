"""EPClassifier: the emerging-pattern classifier of geneclub-batch --evaluate
as a scikit-learn estimator."""

import numbers

import numpy as np
from sklearn.base import BaseEstimator, ClassifierMixin
from sklearn.utils.multiclass import check_classification_targets
from sklearn.utils.validation import check_array, check_is_fitted, check_X_y

from geneclub import _engine, _inputs

# The scoring rules the classifier knows, as geneclub-batch --classifier
# names them; "auto" chooses one with K from the training samples.
_RULES = ("sum", "normalised", "top", "auto")

# Most genes a classifier mines: the positions of the engine's patterns.
_MAX_TOP = 32


class EPClassifier(ClassifierMixin, BaseEstimator):
    """Classifier of two classes by minimal jumping emerging patterns (EPs).

    Training is exactly one fold of ``geneclub-batch --evaluate``: on the
    training samples alone, every gene gets the cut of its values with the
    least class entropy and an information gain; genes whose cut separates
    nothing and genes that repeat a better-ranked gene are taken out of
    play; every minimal EP of each class is mined over the ``top`` best
    genes. A sample is then cut with the training cuts, and each class's
    score is the sum, over the class's EPs that the sample holds (in the
    miner's order), of their support divided by the class's training size.
    The larger score predicts; an exact tie goes to the class with more
    training samples, then to class 1 (``disease_label_``). So
    ``cross_val_predict(EPClassifier(), X, y, cv=LeaveOneOut())`` gives the
    predictions of ``geneclub-batch --evaluate loo --classifier sum`` on the
    same table.

    Classes: ``classes_`` is sorted, as in every scikit-learn classifier.
    Which of the two is class 1 ("Disease" in geneclub-batch's files)
    follows geneclub-batch's rule: with labels exactly "negative" and
    "positive", "negative"; otherwise the label of the first training
    sample. Class 1 is ``disease_label_`` after fitting; it decides the
    ties above. (geneclub-batch chooses class 1 once for the whole table,
    so in a fold whose first training sample carries the other label than
    the table's first sample the two may differ; that changes a prediction
    only on an exact tie between training classes of equal size.)

    Parameters
    ----------
    top : int, default 20
        K, the number of best-ranked genes mined (1 to 32); at most the
        number of features is used.
    rule : {"sum", "normalised", "top", "auto"}, default "sum"
        How the EPs a sample holds make a class's score, as geneclub-batch
        --classifier: "sum" adds their support shares as described above;
        "normalised" divides that sum by the median sum of the class's own
        training samples; "top" adds the largest supports held against the
        class's largest supports. "auto" chooses the rule and K (5, 10, 20
        or 32) by a repeated inner cross-validation on the training
        samples, keeping sum with K = ``top`` unless another does
        measurably better (``rule_`` and ``top_`` tell the choice).
    pool : int, optional
        The base of the gene clubs' candidate pool, as geneclub-batch's
        --pool. The classifier mines the ``top`` genes only and builds no
        clubs, so this does not change its predictions.
    threads : int, optional
        At most this many threads while training (default: one per core).
        The results never depend on it.
    seed : int, default 1
        Seeds the inner folds of the "auto" choice (0 to 2**64 - 1); the
        fixed rules draw nothing. (geneclub-batch gives each outer fold a
        seed of its own drawn from its --seed, so "auto" matches it only in
        distribution, not fold for fold.)

    Attributes
    ----------
    classes_ : ndarray of shape (2,)
        The two class labels, sorted.
    disease_label_ : object
        The label of class 1 (see Classes above).
    rule_ : str
        The scoring rule used: ``rule``, or the one "auto" chose.
    top_ : int
        The number of genes mined: ``top`` (at most the features), or the
        K "auto" chose.
    genes_ : ndarray of int
        The columns of the mined genes, best first.
    split_values_ : ndarray of float64
        The mined genes' cut points: a value above a gene's cut is "high".
    n_features_in_ : int
        The number of features (genes) seen in fit.
    feature_names_in_ : ndarray of str
        The gene names, when X was a DataFrame whose column names are all
        strings.

    Notes
    -----
    ``class_scores`` gives the two class scores; ``predict_proba`` gives
    each class's share of their sum (0.5 each when both are 0, a sample
    holding no EP), and ``decision_function`` the share of ``classes_[1]``
    less that of ``classes_[0]``. On an exact tie these are equal and
    ``predict`` follows the tie rule. NaN and infinite values are refused
    with a ValueError naming the sample and gene.
    """

    def __init__(self, top=20, rule="sum", pool=None, threads=None, seed=1):
        self.top = top
        self.rule = rule
        self.pool = pool
        self.threads = threads
        self.seed = seed

    def _check_parameters(self):
        def is_integer(value):
            return isinstance(value, numbers.Integral) and not isinstance(value, bool)

        if not is_integer(self.top) or not 1 <= self.top <= _MAX_TOP:
            raise ValueError(f"top must be an integer from 1 to {_MAX_TOP}, not {self.top!r}")
        if self.rule not in _RULES:
            raise ValueError(f"rule must be one of {', '.join(map(repr, _RULES))}, "
                             f"not {self.rule!r}")
        if self.pool is not None and not is_integer(self.pool):
            raise ValueError(f"pool must be an integer or None, not {self.pool!r}")
        if self.threads is not None and (not is_integer(self.threads) or self.threads < 1):
            raise ValueError(f"threads must be a positive integer or None, not {self.threads!r}")
        if not is_integer(self.seed) or not 0 <= self.seed < 2**64:
            raise ValueError(f"seed must be an integer from 0 to 2**64 - 1, not {self.seed!r}")

    def _check_feature_names(self, X, *, reset):
        """scikit-learn's check of the feature names, quick for the usual
        case of a DataFrame whose column names are all strings: pandas knows
        that of its columns at once, where scikit-learn's own check looks at
        each name (for thousands of genes, longer than the classification).
        Every other case, and every mismatch, goes to scikit-learn's check
        with its warnings and errors."""
        columns = getattr(X, "columns", None)
        if columns is not None and getattr(columns, "inferred_type", None) == "string":
            names = np.asarray(columns, dtype=object)
            if reset:
                self.feature_names_in_ = names
                return
            fitted = getattr(self, "feature_names_in_", None)
            if fitted is not None and len(fitted) == len(names) and (fitted == names).all():
                return
        super()._check_feature_names(X, reset=reset)

    def _values(self, X, y=None, reset=False):
        """X as a float64 array (and y as an array), checked.

        This does what BaseEstimator._validate_data does, but takes a
        DataFrame's array at once: scikit-learn's check of each column's
        dtype costs more than training on a table of thousands of genes.
        """
        samples, genes = _inputs.sample_names_of(X), _inputs.gene_names_of(X)
        if y is not None:
            _inputs.check_labels_present(y, samples)
        self._check_feature_names(X, reset=reset)
        options = {"dtype": np.float64, "force_all_finite": False, "estimator": self}
        try:
            array = _inputs.frame_values(X)
            if y is None:
                validated = check_array(array, **options)
            else:
                validated = check_X_y(array, y, **options)
        except ValueError as error:
            message = _inputs.explain_unconvertible(X, samples, genes)
            if message is None:
                raise
            raise ValueError(message) from error
        values = validated if y is None else validated[0]
        self._check_n_features(values, reset=reset)
        _inputs.check_finite(values, samples, genes)
        return validated

    def fit(self, X, y):
        """Train on samples X (n_samples x n_genes) with labels y of two classes.

        X may be a DataFrame (its column names become feature_names_in_) or
        any array-like; float64 arrays in C or Fortran order are read where
        they are, other types are converted to float64. Returns self.
        """
        self._check_parameters()
        if y is None:
            raise ValueError("EPClassifier requires y to be passed, but the target y is None")
        values, labels = self._values(X, y, reset=True)
        check_classification_targets(labels)
        self.classes_, encoded = _inputs.two_classes(labels)
        if set(self.classes_.tolist()) == {"negative", "positive"}:
            disease = int(np.flatnonzero(self.classes_ == "negative")[0])
        else:
            disease = int(encoded[0])
        self.disease_label_ = self.classes_[disease]
        self._trained = _engine.train_classifier(values, (encoded == disease).astype(np.int32),
                                                 top=self.top, rule=self.rule, seed=self.seed,
                                                 threads=self.threads)
        self.rule_ = self._trained.rule
        self.genes_ = self._trained.genes.astype(np.intp)
        self.top_ = len(self.genes_)
        self.split_values_ = self._trained.split_values
        return self

    def _scores(self, X):
        """The class scores in classes_ order and the predicted class indices."""
        check_is_fitted(self)
        values = self._values(X)
        scores, predicted = self._trained.scores(values)
        disease = int(np.flatnonzero(self.classes_ == self.disease_label_)[0])
        in_class_order = scores if disease == 0 else scores[:, ::-1]
        return np.ascontiguousarray(in_class_order), np.where(predicted == 1, disease, 1 - disease)

    def class_scores(self, X):
        """The two class scores of each sample, columns in the order of classes_.

        These are the numbers of geneclub-batch's evaluation.tsv: the column
        of disease_label_ is its score_disease, the other its score_normal.
        """
        return self._scores(X)[0]

    def predict(self, X):
        """The predicted class of each sample: the larger score, ties by the tie rule."""
        predicted = self._scores(X)[1]
        return self.classes_[predicted]

    def predict_proba(self, X):
        """Each class's share of the sum of the two scores (0.5 each when both are 0)."""
        scores = self.class_scores(X)
        total = scores[:, 0] + scores[:, 1]
        shares = np.full_like(scores, 0.5)
        np.divide(scores, total[:, None], out=shares, where=total[:, None] > 0)
        return shares

    def decision_function(self, X):
        """The share of classes_[1] less that of classes_[0], from -1 to 1."""
        shares = self.predict_proba(X)
        return shares[:, 1] - shares[:, 0]

    def _more_tags(self):
        # Emerging patterns are mined between two classes.
        return {"binary_only": True}
