// azu-snmp-responder: the printer's SNMP agent for the namespace tests. Answers the GetRequest
// for ifPhysAddress.1 with a fixed MAC and the one for ifPhysAddress.2 with an empty value, on
// UDP port 161 of every address of its own network namespace. With --forge it is a forger that
// knows the MAC instead: every request gets only answers that carry the MAC but are not the
// agent's answer to that request (from another port, another OID or request-id, a 7-byte value,
// a truncated message, junk).
//
//   azu-snmp-responder --mac 02:a2:00:00:00:01 [--forge]

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "tests/attach/snmp_replies.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using azu::test::ReplyShape;
using azu::test::SnmpReply;

constexpr std::uint16_t kSnmpPort = 161;
constexpr std::uint16_t kForgerPort = 9999;
// Offset of the interface number in the request, and the request's length.
constexpr std::size_t kInterfaceOffset = 39;
constexpr std::size_t kRequestLength = 42;

int BoundSocket(std::uint16_t port) {
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(port);
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) return -1;
  return fd;
}

// The forged answers, each ending in the MAC; true in `offPort` for those sent from port 9999.
std::vector<std::pair<bool, Bytes>> Forgeries(std::uint8_t interface, const Bytes& mac) {
  Bytes junk = {0x99, 0x30, 0x2C, 0x02, 0x01};
  junk.insert(junk.end(), mac.begin(), mac.end());
  Bytes truncated = SnmpReply(ReplyShape().Interface(interface).Value(mac));
  truncated[1] += 1;
  Bytes seven = {0x00};
  seven.insert(seven.end(), mac.begin(), mac.end());
  return {{true, SnmpReply(ReplyShape().Interface(interface).Value(mac))},
          {true, junk},
          {false, junk},
          {false,
           SnmpReply(ReplyShape().Interface(static_cast<std::uint8_t>(interface + 2)).Value(mac))},
          {false, SnmpReply(ReplyShape().Interface(interface).Value(mac).RequestId(2))},
          {false, SnmpReply(ReplyShape().Interface(interface).Value(seven))},
          {false, truncated}};
}

}  // namespace

int main(int argc, char** argv) {
  std::array<unsigned, 6> parts{};
  const bool forge = argc == 4 && std::strcmp(argv[3], "--forge") == 0;
  if ((argc != 3 && !forge) || std::strcmp(argv[1], "--mac") != 0 ||
      std::sscanf(argv[2], "%x:%x:%x:%x:%x:%x", &parts[0], &parts[1], &parts[2], &parts[3],
                  &parts[4], &parts[5]) != 6) {
    std::fprintf(stderr, "usage: azu-snmp-responder --mac xx:xx:xx:xx:xx:xx [--forge]\n");
    return 2;
  }
  Bytes mac;
  for (const unsigned part : parts) mac.push_back(static_cast<std::uint8_t>(part));

  const int agent = BoundSocket(kSnmpPort);
  const int forger = forge ? BoundSocket(kForgerPort) : -2;
  if (agent < 0 || forger == -1) {
    std::perror("azu-snmp-responder");
    return 1;
  }
  std::printf("azu-snmp-responder ready\n");
  std::fflush(stdout);

  std::array<std::uint8_t, 4096> request{};
  for (;;) {
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    const ssize_t got = recvfrom(agent, request.data(), request.size(), 0,
                                 reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (got != static_cast<ssize_t>(kRequestLength)) continue;
    const std::uint8_t interface = request[kInterfaceOffset];
    if (interface != 1 && interface != 2) continue;
    std::vector<std::pair<bool, Bytes>> replies;
    if (forge) {
      replies = Forgeries(interface, mac);
    } else {
      replies.emplace_back(
          false,
          SnmpReply(ReplyShape().Interface(interface).Value(interface == 1 ? mac : Bytes{})));
    }
    // No route back (the asker is on a link where we have no address): no answer.
    for (const auto& [offPort, reply] : replies) {
      sendto(offPort ? forger : agent, reply.data(), reply.size(), 0,
             reinterpret_cast<sockaddr*>(&from), fromLength);
    }
    std::printf("answered %s for interface %d\n", inet_ntoa(from.sin_addr), interface);
    std::fflush(stdout);
  }
}
