#include "results/run_record.h"

#include <algorithm>

namespace geneclub {

int RunRecord::diseaseSize() const {
  const ClassLabels& labels = ranking().classLabels();
  return static_cast<int>(std::count(labels.begin(), labels.end(), 1));
}

std::vector<std::string> RunRecord::methodNames() const {
  std::vector<std::string> names;
  for (const ClubMethod method : methods) names.emplace_back(methodName(method));
  return names;
}

RunRecorder::RunRecorder(RunRecord& record) : record_(record) {
  const MiningResult& global = record.startUp.global;
  record.patternCounts.push_back(
      {"global", 0, global.disease.patternCount(), global.normal.patternCount()});
}

void RunRecorder::beginMethod(ClubMethod method) {
  const std::string name(methodName(method));
  record_.patternCounts.push_back({name});
  record_.clubRuns.push_back({name, {}, {}});
}

void RunRecorder::deliver(const ClubRun& run) {
  PatternCount& count = record_.patternCounts.back();
  ++count.clubs;
  count.disease += run.patterns.disease.patternCount();
  count.normal += run.patterns.normal.patternCount();
  ClubMethodRun& clubs = record_.clubRuns.back();
  std::vector<int> places;
  for (const int row : run.club) places.push_back(row + 1);
  clubs.clubs.push_back(std::move(places));
  clubs.patternCounts.push_back(run.patterns.disease.patternCount() +
                                run.patterns.normal.patternCount());
}

}  // namespace geneclub
