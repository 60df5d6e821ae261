// Every figure of the report page as one JSON document.
#include "report/report_json.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "input/niching_fields.h"

namespace jobshop {

namespace {

using Json = nlohmann::ordered_json;

// JSON has no NaN or infinity; a figure that came out as one is unknown.
Json number(double value) { return std::isfinite(value) ? Json(value) : Json(nullptr); }

template <typename Value>
Json orNull(const std::optional<Value>& value) {
  if (!value) return nullptr;
  if constexpr (std::is_floating_point_v<Value>) {
    return number(*value);
  } else {
    return Json(*value);
  }
}

Json count(std::size_t value) { return static_cast<std::uint64_t>(value); }

// The record keeps each parameter's value as text; numbers and flags go back to their JSON type.
Json parameterValue(const std::string& text) {
  Json value = Json::parse(text, nullptr, false);
  return value.is_discarded() || value.is_structured() ? Json(text) : value;
}

Json parametersOf(const LoggedExecution& execution) {
  Json parameters = Json::object();
  for (const auto& [name, value] : execution.parameters) parameters[name] = parameterValue(value);
  return parameters;
}

// The method and its own settings as the record gives them.
Json nichingOf(const LoggedExecution& execution) {
  const NichingSettings& niching = execution.niching;
  Json object{{"method", nichingMethodName(niching.method)}};
  for (const NichingField& field : kNichingFields) {
    const std::optional<double> value = heldValue(niching, field.setting);
    if (field.method != niching.method || !value) continue;
    object[field.name] = field.whole ? Json(static_cast<int>(*value)) : Json(*value);
  }
  return object;
}

// Null only when the record says nothing of it: neither the run nor its execution's exit status.
Json cutOf(const RunRecord& run, const LoggedExecution& execution) {
  if (!run.logged->cut && !execution.exitStatus) return nullptr;
  return run.cut;
}

void addRecorded(const RunRecord& run, const ExecutionLog& log, Json& object) {
  const LoggedExecution* execution =
      run.logged && run.execution >= 1
          ? &log.executions[static_cast<std::size_t>(run.execution - 1)]
          : nullptr;
  const LoggedRun* logged = execution != nullptr ? &*run.logged : nullptr;
  const auto field = [&](const char* name, auto read) {
    object[name] = execution != nullptr ? read() : Json(nullptr);
  };
  field("execution", [&] { return Json(execution->number); });
  field("seed", [&] { return orNull(execution->seed); });
  field("clock", [&] { return Json(execution->clock); });
  field("seedGiven", [&] { return Json(execution->seedGiven); });
  field("wallClock", [&] { return Json(execution->wallClock); });
  field("started", [&] { return Json(execution->started); });
  field("version", [&] { return Json(execution->version); });
  field("seconds", [&] { return orNull(logged->seconds); });
  field("generations", [&] { return orNull(logged->generations); });
  field("evaluations", [&] { return orNull(logged->evaluations); });
  field("targetGeneration", [&] { return orNull(logged->targetGeneration); });
  field("targetEvaluations", [&] { return orNull(logged->targetEvaluations); });
  field("cut", [&] { return cutOf(run, *execution); });
  field("abandonedGeneration", [&] { return orNull(logged->abandonedGeneration); });
  field("exitStatus", [&] { return orNull(execution->exitStatus); });
  object["repeatsRun"] = run.repeatOf != 0 ? Json(run.repeatOf) : Json(nullptr);
  object["counted"] = run.repeatOf == 0;
  field("parameters", [&] { return parametersOf(*execution); });
  field("niching", [&] { return nichingOf(*execution); });
}

// The measures of the run's trace, each null where it cannot be computed (all of them for a run
// without a trace).
void addMeasures(const std::optional<NichingMeasures>& measures, Json& object) {
  const auto count = [&](int NichingMeasures::*member) {
    return measures ? Json((*measures).*member) : Json(nullptr);
  };
  const auto share = [&](std::optional<double> NichingMeasures::*member) {
    return measures ? orNull((*measures).*member) : Json(nullptr);
  };
  object["held"] = count(&NichingMeasures::held);
  object["found"] = count(&NichingMeasures::found);
  object["distinct"] = count(&NichingMeasures::distinct);
  object["recall"] = share(&NichingMeasures::recall);
  object["precision"] = share(&NichingMeasures::precision);
  object["f1"] = share(&NichingMeasures::f1);
  object["foundRecall"] = share(&NichingMeasures::foundRecall);
  object["retention"] = share(&NichingMeasures::retention);
  object["dynamicF1"] = share(&NichingMeasures::dynamicF1);
}

Json runObject(const RunRecord& run, std::size_t index, const RunFigures& figures,
               const ExecutionLog& log, const std::optional<OptimaCoverage>& coverage,
               const std::optional<NichingMeasures>& measures) {
  Json object = Json::object();
  object["run"] = run.run;
  object["bestMakespan"] = number(run.best);
  object["reachedTarget"] = run.reachedTarget;
  object["distinctOptima"] = orNull(run.distinctOptima);
  object["averageDistance"] = orNull(run.averageDistance);
  object["improvingGenerations"] = figures.improvingGenerations;
  object["lastImprovingGeneration"] = figures.lastImprovingGeneration;
  object["foundOfEnumerated"] =
      coverage && coverage->listed ? count(coverage->foundByRun[index]) : Json(nullptr);
  addRecorded(run, log, object);
  addMeasures(measures, object);
  return object;
}

Json runsArray(const ResultRecords& records, const ReportAnalysis& analysis) {
  Json runs = Json::array();
  for (std::size_t r = 0; r < records.runs.size(); ++r)
    runs.push_back(runObject(records.runs[r], r, analysis.runFigures[r], records.log,
                             analysis.coverage, analysis.runMeasures[r]));
  return runs;
}

Json summaryObject(const ReportSummary& summary) {
  return Json{{"runs", summary.runs},
              {"bestMakespan", orNull(summary.bestMakespan)},
              {"medianBest", orNull(summary.medianBest)},
              {"runsReachingTarget", summary.runsReachingTarget},
              {"runsCut", summary.runsCut},
              {"fewestOptima", orNull(summary.fewestOptima)},
              {"mostOptima", orNull(summary.mostOptima)},
              {"totalOptima", summary.totalOptima},
              {"distinctOptimaOverall", orNull(summary.distinctOptimaOverall)},
              {"meanAverageDistance", orNull(summary.meanAverageDistance)},
              {"runsWithDistance", summary.runsWithDistance}};
}

Json inEnumeration(const std::optional<OptimaCoverage>& coverage, const SharedOptimum& optimum) {
  if (!coverage || !coverage->listed) return nullptr;
  return enumerationStatus(*coverage, optimum.sequences, optimum.makespan) ==
         EnumerationStatus::kListed;
}

Json schedulesArray(const OptimumUnion& optima, const std::optional<OptimaCoverage>& coverage,
                    const NicheMap& map) {
  Json schedules = Json::array();
  for (std::size_t k = 0; k < optima.schedules.size(); ++k) {
    const SharedOptimum& optimum = optima.schedules[k];
    const MapPoint* point = k < map.found.size() && map.found[k] ? &*map.found[k] : nullptr;
    schedules.push_back(
        Json{{"id", k + 1},
             {"makespan", optimum.makespan},
             {"sequences", optimum.sequences},
             {"runs", optimum.runs},
             {"inEnumeration", inEnumeration(coverage, optimum)},
             {"map", point ? Json::array({number(point->x), number(point->y)}) : Json(nullptr)}});
  }
  return schedules;
}

Json estimatesObject(const std::optional<RichnessEstimates>& estimates) {
  if (!estimates) return nullptr;
  return Json{{"chao2", number(estimates->chao2)},
              {"chao2Lower", number(estimates->chao2Lower)},
              {"chao2Upper", number(estimates->chao2Upper)},
              {"jackknife1", number(estimates->jackknife1)},
              {"jackknife2", number(estimates->jackknife2)},
              {"coverage", number(estimates->coverage)},
              {"Q1", count(estimates->q1)},
              {"Q2", count(estimates->q2)},
              {"T", count(estimates->runs)},
              {"lowerBoundOnly", estimates->lowerBoundOnly}};
}

Json accumulationArray(const std::vector<double>& accumulation) {
  Json curve = Json::array();
  for (const double s : accumulation) curve.push_back(number(s));
  return curve;
}

Json enumerationObject(const std::optional<OptimaCoverage>& coverage,
                       const std::optional<EnumerationMeasures>& measures) {
  if (!coverage) return nullptr;
  const EnumeratedOptima& enumeration = coverage->enumeration;
  return Json{{"K", enumeration.count},
              {"bound", enumeration.bound},
              {"complete", enumeration.complete},
              {"optimal", enumeration.optimal},
              {"listed", coverage->listed},
              {"found", coverage->listed ? count(coverage->foundOverall) : Json(nullptr)},
              {"peakRatio", measures ? number(measures->peakRatio) : Json(nullptr)},
              {"successRate", measures ? number(measures->successRate) : Json(nullptr)}};
}

Json averageObject(const MeasureAverage& average) {
  return Json{{"mean", orNull(average.mean)}, {"median", orNull(average.median)}};
}

Json aggregatesObject(const NichingAggregates& aggregates) {
  return Json{{"traced", aggregates.traced},
              {"untraced", aggregates.untraced},
              {"held", averageObject(aggregates.held)},
              {"found", averageObject(aggregates.found)},
              {"distinct", averageObject(aggregates.distinct)},
              {"recall", averageObject(aggregates.recall)},
              {"precision", averageObject(aggregates.precision)},
              {"f1", averageObject(aggregates.f1)},
              {"foundRecall", averageObject(aggregates.foundRecall)},
              {"retention", averageObject(aggregates.retention)},
              {"dynamicF1", averageObject(aggregates.dynamicF1)}};
}

// The averages of the runs' measures over all counted runs and per execution of the record.
Json measuresObject(const ReportAnalysis& analysis, const ExecutionLog& log) {
  Json executions = Json::array();
  for (std::size_t k = 0; k < analysis.nichingByExecution.size(); ++k) {
    Json execution = Json{{"execution", log.executions[k].number}};
    execution.update(aggregatesObject(analysis.nichingByExecution[k]));
    executions.push_back(execution);
  }
  // K is the enumeration's count, whole; the analysis keeps it as the measures divide by it.
  const Json exactCount =
      analysis.exactCount ? Json(static_cast<std::int64_t>(*analysis.exactCount)) : Json(nullptr);
  return Json{{"K", exactCount},
              {"overall", aggregatesObject(analysis.niching)},
              {"executions", executions}};
}

Json histogramObject(const DistanceHistogram& histogram) {
  Json pairs = Json::array();
  for (const std::size_t n : histogram.pairs) pairs.push_back(count(n));
  return Json{{"pairs", pairs}, {"total", count(histogram.total)}, {"sampled", histogram.sampled}};
}

Json histogramsObject(const DistanceHistograms& histograms) {
  return Json{{"found", histogramObject(histograms.found)},
              {"listed", histograms.listed ? histogramObject(*histograms.listed) : Json(nullptr)},
              {"nearestFound",
               histograms.nearestFound ? histogramObject(*histograms.nearestFound) : Json(nullptr)},
              {"foundListedGap", orNull(histograms.foundListedGap)}};
}

}  // namespace

std::string reportJson(const Instance& instance, const ResultRecords& records,
                       const ReportAnalysis& analysis) {
  const ScheduleIncidence& incidence = analysis.incidence;
  Json json = Json::object();
  json["instance"] = Json{{"jobs", instance.jobs},
                          {"machines", instance.machines},
                          {"target", instance.targetMakespan}};
  json["problems"] = records.problems;
  json["summary"] = summaryObject(analysis.summary);
  json["runs"] = runsArray(records, analysis);
  json["distinctOptima"] = Json{{"count", count(incidence.schedules.size())},
                                {"bestMakespan", orNull(incidence.bestMakespan)}};
  json["schedules"] = schedulesArray(analysis.optima, analysis.coverage, analysis.map);
  json["estimates"] = estimatesObject(analysis.estimates);
  json["accumulation"] = accumulationArray(analysis.accumulation);
  json["enumeration"] = enumerationObject(analysis.coverage, analysis.measures);
  json["distanceHistograms"] = histogramsObject(analysis.histograms);
  json["measures"] = measuresObject(analysis, records.log);
  // A problem may quote bytes of the files that are not UTF-8; they must not stop the output.
  return json.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace jobshop
