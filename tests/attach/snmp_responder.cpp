// azu-snmp-responder: the printer's SNMP agent for the namespace tests. Answers the GetRequest
// for ifPhysAddress.1 with a fixed MAC and the one for ifPhysAddress.2 with an empty value, on
// UDP port 161 of every address of its own network namespace.
//
//   azu-snmp-responder --mac 02:a2:00:00:00:01

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr std::uint16_t kSnmpPort = 161;
// Offset of the interface number in the request, and the request's length.
constexpr std::size_t kInterfaceOffset = 39;
constexpr std::size_t kRequestLength = 42;

// GetResponse { id 1, { { 1.3.6.1.2.1.2.2.1.6.N, OCTET STRING value } } }
std::vector<std::uint8_t> Response(std::uint8_t interface, const std::uint8_t* mac, bool withMac) {
  const std::uint8_t valueLength = withMac ? 6 : 0;
  const auto binding = static_cast<std::uint8_t>(12 + 2 + valueLength);
  const auto bindings = static_cast<std::uint8_t>(binding + 2);
  const auto pdu = static_cast<std::uint8_t>(9 + bindings + 2);
  const auto message = static_cast<std::uint8_t>(3 + 8 + pdu + 2);
  std::vector<std::uint8_t> reply = {
      0x30, message, 0x02, 0x01,     0x00, 0x04,    0x06,      'c',  'o',        'b',  'a',
      'l',  't',     0xA2, pdu,      0x02, 0x01,    0x01,      0x02, 0x01,       0x00, 0x02,
      0x01, 0x00,    0x30, bindings, 0x30, binding, 0x06,      0x0A, 0x2B,       0x06, 0x01,
      0x02, 0x01,    0x02, 0x02,     0x01, 0x06,    interface, 0x04, valueLength};
  if (withMac) reply.insert(reply.end(), mac, mac + 6);
  return reply;
}

}  // namespace

int main(int argc, char** argv) {
  std::array<unsigned, 6> parts{};
  if (argc != 3 || std::strcmp(argv[1], "--mac") != 0 ||
      std::sscanf(argv[2], "%x:%x:%x:%x:%x:%x", &parts[0], &parts[1], &parts[2], &parts[3],
                  &parts[4], &parts[5]) != 6) {
    std::fprintf(stderr, "usage: azu-snmp-responder --mac xx:xx:xx:xx:xx:xx\n");
    return 2;
  }
  std::array<std::uint8_t, 6> mac{};
  for (std::size_t i = 0; i < 6; ++i) mac[i] = static_cast<std::uint8_t>(parts[i]);

  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(kSnmpPort);
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
    std::perror("azu-snmp-responder");
    return 1;
  }
  std::printf("azu-snmp-responder ready\n");
  std::fflush(stdout);

  std::array<std::uint8_t, 4096> request{};
  for (;;) {
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    const ssize_t got = recvfrom(fd, request.data(), request.size(), 0,
                                 reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (got != static_cast<ssize_t>(kRequestLength)) continue;
    const std::uint8_t interface = request[kInterfaceOffset];
    if (interface != 1 && interface != 2) continue;
    const auto reply = Response(interface, mac.data(), interface == 1);
    // No route back (the asker is on a link where we have no address): no answer.
    sendto(fd, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from), fromLength);
    std::printf("answered %s for interface %d\n", inet_ntoa(from.sin_addr), interface);
    std::fflush(stdout);
  }
}
