#include "runtime/expr/bindings.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "runtime/os/thread_state.h"
#include "runtime/text/utf8.h"

namespace vrt::expr {

// The names of one thread. Each name keeps its bindings ordered by scope, innermost last.
struct Table {
  struct Entry {
    std::shared_ptr<Binding> binding;
    int scope;                          // 0: the thread's own names
    const TableSchema* record = nullptr;  // set by bindRecord
  };
  std::unordered_map<std::string, std::vector<Entry>> names;
  std::vector<int> openScopes;
  int lastScope = 0;

  int innermost() const { return openScopes.empty() ? 0 : openScopes.back(); }

  void add(std::string_view name, std::shared_ptr<Binding> binding, int scope, const TableSchema* record = nullptr) {
    auto& entries = names[upperCase(name)];
    const auto at = std::find_if(entries.begin(), entries.end(), [scope](const Entry& e) { return e.scope > scope; });
    entries.insert(at, Entry{std::move(binding), scope, record});
  }

  // Drops the entries `drop` selects, detaching them.
  template <typename Pred>
  void removeIf(Pred drop) {
    for (auto it = names.begin(); it != names.end();) {
      auto& entries = it->second;
      std::erase_if(entries, [&](Entry& e) {
        if (!drop(e)) return false;
        e.binding->detach();
        return true;
      });
      it = entries.empty() ? names.erase(it) : std::next(it);
    }
  }
};

namespace {

struct ThreadNames {
  Table table;
  ~ThreadNames() {
    // Expressions may outlive the thread; they must not reach its buffers afterwards.
    table.removeIf([](const Table::Entry&) { return true; });
  }
};

Table& threadTable() { return perThread<ThreadNames>().table; }

// A field that does not lie wholly inside the record is never bound, so never read.
bool fits(const TableSchema& table, int field, const RecordRef& record) {
  if (field < 0 || static_cast<std::size_t>(field) >= table.fields.size() || !record.data()) return false;
  const FieldDesc& f = table.fields[static_cast<std::size_t>(field)];
  return std::size_t{f.offset} + f.size <= record.size();
}

}  // namespace

std::shared_ptr<Binding> Binding::ofField(const TableSchema& table, int index, RecordRef record) {
  std::shared_ptr<Binding> b(new Binding(Kind::Field));
  b->field_ = FieldBinding{&table, index};
  b->record_ = record;
  return b;
}

std::shared_ptr<Binding> Binding::ofValue(Value* variable) {
  std::shared_ptr<Binding> b(new Binding(Kind::Value));
  b->value_ = variable;
  return b;
}

std::shared_ptr<Binding> Binding::ofText(std::string* variable) {
  std::shared_ptr<Binding> b(new Binding(Kind::Text));
  b->text_ = variable;
  return b;
}

std::shared_ptr<Binding> Binding::ofCallbacks(Reader read, Writer write) {
  std::shared_ptr<Binding> b(new Binding(Kind::Callbacks));
  b->reader_ = std::move(read);
  b->writer_ = std::move(write);
  return b;
}

Value Binding::read() const {
  if (!bound_) return Value::text({});
  switch (kind_) {
    case Kind::Field: {
      const FieldDesc& f = field_.desc();
      return isTextType(f.type) ? Value::text(record_.text(f)) : Value::number(record_.number(f));
    }
    case Kind::Value: return value_ ? *value_ : Value::text({});
    case Kind::Text: return Value::text(text_ ? *text_ : std::string());
    case Kind::Callbacks: return reader_ ? reader_() : Value::text({});
  }
  return Value::text({});
}

bool Binding::write(const Value& v) const {
  if (!bound_) return false;
  switch (kind_) {
    case Kind::Field: {
      const FieldDesc& f = field_.desc();
      if (f.type == FieldType::Decimal || isTextType(f.type)) record_.setText(f, v.toText());
      else record_.setNumber(f, v.toNumber());
      return true;
    }
    case Kind::Value:
      if (!value_) return false;
      *value_ = v;
      return true;
    case Kind::Text:
      if (!text_) return false;
      *text_ = v.toText();
      return true;
    case Kind::Callbacks:
      if (!writer_) return false;
      writer_(v);
      return true;
  }
  return false;
}

std::optional<FieldBinding> Binding::field() const {
  if (kind_ != Kind::Field) return std::nullopt;
  return field_;
}

void Binding::detach() {
  bound_ = false;
  value_ = nullptr;
  text_ = nullptr;
  reader_ = nullptr;
  writer_ = nullptr;
  record_ = RecordRef(nullptr, 0);
}

void bindName(std::string_view name, Value* variable) {
  Table& t = threadTable();
  t.add(name, Binding::ofValue(variable), t.innermost());
}

void bindName(std::string_view name, std::string* variable) {
  Table& t = threadTable();
  t.add(name, Binding::ofText(variable), t.innermost());
}

void bindName(std::string_view name, Binding::Reader read, Binding::Writer write) {
  Table& t = threadTable();
  t.add(name, Binding::ofCallbacks(std::move(read), std::move(write)), t.innermost());
}

void bindField(std::string_view name, const TableSchema& table, int field, RecordRef record) {
  if (!fits(table, field, record)) return;
  Table& t = threadTable();
  t.add(name, Binding::ofField(table, field, record), t.innermost());
}

bool unbindName(std::string_view name) {
  Table& t = threadTable();
  const auto it = t.names.find(upperCase(name));
  if (it == t.names.end()) return false;
  it->second.back().binding->detach();
  it->second.pop_back();
  if (it->second.empty()) t.names.erase(it);
  return true;
}

void bindRecord(const TableSchema& table, RecordRef record) {
  unbindRecord(table);
  Table& t = threadTable();
  for (std::size_t i = 0; i < table.fields.size(); ++i)
    if (fits(table, static_cast<int>(i), record))
      t.add(table.fields[i].label, Binding::ofField(table, static_cast<int>(i), record), 0, &table);
}

void unbindRecord(const TableSchema& table) {
  threadTable().removeIf([&table](const Table::Entry& e) { return e.record == &table; });
}

std::shared_ptr<const Binding> findBinding(std::string_view name) {
  Table& t = threadTable();
  const auto it = t.names.find(upperCase(name));
  return it == t.names.end() ? nullptr : it->second.back().binding;
}

BindingScope::BindingScope() : table_(&threadTable()), id_(++table_->lastScope) {
  table_->openScopes.push_back(id_);
}

void BindingScope::close() {
  if (!open_) return;
  open_ = false;
  // Already closed along with a scope it was opened in.
  if (std::find(table_->openScopes.begin(), table_->openScopes.end(), id_) == table_->openScopes.end()) return;
  // Scopes nest, so every scope opened after this one lies inside it.
  std::erase_if(table_->openScopes, [this](int s) { return s >= id_; });
  table_->removeIf([this](const Table::Entry& e) { return e.scope >= id_; });
}

}  // namespace vrt::expr
