// The main run's niching options: --niching NAME and each method's own settings, taken into
// NichingSettings and checked against the method chosen.
#pragma once

#include <string>
#include <vector>

#include "input/niching_settings.h"
#include "support/failure.h"
#include "support/option_parser.h"

namespace jobshop {

// The option declarations, for the main run's table.
std::vector<OptionSpec> nichingOptionSpecs();

// True for --niching and every option of a method's setting.
bool isNichingOption(const std::string& name);

// Takes one given niching option into settings; nothing, or why its value is refused.
MaybeFailure takeNichingOption(NichingSettings& settings, const GivenOption& option);

// Refuses the first option given for a method other than the one chosen, naming its method.
MaybeFailure checkSettingsFitMethod(const NichingSettings& settings,
                                    const std::vector<GivenOption>& given);

}  // namespace jobshop
