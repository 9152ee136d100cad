#pragma once
// The relations the dictionary declares between its tables, with the rules that keep
// the children consistent when a parent changes or goes. Every row that exists only for its
// parent (an element, a key word, a series' publicity) is related to it, so that numbers
// given again never bring back another record's rows; references that name a record
// without belonging to it (a speaker, a topic, a bibliography entry) are plain fields.
#include <span>

namespace vesp::dict {

// Referential-integrity modes, numbered as the relation manager stores them.
enum class RIMode { None = 0, Clear = 1, Restrict = 2, Cascade = 3 };

struct FieldPair {
  const char* parentField;
  const char* childField;
};

struct RelationDecl {
  const char* parent;    // table label, the one-side
  const char* child;     // table label, the many-side
  const char* childKey;  // key of the child whose leading components are the linking fields
  RIMode onChange;
  RIMode onDelete;
  std::span<const FieldPair> links;
  // How the user names one parent and one child: "The service this element belongs to ...".
  const char* parentNoun;
  const char* childNoun;
};

// In registration order: a parent registers its children in the order they stand here.
std::span<const RelationDecl> relations();

}  // namespace vesp::dict
