#pragma once
// A CSV file as Python's csv module reads it (with a byte-order mark taken off), as a
// spreadsheet program would; every cell comes back byte for byte. A file that is not valid
// UTF-8 fails the test.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace vtest {

using CsvRows = std::vector<std::vector<std::string>>;

inline CsvRows readCsvWithPython(const std::string& path) {
  // Each cell as hexadecimal, so that any text comes through the pipe unchanged.
  const std::string command =
      "python3 -c \"import csv,sys\n"
      "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
      "  for row in csv.reader(f): print(' '.join('=' + v.encode('utf-8').hex() for v in row))\" '" +
      path + "'";
  CsvRows rows;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return rows;
  std::string output;
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
  EXPECT_EQ(pclose(pipe), 0) << "python3 could not read " << path;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> row;
    std::istringstream words(line);
    for (std::string word; words >> word;) {
      std::string cell;
      for (std::size_t i = 1; i + 1 < word.size(); i += 2)
        cell += static_cast<char>(std::stoi(word.substr(i, 2), nullptr, 16));
      row.push_back(std::move(cell));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace vtest
