#include "dictionary/relations.h"

namespace vesp::dict {

namespace {

constexpr FieldPair kServiceElementLink[] = {{"SER:SERVICENUMBER", "SEL:SERVICENUMBER"}};
constexpr FieldPair kBibleRefLink[] = {{"SER:SERVICENUMBER", "BIB:SERVICENUMBER"}};
constexpr FieldPair kGroupMemberLink[] = {{"PGH:PERFORMERGROUPNUMBER", "PGD:PERFORMERGROUPNUMBER"}};

constexpr RelationDecl kRelations[] = {
    {"Service", "ServiceElement", "SEL:ServiceElementKey", RIMode::Cascade, RIMode::Cascade, kServiceElementLink},
    {"Service", "BibleRef", "BIB:ServiceRefKey", RIMode::Cascade, RIMode::Cascade, kBibleRefLink},
    {"PerformerGroupHeader", "PerformerGroupDetail", "PGD:PerformerGroupKey", RIMode::Cascade, RIMode::Cascade,
     kGroupMemberLink},
};

}  // namespace

std::span<const RelationDecl> relations() { return kRelations; }

}  // namespace vesp::dict
