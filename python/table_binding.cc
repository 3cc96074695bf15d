// read_table: reads a data file with the batch program's reader and hands
// its values over as one float64 array of gene rows, which the package
// turns into a samples x genes DataFrame without copying it again.

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cstring>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "python/engine_arrays.h"
#include "python/engine_module.h"
#include "readers/expression_table.h"

namespace geneclub::python {
namespace {

namespace py = pybind11;

// Raises the Python exception for a reader's error: OSError for a file that
// cannot be read, ValueError for invalid data.
[[noreturn]] void raiseInputError(const InputError& error) {
  PyErr_SetString(error.kind == InputError::kUnreadable ? PyExc_OSError : PyExc_ValueError,
                  error.message.c_str());
  throw py::error_already_set();
}

py::dict readTable(const std::string& path, const std::string& labelColumn,
                   const std::string& sampleColumn, bool genesInRows, const std::string& labelsFile,
                   bool dropGenesWithMissing, const std::string& labelField,
                   const std::string& annotationFile) {
  const TableOptions options{labelColumn,          sampleColumn, genesInRows,   labelsFile,
                             dropGenesWithMissing, labelField,   annotationFile};
  std::variant<ExpressionTable, InputError> read;
  {
    py::gil_scoped_release release;
    read = readExpressionTable(path, options);
  }
  if (const InputError* error = std::get_if<InputError>(&read)) raiseInputError(*error);
  ExpressionTable& table = std::get<ExpressionTable>(read);
  const auto genes = static_cast<py::ssize_t>(table.values.size());
  const auto samples = static_cast<py::ssize_t>(table.sampleNames.size());
  py::array_t<double> values({genes, samples});
  {
    py::gil_scoped_release release;
    double* const out = values.mutable_data();
    // Each gene's row is released once copied, so that the table and the
    // array together never hold much more than one copy of the values.
    for (py::ssize_t gene = 0; gene < genes; ++gene) {
      std::vector<double>& row = table.values[gene];
      std::memcpy(out + gene * samples, row.data(), row.size() * sizeof(double));
      std::vector<double>().swap(row);
    }
  }
  py::dict result;
  result["values"] = std::move(values);
  result["genes"] = nameList(table.geneNames);
  result["samples"] = nameList(table.sampleNames);
  result["labels"] = nameList(table.labels);
  result["label_name"] = nameList({table.labelName})[0];
  result["label_source"] = table.labelSource;
  result["form"] = formName(table.form);
  result["columns"] = toArray(table.geneColumns);
  result["dropped_genes"] = table.droppedGeneCount;
  result["renamed_genes"] = table.renamedGeneCount;
  result["annotated_genes"] = table.annotatedGeneCount;
  result["unannotated_genes"] = table.unannotatedGeneCount;
  // Each empty without an annotation, and the descriptions also without a
  // form that has them.
  result["symbols"] = nameList(table.geneSymbols);
  result["descriptions"] = nameList(geneDescriptionsOf(table));
  return result;
}

}  // namespace

void addTableReader(py::module_& module) {
  module.def("read_table", &readTable, py::arg("path"), py::arg("label_column"),
             py::arg("sample_column"), py::arg("genes_in_rows"), py::arg("labels_file"),
             py::arg("drop_genes_with_missing"), py::arg("label_field"), py::arg("annotation_file"),
             "Reads a data file: a dict of the values (genes x samples), gene and sample names, "
             "labels, the label source's name and description, the form, the genes' columns, "
             "the dropped, renamed, annotated and unannotated genes and the genes' symbols and "
             "descriptions.");
}

}  // namespace geneclub::python
