#pragma once
// GetResponses to the watcher's MAC queries as an agent writes them, and the ways a forger or a
// broken agent gets them wrong. Shared by the fakes and the namespace tests' responder.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace azu::test {

// Fields are set in a chain: ReplyShape().Interface(2).Value(mac).
struct ReplyShape {
  std::uint8_t interface = 1;  // ifPhysAddress.N
  std::vector<std::uint8_t> value;
  std::uint8_t valueTag = 0x04;  // OCTET STRING
  std::uint8_t pdu = 0xA2;       // GetResponse
  std::uint8_t version = 0;
  std::string community = "cobalt";
  std::uint8_t requestId = 1;
  std::uint8_t errorStatus = 0;
  int bindings = 1;
  bool longLengths = false;  // every length in the 0x81 form, as some agents write them

  ReplyShape& Interface(std::uint8_t n) { return Set(interface, n); }
  ReplyShape& Value(std::vector<std::uint8_t> bytes) { return Set(value, std::move(bytes)); }
  ReplyShape& ValueTag(std::uint8_t tag) { return Set(valueTag, tag); }
  ReplyShape& Pdu(std::uint8_t tag) { return Set(pdu, tag); }
  ReplyShape& Version(std::uint8_t n) { return Set(version, n); }
  ReplyShape& Community(std::string text) { return Set(community, std::move(text)); }
  ReplyShape& RequestId(std::uint8_t n) { return Set(requestId, n); }
  ReplyShape& ErrorStatus(std::uint8_t n) { return Set(errorStatus, n); }
  ReplyShape& Bindings(int n) { return Set(bindings, n); }
  ReplyShape& LongLengths() { return Set(longLengths, true); }

 private:
  template <typename T, typename V>
  ReplyShape& Set(T& field, V&& value) {
    field = std::forward<V>(value);
    return *this;
  }
};

inline std::vector<std::uint8_t> SnmpReply(const ReplyShape& shape) {
  using Bytes = std::vector<std::uint8_t>;
  const auto element = [&](std::uint8_t tag, const Bytes& content) {
    Bytes out{tag};
    if (shape.longLengths || content.size() > 0x7F) out.push_back(0x81);
    out.push_back(static_cast<std::uint8_t>(content.size()));
    out.insert(out.end(), content.begin(), content.end());
    return out;
  };
  const auto join = [](std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
  };
  const Bytes oid = {0x2B, 0x06, 0x01, 0x02, 0x01, 0x02, 0x02, 0x01, 0x06, shape.interface};
  const Bytes binding =
      element(0x30, join({element(0x06, oid), element(shape.valueTag, shape.value)}));
  Bytes bindings;
  for (int i = 0; i < shape.bindings; ++i)
    bindings.insert(bindings.end(), binding.begin(), binding.end());
  const Bytes pdu =
      element(shape.pdu, join({element(0x02, {shape.requestId}), element(0x02, {shape.errorStatus}),
                               element(0x02, {0x00}), element(0x30, bindings)}));
  return element(0x30,
                 join({element(0x02, {shape.version}),
                       element(0x04, Bytes(shape.community.begin(), shape.community.end())), pdu}));
}

}  // namespace azu::test
