// The module geneclub._engine. pybind11 turns std::bad_alloc into
// MemoryError and std::invalid_argument into ValueError at the boundary.

#include "python/engine_module.h"

PYBIND11_MODULE(_engine, module) {
  module.doc() = "The C++ engine of the geneclub package; use the package's public functions.";
  module.attr("version") = GENECLUB_VERSION;
  geneclub::python::addTableReader(module);
  geneclub::python::addClassifier(module);
  geneclub::python::addAnalysis(module);
}
