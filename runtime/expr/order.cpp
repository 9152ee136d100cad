#include "runtime/expr/order.h"

#include "runtime/expr/parser.h"
#include "runtime/expr/shape.h"
#include "runtime/data/errors.h"

namespace vrt::expr {

OrderParseResult parseOrder(std::string_view text) {
  OrderParseResult result;
  auto parsed = parseComponents(text, result.error);
  if (!parsed) {
    setError(result.error.code, result.error.message);
    return result;
  }
  std::vector<OrderComponent> components;
  for (auto& c : *parsed) {
    std::shared_ptr<const Node> tree(std::move(c.node));
    const auto field = fieldTermOf(*tree);
    components.push_back(OrderComponent{Expression(std::move(tree), std::move(c.text)), c.descending, field});
  }
  result.components = std::move(components);
  return result;
}

}  // namespace vrt::expr
