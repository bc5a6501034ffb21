#pragma once

#include "tables/BuilderSetSteps.h"

// The builder sets, one data file each.
namespace setfolio::data {

BuilderSetSteps BaseSetC01();
BuilderSetSteps BaseSetC02();
BuilderSetSteps BaseSetC03();
BuilderSetSteps BaseSetC04();
BuilderSetSteps BaseSetC05();
BuilderSetSteps BaseSetC06();
BuilderSetSteps BaseSetC07();
BuilderSetSteps BaseSetC08();
BuilderSetSteps BaseSetC09();
BuilderSetSteps BaseSetC10();
BuilderSetSteps AdditionSetC11();
BuilderSetSteps BaseSetC12();
BuilderSetSteps AdditionSetC13();
BuilderSetSteps BaseSetC14();
BuilderSetSteps AdditionSetC15();
BuilderSetSteps BaseSetC16();
BuilderSetSteps BaseSetC17();
BuilderSetSteps BaseSetC18();
BuilderSetSteps BaseSetC19();
BuilderSetSteps AdditionSetC20();
BuilderSetSteps BaseSetC21();
BuilderSetSteps BaseSetC22();
BuilderSetSteps AdditionSetC23();
BuilderSetSteps AdditionSetC24();
BuilderSetSteps AdditionSetC25();
BuilderSetSteps AdditionSetC26();
BuilderSetSteps BaseSetC27();
BuilderSetSteps AdditionSetC28();
BuilderSetSteps AdditionSetC29();
BuilderSetSteps BaseSetC30();
BuilderSetSteps BaseSetC31();
BuilderSetSteps BaseSetM01();
BuilderSetSteps BaseSetM02();
BuilderSetSteps BaseSetM03();
BuilderSetSteps BaseSetM04();
BuilderSetSteps AdditionSetM05();
BuilderSetSteps AdditionSetM06();
BuilderSetSteps BaseSetM07();
BuilderSetSteps AdditionSetM08();
BuilderSetSteps AdditionSetM09();
BuilderSetSteps AdditionSetM11();
BuilderSetSteps BaseSetM12();
BuilderSetSteps AdditionSetM13();
BuilderSetSteps BaseSetM14();

} // namespace setfolio::data
