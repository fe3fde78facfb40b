#include "platform/service_control.h"

namespace azu::platform {

std::string ServiceUnit(std::string_view service) {
  struct Unit {
    std::string_view service;
    std::string_view unit;
  };
  static constexpr Unit kUnits[] = {
      {"AZU CommonLCD", "azu-commonlcd"},
      {"Apache", "apache2"},
      {"AZU Zorne", "azu-zorne"},
  };
  for (const Unit& unit : kUnits) {
    if (unit.service == service) return std::string(unit.unit);
  }
  return std::string(service);
}

}  // namespace azu::platform
