#pragma once
// Output generators: ways other than the printer in which a report's pages leave the
// preview. Each turns the selected pages into a file of its kind.
#include <functional>
#include <string>
#include <vector>

#include "runtime/print/page_output.h"

namespace vesp {

struct OutputGenerator {
  std::string name;       // "PDF"
  std::string icon;
  std::string extension;  // "pdf"
  std::function<vrt::OutputResult(const vrt::PageStore&, const std::vector<int>&, const std::string& path,
                                  const vrt::OutputProgress&)>
      write;
};

// Registering a name twice replaces the first.
void RegisterOutputGenerator(OutputGenerator generator);
void UnregisterOutputGenerator(const std::string& name);
const std::vector<OutputGenerator>& OutputGenerators();
// The name of generator `number` (1-based); empty when no such generator is registered.
std::string OutputGeneratorName(int number);
// Registers the program's generators ("PDF") once.
void RegisterStandardOutputs();

}  // namespace vesp
