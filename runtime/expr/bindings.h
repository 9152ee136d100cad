#pragma once
// Names an expression can use, per thread. A name refers to a value that is read each
// time an expression is evaluated: a field of a record buffer or a variable of the caller.
//
//   bindName("LOC:ClassName", &className);   // in the innermost open scope
//   BindingScope scope;                      // a window's names; gone when it closes
//   bindRecord(schema, buffer);              // every field label of a table ("PRA:DateStarted")
//
// Names compare without regard to case. A name bound in an inner scope hides the same name
// bound further out until that scope closes. A target must stay where it is while bound;
// once unbound, expressions that used it no longer touch it.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/expr/value.h"
#include "runtime/data/schema.h"
#include "runtime/text/record.h"

namespace vrt::expr {

// A bound field of a table's record.
struct FieldBinding {
  const TableSchema* table = nullptr;
  int index = -1;
  const FieldDesc& desc() const { return table->fields[static_cast<std::size_t>(index)]; }
};

class Binding {
 public:
  using Reader = std::function<Value()>;
  using Writer = std::function<void(const Value&)>;

  static std::shared_ptr<Binding> ofField(const TableSchema& table, int index, RecordRef record);
  static std::shared_ptr<Binding> ofValue(Value* variable);
  static std::shared_ptr<Binding> ofText(std::string* variable);
  static std::shared_ptr<Binding> ofCallbacks(Reader read, Writer write = {});

  // The current value; an empty text once unbound.
  Value read() const;
  // Stores through to the target: fields as their type takes it, texts as text. False
  // when the binding is read-only or no longer bound.
  bool write(const Value& v) const;

  bool isBound() const { return bound_; }
  // Set for record fields.
  std::optional<FieldBinding> field() const;

  // Forgets the target (the name was unbound or its scope closed).
  void detach();

 private:
  enum class Kind { Field, Value, Text, Callbacks };
  explicit Binding(Kind kind) : kind_(kind) {}

  Kind kind_;
  bool bound_ = true;
  FieldBinding field_;
  mutable RecordRef record_{nullptr, 0};  // writing a field does not change the binding
  Value* value_ = nullptr;
  std::string* text_ = nullptr;
  Reader reader_;
  Writer writer_;
};

// Binds in the innermost open scope of this thread (the thread's own names when none is open).
void bindName(std::string_view name, Value* variable);
void bindName(std::string_view name, std::string* variable);
void bindName(std::string_view name, Binding::Reader read, Binding::Writer write = {});
// A field that does not lie wholly inside `record` is not bound.
void bindField(std::string_view name, const TableSchema& table, int field, RecordRef record);
// Removes the newest binding of `name`; false when it was not bound.
bool unbindName(std::string_view name);

// Every field label of `table`, bound to `record` among the thread's own names, so that
// they outlive any window's scope. Binding a table again replaces its earlier record.
void bindRecord(const TableSchema& table, RecordRef record);
void unbindRecord(const TableSchema& table);

// The binding an expression parsed now would use; nullptr when the name is not bound.
std::shared_ptr<const Binding> findBinding(std::string_view name);

// Opens a scope of names on the current thread; closing it (or destroying it) unbinds every
// name bound while it was the innermost, and closes any scope opened inside it.
class BindingScope {
 public:
  BindingScope();
  ~BindingScope() { close(); }
  BindingScope(const BindingScope&) = delete;
  BindingScope& operator=(const BindingScope&) = delete;
  void close();

 private:
  struct Table* table_;
  int id_;
  bool open_ = true;
};

}  // namespace vrt::expr
