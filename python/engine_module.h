// The parts of the Python extension module geneclub._engine. Each adds its
// functions and types to the module; the package's Python code (the
// public API) calls them. The engine's computations run with the global
// interpreter lock released, and nothing here prints.

#ifndef GENECLUB_PYTHON_ENGINE_MODULE_H_
#define GENECLUB_PYTHON_ENGINE_MODULE_H_

#include <pybind11/pybind11.h>

namespace geneclub::python {

// read_table(...): the batch program's reader of expression tables.
void addTableReader(pybind11::module_& module);

// TrainedClassifier, train_classifier(...) and first_non_finite(...): the
// classifier of one cross-validation fold, trained and applied to arrays.
void addClassifier(pybind11::module_& module);

// Origin, Analysis and analyse(...): the batch program's analysis of an
// array, its result tables as columns and its files.
void addAnalysis(pybind11::module_& module);

}  // namespace geneclub::python

#endif  // GENECLUB_PYTHON_ENGINE_MODULE_H_
