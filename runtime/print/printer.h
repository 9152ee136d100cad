#pragma once
// The printer the program prints to: one for the whole process, chosen and set up through
// the File menu's Print Setup and used by every report.
class QPrinter;

namespace vrt {

QPrinter& sharedPrinter();

}  // namespace vrt
