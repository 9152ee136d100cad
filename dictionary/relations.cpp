#include "dictionary/relations.h"

namespace vesp::dict {

namespace {

constexpr FieldPair kServiceElementLink[] = {{"SER:SERVICENUMBER", "SEL:SERVICENUMBER"}};
constexpr FieldPair kBibleRefLink[] = {{"SER:SERVICENUMBER", "BIB:SERVICENUMBER"}};
constexpr FieldPair kGroupMemberLink[] = {{"PGH:PERFORMERGROUPNUMBER", "PGD:PERFORMERGROUPNUMBER"}};
constexpr FieldPair kKeyWordLink[] = {{"SER:SERVICENUMBER", "KWD:SERVICENUMBER"}};
constexpr FieldPair kStatisticLink[] = {{"SER:SERVICENUMBER", "STA:SERVICENUMBER"}};
constexpr FieldPair kServiceFileLink[] = {{"SER:SERVICENUMBER", "ASF:SERVICENUMBER"}};
constexpr FieldPair kElementFileLink[] = {{"SEL:ELEMENTNUMBER", "ASF:ELEMENTNUMBER"}};
constexpr FieldPair kPublicityLink[] = {{"SSE:SERIESNUMBER", "SEP:SERIESNUMBER"}};

// A service's elements go before its own files, so that an element's files go with the
// element first and the service then takes the files no element holds.
constexpr RelationDecl kRelations[] = {
    {"Service", "ServiceElement", "SEL:ServiceElementKey", RIMode::Cascade, RIMode::Cascade, kServiceElementLink,
     "service", "element"},
    {"Service", "BibleRef", "BIB:ServiceRefKey", RIMode::Cascade, RIMode::Cascade, kBibleRefLink, "service",
     "Bible reference"},
    {"PerformerGroupHeader", "PerformerGroupDetail", "PGD:PerformerGroupKey", RIMode::Cascade, RIMode::Cascade,
     kGroupMemberLink, "performer group", "member"},
    {"Service", "KeyWords", "KWD:ServiceNumberKey", RIMode::Cascade, RIMode::Cascade, kKeyWordLink, "service",
     "key word"},
    {"Service", "Statistics", "STA:ServiceNumberKey", RIMode::Cascade, RIMode::Cascade, kStatisticLink, "service",
     "statistic"},
    {"Service", "AssociatedFiles", "ASF:ServiceNumberKey", RIMode::Cascade, RIMode::Cascade, kServiceFileLink,
     "service", "file"},
    {"ServiceElement", "AssociatedFiles", "ASF:ElementNumberKey", RIMode::Cascade, RIMode::Cascade,
     kElementFileLink, "element", "file"},
    {"SermonSeries", "SeriesPublicity", "SEP:SeriesNumberKey", RIMode::Cascade, RIMode::Cascade, kPublicityLink,
     "sermon series", "publicity"},
};

}  // namespace

std::span<const RelationDecl> relations() { return kRelations; }

}  // namespace vesp::dict
