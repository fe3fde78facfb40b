// libFuzzer driver: any server's main configuration file through the line rewrite with the keys of
// a page's plan (SNMP version 1 or 3, job audit, accounting), the values from the input's first
// line. Every line whose key the page does not set comes out byte for byte and in its order; a
// key with a value ends up with that value on every line of it, or appended once when the file
// had none; a key the page removes is gone; every line ends with CR LF.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "rules/accounting_rules.h"
#include "rules/snmp_rules.h"
#include "rules/tallyon_rules.h"
#include "server/line_rewrite.h"

namespace {

using azu::KeyRule;

const std::string& Folder() {
  static const std::string folder = [] {
    std::string name = "/tmp/fuzz_line_rewrite.XXXXXX";
    if (mkdtemp(name.data()) == nullptr) std::abort();
    return name;
  }();
  return folder;
}

std::vector<KeyRule> PageKeys(std::uint8_t page, const std::string& value) {
  switch (page % 4) {
    case 0:
    case 1: {
      azu::SnmpFields fields;
      fields.version = page % 4 == 0 ? azu::kSnmpVersion1 : azu::kSnmpVersion3;
      fields.getCommunity = fields.authPassword = value;
      fields.setCommunity = fields.privPassword = value + "2";
      return azu::SnmpPlan(fields)->change.keys;
    }
    case 2:
      return azu::TallyonPlan({value, value + "2"}).change.keys;
    default: {
      azu::AccountingFields fields;
      fields.systemIndex = azu::kStandardAccounting;
      fields.systemText = "Standard";
      fields.typeText = "General";
      fields.accountId = value;
      fields.userId = value + "2";
      return azu::AccountingPlan(fields).change.keys;
    }
  }
}

// The rule a line's key names, or none.
const KeyRule* RuleOf(std::string_view line, const std::vector<KeyRule>& rules) {
  if (line.empty()) return nullptr;
  for (const KeyRule& rule : rules) {
    if (azu::KeysMatch(azu::LineKey(line), rule.key)) return &rule;
  }
  return nullptr;
}

std::vector<std::string> Kept(const std::vector<std::string>& lines,
                              const std::vector<KeyRule>& rules) {
  std::vector<std::string> kept;
  for (const std::string& line : lines) {
    if (RuleOf(line, rules) == nullptr) kept.push_back(line);
  }
  return kept;
}

std::size_t LinesOf(const KeyRule& rule, const std::vector<std::string>& lines,
                    const std::vector<KeyRule>& rules) {
  std::size_t count = 0;
  for (const std::string& line : lines) count += RuleOf(line, rules) == &rule;
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
  // A value never holds a line end: the page refuses one before anything is written.
  const std::size_t firstEnd = input.find_first_of("\r\n");
  const std::string value = input.substr(0, firstEnd);
  const std::string file = firstEnd == std::string::npos ? "" : input.substr(firstEnd + 1);
  const std::vector<KeyRule> rules = PageKeys(data[0], value);

  const std::string inPath = Folder() + "/in";
  const std::string outPath = Folder() + "/out";
  std::ofstream(inPath, std::ios::binary | std::ios::trunc) << file;
  int error = 0;
  auto reader = azu::TextFileReader::Open(inPath, &error);
  auto writer = azu::TextFileWriter::Create(outPath, &error);
  if (!reader || !writer) std::abort();
  const azu::RewriteOutcome outcome = azu::RewriteLines(*reader, *writer, rules);
  if (!writer->Close(&error)) std::abort();

  // The input's lines as the server's reader gives them.
  std::vector<std::string> in;
  auto again = azu::TextFileReader::Open(inPath, &error);
  for (std::string line; again->ReadLine(line);) in.push_back(line);
  // The output's lines: every one ended by CR LF.
  std::ostringstream written;
  written << std::ifstream(outPath, std::ios::binary).rdbuf();
  const std::string bytes = written.str();
  std::vector<std::string> out;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t end = bytes.find("\r\n", at);
    if (end == std::string::npos) __builtin_trap();  // a line without its CR LF
    out.push_back(bytes.substr(at, end - at));
    at = end + 2;
  }

  if (Kept(out, rules) != Kept(in, rules)) __builtin_trap();
  bool dropped = false;
  for (const KeyRule& rule : rules) {
    const std::size_t had = LinesOf(rule, in, rules);
    const std::size_t has = LinesOf(rule, out, rules);
    if (!rule.value) {
      dropped = dropped || had > 0;
      if (has != 0) __builtin_trap();
      continue;
    }
    if (has != (had == 0 ? 1 : had)) __builtin_trap();
    for (const std::string& line : out) {
      if (RuleOf(line, rules) != &rule) continue;
      if (line.substr(azu::LineKey(line).size()) != "=" + *rule.value) __builtin_trap();
      if (had == 0 && line != rule.key + "=" + *rule.value) __builtin_trap();
    }
  }
  if (outcome.droppedAny != dropped) __builtin_trap();
  return 0;
}
