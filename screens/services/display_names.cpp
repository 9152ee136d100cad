#include "screens/services/display_names.h"

#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/text/utf8.h"

namespace vesp {

namespace {

const vrt::FieldDesc& fieldOf(const FileManager& f, int field) {
  return f.FILE()->schema().fields[static_cast<std::size_t>(field)];
}

std::string clipped(const FileManager& f, int field) {
  const std::string text = f.BUFFER()->text(fieldOf(f, field));
  return std::string(vrt::clip(text));
}

// The text of `textField` of the record numbered `number`, found by `key`.
std::string textOf(const dict::TableDecl& table, int key, int numberField, double number, int textField) {
  if (number == 0) return {};
  FileManager& f = Access(table);
  f.BUFFER()->setNumber(fieldOf(f, numberField), number);
  if (f.Fetch(key) != Level::Benign) return {};
  return textField < 0 ? PerformerDisplayName() : clipped(f, textField);
}

}  // namespace

std::string PerformerDisplayName() {
  const FileManager& f = Access(tables::Performers);
  return clipped(f, dict::idx::PER::FIRSTNAME) + " " + clipped(f, dict::idx::PER::LASTNAME);
}

std::string PerformerName(double number) {
  return textOf(tables::Performers, dict::idx::PER::keys::PerformersNumberKey, dict::idx::PER::PERFORMERSNUMBER, number,
                -1);
}

std::string TopicText(double number) {
  return textOf(tables::Topic, dict::idx::TOP::keys::TopicNumberKey, dict::idx::TOP::TOPICNUMBER, number,
                dict::idx::TOP::TOPIC);
}

std::string SeriesName(double number) {
  return textOf(tables::SermonSeries, dict::idx::SSE::keys::SeriesNumberKey, dict::idx::SSE::SERIESNUMBER, number,
                dict::idx::SSE::NAME);
}

std::string PerformerGroupName(double number) {
  return textOf(tables::PerformerGroupHeader, dict::idx::PGH::keys::PerformerGroupHeaderNumberKey,
                dict::idx::PGH::PERFORMERGROUPNUMBER, number, dict::idx::PGH::DESCRIPTION);
}

double NumberIn(const dict::TableDecl& table, int field) {
  const FileManager& f = Access(table);
  return f.BUFFER()->number(fieldOf(f, field));
}

}  // namespace vesp
