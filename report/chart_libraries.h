// The chart library scripts the report page inlines, compiled into the
// program so that neither writing nor viewing a page needs a network: the
// minified bundles of vega, vega-lite and vega-embed from third_party/,
// byte for byte. CMake generates the definition from those files at build
// time (embed_files.cmake).

#ifndef GENECLUB_REPORT_CHART_LIBRARIES_H_
#define GENECLUB_REPORT_CHART_LIBRARIES_H_

#include <span>
#include <string_view>

namespace geneclub {

struct EmbeddedFile {
  std::string_view name;  // the file's name in third_party/, e.g. "vega.min.js"
  std::string_view bytes;
};

// The bundles in the order the page must load them: vega, vega-lite,
// vega-embed (each uses the ones before it).
std::span<const EmbeddedFile> chartLibraries();

}  // namespace geneclub

#endif  // GENECLUB_REPORT_CHART_LIBRARIES_H_
