#include "platform/arp_listing.h"

#include <cstddef>
#include <cstdlib>
#include <string>

namespace azu::platform {
namespace {

// What one read of a 100-byte line buffer holds at most.
constexpr std::size_t kPieceLength = 99;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Splits at `separators`, runs of them counting as one; fills at most `max` tokens.
std::size_t Tokens(std::string_view line, std::string_view separators, std::string_view* tokens,
                   std::size_t max) {
  std::size_t count = 0;
  std::size_t at = 0;
  while (count < max) {
    at = line.find_first_not_of(separators, at);
    if (at == std::string_view::npos) break;
    const std::size_t end = line.find_first_of(separators, at);
    tokens[count++] = line.substr(at, end == std::string_view::npos ? line.size() - at : end - at);
    if (end == std::string_view::npos) break;
    at = end;
  }
  return count;
}

// Returns false when the listing ends at this piece.
bool ReadListingPiece(std::string_view piece, std::string_view address, std::string& interface,
                      const ArpVisitor& visit) {
  // A line buffer ends at its first NUL.
  piece = piece.substr(0, piece.find('\0'));
  std::string_view tokens[2];
  const std::size_t count = Tokens(piece, " ", tokens, 2);
  if (count == 0 || EqualsIgnoringCase(tokens[0], "No")) return false;
  if (EqualsIgnoringCase(tokens[0], "Interface:")) {
    if (count > 1) interface.assign(tokens[1]);
    return true;
  }
  if (tokens[0] == address && count > 1) return visit(interface, tokens[1]);
  return true;
}

}  // namespace

void ParseArpListing(std::string_view listing, std::string_view address, const ArpVisitor& visit) {
  std::string interface;
  std::string piece;
  std::size_t at = 0;
  while (at < listing.size()) {
    piece.clear();
    while (at < listing.size() && piece.size() < kPieceLength) {
      // Text mode: CR LF reads as LF.
      if (listing[at] == '\r' && at + 1 < listing.size() && listing[at + 1] == '\n') ++at;
      const char c = listing[at++];
      piece.push_back(c);
      if (c == '\n') break;
    }
    if (!ReadListingPiece(piece, address, interface, visit)) return;
  }
}

void ParseProcNetArp(std::string_view table, std::string_view address,
                     const std::function<std::string(std::string_view device)>& deviceAddress,
                     const ArpVisitor& visit) {
  constexpr unsigned long kComplete = 0x2;  // ATF_COM
  bool header = true;
  while (!table.empty()) {
    const std::size_t end = table.find('\n');
    const std::string_view line = table.substr(0, end);
    table.remove_prefix(end == std::string_view::npos ? table.size() : end + 1);
    if (header) {
      header = false;
      continue;
    }
    // IP address, HW type, Flags, HW address, Mask, Device
    std::string_view columns[6];
    if (Tokens(line, " \t", columns, 6) < 6 || columns[0] != address) continue;
    const std::string flags(columns[2]);
    if ((std::strtoul(flags.c_str(), nullptr, 16) & kComplete) == 0) continue;
    if (!visit(deviceAddress(columns[5]), columns[3])) return;
  }
}

}  // namespace azu::platform
