// What the extension's bindings share: checked arguments, samples x genes
// float64 arrays read in place (C or Fortran order, or any strides) and
// turned into the engine's gene rows, thread limits, and names passed both
// ways. Names whose bytes are not UTF-8 travel as Python strings with lone
// surrogates ("surrogateescape"), so that no name is lost or changed.

#ifndef GENECLUB_PYTHON_ENGINE_ARRAYS_H_
#define GENECLUB_PYTHON_ENGINE_ARRAYS_H_

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <tbb/task_arena.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "data/expression_data.h"

namespace geneclub::python {

// A samples x genes array; pybind11 converts other dtypes (a copy), while
// float64 arrays of any layout are taken as they are.
using ValueArray = pybind11::array_t<double>;
using ValueView = pybind11::detail::unchecked_reference<double, 2>;

// Throws std::invalid_argument (ValueError in Python) unless condition holds.
inline void require(bool condition, const char* message) {
  if (!condition) throw std::invalid_argument(message);
}

// REQUIRES: values is two-dimensional (else ValueError).
ValueView valueView(const ValueArray& values);

// The engine's gene rows of a samples x genes array.
// May run without the global interpreter lock.
ExpressionMatrix geneRows(const ValueView& values);

// Runs work with at most `threads` threads (all cores when none given).
template <typename Work>
void runWithThreads(std::optional<int> threads, Work&& work) {
  require(!threads || *threads >= 1, "threads must be at least 1");
  if (!threads) {
    // The default arena, whose threads stay ready between calls.
    std::forward<Work>(work)();
    return;
  }
  tbb::task_arena arena(*threads);
  arena.execute(std::forward<Work>(work));
}

// The names as Python strings, and a Python sequence of names (strings, or
// other objects taken as their str()) as the engine's.
pybind11::list nameList(const std::vector<std::string>& names);
std::vector<std::string> namesOf(const pybind11::sequence& names);

// A one-dimensional numpy array of Python objects, item i being
// itemAt(i) (a pybind11 object): a column that pandas takes as it is.
template <typename ItemAt>
pybind11::array objectColumn(std::size_t size, ItemAt&& itemAt) {
  // numpy.empty fills an object array with None, each item a reference.
  pybind11::array column =
      pybind11::module_::import("numpy").attr("empty")(size, pybind11::arg("dtype") = "O");
  auto** items = static_cast<PyObject**>(column.mutable_data());
  for (std::size_t i = 0; i < size; ++i) {
    pybind11::object item = itemAt(i);
    Py_XDECREF(items[i]);
    items[i] = item.release().ptr();
  }
  return column;
}

// The texts as a column of Python strings (as nameList makes them).
pybind11::array textColumn(const std::vector<std::string>& texts);

// Copies a vector into a new one-dimensional numpy array.
template <typename T>
pybind11::array_t<T> toArray(const std::vector<T>& values) {
  return pybind11::array_t<T>(static_cast<pybind11::ssize_t>(values.size()), values.data());
}

}  // namespace geneclub::python

#endif  // GENECLUB_PYTHON_ENGINE_ARRAYS_H_
