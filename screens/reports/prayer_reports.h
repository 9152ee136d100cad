#pragma once
// The prayer-journal reports, each a procedure registered by its name, which a print
// button starts on a thread of its own.
#include <span>
#include <string>

#include "windows/report_manager.h"

namespace vesp {

std::span<const ReportDeclaration> prayerReports();
// The declaration of the report procedure `name`; nullptr when there is none.
const ReportDeclaration* prayerReport(std::string_view name);

// The query report's title (at most 80 characters) from the handed query text, its
// description and the run-time category.
std::string QueryReportTitle(std::string_view filter, std::string_view description, std::string_view category);

void ReportPrayerRequestAll();
void ReportPrayerRequest();
void ReportPrayerRequestAnswered();
void ReportPrayerRequestQuery();
void ReportBlessings();
void ReportPraises();
void ReportJournal();

void RegisterReports();

}  // namespace vesp
