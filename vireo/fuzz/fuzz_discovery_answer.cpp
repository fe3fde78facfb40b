// libFuzzer driver: any datagram a network can deliver as a discovery answer.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "vireo/discovery_answer.h"
#include "vireo/discovery_results.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view datagram(reinterpret_cast<const char*>(data), size);
  const auto answer = azu::vireo::ParseDiscoveryAnswer(datagram);
  if (answer && (answer->number == 0 || answer->name.empty() || answer->model.empty())) {
    __builtin_trap();
  }
  azu::vireo::DiscoveryResults results(1);
  results.Offer(0x7F000001U, datagram);
  return 0;
}
