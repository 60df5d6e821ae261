// The report page's style sheet, inlined into the page so that it opens offline and alone.
#include "report/report_style.h"

namespace jobshop {

const char* const kReportStyle = R"css(
body { font-family: "DejaVu Sans", "Segoe UI", Helvetica, Arial, sans-serif; color: #1d2330;
  background: #f5f6f8; margin: 0; }
main { max-width: 1100px; margin: 0 auto; padding: 24px 20px 48px; }
h1 { font-size: 28px; margin: 0 0 4px; }
h2 { font-size: 21px; margin: 36px 0 10px; border-bottom: 2px solid #d5d9e0; padding-bottom: 4px; }
h3 { font-size: 17px; margin: 26px 0 8px; }
p.meta { color: #5a6272; margin: 0 0 18px; }
p.note { color: #5a6272; font-size: 14px; margin: 4px 0 10px; }
code { font-size: 90%; }
.problems { background: #fdecea; border: 1px solid #e2847a; border-radius: 6px;
  padding: 10px 18px; margin: 14px 0; }
.problems h2 { border: none; margin: 4px 0; color: #a4271b; font-size: 19px; }
.problems li { margin: 3px 0; }
.cards { display: flex; flex-wrap: wrap; gap: 12px; }
.card { background: #fff; border: 1px solid #d5d9e0; border-radius: 8px; padding: 10px 16px;
  min-width: 150px; }
.card .value { font-size: 26px; font-weight: bold; }
.card .label { font-size: 13px; color: #5a6272; }
.card.good .value { color: #1e7b3a; }
.card.bad .value { color: #a4271b; }
table { border-collapse: collapse; background: #fff; font-size: 14px; }
th, td { border: 1px solid #d5d9e0; padding: 4px 10px; text-align: right; }
th { background: #e9ecf1; }
tr.reached td.reached { color: #1e7b3a; font-weight: bold; }
.scroll { overflow-x: auto; max-width: 100%; }
.scroll.wide { max-width: none; margin-right: min(0px, calc(50% - 50vw + 20px)); }
table.runs { border-collapse: separate; border-spacing: 0; }
table.runs th, table.runs td { border-width: 0 1px 1px 0; white-space: nowrap; }
table.runs tr > :first-child { position: sticky; left: 0; z-index: 1; background: #fff;
  border-left-width: 1px; box-shadow: 2px 0 3px #00000018; }
table.runs thead th { border-top-width: 1px; }
table.runs thead th:first-child { background: #e9ecf1; }
table.runs th[title] { cursor: help; }
table.runs td.note, table.runs th:last-child { text-align: left; }
table.runs td.note { white-space: normal; min-width: 11em; }
table.runs tr.cut td.note { color: #a4271b; }
table.runs tr.cut > :first-child { border-left: 4px solid #c0392b; }
table.runs tr.copy td { color: #7a8191; }
.whole { white-space: nowrap; }
table.executions tr.differs th, table.executions tr.differs td, span.differs {
  background: #fff1c9; }
span.differs { padding: 0 3px; }
.chart { background: #fff; border: 1px solid #d5d9e0; border-radius: 8px; padding: 8px;
  margin: 8px 0; }
svg { display: block; max-width: 100%; height: auto; font-size: 12px; }
svg .grid { stroke: #e3e6eb; stroke-width: 1; }
svg .axis { stroke: #7a8191; stroke-width: 1; }
svg .tick { fill: #4a5160; font-size: 12px; }
svg .tick.strong { font-weight: bold; fill: #1d2330; }
svg .axis-title { fill: #1d2330; font-size: 13px; }
svg .series { fill: none; stroke-width: 2.2; stroke-linejoin: round; opacity: 0.85; }
svg .series-end { stroke-width: 2; }
svg .end-leader { stroke: #5a6272; stroke-width: 0.8; }
svg .unknown-end { fill: #ffffff; stroke-width: 2; }
svg .end-count { fill: #1d2330; font-size: 11px; paint-order: stroke; stroke: #ffffff;
  stroke-width: 3px; stroke-linejoin: round; }
svg .axis-break { stroke: #4a5160; stroke-width: 1.4; }
svg .series.reached-count { stroke: #2e9a52; }
svg .target { stroke: #c0392b; stroke-width: 1.6; stroke-dasharray: 7 5; }
svg .target.over { stroke-width: 1.1; stroke-dasharray: 6 4; }
svg .target-label { fill: #c0392b; font-size: 13px; font-weight: bold; paint-order: stroke;
  stroke: #ffffff; stroke-width: 4px; stroke-linejoin: round; }
svg .bar.reached { fill: #2e9a52; }
svg .bar.missed { fill: #9aa3b2; }
svg .bar-count { fill: #1d2330; font-size: 12px; paint-order: stroke; stroke: #ffffff;
  stroke-width: 4px; stroke-linejoin: round; }
svg .reached-mark { stroke: #ffffff; stroke-width: 1.2; }
svg .lane { fill: #f4f5f7; stroke: #e1e4e9; stroke-width: 1; }
svg .operation { stroke: #ffffff; stroke-width: 1; }
svg .bar-label { fill: #111111; font-size: 12px; }
svg .bar-label.small { font-size: 11px; }
svg .bar-label.on-dark { fill: #ffffff; }
svg.gantt.wide { max-width: none; }
svg .operation.differs { stroke: #1d2330; stroke-width: 3; }
.order mark { background: none; color: inherit; font-weight: bold; outline: 2px solid #1d2330;
  outline-offset: 0; }
svg .row-label { fill: #1d2330; font-size: 13px; font-weight: bold; }
svg .makespan { stroke: #1d2330; stroke-width: 1.4; stroke-dasharray: 4 3; }
svg .curve { fill: none; stroke: #1f5fa8; stroke-width: 2.4; stroke-linejoin: round; }
svg .ceiling { stroke: #2e9a52; stroke-width: 1.6; stroke-dasharray: 7 5; }
svg .estimate { stroke: #7b4fa0; stroke-width: 1.6; }
svg .estimate-band { fill: #7b4fa0; fill-opacity: 0.13; }
svg .ceiling-label { fill: #1d2330; font-size: 13px; }
svg .map-area { fill: #fbfbfc; stroke: #e1e4e9; stroke-width: 1; }
svg .found { stroke: #ffffff; stroke-width: 1; fill-opacity: 0.9; }
svg .unfound { fill: #b8bec9; }
svg .scale-bar { stroke: #1d2330; stroke-width: 2; }
svg .scale-label { fill: #1d2330; font-size: 13px; }
svg .bar.distance { fill: #5b7bb5; }
svg .chart-heading { fill: #1d2330; font-size: 13px; font-weight: bold; }
.distance-histograms { display: grid; grid-template-columns: repeat(auto-fit, minmax(300px, 1fr));
  gap: 0 10px; }
.swatch.dot { border-radius: 50%; vertical-align: middle; }
figure { margin: 10px 0 16px; }
figcaption { font-size: 14px; color: #3a4150; margin-bottom: 2px; }
.legend { display: flex; flex-wrap: wrap; gap: 6px 14px; font-size: 13px; margin: 6px 0; }
.key { white-space: nowrap; }
.swatch { display: inline-block; width: 14px; height: 14px; border-radius: 3px;
  vertical-align: -2px; margin-right: 5px; border: 1px solid #00000030; }
.swatch.line { height: 4px; vertical-align: 3px; }
p.unusable { color: #a4271b; }
ul.rest { font-size: 13px; padding-left: 20px; }
ul.rest li { margin: 4px 0; }
.order { font-family: "DejaVu Sans Mono", Consolas, monospace; font-size: 13px;
  white-space: nowrap; margin-right: 0.9em; }
.order b { color: #5a6272; margin-right: 0.2em; }
td.orders { text-align: left; }
nav.toc { background: #fff; border: 1px solid #d5d9e0; border-radius: 8px; padding: 6px 16px;
  margin: 10px 0 4px; font-size: 14px; }
nav.toc ul { margin: 0; padding: 0; list-style: none; display: flex; flex-wrap: wrap;
  gap: 4px 18px; }
nav.toc a { color: #1c64b4; text-decoration: none; }
.run-links a { margin-left: 0.35em; }
details.run-optima { background: #fff; border: 1px solid #d5d9e0; border-radius: 8px;
  padding: 6px 14px; margin: 10px 0; }
details.run-optima > summary { font-size: 17px; font-weight: bold; cursor: pointer;
  padding: 4px 0; }
details > summary { cursor: pointer; }
p.overall { font-size: 15px; }
p.coverage { font-size: 15px; background: #fff; border-left: 4px solid #2e9a52; padding: 6px 12px; }
p.coverage .fault, td.enumeration.missing { color: #a4271b; font-weight: bold; }
p.estimates, p.enumeration-measures { font-size: 15px; }
p.estimates .caveat { color: #5a6272; font-size: 14px; }
.lower-bound, .lower-bound strong { color: #6b7280; }
svg text.lower-bound { fill: #6b7280; }
svg .estimate.lower-bound { stroke: #8a909c; stroke-dasharray: 3 3; }
td.enumeration { text-align: left; white-space: nowrap; }
td.enumeration.listed { color: #1e7b3a; }
table.executions td { text-align: left; }
table.matrix td, table.matrix th { text-align: center; min-width: 28px; padding: 3px 6px; }
table.matrix .h0, .scale-legend .h0 { background: #ffffcc; }
table.matrix .h1, .scale-legend .h1 { background: #c7e9b4; }
table.matrix .h2, .scale-legend .h2 { background: #7fcdbb; }
table.matrix .h3, .scale-legend .h3 { background: #41b6c4; }
table.matrix .h4, .scale-legend .h4 { background: #1d91c0; }
table.matrix .h5, .scale-legend .h5 { background: #225ea8; }
table.matrix .h6, .scale-legend .h6 { background: #0c2c84; }
table.matrix td.h5, table.matrix td.h6 { color: #ffffff; }
.matrix-box { max-height: 85vh; overflow: auto; }
table.matrix.dense { border-collapse: separate; border-spacing: 0; }
table.matrix.dense td { min-width: 0; width: 8px; height: 8px; padding: 0; border: 0; }
table.matrix.dense th { min-width: 0; padding: 0 3px; border: 0; font-size: 8px; line-height: 8px;
  font-weight: normal; position: sticky; left: 0; background: #e9ecf1; }
table.matrix.dense tr:first-child th { top: 0; left: auto; padding: 3px 0;
  writing-mode: vertical-rl; z-index: 1; }
table.matrix.dense tr:first-child th:first-child { left: 0; z-index: 2; }
.scale-legend { display: flex; align-items: center; font-size: 12px; margin: 4px 0 6px; }
.scale-legend .step { display: inline-block; width: 22px; height: 12px; }
.scale-legend .end { margin: 0 6px; }
details.distances > summary, details.shared-optima > summary { font-size: 14px; margin: 8px 0 4px; }
table.shared-optima th.text, table.shared-optima td.found-by, table.shared-optima td.runs,
table.shared-optima td.first { text-align: left; }
svg .run-line { fill: none; stroke-width: 0.8; opacity: 0.35; }
svg .median-line { fill: none; stroke-width: 3; }
svg .quartile-band { stroke: none; fill-opacity: 0.16; }
svg .run-line.held-count, svg .median-line.held-count { stroke: #1f5fa8; }
svg .run-line.found-count, svg .median-line.found-count { stroke: #d9822b; }
svg .quartile-band.held-count { fill: #1f5fa8; }
svg .quartile-band.found-count { fill: #d9822b; }
.swatch.held-count { background: #1f5fa8; }
.swatch.found-count { background: #d9822b; }
.swatch.band { background: #9aa3b233; }
table.measures th { text-align: left; }
)css";

}  // namespace jobshop
