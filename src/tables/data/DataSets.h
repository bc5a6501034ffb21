#pragma once

#include "tables/BuilderSetSteps.h"

// The builder sets, one data file each.
namespace setfolio::data {

BuilderSetSteps BaseSetC09();
BuilderSetSteps BaseSetC10();
BuilderSetSteps AdditionSetC11();
BuilderSetSteps BaseSetC12();
BuilderSetSteps AdditionSetC13();
BuilderSetSteps BaseSetC14();
BuilderSetSteps AdditionSetC15();

} // namespace setfolio::data
