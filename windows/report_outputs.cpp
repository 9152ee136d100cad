#include "windows/report_outputs.h"

#include <algorithm>

namespace vesp {

namespace {

std::vector<OutputGenerator>& generators() {
  static std::vector<OutputGenerator> all;
  return all;
}

}  // namespace

void RegisterOutputGenerator(OutputGenerator generator) {
  auto& all = generators();
  auto same = std::find_if(all.begin(), all.end(), [&](const OutputGenerator& g) { return g.name == generator.name; });
  if (same != all.end()) *same = std::move(generator);
  else all.push_back(std::move(generator));
}

void UnregisterOutputGenerator(const std::string& name) {
  auto& all = generators();
  all.erase(std::remove_if(all.begin(), all.end(), [&](const OutputGenerator& g) { return g.name == name; }), all.end());
}

const std::vector<OutputGenerator>& OutputGenerators() { return generators(); }

std::string OutputGeneratorName(int number) {
  const auto& all = generators();
  if (number < 1 || number > static_cast<int>(all.size())) return {};
  return all[static_cast<std::size_t>(number - 1)].name;
}

void RegisterStandardOutputs() {
  static const bool done = [] {
    RegisterOutputGenerator({"PDF", "EXP_PDF.ICO", "pdf",
                             [](const vrt::PageStore& store, const std::vector<int>& pages, const std::string& path,
                                const vrt::OutputProgress& progress) {
                               return vrt::writePdf(store, pages, QString::fromStdString(path), progress);
                             }});
    return true;
  }();
  (void)done;
}

}  // namespace vesp
