#include "python/engine_arrays.h"

#include <tbb/parallel_for.h>

#include <algorithm>

namespace geneclub::python {

namespace py = pybind11;

ValueView valueView(const ValueArray& values) {
  require(values.ndim() == 2, "the values must be a samples x genes array");
  return values.unchecked<2>();
}

ExpressionMatrix geneRows(const ValueView& values) {
  const py::ssize_t samples = values.shape(0), genes = values.shape(1);
  ExpressionMatrix matrix(genes);
  // Eight genes at a time, sample by sample: in a row-major array a block's
  // values share a cache line, and in a column-major array each gene is
  // read in order. Blocks of genes are copied in parallel, each row made
  // by the thread that fills it.
  constexpr py::ssize_t kBlock = 8;
  tbb::parallel_for(py::ssize_t{0}, (genes + kBlock - 1) / kBlock, [&](py::ssize_t block) {
    const py::ssize_t first = block * kBlock, last = std::min(genes, first + kBlock);
    for (py::ssize_t gene = first; gene < last; ++gene) matrix[gene].resize(samples);
    for (py::ssize_t sample = 0; sample < samples; ++sample) {
      for (py::ssize_t gene = first; gene < last; ++gene)
        matrix[gene][sample] = values(sample, gene);
    }
  });
  return matrix;
}

namespace {

py::object text(const std::string& name) {
  PyObject* decoded =
      PyUnicode_DecodeUTF8(name.data(), static_cast<Py_ssize_t>(name.size()), "surrogateescape");
  if (decoded == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::object>(decoded);
}

}  // namespace

py::list nameList(const std::vector<std::string>& names) {
  py::list list(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) list[i] = text(names[i]);
  return list;
}

py::array textColumn(const std::vector<std::string>& texts) {
  return objectColumn(texts.size(), [&texts](std::size_t i) { return text(texts[i]); });
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
