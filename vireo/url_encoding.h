#pragma once
// Percent-encoding of query parameters and form bodies (application/x-www-form-urlencoded).

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace azu::vireo {

// Every byte but letters, digits and "-._~/" becomes %XX (upper-case hex), so '+' and ' ' stay
// apart whichever way the server decodes.
[[nodiscard]] std::string PercentEncode(std::string_view text);

// "name=value&name=value", both sides percent-encoded.
[[nodiscard]] std::string FormEncode(
    const std::vector<std::pair<std::string_view, std::string_view>>& fields);

}  // namespace azu::vireo
