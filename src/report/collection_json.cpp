// Writing the collection with nlohmann-json, in plan order.
#include "report/collection_json.h"

#include <nlohmann/json.hpp>

namespace jobshop {

namespace {

using Json = nlohmann::ordered_json;

template <class T>
Json orNull(const std::optional<T>& value) {
  return value ? Json(*value) : Json(nullptr);
}

Json estimatesJson(const std::optional<RichnessEstimates>& r) {
  if (!r) return nullptr;
  return Json{{"observed", r->observed},
              {"T", r->runs},
              {"Q1", r->q1},
              {"Q2", r->q2},
              {"chao2", r->chao2},
              {"chao2Lower", r->chao2Lower},
              {"chao2Upper", r->chao2Upper},
              {"jackknife1", r->jackknife1},
              {"jackknife2", r->jackknife2},
              {"coverage", r->coverage},
              {"lowerBoundOnly", r->lowerBoundOnly}};
}

Json averageJson(const MeasureAverage& average) {
  return Json{{"mean", orNull(average.mean)}, {"median", orNull(average.median)}};
}

// The mean and median of each measure of the runs' traces, and how many runs had none.
Json measuresJson(const SettingSummary& s) {
  const NichingAggregates& a = s.niching;
  const Json exactCount =
      s.exactCount ? Json(static_cast<std::int64_t>(*s.exactCount)) : Json(nullptr);
  return Json{{"K", exactCount},
              {"traced", a.traced},
              {"untraced", a.untraced},
              {"held", averageJson(a.held)},
              {"found", averageJson(a.found)},
              {"distinct", averageJson(a.distinct)},
              {"recall", averageJson(a.recall)},
              {"precision", averageJson(a.precision)},
              {"f1", averageJson(a.f1)},
              {"foundRecall", averageJson(a.foundRecall)},
              {"retention", averageJson(a.retention)},
              {"dynamicF1", averageJson(a.dynamicF1)}};
}

Json settingJson(const SettingSummary& s) {
  Json json;
  json["setting"] = s.setting;
  json["executionsFinished"] = s.finished;
  json["executionsPlanned"] = s.planned;
  json["runs"] = s.runs;
  json["runsReachingTarget"] = s.runsReachingTarget;
  if (s.targetRate) {
    json["targetRate"] = *s.targetRate;
    json["targetRateLower"] = s.successInterval.low;
    json["targetRateUpper"] = s.successInterval.high;
  } else {
    json["targetRate"] = json["targetRateLower"] = json["targetRateUpper"] = nullptr;
  }
  json["distinctOptimaPerSuccessfulRun"] = s.optimaPerSuccessfulRun;
  json["distinctOptimaUnion"] = s.distinctSchedules;
  json["estimatedMakespan"] = orNull(s.sampledMakespan);
  json["estimates"] = estimatesJson(s.richness);
  const auto& measures = s.againstEnumeration;
  json["peakRatio"] = measures ? Json(measures->peakRatio) : Json(nullptr);
  json["successRate"] = measures ? Json(measures->successRate) : Json(nullptr);
  json["measures"] = measuresJson(s);
  return json;
}

Json comparisonJson(const SettingComparison& pair) {
  return Json{{"instance", pair.a->instance},
              {"settingA", pair.a->setting},
              {"settingB", pair.b->setting},
              {"fisherP", orNull(pair.fisherP)},
              {"fisherPHolm", orNull(pair.fisherPHolm)},
              {"mannWhitneyP", orNull(pair.mannWhitneyP)},
              {"mannWhitneyPHolm", orNull(pair.mannWhitneyPHolm)},
              {"rateDifference", orNull(pair.rateDifference)},
              {"probabilityOfSuperiority", orNull(pair.probabilityOfSuperiority)},
              {"foundP", orNull(pair.foundP)},
              {"foundPHolm", orNull(pair.foundPHolm)},
              {"foundSuperiority", orNull(pair.foundSuperiority)},
              {"dynamicF1P", orNull(pair.dynamicF1P)},
              {"dynamicF1PHolm", orNull(pair.dynamicF1PHolm)},
              {"dynamicF1Superiority", orNull(pair.dynamicF1Superiority)}};
}

// The instance's entry in instances, added when it is the first of its settings.
Json& instanceEntry(Json& instances, const SettingSummary& s) {
  for (Json& entry : instances)
    if (entry["instance"] == s.instance) return entry;
  instances.push_back({{"instance", s.instance},
                       {"target", s.example ? Json(s.example->target) : Json(nullptr)},
                       {"settings", Json::array()}});
  return instances.back();
}

}  // namespace

std::string collectionJson(const CampaignAnalysis& analysis) {
  Json instances = Json::array();
  for (const SettingSummary& s : analysis.settings)
    instanceEntry(instances, s)["settings"].push_back(settingJson(s));
  Json comparisons = Json::array();
  for (const SettingComparison& pair : analysis.comparisons)
    comparisons.push_back(comparisonJson(pair));
  Json json{{"instances", std::move(instances)}, {"comparisons", std::move(comparisons)}};
  return json.dump(2) + "\n";
}

}  // namespace jobshop
