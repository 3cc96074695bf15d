#include "python/engine_arrays.h"

#include <algorithm>

namespace geneclub::python {

namespace py = pybind11;

ValueView valueView(const ValueArray& values) {
  require(values.ndim() == 2, "the values must be a samples x genes array");
  return values.unchecked<2>();
}

ExpressionMatrix geneRows(const ValueView& values) {
  const py::ssize_t samples = values.shape(0), genes = values.shape(1);
  ExpressionMatrix matrix(genes, ExpressionRow(samples));
  // Eight genes at a time, sample by sample: in a row-major array a block's
  // values share a cache line, and in a column-major array each gene is
  // read in order.
  constexpr py::ssize_t kBlock = 8;
  for (py::ssize_t first = 0; first < genes; first += kBlock) {
    const py::ssize_t last = std::min(genes, first + kBlock);
    for (py::ssize_t sample = 0; sample < samples; ++sample) {
      for (py::ssize_t gene = first; gene < last; ++gene)
        matrix[gene][sample] = values(sample, gene);
    }
  }
  return matrix;
}

py::list nameList(const std::vector<std::string>& names) {
  py::list list(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    PyObject* text = PyUnicode_DecodeUTF8(names[i].data(), static_cast<Py_ssize_t>(names[i].size()),
                                          "surrogateescape");
    if (text == nullptr) throw py::error_already_set();
    list[i] = py::reinterpret_steal<py::object>(text);
  }
  return list;
}

std::vector<std::string> namesOf(const py::sequence& names) {
  std::vector<std::string> result;
  result.reserve(names.size());
  for (const py::handle name : names) {
    const py::str text = py::str(name);
    PyObject* bytes = PyUnicode_AsEncodedString(text.ptr(), "utf-8", "surrogateescape");
    if (bytes == nullptr) throw py::error_already_set();
    const py::bytes encoded = py::reinterpret_steal<py::bytes>(bytes);
    result.emplace_back(encoded);
  }
  return result;
}

}  // namespace geneclub::python
