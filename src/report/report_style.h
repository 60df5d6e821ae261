// The report page's style sheet, inlined into the page so that it opens offline and alone.
#pragma once

namespace jobshop {

// CSS for the page, its tables and the classes used by the charts.
extern const char* const kReportStyle;

}  // namespace jobshop
